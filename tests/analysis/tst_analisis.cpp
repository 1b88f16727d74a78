// Opening a project and analysing it, driven through the window as a user
// drives it, on real folders.
#include "apoyo/Apoyo.h"
#include "apoyo/Referencia.h"
#include "analysis/Recorrido.h"
#include "analysis/Catalogo.h"
#include "window/Controles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <random>
#include <thread>
#include <set>

#include <QSignalSpy>
#include "platform/Archivos.h"
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;
namespace fs = std::filesystem;

namespace {
const QString kRechazo = u"No ha elegido un proyecto del Rpg Maker Xp válido..."_s;

// A Ruby string as the engine's data files hold it.
QByteArray Marshal(const QByteArray& texto)
{
    return QByteArray("\x04\x08I\"", 4) + char(texto.size() + 5) + texto
        + QByteArray(":\x06"
                     "ET",
                     4);
}

// How many more allocations on this thread succeed before one fails, as
// when memory runs out; negative: none fails.
thread_local int t_asignacionesAntesDeFallar = -1;
}  // namespace

// Every single allocation of this program goes through here, so that a test
// can make one fail on the thread where it matters. The array forms call
// these, or (under a sanitizer) pair among themselves.
void* operator new(std::size_t n)
{
    if (t_asignacionesAntesDeFallar >= 0 && t_asignacionesAntesDeFallar-- == 0)
        throw std::bad_alloc();
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    try {
        return operator new(n);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

class PruebaAnalisis : public QObject {
    Q_OBJECT
private slots:
    void catalogoEnOrden();
    void cancelarNoCambiaNada();
    void proyectoRechazado();
    void escaneoCasosLimite();
    void lineasDeProgreso();
    void catalogoVacio();
    void carpetaDatosVacia();
    void errores_data();
    void errores();
    void entradasRarasEnDatos();
    void nombresQueNoSonTexto();
    void clicsDuranteElAnalisis();
    void cerrarDuranteElAnalisis();
    void igualQueElRecorridoSimple();
    void lectoresEnOrden();
    void sinHilosQueArrancar();
    void proyectosReales_data();
    void proyectosReales();
};

void PruebaAnalisis::catalogoEnOrden()
{
    ProyectoPrueba p;
    p.Recurso(u"Audio/SE"_s, u"Cursor.wav"_s);
    p.Recurso(u"Audio/BGS"_s, u"Lluvia.ogg"_s);
    p.Recurso(u"Audio/ME"_s, u"Fanfarria.mid"_s);
    p.Recurso(u"Audio/BGM"_s, u"Batalla.mp3"_s);
    p.Recurso(u"Graphics/Windowskins"_s, u"Ventana.png"_s);
    p.Recurso(u"Graphics/Pictures"_s, u"b.txt"_s);
    p.Recurso(u"Graphics/Pictures"_s, u"A sin extension"_s);
    p.Recurso(u"Graphics/Pictures"_s, u"Canción 森.png"_s);
    p.Recurso(u"Graphics/Pictures/Sub"_s, u"oculto.png"_s);  // below a resource folder: not listed
    p.Recurso(u"Graphics/Animations"_s, u"001-Golpe.png"_s);
    p.Recurso(u"Graphics/Otros"_s, u"ajeno.png"_s);   // not a resource folder
    QDir().mkpath(p.Carpeta() + u"Graphics/Fogs"_s);  // empty
    QDir().mkpath(p.Carpeta() + u"Data"_s);

    Ventana v;
    v.Analizar(p.Ruta());
    QCOMPARE(v.Lista(),
             (QStringList{u"Graphics/Animations/001-Golpe.png"_s, u"Graphics/Pictures/A sin extension"_s,
                          u"Graphics/Pictures/b.txt"_s, u"Graphics/Pictures/Canción 森.png"_s,
                          u"Graphics/Windowskins/Ventana.png"_s, u"Audio/BGM/Batalla.mp3"_s,
                          u"Audio/ME/Fanfarria.mid"_s, u"Audio/BGS/Lluvia.ogg"_s, u"Audio/SE/Cursor.wav"_s}));
    QCOMPARE(v.controles.Abierto->text(), p.Ruta());
    QVERIFY(v.AccionesHabilitadas());
    QVERIFY(v.plataforma.cajas.empty());
    QCOMPARE(v.controles.Analizando->text(), u"0"_s);
}

void PruebaAnalisis::cancelarNoCambiaNada()
{
    Ventana v;
    ClicEn(*v.ventana, v.controles.Abrir);  // nothing queued: the user cancels
    QCOMPARE(v.plataforma.dialogos.size(), size_t(1));
    QVERIFY(v.plataforma.dialogos[0].cancelError);
    QCOMPARE(v.plataforma.dialogos[0].defaultExt, u"rxproj"_s);
    QCOMPARE(v.plataforma.dialogos[0].filter, u"Proyecto del Rpg Maker Xp (*.rxproj)"_s);
    QVERIFY(v.controles.Abierto->text().isEmpty());
    QCOMPARE(v.controles.Analizando->text(), u"https://mondrix.example.org"_s);
    QVERIFY(!v.AccionesHabilitadas());

    ProyectoPrueba p;
    p.Recurso(u"Graphics/Icons"_s, u"Espada.png"_s);
    p.Dato(u"Items.rxdata"_s, Marshal("Escudo"));
    v.Analizar(p.Ruta());
    v.controles.Recursos->setCurrentRow(0);
    const QStringList lineas = v.lineas;
    v.plataforma.eleccionesAbrir.push_back(std::nullopt);
    ClicEn(*v.ventana, v.controles.Abrir);
    QCOMPARE(v.Lista(), QStringList{u"Graphics/Icons/Espada.png"_s});
    QCOMPARE(v.seleccion(), 0);
    QCOMPARE(v.controles.Abierto->text(), p.Ruta());
    QCOMPARE(v.lineas, lineas);
    QVERIFY(v.AccionesHabilitadas());
    QVERIFY(v.plataforma.cajas.empty());
}

void PruebaAnalisis::proyectoRechazado()
{
    ProyectoPrueba p;
    p.Recurso(u"Graphics/Icons"_s, u"Espada.png"_s);
    QDir().mkpath(p.Carpeta() + u"Data"_s);
    const QString mayusculas = p.Escribir(u"Game.RXPROJ"_s);

    Ventana v;
    v.Analizar(p.Ruta());
    QVERIFY(v.AccionesHabilitadas());

    for (const QString& eleccion : {mayusculas, u"a.rxp"_s, p.Carpeta() + u"Game.rxproj.bak"_s}) {
        v.plataforma.cajas.clear();
        v.Analizar(eleccion);
        QCOMPARE(v.plataforma.cajas.size(), size_t(1));
        QCOMPARE(v.plataforma.cajas[0].texto, kRechazo);
        QCOMPARE(v.plataforma.cajas[0].estilo, 16);
        QCOMPARE(v.plataforma.cajas[0].titulo, u"Error..."_s);
        // The earlier project stays on view, greyed.
        QCOMPARE(v.Lista(), QStringList{u"Graphics/Icons/Espada.png"_s});
        QCOMPARE(v.controles.Abierto->text(), p.Ruta());
        QVERIFY(!v.AccionesHabilitadas());
    }
    // And the right one is accepted again.
    v.plataforma.cajas.clear();
    v.Analizar(p.Ruta());
    QVERIFY(v.plataforma.cajas.empty());
    QVERIFY(v.AccionesHabilitadas());
}

void PruebaAnalisis::escaneoCasosLimite()
{
    ProyectoPrueba p;
    const QString g = u"Graphics/Battlers"_s;
    for (const char* nombre : {"Fighter.png", "Fight.png", "Mago.png", "mago2.png", "Title.jpeg", ".png", "Canción.ogg",
                               "森.png", "Nulo.png", "Nada.png"})
        p.Recurso(g, QString::fromUtf8(nombre));
    p.Dato(u"Map001.rxdata"_s, Marshal("SuperFighter01") + Marshal("MAGO2"));
    p.Dato(u"Map002.rxdata"_s, QByteArray("Title", 5) + QByteArray("\0Nu\0Nulo\0", 9) + Marshal("Canción"));
    p.Dato(u"Map003.rxdata"_s, Marshal("森") + Marshal("mago"));

    Ventana v;
    v.Analizar(p.Ruta());
    // Sorted as Windows lists them; what no data file names stays.
    QCOMPARE(v.Lista(), (QStringList{g + u"/Mago.png"_s, g + u"/mago2.png"_s, g + u"/Nada.png"_s}));
    QVERIFY(v.AccionesHabilitadas());
}

void PruebaAnalisis::lineasDeProgreso()
{
    ProyectoPrueba p;
    for (int i = 0; i < 12; ++i)
        p.Recurso(u"Audio/SE"_s, u"Sonido%1.wav"_s.arg(i, 2, 10, QLatin1Char('0')));
    p.Dato(u"A.rxdata"_s, Marshal("Sonido00") + Marshal("Sonido01"));
    p.Dato(u"B.rxdata"_s, Marshal("Sonido02"));
    p.Dato(u"C.rxdata"_s, Marshal("Sonido03") + Marshal("Sonido10"));

    const QStringList esperadas = {
        u"1 de 3 archivos de datos verificados - 0 de 12 recursos utilizados - 33% del analisis completado"_s,
        u"2 de 3 archivos de datos verificados - 2 de 12 recursos utilizados - 66% del analisis completado"_s,
        // The last line counts only what the files before the last one named.
        u"3 de 3 archivos de datos verificados - 3 de 12 recursos utilizados - 100% del analisis completado"_s,
    };
    // Every line of the walk, as the scan makes them...
    std::vector<std::string> lista, datos;
    for (int i = 0; i < 12; ++i)
        lista.push_back(u"Audio/SE/Sonido%1.wav"_s.arg(i, 2, 10, QLatin1Char('0')).toStdString());
    for (const char* d : {"A.rxdata", "B.rxdata", "C.rxdata"}) {
        QFile f(p.Carpeta() + u"Data/"_s + QString::fromLatin1(d));
        QVERIFY(f.open(QIODevice::ReadOnly));
        datos.push_back(f.readAll().toStdString());
    }
    QStringList lineas;
    for (const std::string& linea : RecorrerEnMemoria(lista, datos).lineas)
        lineas << QString::fromStdString(linea);
    QCOMPARE(lineas, esperadas);

    // ...and what the status box shows of them: the count, the first line
    // at once, the last one at the end.
    Ventana v;
    v.Analizar(p.Ruta());
    QCOMPARE(v.lineas.first(), u"3"_s);
    QCOMPARE(v.lineas.value(1), esperadas.first());
    QCOMPARE(v.lineas.last(), esperadas.last());
    QCOMPARE(v.Lista().size(), 7);
    // The last item was examined last and kept: it stays selected.
    QCOMPARE(v.seleccion(), 6);
    QCOMPARE(QDir::fromNativeSeparators(v.controles.Recursos->currentItem()->text()), u"Audio/SE/Sonido11.wav"_s);

    // When the last item examined is struck, nothing is left selected.
    p.Dato(u"C.rxdata"_s, Marshal("Sonido11"));
    v.Analizar(p.Ruta());
    QCOMPARE(v.seleccion(), -1);
}

void PruebaAnalisis::catalogoVacio()
{
    ProyectoPrueba p;
    p.Dato(u"A.rxdata"_s, "x");
    p.Dato(u"B.rxdata"_s, "");
    p.Dato(u"C.rxdata"_s, "y");
    Ventana v;
    v.Analizar(p.Ruta());
    QCOMPARE(v.lineas.first(), u"3"_s);
    QCOMPARE(v.lineas.last(),
             u"3 de 3 archivos de datos verificados - 0 de 0 recursos utilizados - 100% del analisis completado"_s);
    QVERIFY(v.Lista().isEmpty());
    QVERIFY(v.AccionesHabilitadas());
}

void PruebaAnalisis::carpetaDatosVacia()
{
    ProyectoPrueba p;
    p.Recurso(u"Graphics/Titles"_s, u"Title.png"_s);
    p.Recurso(u"Graphics/Titles"_s, u".png"_s);
    QDir().mkpath(p.Carpeta() + u"Data/Sub"_s);
    p.Escribir(u"Data/Sub/Title.rxdata"_s, Marshal("Title"));  // below Data: not read
    Ventana v;
    v.Analizar(p.Ruta());
    QCOMPARE(v.lineas, QStringList{u"0"_s});
    QCOMPARE(v.Lista(), (QStringList{u"Graphics/Titles/.png"_s, u"Graphics/Titles/Title.png"_s}));
    QCOMPARE(v.seleccion(), -1);
    QVERIFY(v.AccionesHabilitadas());
}

void PruebaAnalisis::errores_data()
{
    QTest::addColumn<QString>("caso");
    QTest::addColumn<QString>("ruta");  // relative to the project
    QTest::addColumn<QString>("motivo");
    QTest::newRow("no Data folder") << "sin datos"
                                    << "Data"
                                    << "no existe";
    QTest::newRow("Data is a file") << "datos archivo"
                                    << "Data"
                                    << "no es una carpeta";
    QTest::newRow("resource folder is a file") << "recursos archivo"
                                               << "Graphics/Icons"
                                               << "no es una carpeta";
#ifdef Q_OS_UNIX
    QTest::newRow("resource folder in a link loop") << "recursos ciclo"
                                                    << "Graphics/Icons"
                                                    << "los enlaces simbólicos forman un ciclo";
#endif
#ifdef Q_OS_UNIX
    // Listed but not searched: the names are there, the files out of reach.
    QTest::newRow("Data can't be searched") << "datos sin busqueda"
                                            << "Data/Map001.rxdata"
                                            << "permiso denegado";
#endif
#ifdef Q_OS_LINUX
    // Reading a process's memory at address 0 fails even for root.
    QTest::newRow("unreadable data file") << "dato ilegible"
                                          << "Data/Map002.rxdata"
                                          << "error de lectura o escritura en el disco";
#endif
}

void PruebaAnalisis::errores()
{
    QFETCH(QString, caso);
    QFETCH(QString, ruta);
    QFETCH(QString, motivo);
#ifdef Q_OS_UNIX
    if (caso == u"datos sin busqueda"_s && geteuid() == 0) {
        // Root reads any folder: the case runs again as an ordinary user.
        const auto hijo = EnHijo(u"errores:"_s + QString::fromLatin1(QTest::currentDataTag()));
        if (!hijo)
            QSKIP("no ordinary user to run this case as");
        QVERIFY2(hijo->first == 0, hijo->second.constData());
        return;
    }
#endif
    ProyectoPrueba p;
    p.Recurso(u"Graphics/Battlers"_s, u"Heroe.png"_s);
    p.Recurso(u"Graphics/Battlers"_s, u"Villano.png"_s);
    if (caso != u"sin datos"_s && caso != u"datos archivo"_s)
        p.Dato(u"Map001.rxdata"_s, Marshal("Heroe"));
    if (caso == u"datos archivo"_s)
        p.Escribir(u"Data"_s, "x");
    if (caso == u"recursos archivo"_s) {
        p.Escribir(u"Graphics/Icons"_s, "x");
        p.Escribir(u"Audio/SE"_s, "x");  // a later folder fails too: the first one is reported
    }
    if (caso == u"recursos ciclo"_s) {
        QDir().mkpath(p.Carpeta() + u"Graphics"_s);
        fs::create_symlink("Icons", rutaNativa(p.Carpeta() + ruta));
    }
    if (caso == u"dato ilegible"_s)
        fs::create_symlink("/proc/self/mem", rutaNativa(p.Carpeta() + ruta));
    const fs::path datos = rutaNativa(p.Carpeta() + u"Data"_s);
    if (caso == u"datos sin busqueda"_s)
        fs::permissions(datos, fs::perms::owner_read | fs::perms::owner_write);

    Ventana v;
    v.Analizar(p.Ruta());
    if (caso == u"datos sin busqueda"_s)
        fs::permissions(datos, fs::perms::owner_all);
    QCOMPARE(v.plataforma.cajas.size(), size_t(1));
    const auto& caja = v.plataforma.cajas[0];
    QCOMPARE(caja.estilo, 16);
    QCOMPARE(caja.titulo, u"Error..."_s);
    QVERIFY2(caja.texto.contains(u"\r\n"_s + p.Carpeta() + QDir::toNativeSeparators(ruta) + u"\r\nMotivo: "_s + motivo
                                 + u".\r\n"_s),
             qPrintable(caja.texto));
    QVERIFY(caja.texto.endsWith(
        u"El análisis se ha detenido: la lista no se podrá usar hasta completar un nuevo análisis."_s));
    // Nothing from an unfinished analysis can be acted upon.
    QVERIFY(!v.AccionesHabilitadas());
    QVERIFY(!v.ventana->analisisEnCurso());
    // What was listed before the failure stays listed, the scan not begun:
    // the folders before a failing one, or all of them when Data fails.
    if (caso != u"dato ilegible"_s)
        QCOMPARE(v.Lista(), (QStringList{u"Graphics/Battlers/Heroe.png"_s, u"Graphics/Battlers/Villano.png"_s}));
}

void PruebaAnalisis::entradasRarasEnDatos()
{
#ifndef Q_OS_UNIX
    QSKIP("links and pipes as the tests make them are POSIX-only");
#else
    ProyectoPrueba p;
    p.Recurso(u"Graphics/Fogs"_s, u"Niebla.png"_s);
    p.Recurso(u"Graphics/Fogs"_s, u"Bruma.png"_s);
    p.Recurso(u"Graphics/Fogs"_s, u"Humo.png"_s);
    const QString otro = p.Escribir(u"Fuera/Otro.rxdata"_s, Marshal("Bruma"));
    p.Dato(u"Map001.rxdata"_s, Marshal("Niebla"));
    const fs::path datos = rutaNativa(p.Carpeta() + u"Data"_s);
    fs::create_directory(datos / "Carpeta");
    fs::create_symlink("/dev/zero", datos / "Cero.rxdata");         // endless: a device, not a file
    fs::create_symlink("Ciclo.rxdata", datos / "Ciclo.rxdata");     // a loop
    fs::create_symlink("NoEsta.rxdata", datos / "Roto.rxdata");     // dangling
    fs::create_symlink(rutaNativa(otro), datos / "Enlace.rxdata");  // a file elsewhere: read
    QVERIFY(mkfifo((datos / "Tuberia.rxdata").c_str(), 0600) == 0);

    Ventana v;
    v.Analizar(p.Ruta());
    QVERIFY(v.plataforma.cajas.empty());
    QCOMPARE(v.lineas.first(), u"2"_s);
    QCOMPARE(v.Lista(), QStringList{u"Graphics/Fogs/Humo.png"_s});
    QVERIFY(v.AccionesHabilitadas());
#endif
}

void PruebaAnalisis::nombresQueNoSonTexto()
{
#ifndef Q_OS_LINUX
    QSKIP("file names as raw bytes are a Linux matter");
#else
    // An archive unpacked with the wrong code page: names in Latin-1. Data
    // files so named are read like any other; resources so named are listed,
    // shown with U+FFFD, and searched for by their own bytes.
    ProyectoPrueba p;
    const fs::path iconos = rutaNativa(p.Carpeta() + u"Graphics/Icons"_s);
    const fs::path datos = rutaNativa(p.Carpeta() + u"Data"_s);
    fs::create_directories(iconos);
    fs::create_directories(datos);
    for (const char* nombre : {"Mal\xff.png", "Bien.png", "Humo\xf1.png", "Cura.png"})
        std::ofstream(iconos / nombre) << "x";
    std::ofstream(datos
                      / "Map\xff"
                        "02.rxdata",
                  std::ios::binary)
        << Marshal("Bien").toStdString();
    std::ofstream(datos
                      / "Mapa \xf1"
                        "and\xfa.rxdata",
                  std::ios::binary)
        << Marshal("Humo\xf1").toStdString();
    std::ofstream(datos / "Map003.rxdata", std::ios::binary) << Marshal("Cura\xef\xbf\xbd").toStdString();
    Ventana v;
    v.Analizar(p.Ruta());
    QVERIFY(v.plataforma.cajas.empty());
    QCOMPARE(v.lineas.first(), u"3"_s);
    QCOMPARE(v.Lista(), (QStringList{u"Graphics/Icons/Mal\uFFFD.png"_s}));
    QVERIFY(v.AccionesHabilitadas());
    // QTemporaryDir can't remove what it can't name.
    for (const fs::path& ruta : {iconos / "Mal\xff.png", iconos / "Humo\xf1.png",
                                 datos
                                     / "Map\xff"
                                       "02.rxdata",
                                 datos
                                     / "Mapa \xf1"
                                       "and\xfa.rxdata"})
        fs::remove(ruta);
#endif
}

void PruebaAnalisis::clicsDuranteElAnalisis()
{
    ProyectoPrueba p;
    for (int i = 0; i < 30; ++i)
        p.Recurso(u"Graphics/Icons"_s, u"Icono%1.png"_s.arg(i));
    for (int i = 0; i < 5; ++i)
        p.Dato(u"Map%1.rxdata"_s.arg(i), Marshal(u"Icono%1"_s.arg(i * 3).toUtf8()));

    Ventana v;
    QString estadoAntes, estadoDespues;
    bool deshabilitadas = true;
    v.plataforma.alBombear = [&](int n) {
        deshabilitadas = deshabilitadas && !v.AccionesHabilitadas();
        if (n == 2) {
            // Abrir is live but ignored; the status box answers.
            v.plataforma.eleccionesAbrir.push_back(p.Ruta());
            ClicEn(*v.ventana, v.controles.Abrir);
            estadoAntes = v.controles.Analizando->text();
            ClicEn(*v.ventana, v.controles.Analizando);
            estadoDespues = v.controles.Analizando->text();
        }
    };
    v.Analizar(p.Ruta());
    QVERIFY(deshabilitadas);
    QCOMPARE(v.plataforma.dialogos.size(), size_t(1));
    QCOMPARE(v.plataforma.cajas.size(), size_t(1));
    QCOMPARE(v.plataforma.cajas[0].texto, u"Mas novedades y proximas versiones en https://mondrix.example.org"_s);
    QCOMPARE(v.plataforma.cajas[0].estilo, 64);
    QCOMPARE(v.plataforma.cajas[0].titulo, u"¡Visitanos!"_s);
    QCOMPARE(estadoDespues, estadoAntes);
    QCOMPARE(v.Lista().size(), 24);  // "Icono12" names Icono1 too
    QVERIFY(v.AccionesHabilitadas());
}

void PruebaAnalisis::cerrarDuranteElAnalisis()
{
    ProyectoPrueba p;
    for (int i = 0; i < 10; ++i)
        p.Recurso(u"Graphics/Icons"_s, u"Icono%1.png"_s.arg(i));
    for (int i = 0; i < 4; ++i)
        p.Dato(u"Map%1.rxdata"_s.arg(i), Marshal(u"Icono%1"_s.arg(i).toUtf8()));

    // Closed at each possible pause, with Qt's own events flowing.
    for (int cuando = 1; cuando <= 4; ++cuando) {
        Ventana v;
        v.plataforma.procesarEventos = true;
        v.plataforma.alBombear = [&](int n) {
            if (n == cuando)
                v.ventana->close();
        };
        v.Analizar(p.Ruta());
        QVERIFY(!v.ventana->isVisible());
        QVERIFY(!v.AccionesHabilitadas());
        QVERIFY(!v.ventana->analisisEnCurso());
        QVERIFY(v.plataforma.cajas.empty());
    }
}

namespace {
// Starts worker threads until the n-th (from 0), which fails to start as
// under a limit on processes.
std::function<std::thread(std::function<void()>)> FallaElHilo(int n)
{
    auto arrancados = std::make_shared<int>(0);
    return [=](std::function<void()> f) {
        if ((*arrancados)++ == n)
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        return std::thread(std::move(f));
    };
}

// Random small projects, built to be awkward: keys inside other keys, shared
// prefixes, empty keys, non-ASCII names, NUL bytes, items that share a key.
struct ProyectoAzar {
    std::vector<std::string> lista;  // "Folder/Sub/name.ext", in catalogue order
    std::vector<std::string> datos;  // each data file's bytes, in order
};

ProyectoAzar Azar(std::mt19937& azar)
{
    static const QStringList trozos = {u"Fighter"_s, u"Fight"_s, u"er"_s, u"01"_s, u"Su"_s, u"per"_s, u"ñ"_s,
                                       u"森"_s,      u"a"_s,     u"A"_s,  u" "_s,  u"."_s,  u"-"_s};
    static const QStringList extensiones = {u".png"_s, u".jpeg"_s, u".ogg"_s, u""_s, u".a.b"_s};
    const auto al = [&](int n) { return int(azar() % unsigned(n)); };
    ProyectoAzar p;
    std::vector<std::vector<QByteArray>> porCarpeta(3);
    std::vector<QByteArray> claves;
    const int recursos = al(25);
    for (int i = 0; i < recursos; ++i) {
        QString base;
        for (int j = al(4); j >= 0; --j)
            base += trozos[al(int(trozos.size()))];
        const QString nombre = base + extensiones[al(int(extensiones.size()))];
        auto& carpeta = porCarpeta[size_t(al(3))];
#ifdef _WIN32
        // One file there for names that differ in case; a name's final dots and spaces are dropped.
        const auto igual = [&](const QByteArray& otro) {
            return !nombre.compare(QString::fromUtf8(otro), Qt::CaseInsensitive);
        };
        if (nombre.endsWith(u'.') || nombre.endsWith(u' '))
            continue;
#else
        const auto igual = [&](const QByteArray& otro) { return nombre.toUtf8() == otro; };
#endif
        if (nombre == u"."_s || nombre == u".."_s
            || std::find_if(carpeta.begin(), carpeta.end(), igual) != carpeta.end())
            continue;
        carpeta.push_back(nombre.toUtf8());
        claves.push_back(base.toUtf8());
    }
    // The catalogue's order: folder by folder, names as the listing sorts them.
    for (int c = 0; c < 3; ++c) {
        std::sort(porCarpeta[size_t(c)].begin(), porCarpeta[size_t(c)].end(),
                  [](const QByteArray& a, const QByteArray& b) {
                      const QString qa = QString::fromUtf8(a), qb = QString::fromUtf8(b);
                      const int comparacion = QString::compare(qa, qb, Qt::CaseInsensitive);
                      return comparacion != 0 ? comparacion < 0 : qa < qb;
                  });
        for (const QByteArray& nombre : porCarpeta[size_t(c)])
            p.lista.push_back(QDir::fromNativeSeparators(carpetasRecursos()[size_t(c * 8)]).toStdString() + "/"
                              + nombre.toStdString());
    }
    for (int d = al(5); d > 0; --d) {
        QByteArray datos;
        for (int j = al(6); j > 0; --j) {
            if (!claves.empty() && al(2))
                datos += Marshal(claves[size_t(al(int(claves.size())))]);
            else
                datos += QByteArray(al(3), '\0') + trozos[al(int(trozos.size()))].toUtf8();
        }
        p.datos.push_back(datos.toStdString());
    }
    return p;
}
}  // namespace

void PruebaAnalisis::igualQueElRecorridoSimple()
{
    // The walk the scan drives, without a window, on thousands of random
    // projects, with one reader and with several, whole files and ranges,
    // and with the caller reading on its own: the entries left, every
    // progress line and the final selection are those of the plain walk.
    std::mt19937 azar(20261207);
    for (int ronda = 0; ronda < 3000; ++ronda) {
        const ProyectoAzar p = Azar(azar);
        const referencia::Resultado esperado = referencia::Recorrer(p.lista, p.datos);
        // Files split into ranges of a few bytes (shorter than many keys),
        // and worker threads that fail to start, down to none at all.
        RepartoLectores reparto{.hilos = 1 + unsigned(ronda % 3)};
        if (ronda % 2) {
            reparto.umbral = unsigned(ronda % 5) * 4;
            reparto.tramo = 1 + unsigned(ronda % 11);
        }
        if (ronda % 5 == 0)
            reparto.arrancar = FallaElHilo(ronda % 3);
        const referencia::Resultado obtenido = RecorrerEnMemoria(p.lista, p.datos, reparto);
        QCOMPARE(obtenido.lista, esperado.lista);
        QCOMPARE(obtenido.lineas, esperado.lineas);
        QCOMPARE(obtenido.seleccion, esperado.seleccion);
    }

    // And through the window, on disk: the same list and selection, and the
    // lines it shows are the walk's own, the first and the last among them.
    for (int ronda = 0; ronda < 30; ++ronda) {
        const ProyectoAzar azaroso = Azar(azar);
        ProyectoPrueba p;
        for (const std::string& item : azaroso.lista)
            p.Escribir(QString::fromStdString(item));
        for (std::size_t d = 0; d < azaroso.datos.size(); ++d)
            p.Dato(u"D%1.rxdata"_s.arg(d, 3, 10, QLatin1Char('0')), QByteArray::fromStdString(azaroso.datos[d]));
        QDir().mkpath(p.Carpeta() + u"Data"_s);

        Ventana v;
        v.Analizar(p.Ruta());
        QVERIFY(v.AccionesHabilitadas());
        const referencia::Resultado r = referencia::Recorrer(azaroso.lista, azaroso.datos);
        QStringList esperada, lineas;
        for (const auto& item : r.lista)
            esperada << QString::fromStdString(item);
        for (const auto& linea : r.lineas)
            lineas << QString::fromStdString(linea);
        QCOMPARE(v.Lista(), esperada);
        QCOMPARE(v.seleccion(), r.seleccion);
        QCOMPARE(v.lineas.first(), QString::number(azaroso.datos.size()));
        if (!lineas.isEmpty()) {
            QCOMPARE(v.lineas.value(1), lineas.first());
            QCOMPARE(v.lineas.last(), lineas.last());
            qsizetype desde = 0;
            for (const QString& mostrada : v.lineas.mid(1)) {
                desde = lineas.indexOf(mostrada, desde);
                QVERIFY2(desde >= 0, qPrintable(mostrada));
            }
        }
    }
}

void PruebaAnalisis::lectoresEnOrden()
{
    // Results come back in file order whatever order the workers finish in:
    // a later file that fails first does not hide an earlier failure.
    const auto automata = std::make_shared<const AutomataClaves>(BloqueClaves(std::vector<std::string>{"Heroe"}));
    const auto abrir = [](std::size_t k) -> std::unique_ptr<DatoAbierto> {
        if (k == 1) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            throw ErrorArchivo(u"No se pudo leer el archivo de datos"_s, u"uno"_s, u"x"_s);
        }
        if (k == 3)
            throw ErrorArchivo(u"No se pudo leer el archivo de datos"_s, u"tres"_s, u"x"_s);
        return DatoEnMemoria("..Heroe..");
    };
    LectoresDatos lectores(automata, 5, abrir, {.hilos = 3});
    QCOMPARE(lectores.tomar(0, std::chrono::seconds(10)), std::optional<std::vector<int>>(std::vector<int>{0}));
    try {
        lectores.tomar(1, std::chrono::seconds(10));
        QFAIL("the failure of file 1 was not reported");
    } catch (const ErrorArchivo& error) {
        QCOMPARE(error.ruta, u"uno"_s);
    }

    // No room to record a file's finds: the file fails, named by the
    // caller, rather than being waited for without end.
    LectoresDatos sinMemoria(automata, 2,
                             [](std::size_t k) {
                                 return std::make_unique<DatoGuionado>(
                                     [k](std::uint64_t, std::uint64_t, Tomador trozo) {
                                         trozo("..Heroe..");
                                         if (k == 0)
                                             t_asignacionesAntesDeFallar = 0;  // the next one, on this worker
                                     });
                             },
                             {.hilos = 1});
    try {
        sinMemoria.tomar(0, std::chrono::seconds(10), u"Data/Map001.rxdata"_s);
        QFAIL("the failure to record file 0's finds was not reported");
    } catch (const ErrorArchivo& error) {
        QCOMPARE(error.texto(),
                 u"No se pudo leer el archivo de datos:\r\nData/Map001.rxdata\r\nMotivo: no hay memoria suficiente."_s);
    }

    // Closing the window mid-file: the workers stop within one piece.
    std::atomic<int> trozos = 0;
    {
        LectoresDatos sinFin(automata, 2, [&](std::size_t) {
            return std::make_unique<DatoGuionado>([&](std::uint64_t, std::uint64_t, Tomador trozo) {
                for (;; ++trozos)
                    trozo("abc");
            });
        });
        while (trozos < 100)
            std::this_thread::yield();
    }

    // A read that fails in one range of a large file fails the file.
    LectoresDatos partido(automata, 2,
                          [](std::size_t k) -> std::unique_ptr<DatoAbierto> {
                              if (k == 1)
                                  return DatoEnMemoria("Heroe");
                              return std::make_unique<DatoGuionado>(
                                  [](std::uint64_t desde, std::uint64_t, Tomador trozo) {
                                      if (desde == 50)
                                          throw ErrorArchivo(u"No se pudo leer el archivo de datos"_s, u"cero"_s,
                                                             u"x"_s);
                                      trozo("Heroe");
                                  },
                                  100);
                          },
                          {.hilos = 2, .umbral = 10, .tramo = 10});
    QVERIFY_THROWS_EXCEPTION(ErrorArchivo, partido.tomar(0, std::chrono::seconds(10)));

    // A worker stuck in a read that does not return (a stalled disk, a dead
    // share) does not hold the window as it closes; when the read returns at
    // last, the worker stops and lets go of all it shared.
    struct Paso {
        std::atomic<bool> dentro = false, suelto = false;
    };
    auto paso = std::make_shared<Paso>();
    const std::weak_ptr<Paso> testigo = paso;
    auto bloqueado = std::make_unique<LectoresDatos>(
        automata, 3,
        [paso](std::size_t) {
            return std::make_unique<DatoGuionado>([paso](std::uint64_t, std::uint64_t, Tomador trozo) {
                for (paso->dentro = true; !paso->suelto;)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                trozo("..Heroe..");
            });
        },
        RepartoLectores{.hilos = 2});
    QTRY_VERIFY_WITH_TIMEOUT(paso->dentro, 10000);
    QElapsedTimer reloj;
    reloj.start();
    bloqueado.reset();
    QVERIFY2(reloj.elapsed() < 3000, qPrintable(QString::number(reloj.elapsed())));
    paso->suelto = true;
    paso.reset();
    QTRY_VERIFY_WITH_TIMEOUT(testigo.expired(), 10000);
}

void PruebaAnalisis::sinHilosQueArrancar()
{
#ifndef Q_OS_LINUX
    QSKIP("the limit on processes is set here with Linux's prlimit");
#elif defined(__SANITIZE_THREAD__)
    QSKIP("ThreadSanitizer needs threads of its own");
#else
    // Under a limit on processes no worker starts: the window reads on its
    // own thread and the analysis ends as ever. A child sets the limit on itself.
    if (qEnvironmentVariableIsEmpty("MONDRIX_SIN_HILOS")) {
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert(u"MONDRIX_SIN_HILOS"_s, u"1"_s);
        entorno.insert(u"ASAN_OPTIONS"_s, u"detect_leaks=0"_s);  // the leak check needs a thread
        const auto hijo = EnHijo(u"sinHilosQueArrancar"_s, entorno);
        if (!hijo)
            QSKIP("no ordinary user to run this case as");
        if (hijo->second.contains("a thread still starts"))
            QSKIP("the limit on processes does not hold here");
        QVERIFY2(hijo->first == 0, hijo->second.constData());
        return;
    }
    const rlimit limite{1, 1};
    QVERIFY(setrlimit(RLIMIT_NPROC, &limite) == 0);
    try {
        std::thread([] {}).join();
        QSKIP("a thread still starts");
    } catch (const std::system_error&) {
    }
    ProyectoPrueba p;
    for (const QString& nombre : {u"Espada.png"_s, u"Escudo.png"_s, u"Arco.png"_s})
        p.Recurso(u"Graphics/Icons"_s, nombre);
    p.Dato(u"Items.rxdata"_s, Marshal("Escudo"));
    p.Dato(u"Weapons.rxdata"_s, Marshal("Arco"));
    Ventana v;
    v.Analizar(p.Ruta());
    QVERIFY(v.plataforma.cajas.empty());
    QCOMPARE(v.Lista(), QStringList{u"Graphics/Icons/Espada.png"_s});
    QCOMPARE(v.lineas.last(),
             u"2 de 2 archivos de datos verificados - 1 de 3 recursos utilizados - 100% del analisis completado"_s);
    QVERIFY(v.AccionesHabilitadas());
#endif
}

void PruebaAnalisis::proyectosReales_data()
{
    QTest::addColumn<QString>("nombre");
    for (const char* nombre : {"reverseworld", "rmxp-hero", "essentials-v17", "reborn-fr"})
        QTest::newRow(nombre) << QString::fromLatin1(nombre);
}

void PruebaAnalisis::proyectosReales()
{
    QFETCH(QString, nombre);
    const fs::path fuente = fs::path(MONDRIX_CORPUS) / nombre.toStdString();
    if (!fs::exists(fuente / "resources.tsv"))
        QSKIP("the real projects are not beside this checkout");

    QTemporaryDir dir;
    const QString proyecto = ProyectoReal(fuente, rutaNativa(dir.path()) / "p");
    const std::set<QString> esperados = LineasDe(fuente / "expected-unused.txt");

    Ventana v;
    v.Analizar(proyecto);
    QVERIFY(v.plataforma.cajas.empty());
    const QStringList lista = v.Lista();
    const std::set<QString> obtenidos(lista.begin(), lista.end());
    QCOMPARE(int(obtenidos.size()), lista.size());
    QCOMPARE(obtenidos.size(), esperados.size());
    QVERIFY(obtenidos == esperados);
    QVERIFY(v.AccionesHabilitadas());
}

QTEST_MAIN(PruebaAnalisis)
#include "tst_analisis.moc"
