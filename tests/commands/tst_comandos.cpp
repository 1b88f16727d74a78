// What the user does with the finished list: remove entries, measure,
// delete, open. On real folders, asserting what is left on disk.
#include "apoyo/Apoyo.h"
#include "commands/Comunes.h"
#include "platform/Archivos.h"
#include "window/Controles.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <set>

#include <QDir>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include "platform/ArchivosWindows.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

using namespace Qt::StringLiterals;
namespace fs = std::filesystem;

namespace {
// A project whose every resource is unused (its Data names nothing), analysed.
struct Analizado {
    ProyectoPrueba p;
    Ventana v;
    Analizado(const QStringList& nombres, const QList<int>& tamanos = {})
    {
        for (int i = 0; i < nombres.size(); ++i)
            p.Recurso(u"Graphics/Pictures"_s, nombres[i], QByteArray(i < tamanos.size() ? tamanos[i] : 1, 'x'));
        p.Dato(u"Vacio.rxdata"_s, "\x04\x08[");
        v.Analizar(p.Ruta());
        if (!v.AccionesHabilitadas())
            qFatal("analysis did not finish");
    }
    QString Item(const QString& nombre) const { return u"Graphics/Pictures/"_s + nombre; }
};

// Ctrl+click on the selected entry takes the selection away, as a user would.
void Deseleccionar(Ventana& v)
{
    if (v.seleccion() < 0)
        return;
    const QRect r = v.controles.Recursos->visualItemRect(v.controles.Recursos->item(v.seleccion()));
    QTest::mouseClick(v.controles.Recursos->viewport(), Qt::LeftButton, Qt::ControlModifier, r.center());
    if (v.seleccion() != -1)
        qFatal("the selection stayed");
}

// An analysed project whose batch file goes to a folder of its own.
struct ConLote : Analizado {
    QTemporaryDir aplicacion;
    QString lote;
    explicit ConLote(const QStringList& nombres)
        : Analizado(nombres), lote(QDir::toNativeSeparators(aplicacion.path() + QStringLiteral("/temporal.bat")))
    {
        v.plataforma.carpetaAplicacion = QDir::toNativeSeparators(aplicacion.path());
    }
    QByteArray Contenido() const
    {
        QFile f(lote);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Whether the batch file's one line starts the listed file `nombre`.
    bool Abre(const QString& nombre) const
    {
        const QByteArray c = Contenido();
#ifdef Q_OS_WIN
        // The 8.3 path where the volume has one, as cmd reads it: it must
        // lead to the same file.
        if (!c.startsWith("start \"\" \"") || !c.endsWith("\"\r\n"))
            return false;
        const std::wstring ruta = comoLeeCmd(c.mid(10, c.size() - 13)).replace(u"%%"_s, u"%"_s).toStdWString();
        std::wstring larga(MAX_PATH, L'\0');
        larga.resize(GetLongPathNameW(ruta.c_str(), larga.data(), MAX_PATH));
        return QDir::fromNativeSeparators(QString::fromStdWString(larga))
            == QDir::fromNativeSeparators(p.Carpeta() + Item(nombre));
#else
        // The path as it stands, quoted for cmd, "%" doubled, in the local 8-bit encoding (UTF-8 here).
        return c == "start \"\" \"" + (p.Carpeta() + Item(nombre)).toUtf8().replace("%", "%%") + "\"\r\n";
#endif
    }
};

QStringList Nombres(int n)
{
    QStringList r;
    for (int i = 0; i < n; ++i)
        r << u"R%1.png"_s.arg(i, 2, 10, QLatin1Char('0'));
    return r;
}
}  // namespace

class PruebaAcciones : public QObject {
    Q_OBJECT
private slots:
    void quitar();
    void espacio_data();
    void espacio();
    void espacioConArchivosPerdidos();
    void borrarNo();
    void borrarSi();
    void borrarTextosDelPlural();
    void borrarConFallos_data();
    void borrarConFallos();
    void borrarNuncaSaleDelProyecto();
    void carpetaSinPermisoDeBusqueda();
    void abrirArchivo();
    void abrirSinSeleccionOArchivoPerdido();
    void lineaEnCadaPagina_data();
    void lineaEnCadaPagina();
    void nombresExactos();
    void flujoCompletoEnElEjemplo();
};

void PruebaAcciones::quitar()
{
    Analizado a(Nombres(10));
    Principal& w = *a.v.ventana;
    const ControlesPorNombre& c = a.v.controles;
    QCOMPARE(a.v.seleccion(), 9);  // where the analysis left it
    Deseleccionar(a.v);
    ClicEn(w, c.Quitar);  // nothing selected: nothing happens
    QCOMPARE(c.Recursos->count(), 10);

    ClicEnFila(c.Recursos, 3);
    ClicEn(w, c.Quitar);
    QCOMPARE(c.Recursos->count(), 9);
    QCOMPARE(a.v.seleccion(), 2);  // the entry before, not the one moving up
    QVERIFY(!a.v.Lista().contains(a.Item(u"R03.png"_s)));
    QVERIFY(a.p.existe(u"Graphics/Pictures/R03.png"_s));  // the file stays

    ClicEnFila(c.Recursos, 8);
    ClicEn(w, c.Quitar);
    QCOMPARE(a.v.seleccion(), 7);  // the new last
    QCOMPARE(a.v.Lista().last(), a.Item(u"R08.png"_s));

    ClicEnFila(c.Recursos, 0);
    ClicEn(w, c.Quitar);
    QCOMPARE(a.v.seleccion(), -1);
    ClicEn(w, c.Quitar);
    QCOMPARE(c.Recursos->count(), 7);

    Analizado uno({u"Solo.png"_s});
    ClicEnFila(uno.v.controles.Recursos, 0);
    ClicEn(*uno.v.ventana, uno.v.controles.Quitar);
    QCOMPARE(uno.v.controles.Recursos->count(), 0);
    QCOMPARE(uno.v.seleccion(), -1);
    QVERIFY(uno.v.AccionesHabilitadas());
}

void PruebaAcciones::espacio_data()
{
    QTest::addColumn<QList<int>>("tamanos");
    QTest::addColumn<QString>("texto");
    // After the analysis, entry {0} gets a second name: entry {1} (the file
    // it held replaced), or with -1 a file outside the list.
    QTest::addColumn<QList<int>>("enlace");
    QTest::newRow("1019") << QList<int>{1019} << "Espacio ahorrado: 0 Kb" << QList<int>{};
    QTest::newRow("1020") << QList<int>{1020} << "Espacio ahorrado: 1 Kb" << QList<int>{};
    QTest::newRow("1024") << QList<int>{1024} << "Espacio ahorrado: 1 Kb" << QList<int>{};
    QTest::newRow("2039") << QList<int>{2039} << "Espacio ahorrado: 1 Kb" << QList<int>{};
    QTest::newRow("2040") << QList<int>{2040} << "Espacio ahorrado: 2 Kb" << QList<int>{};
    QTest::newRow("each truncated") << QList<int>{1000, 1000, 1000} << "Espacio ahorrado: 0 Kb" << QList<int>{};
    QTest::newRow("sum of units") << QList<int>{1020, 2040, 0, 1, 5000} << "Espacio ahorrado: 7 Kb" << QList<int>{};
    QTest::newRow("empty list") << QList<int>{} << "Espacio ahorrado: 0 Kb" << QList<int>{};
    // Deleting one name of a file that has another frees nothing.
    QTest::newRow("two names, both listed")
        << QList<int>{2040, 1, 1020} << "Espacio ahorrado: 3 Kb" << QList<int>{0, 1};
    QTest::newRow("two names, one not listed")
        << QList<int>{2040, 1020} << "Espacio ahorrado: 1 Kb" << QList<int>{0, -1};
}

void PruebaAcciones::espacio()
{
    QFETCH(QList<int>, tamanos);
    QFETCH(QString, texto);
    QFETCH(QList<int>, enlace);
    const QStringList nombres = Nombres(int(tamanos.size()));
    Analizado a(nombres, tamanos);
    if (!enlace.isEmpty()) {
        const QString otro = a.p.Carpeta() + (enlace[1] < 0 ? u"Copia.png"_s : a.Item(nombres[enlace[1]]));
        QFile::remove(otro);
        fs::create_hard_link(rutaNativa(a.p.Carpeta() + a.Item(nombres[enlace[0]])), rutaNativa(otro));
    }
    Principal& w = *a.v.ventana;
    const ControlesPorNombre& c = a.v.controles;
    if (!tamanos.isEmpty())
        ClicEnFila(c.Recursos, 0);
    ClicEn(w, c.Espacio);
    QCOMPARE(c.TextoA->text(), texto);
    QCOMPARE(a.v.seleccion(), int(tamanos.size()) - 1);  // the walk ends on the last entry
    QVERIFY(a.v.plataforma.cajas.empty());
    QVERIFY(a.v.AccionesHabilitadas());
}

void PruebaAcciones::espacioConArchivosPerdidos()
{
    Analizado a(Nombres(8), {2040, 2040, 2040, 2040, 2040, 2040, 2040, 2040});
    for (int i : {1, 2, 3, 4, 5, 6})
        QFile::remove(a.p.Carpeta() + a.Item(Nombres(8)[i]));
    ClicEn(*a.v.ventana, a.v.controles.Espacio);
    QCOMPARE(a.v.controles.TextoA->text(), u"Espacio ahorrado: 4 Kb"_s);
    QCOMPARE(a.v.plataforma.cajas.size(), size_t(1));
    const auto& caja = a.v.plataforma.cajas[0];
    QCOMPARE(caja.titulo, u"Aviso..."_s);
    QCOMPARE(caja.estilo, 48);
    QVERIFY(caja.texto.startsWith(
        u"No se pudo medir el tamaño de 6 archivos de la lista; el espacio ahorrado no los cuenta:\r\n"_s
        + QDir::toNativeSeparators(a.p.Carpeta() + a.Item(u"R01.png"_s)) + u": no existe\r\n"_s));
    QVERIFY(caja.texto.endsWith(u"\r\n... y 1 más."_s));
    QCOMPARE(a.v.seleccion(), 7);
}

void PruebaAcciones::borrarNo()
{
    Analizado a(Nombres(3));
    ClicEnFila(a.v.controles.Recursos, 1);
    a.v.plataforma.respuestas = {Respuesta::No};
    ClicEn(*a.v.ventana, a.v.controles.Borrar);
    QCOMPARE(a.v.plataforma.cajas.size(), size_t(1));
    for (const QString& n : Nombres(3))
        QVERIFY(a.p.existe(a.Item(n)));
    QCOMPARE(a.v.Lista().size(), 3);
    QCOMPARE(a.v.seleccion(), 1);
    QVERIFY(a.v.AccionesHabilitadas());
}

void PruebaAcciones::borrarSi()
{
    Analizado a(Nombres(5));
    Principal& w = *a.v.ventana;
    const ControlesPorNombre& c = a.v.controles;
    a.p.Escribir(u"Graphics/Pictures/Usado.png"_s);                                 // not on the list
    QFile::setPermissions(a.p.Carpeta() + a.Item(u"R04.png"_s), QFile::ReadOwner);  // read-only
    ClicEnFila(c.Recursos, 2);
    ClicEn(w, c.Quitar);  // keep R02
    a.v.plataforma.respuestas = {Respuesta::Si};
    ClicEn(w, c.Borrar);

    QCOMPARE(a.v.plataforma.cajas.size(), size_t(2));
    QCOMPARE(a.v.plataforma.cajas[0].texto,
             u"¿Esta seguro de borrar 4 recursos de su juego?\r\nUna vez borrados no se podrán recuperar..."_s);
    QCOMPARE(a.v.plataforma.cajas[0].estilo, 68);
    QCOMPARE(a.v.plataforma.cajas[0].titulo, u"Confirmación..."_s);
    QCOMPARE(a.v.plataforma.cajas[1].texto, u"¡Borrado completado con éxito!\r\n¡Limpieza de recursos finalizada!"_s);
    QCOMPARE(a.v.plataforma.cajas[1].estilo, 64);
    QCOMPARE(a.v.plataforma.cajas[1].titulo, u"Aviso..."_s);

    for (const char* n : {"R00.png", "R01.png", "R03.png", "R04.png"})
        QVERIFY2(!a.p.existe(a.Item(QString::fromLatin1(n))), n);
    QVERIFY(a.p.existe(a.Item(u"R02.png"_s)));
    QVERIFY(a.p.existe(a.Item(u"Usado.png"_s)));
    QVERIFY(a.p.existe(u"Data/Vacio.rxdata"_s) && a.p.existe(u"Game.rxproj"_s));
    // The entries stay on view, greyed, the last one selected.
    QCOMPARE(a.v.Lista().size(), 4);
    QCOMPARE(a.v.seleccion(), 3);
    QVERIFY(!a.v.AccionesHabilitadas());
}

void PruebaAcciones::borrarTextosDelPlural()
{
    for (int n : {0, 1}) {
        Analizado a(Nombres(n));
        a.v.plataforma.respuestas = {Respuesta::Si};
        ClicEn(*a.v.ventana, a.v.controles.Borrar);
        QCOMPARE(a.v.plataforma.cajas.size(), size_t(2));
        QCOMPARE(a.v.plataforma.cajas[0].texto.section(u"\r\n"_s, 0, 0),
                 u"¿Esta seguro de borrar %1 recursos de su juego?"_s.arg(n));
        QCOMPARE(a.v.plataforma.cajas[1].titulo, u"Aviso..."_s);
        QCOMPARE(a.v.plataforma.cajas[1].estilo, 64);
        QVERIFY(!a.v.AccionesHabilitadas());
        QVERIFY(!a.p.existe(a.Item(u"R00.png"_s)));
    }
}

void PruebaAcciones::borrarConFallos_data()
{
    // What changed on disk between the analysis and the yes: two listed
    // files gone or turned into a folder, a data file saved naming some
    // listed files, the data folder gone. %1 is the project folder.
    QTest::addColumn<bool>("perdidos");
    QTest::addColumn<QByteArray>("datoNuevo");
    QTest::addColumn<bool>("sinDatos");
    QTest::addColumn<QString>("cierre");
    QTest::addColumn<int>("estilo");
    QTest::addColumn<QStringList>("quedan");
    const QString usado = u": los datos del juego lo usan desde el análisis\r\n"_s;
    QTest::newRow("gone and a folder")
        << true << QByteArray() << false
        << u"No se pudieron borrar 2 de 4 recursos:\r\n%1Graphics/Pictures/R01.png: no existe\r\n"
           "%1Graphics/Pictures/R02.png: es una carpeta\r\nLos demás recursos de la lista se han borrado."_s
        << 48 << QStringList{u"R02.png"_s, u"R02.png/dentro"_s};
    QTest::newRow("used since the analysis") << false
                                             << QByteArray("\x04\x08[\x07I\"\x08"
                                                           "R03"
                                                           "I\"\x08"
                                                           "R01")
                                             << false
                                             << u"Se han conservado 2 de 4 recursos:\r\n%1Graphics/Pictures/R01.png"_s
            + usado + u"%1Graphics/Pictures/R03.png"_s + usado + u"Los demás recursos de la lista se han borrado."_s
                                             << 48 << QStringList{u"R01.png"_s, u"R03.png"_s};
    QTest::newRow("used, and the others failed")
        << true << QByteArray("R03 R00") << false
        << u"Se han conservado 2 de 4 recursos:\r\n%1Graphics/Pictures/R00.png"_s + usado
            + u"%1Graphics/Pictures/R03.png"_s + usado
            + u"No se pudieron borrar 2 de 4 recursos:\r\n%1Graphics/Pictures/R01.png: no existe\r\n"
              "%1Graphics/Pictures/R02.png: es una carpeta\r\nNo se ha borrado ninguno."_s
        << 48 << QStringList{u"R00.png"_s, u"R02.png"_s, u"R02.png/dentro"_s, u"R03.png"_s};
    // A check that did not finish deletes nothing, and the list stays usable.
    QTest::newRow("data folder gone")
        << false << QByteArray() << true
        << u"No se pudo abrir la carpeta:\r\n%1Data\r\nMotivo: no existe.\r\nNo se ha borrado ningún archivo."_s << 16
        << QStringList{u"R00.png"_s, u"R01.png"_s, u"R02.png"_s, u"R03.png"_s};
}

void PruebaAcciones::borrarConFallos()
{
    QFETCH(bool, perdidos);
    QFETCH(QByteArray, datoNuevo);
    QFETCH(bool, sinDatos);
    QFETCH(QString, cierre);
    QFETCH(int, estilo);
    QFETCH(QStringList, quedan);
    Analizado a(Nombres(4));
    Principal& w = *a.v.ventana;
    const ControlesPorNombre& c = a.v.controles;
    if (perdidos) {
        QFile::remove(a.p.Carpeta() + a.Item(u"R01.png"_s));  // gone since the analysis
        // R02 became a folder: never removed as a file.
        QFile::remove(a.p.Carpeta() + a.Item(u"R02.png"_s));
        QDir().mkpath(a.p.Carpeta() + a.Item(u"R02.png"_s) + u"/dentro"_s);
    }
    if (!datoNuevo.isEmpty())
        a.p.Dato(u"Map001.rxdata"_s, datoNuevo);  // the editor saved a map meanwhile
    if (sinDatos)
        QDir(a.p.Carpeta() + u"Data"_s).removeRecursively();
    a.v.plataforma.respuestas = {Respuesta::Si};
    ClicEn(w, c.Borrar);

    const QStringList posibles = Nombres(4) << u"R02.png/dentro"_s;
    for (const QString& n : posibles)
        QCOMPARE(a.p.existe(a.Item(n)), quedan.contains(n));
    QCOMPARE(a.v.plataforma.cajas.size(), size_t(2));
    const auto& cierreMostrado = a.v.plataforma.cajas[1];
    QCOMPARE(cierreMostrado.titulo, estilo == 16 ? u"Error..."_s : u"Aviso..."_s);
    QCOMPARE(cierreMostrado.estilo, estilo);
    QCOMPARE(cierreMostrado.texto, cierre.arg(a.p.Carpeta()).replace(u'/', QDir::separator()));
    QCOMPARE(a.v.Lista().size(), 4);  // the list itself is as it was
    QCOMPARE(a.v.AccionesHabilitadas(), sinDatos);
}

void PruebaAcciones::borrarNuncaSaleDelProyecto()
{
#ifndef Q_OS_UNIX
    QSKIP("links as the tests make them are POSIX-only");
#else
    QTemporaryDir fuera;
    const fs::path afuera = rutaNativa(fuera.path());
    std::ofstream(afuera / "Ajeno.png") << "valioso";
    fs::create_directory(afuera / "Musica");

    ProyectoPrueba p;
    p.Recurso(u"Graphics/Pictures"_s, u"Propio.png"_s, QByteArray(2040, 'x'));
    std::ofstream(afuera / "Objetivo.png") << std::string(10200, 'x');
    std::ofstream(afuera / "Musica" / "Tema.mid") << std::string(5100, 'x');
    // A listed link to a file elsewhere, and a resource folder that leads elsewhere.
    fs::create_symlink(afuera / "Objetivo.png", rutaNativa(p.Carpeta() + u"Graphics/Pictures/Enlace.png"_s));
    fs::create_directories(rutaNativa(p.Carpeta() + u"Audio"_s));
    fs::create_directory_symlink(afuera / "Musica", rutaNativa(p.Carpeta() + u"Audio/BGM"_s));
    p.Dato(u"Vacio.rxdata"_s, "\x04\x08[");

    Ventana v;
    v.Analizar(p.Ruta());
    QCOMPARE(
        v.Lista(),
        (QStringList{u"Graphics/Pictures/Enlace.png"_s, u"Graphics/Pictures/Propio.png"_s, u"Audio/BGM/Tema.mid"_s}));
    // The estimate counts what deletion will free: the link as a link (a name
    // of a few dozen bytes, 0 units), nothing behind the folder that leads out.
    ClicEn(*v.ventana, v.controles.Espacio);
    QCOMPARE(v.controles.TextoA->text(), u"Espacio ahorrado: 2 Kb"_s);
    QCOMPARE(v.plataforma.cajas.size(), size_t(1));
    QCOMPARE(v.plataforma.cajas[0].texto,
             u"No se pudo medir el tamaño de 1 archivos de la lista; el espacio ahorrado no los cuenta:\r\n"_s
                 + p.Carpeta() + u"Audio/BGM/Tema.mid: no está dentro de la carpeta del proyecto"_s);

    // A list item that was tampered with to reach outside.
    v.controles.Recursos->addItem(u"Graphics/Pictures/../../"_s + fuera.path().section(u'/', -1) + u"/Ajeno.png"_s);
    v.plataforma.respuestas = {Respuesta::Si};
    ClicEn(*v.ventana, v.controles.Borrar);

    QVERIFY(!p.existe(u"Graphics/Pictures/Propio.png"_s));
    QVERIFY(!fs::is_symlink(rutaNativa(p.Carpeta() + u"Graphics/Pictures/Enlace.png"_s)));  // the link went
    QCOMPARE(fs::file_size(afuera / "Objetivo.png"), std::uintmax_t(10200));                // its target stayed
    QVERIFY(fs::exists(afuera / "Musica" / "Tema.mid"));
    QVERIFY(fs::exists(afuera / "Ajeno.png"));
    QCOMPARE(v.plataforma.cajas.size(), size_t(3));
    QVERIFY(v.plataforma.cajas[2].texto.startsWith(u"No se pudieron borrar 2 de 4 recursos:"_s));
    QVERIFY(v.plataforma.cajas[2].texto.contains(u"Audio/BGM/Tema.mid: no está dentro de la carpeta del proyecto"_s));
#endif
}

void PruebaAcciones::carpetaSinPermisoDeBusqueda()
{
#ifndef Q_OS_UNIX
    QSKIP("folder permissions as the test sets them are POSIX-only");
#else
    if (geteuid() == 0) {
        // Root searches any folder: the case runs again as an ordinary user.
        const auto hijo = EnHijo(u"carpetaSinPermisoDeBusqueda"_s);
        if (!hijo)
            QSKIP("no ordinary user to run this case as");
        QVERIFY2(hijo->first == 0, hijo->second.constData());
        return;
    }
    // After the analysis, Graphics can no longer be searched: each entry says
    // so, not that it lies outside the project, and nothing is removed.
    Analizado a(Nombres(2), {2040, 2040});
    const fs::path graficos = rutaNativa(a.p.Carpeta() + u"Graphics"_s);
    fs::permissions(graficos, fs::perms::owner_read | fs::perms::owner_write);
    ClicEn(*a.v.ventana, a.v.controles.Espacio);
    a.v.plataforma.respuestas = {Respuesta::Si};
    ClicEn(*a.v.ventana, a.v.controles.Borrar);
    fs::permissions(graficos, fs::perms::owner_all);

    const QString r = a.p.Carpeta() + u"Graphics/Pictures/R0%1.png: permiso denegado"_s;
    QCOMPARE(a.v.controles.TextoA->text(), u"Espacio ahorrado: 0 Kb"_s);
    QCOMPARE(a.v.plataforma.cajas.size(), size_t(3));
    QCOMPARE(a.v.plataforma.cajas[0].texto,
             u"No se pudo medir el tamaño de 2 archivos de la lista; el espacio ahorrado no los cuenta:\r\n"_s
                 + r.arg(0) + u"\r\n"_s + r.arg(1));
    QCOMPARE(a.v.plataforma.cajas[2].texto,
             u"No se pudieron borrar 2 de 2 recursos:\r\n"_s + r.arg(0) + u"\r\n"_s + r.arg(1)
                 + u"\r\nNo se ha borrado ninguno."_s);
    QCOMPARE(QDir(a.p.Carpeta() + u"Graphics/Pictures"_s).entryList(QDir::Files),
             (QStringList{u"R00.png"_s, u"R01.png"_s}));
#endif
}

void PruebaAcciones::abrirArchivo()
{
    // "x\ny.png" beside "x": the opener gets the file the entry stands for,
    // not what a line of the batch file would read as.
    QStringList nombres = {u"Con espacios, ñ y 100%.png"_s, u"Otro.png"_s, u"x"_s};
#ifndef Q_OS_WIN
    nombres << u"x\ny.png"_s;  // no Windows name holds a line break
#endif
    ConLote a(nombres);
    Principal& w = *a.v.ventana;
    const ControlesPorNombre& c = a.v.controles;
    const QString& lote = a.lote;
    const auto nativa = [&](const QString& nombre) { return rutaNativa(a.p.Carpeta() + a.Item(nombre)); };

    ClicEnFila(c.Recursos, 0);
    ClicEn(w, c.Ejecutar);
#ifndef Q_OS_WIN
    QCOMPARE(a.Contenido(),
             "start \"\" \"" + a.p.Carpeta().toUtf8() + "Graphics/Pictures/Con espacios, \xc3\xb1 y 100%%.png\"\r\n");
#endif
    QVERIFY2(a.Abre(u"Con espacios, ñ y 100%.png"_s), a.Contenido().constData());
    QCOMPARE(a.v.plataforma.programas.size(), size_t(1));
    QCOMPARE(a.v.plataforma.programas[0].ruta, lote);
    QCOMPARE(a.v.plataforma.programas[0].estilo, 0);
    QVERIFY(a.v.plataforma.programas[0].archivo == nativa(u"Con espacios, ñ y 100%.png"_s));

    DobleClicEnFila(c.Recursos, 1);
    QVERIFY(a.Abre(u"Otro.png"_s));
    QCOMPARE(a.v.plataforma.programas.size(), size_t(2));
    QVERIFY(a.v.plataforma.programas[1].archivo == nativa(u"Otro.png"_s));

#ifndef Q_OS_WIN
    QCOMPARE(c.Recursos->item(3)->text(), a.Item(u"x\ny.png"_s));
    DobleClicEnFila(c.Recursos, 3);
    QCOMPARE(a.v.plataforma.programas.size(), size_t(3));
    QVERIFY(a.v.plataforma.programas[2].archivo == nativa(u"x\ny.png"_s));
#endif
    // The window itself does not change.
    QCOMPARE(a.v.Lista().size(), nombres.size());
    QCOMPARE(a.v.seleccion(), int(a.v.plataforma.programas.size()) == 3 ? 3 : 1);
    QVERIFY(a.v.AccionesHabilitadas());
    QVERIFY(a.v.plataforma.cajas.empty());
    QVERIFY(a.v.plataforma.mostrados.empty());

    // What the desktop would run is shown in its folder and never opened;
    // the batch file names it all the same.
    ConLote e({u"Instalar.bat"_s, u"Juego.exe"_s, u"lanzar.sh"_s});
    ClicEnFila(e.v.controles.Recursos, 0);
    ClicEn(*e.v.ventana, e.v.controles.Ejecutar);
    DobleClicEnFila(e.v.controles.Recursos, 1);
    DobleClicEnFila(e.v.controles.Recursos, 2);
    QVERIFY(e.Abre(u"lanzar.sh"_s));
    QVERIFY(e.v.plataforma.programas.empty());
    const auto en = [&](const QString& nombre) { return rutaNativa(e.p.Carpeta() + e.Item(nombre)); };
    QVERIFY(e.v.plataforma.mostrados == (std::vector{en(u"Instalar.bat"_s), en(u"Juego.exe"_s), en(u"lanzar.sh"_s)}));
    QVERIFY(e.v.plataforma.cajas.empty());
}

void PruebaAcciones::abrirSinSeleccionOArchivoPerdido()
{
    ConLote a({u"A.png"_s, u"B.png"_s});
    Principal& w = *a.v.ventana;
    const ControlesPorNombre& c = a.v.controles;
    const QString& lote = a.lote;

    Deseleccionar(a.v);
    ClicEn(w, c.Ejecutar);
    QVERIFY(!QFile::exists(lote));
    QVERIFY(a.v.plataforma.programas.empty());

    ClicEnFila(c.Recursos, 0);
    ClicEn(w, c.Ejecutar);
    QFile::remove(a.p.Carpeta() + a.Item(u"B.png"_s));
    DobleClicEnFila(c.Recursos, 1);
    QVERIFY(a.Abre(u"A.png"_s));
    QCOMPARE(a.v.plataforma.programas.size(), size_t(1));
    QCOMPARE(a.v.plataforma.cajas.size(), size_t(1));
    QCOMPARE(a.v.plataforma.cajas[0].texto,
             u"No se encontró el archivo:\r\n"_s + QDir::toNativeSeparators(a.p.Carpeta() + a.Item(u"B.png"_s))
                 + u"\r\nMotivo: no existe."_s);
    QCOMPARE(a.v.plataforma.cajas[0].estilo, 16);

    // An application folder that takes no batch file does not stop the opening.
    a.v.plataforma.carpetaAplicacion = a.aplicacion.path() + u"/no/existe"_s;
    ClicEnFila(c.Recursos, 0);
    ClicEn(w, c.Ejecutar);
    QCOMPARE(a.v.plataforma.cajas.size(), size_t(1));
    QCOMPARE(a.v.plataforma.programas.size(), size_t(2));
    QVERIFY(a.v.plataforma.programas[1].archivo == rutaNativa(a.p.Carpeta() + a.Item(u"A.png"_s)));
    QVERIFY(!QFileInfo::exists(a.aplicacion.path() + u"/no"_s));
}

void PruebaAcciones::lineaEnCadaPagina_data()
{
#ifndef Q_OS_WIN
    QSKIP("code pages are a Windows matter");
#else
    // The batch file's line in a console's code page: the very path as cmd
    // reads it, or none where a character has no form of its own there.
    QTest::addColumn<QString>("ruta");
    QTest::addColumn<unsigned>("pagina");
    QTest::addColumn<QByteArray>("bytes");  // empty: no line
    const QString dragon = u"C:\\J\\Dragón 100%.png"_s;
    const QString parecidos = u"C:\\J\\a\uFF02 \uFF06 calc \uFF05PATH\uFF05 \uFF3E \uFF02.png"_s;  // fullwidth " & % ^
    QTest::newRow("Dragón, 850") << dragon << 850u << QByteArray("start \"\" \"C:\\J\\Drag\xa2n 100%%.png\"");
    QTest::newRow("Dragón, 1252") << dragon << 1252u << QByteArray("start \"\" \"C:\\J\\Drag\xf3n 100%%.png\"");
    QTest::newRow("Dragón, UTF-8") << dragon << 65001u << QByteArray("start \"\" \"C:\\J\\Drag\xc3\xb3n 100%%.png\"");
    QTest::newRow("look-alikes, 850") << parecidos << 850u << QByteArray();
    QTest::newRow("look-alikes, 1252") << parecidos << 1252u << QByteArray();
    QTest::newRow("lone surrogate, UTF-8") << u"C:\\J\\a\xD800.png"_s << 65001u << QByteArray();
#endif
}

void PruebaAcciones::lineaEnCadaPagina()
{
#ifdef Q_OS_WIN
    QFETCH(QString, ruta);
    QFETCH(unsigned, pagina);
    QFETCH(QByteArray, bytes);
    QCOMPARE(enPaginaDeCodigos(lineaDeLote(ruta), pagina).value_or(QByteArray()), bytes);
#endif
}

void PruebaAcciones::nombresExactos()
{
#ifndef Q_OS_LINUX
    QSKIP("names as raw bytes and case twins are a Linux matter");
#else
    // Names that show alike, differ only in case, or hold blanks: every
    // command acts on the very file its entry stands for.
    ProyectoPrueba p;
    const fs::path carpeta = rutaNativa(p.Carpeta() + u"Graphics/Pictures"_s);
    fs::create_directories(carpeta);
    const auto escribir = [&](const char* nombre, int bytes) {
        std::ofstream(carpeta / nombre, std::ios::binary) << std::string(std::size_t(bytes), 'x');
    };
    escribir("Mal\xff.png", 1020);          // not valid text
    escribir("Mal\xef\xbf\xbd.png", 2040);  // shows just like it, and the data names it
    escribir("Hero.png", 3060);
    escribir("hero.png", 4080);
    escribir("HERO.PNG", 5100);
    escribir("a b.png", 6120);
    escribir("a\tb.png", 7140);
    p.Dato(u"Mapa.rxdata"_s, "Mal\xef\xbf\xbd");

    Ventana v;
    v.Analizar(p.Ruta());
    Principal& w = *v.ventana;
    const ControlesPorNombre& c = v.controles;
    QCOMPARE(v.Lista(),
             (QStringList{u"Graphics/Pictures/a\tb.png"_s, u"Graphics/Pictures/a b.png"_s,
                          u"Graphics/Pictures/HERO.PNG"_s, u"Graphics/Pictures/Hero.png"_s,
                          u"Graphics/Pictures/hero.png"_s, u"Graphics/Pictures/Mal\uFFFD.png"_s}));
    ClicEnFila(c.Recursos, 4);
    ClicEn(w, c.Quitar);  // keep hero.png
    ClicEn(w, c.Espacio);
    QCOMPARE(c.TextoA->text(), u"Espacio ahorrado: 22 Kb"_s);  // 7 + 6 + 5 + 3 + 1

    QTemporaryDir aplicacion;
    v.plataforma.carpetaAplicacion = aplicacion.path();
    ClicEn(w, c.Ejecutar);  // the last entry is selected
    QCOMPARE(v.plataforma.programas.size(), size_t(1));
    QVERIFY(v.plataforma.programas[0].archivo == carpeta / "Mal\xff.png");

    v.plataforma.respuestas = {Respuesta::Si};
    ClicEn(w, c.Borrar);
    QCOMPARE(v.plataforma.cajas.back().texto, u"¡Borrado completado con éxito!\r\n¡Limpieza de recursos finalizada!"_s);
    std::set<std::string> quedan;
    for (const auto& e : fs::directory_iterator(carpeta))
        quedan.insert(e.path().filename().native());
    QVERIFY(quedan == (std::set<std::string>{"hero.png", "Mal\xef\xbf\xbd.png"}));
#endif
}

void PruebaAcciones::flujoCompletoEnElEjemplo()
{
    // The demo project, copied: analyse, keep one entry, measure, delete.
    QTemporaryDir dir;
    const fs::path copia = rutaNativa(dir.path()) / "demo";
    fs::copy(MONDRIX_EJEMPLO, copia, fs::copy_options::recursive);
    const QString carpeta = *textoDeRuta(copia) + u'/';
    Ventana v;
    v.Analizar(carpeta + u"Game.rxproj"_s);
    const QStringList sinUsar = {u"Graphics/Battlers/051-Undead01.png"_s,
                                 u"Graphics/Icons/001-Weapon01.png"_s,
                                 u"Graphics/Icons/021-Potion01.png"_s,
                                 u"Graphics/Pictures/Castillo de noche.png"_s,
                                 u"Graphics/Pictures/Dragón.png"_s,
                                 u"Graphics/Windowskins/002-Red01.png"_s,
                                 u"Audio/BGM/Silencio.ogg"_s,
                                 u"Audio/SE/Puerta.wav"_s};
    QCOMPARE(v.Lista(), sinUsar);

    std::vector<fs::path> antes;
    for (const auto& e : fs::recursive_directory_iterator(copia))
        antes.push_back(e.path());
    Principal& w = *v.ventana;
    const ControlesPorNombre& c = v.controles;
    ClicEnFila(c.Recursos, 3);
    ClicEn(w, c.Quitar);  // the castle stays
    ClicEn(w, c.Espacio);
    qint64 bytes = 0;
    for (const QString& item : v.Lista())
        bytes += QFileInfo(carpeta + item).size() / 1020;
    QCOMPARE(c.TextoA->text(), u"Espacio ahorrado: %1 Kb"_s.arg(bytes));
    v.plataforma.respuestas = {Respuesta::Si};
    ClicEn(w, c.Borrar);
    QCOMPARE(v.plataforma.cajas.back().titulo, u"Aviso..."_s);
    QCOMPARE(v.plataforma.cajas.back().estilo, 64);

    for (const fs::path& ruta : antes) {
        const QString relativa = QDir::fromNativeSeparators(*textoDeRuta(fs::relative(ruta, copia)));
        const bool borrado = sinUsar.contains(relativa) && relativa != u"Graphics/Pictures/Castillo de noche.png"_s;
        QVERIFY2(fs::exists(ruta) != borrado, qPrintable(relativa));
    }
}

QTEST_MAIN(PruebaAcciones)
#include "tst_comandos.moc"
