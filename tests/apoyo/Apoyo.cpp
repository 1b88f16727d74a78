#include "apoyo/Apoyo.h"

#include "commands/Conexiones.h"
#include "window/Controles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

#include "analysis/Recorrido.h"
#include "analysis/Rutas.h"
#include "platform/Archivos.h"

#include <fstream>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace fs = std::filesystem;
using namespace Qt::StringLiterals;

ProyectoPrueba::ProyectoPrueba()
{
    Escribir(QStringLiteral("Game.rxproj"), "RPGXP 1.02");
}

QString ProyectoPrueba::Carpeta() const
{
    // As the open dialog gives it: with the system's own separators.
    return QDir::toNativeSeparators(m_dir.path() + QLatin1Char('/'));
}

QString ProyectoPrueba::Ruta() const
{
    return Carpeta() + QStringLiteral("Game.rxproj");
}

QString ProyectoPrueba::Escribir(const QString& relativa, const QByteArray& contenido)
{
    const QString ruta = Carpeta() + relativa;
    QDir().mkpath(QFileInfo(ruta).path());
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(contenido) != contenido.size())
        qFatal("cannot write %s", qPrintable(ruta));
    return ruta;
}

QString ProyectoPrueba::Recurso(const QString& carpeta, const QString& nombre, const QByteArray& contenido)
{
    return Escribir(carpeta + QLatin1Char('/') + nombre, contenido);
}

QString ProyectoPrueba::Dato(const QString& nombre, const QByteArray& contenido)
{
    return Escribir(QStringLiteral("Data/") + nombre, contenido);
}

bool ProyectoPrueba::existe(const QString& relativa) const
{
    return QFileInfo::exists(Carpeta() + relativa) || QFileInfo(Carpeta() + relativa).isSymLink();
}

ControlesPorNombre::ControlesPorNombre(const QWidget& ventana)
{
    const auto buscar = [&]<class T>(T*& control, const char* nombre) {
        control = ventana.findChild<T*>(QString::fromLatin1(nombre), Qt::FindDirectChildrenOnly);
        if (!control)
            qFatal("the window has no control %s", nombre);
    };
    buscar(Dialogos, "Dialogos");
    buscar(Abierto, "Abierto");
    buscar(Analizando, "Analizando");
    buscar(Recursos, "Recursos");
    buscar(Shape5, "Shape5");
    buscar(Espacio, "Espacio");
    buscar(Shape4, "Shape4");
    buscar(Quitar, "Quitar");
    buscar(Shape3, "Shape3");
    buscar(Ejecutar, "Ejecutar");
    buscar(Shape2, "Shape2");
    buscar(Borrar, "Borrar");
    buscar(Shape1, "Shape1");
    buscar(Abrir, "Abrir");
    buscar(Texto4, "Texto4");
    buscar(TextoA, "TextoA");
    buscar(Label1, "Label1");
    buscar(Texto3, "Texto3");
    buscar(Texto2, "Texto2");
    buscar(Texto1, "Texto1");
}

Ventana::Ventana() : ventana(std::make_unique<Principal>(plataforma)), controles(*ventana)
{
    conectarComandos(*ventana, plataforma, archivos);
    QObject::connect(controles.Analizando, &QLineEdit::textChanged, [this](const QString& t) { lineas << t; });
    ventana->show();
}

void Ventana::Analizar(const QString& rutaProyecto)
{
    // As the real dialog hands it back: with the system's own separators.
    plataforma.eleccionesAbrir.push_back(QDir::toNativeSeparators(rutaProyecto));
    ClicEn(*ventana, controles.Abrir);
}

QStringList Ventana::Lista() const
{
    return Textos(controles.Recursos);
}

int Ventana::seleccion() const
{
    const auto filas = controles.Recursos->selectionModel()->selectedIndexes();
    return filas.isEmpty() ? -1 : filas.constFirst().row();
}

bool Ventana::AccionesHabilitadas() const
{
    const bool e = controles.Recursos->isEnabled();
    for (QWidget* w : {static_cast<QWidget*>(controles.Ejecutar), static_cast<QWidget*>(controles.Borrar),
                       static_cast<QWidget*>(controles.Quitar), static_cast<QWidget*>(controles.Espacio)})
        if (w->isEnabled() != e)
            qFatal("the list and the actions disagree on their state");
    return e;
}

void ClicEn(QWidget& ventana, QWidget* control)
{
    const QPoint centro = control->geometry().center();
    QWidget* destino = ventana.childAt(centro);
    if (!destino)
        destino = &ventana;
    QTest::mouseClick(destino, Qt::LeftButton, {}, destino->mapFrom(&ventana, centro));
}

void ClicEnFila(QListWidget* lista, int fila)
{
    const QRect r = lista->visualItemRect(lista->item(fila));
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, r.center());
}

void DobleClicEnFila(QListWidget* lista, int fila)
{
    lista->scrollToItem(lista->item(fila));
    const QRect r = lista->visualItemRect(lista->item(fila));
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, r.center());
}

QStringList Textos(const QListWidget* lista)
{
    QStringList t;
    for (int i = 0; i < lista->count(); ++i)
        // The tests spell items "Folder/Sub/name.ext" on every system.
        t << QDir::fromNativeSeparators(lista->item(i)->text());
    return t;
}

#ifdef Q_OS_WIN
QString comoLeeCmd(const QByteArray& bytes)
{
    std::wstring texto(std::size_t(bytes.size()), L'\0');
    texto.resize(std::size_t(
        MultiByteToWideChar(GetOEMCP(), 0, bytes.constData(), int(bytes.size()), texto.data(), int(texto.size()))));
    return QString::fromStdWString(texto);
}
#endif

QString ProyectoReal(const fs::path& fuente, const fs::path& destino)
{
    fs::create_directories(destino);
    std::ifstream listado(fuente / "resources.tsv");
    std::string linea;
    while (std::getline(listado, linea)) {
        const std::string nombre = linea.substr(linea.find('\t') + 1);
        const fs::path ruta = destino / fs::path(std::u8string(nombre.begin(), nombre.end()));  // UTF-8 on Windows too
        fs::create_directories(ruta.parent_path());
        std::ofstream(ruta).flush();
    }
    std::error_code error;
    fs::create_directory_symlink(fs::absolute(fuente) / "Data", destino / "Data", error);
    // Windows lets only some users make links (Wine none): a copy reads the same.
    if (error)
        fs::copy(fs::absolute(fuente) / "Data", destino / "Data", fs::copy_options::recursive);
    std::ofstream(destino / "Game.rxproj") << "RPGXP 1.02";
    return *textoDeRuta(destino / "Game.rxproj");
}

std::set<QString> LineasDe(const fs::path& archivo)
{
    std::set<QString> lineas;
    QFile f(*textoDeRuta(archivo));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", archivo.string().c_str());
    for (const QByteArray& l : f.readAll().split('\n'))
        if (!l.isEmpty())
            lineas.insert(QString::fromUtf8(l));
    return lineas;
}

std::unique_ptr<DatoAbierto> DatoEnMemoria(std::string texto)
{
    const std::uint64_t tamano = texto.size();
    return std::make_unique<DatoGuionado>(
        [texto = std::move(texto)](std::uint64_t desde, std::uint64_t hasta, Tomador trozo) {
            for (const std::string_view leido = std::string_view(texto).substr(0, hasta); desde < leido.size();
                 desde += 7)
                trozo(leido.substr(desde, 7));
        },
        tamano);
}

std::optional<std::pair<int, QByteArray>> EnHijo(const QString& prueba, const QProcessEnvironment& entorno)
{
    QStringList orden = {QCoreApplication::applicationFilePath(), prueba};
#ifdef Q_OS_UNIX
    if (geteuid() == 0)
        orden = QStringList{u"setpriv"_s, u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s, u"--"_s} + orden;
#endif
    QProcess hijo;
    hijo.setProcessEnvironment(entorno);
    hijo.setProcessChannelMode(QProcess::MergedChannels);
    hijo.start(orden.takeFirst(), orden);
    if (!hijo.waitForStarted() || !hijo.waitForFinished(60000) || hijo.exitStatus() != QProcess::NormalExit
        || hijo.exitCode() == 126 || hijo.exitCode() == 127)
        return std::nullopt;
    return std::pair(hijo.exitCode(), hijo.readAll());
}

referencia::Resultado RecorrerEnMemoria(const std::vector<std::string>& lista, const std::vector<std::string>& datos,
                                        RepartoLectores reparto)
{
    BloqueClaves claves;
    for (const std::string& item : lista)
        claves.anadir(claveDeNombre(std::string_view(item).substr(item.rfind('/') + 1)));
    RecorridoUso recorrido(int(lista.size()), long(datos.size()));
    LectoresDatos lectores(
        std::make_shared<const AutomataClaves>(claves), datos.size(),
        [&](std::size_t k) { return DatoEnMemoria(datos[k]); }, std::move(reparto));
    referencia::Resultado r;
    for (std::size_t k = 0; k < datos.size(); ++k) {
        r.lineas.push_back(recorrido.empezar().toStdString());
        std::optional<std::vector<int>> halladas;
        while (!(halladas = lectores.tomar(k, std::chrono::seconds(1)))) {}
        recorrido.aplicar(*halladas);
    }
    for (std::size_t i = 0; i < lista.size(); ++i)
        if (recorrido.presentes()[i])
            r.lista.push_back(lista[i]);
    r.seleccion = recorrido.seleccion();
    return r;
}
