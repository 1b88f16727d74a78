// The analysis timed through the real window (offscreen, scripted dialog),
// beside the floor it cannot go below (reading the data once, listing the
// resources into the list, neither of them matching anything), GNU grep and
// ripgrep with the same keys over the same bytes, grep again with keys that
// occur nowhere (so that it searches every byte), and the plain per-item walk.
//
//   mondrix_bench --cabecera                      the table's header
//   mondrix_bench --real CORPUS/NAME [--con-referencia] [--frio | --pantalla]
//   mondrix_bench --generado PROJECT_FOLDER [--nombre NAME] [--frio | --pantalla]
//
// --frio gives the cold-cache row instead: the page cache is dropped before
// the analysis and before each floor. Linux only, as the memory figures are.
// --pantalla gives the row of a real display (run it under Xvfb with the xcb
// platform): the analysis is timed until the window, its final line and list
// painted, has reached the display server, and the list floor is painted there
// too; the other columns are the offscreen row's.
#include "analysis/Buscador.h"
#include "analysis/Catalogo.h"
#include "analysis/Recorrido.h"
#include "analysis/Rutas.h"
#include "apoyo/Apoyo.h"
#include "apoyo/Referencia.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QListWidget>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

namespace fs = std::filesystem;
using namespace Qt::StringLiterals;

namespace {
constexpr int kRepeticiones = 5;
// The piece the scan reads in: the read floor must pay the same system calls.
constexpr std::size_t kTrozo = std::size_t(256) << 10;

long KbDe(const char* campo)
{
    QFile f(u"/proc/self/status"_s);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith(campo))
            return l.mid(qsizetype(std::strlen(campo))).trimmed().split(' ').first().toLong();
    return -1;
}

void ReiniciarPico()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Empties the page cache, dentries and inodes, so that what follows reads
// from the disk. Gives why not when the system does not allow it (a
// container's read-only /proc, no root).
std::optional<QString> VaciarCache()
{
    ::sync();
    const int fd = ::open("/proc/sys/vm/drop_caches", O_WRONLY);
    if (fd < 0 || ::write(fd, "3", 1) != 1) {
        const QString motivo = QString::fromLocal8Bit(std::strerror(errno));
        if (fd >= 0)
            ::close(fd);
        return motivo;
    }
    ::close(fd);
    return std::nullopt;
}

double Segundos(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

struct Tiempos {
    double mejor = -1, mediana = -1;
};

template <typename F> Tiempos Medir(int veces, F&& f)
{
    std::vector<double> s;
    for (int i = 0; i < veces; ++i)
        s.push_back(f());
    std::sort(s.begin(), s.end());
    return {s.front(), s[s.size() / 2]};
}

template <typename F> double Cronometrar(F&& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return Segundos(t);
}

// A window as it stands before anyone clicks on it: shown and painted once.
std::unique_ptr<Ventana> VentanaLista()
{
    auto v = std::make_unique<Ventana>();
    v->plataforma.procesarEventos = true;
    if (!QTest::qWaitForWindowExposed(v->ventana.get()))
        qFatal("the window never showed");
    v->ventana->grab();
    QCoreApplication::processEvents();
    return v;
}

// The data files the way the floor finds them: the entries' own types, so
// that a plain file costs no stat.
std::vector<fs::path> ArchivosDatos(const fs::path& datos)
{
    std::vector<fs::path> archivos;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(datos, ec))
        if (std::error_code ecTipo; e.is_regular_file(ecTipo))
            archivos.push_back(e.path());
    if (ec)
        qFatal("cannot list %s: %s", datos.c_str(), ec.message().c_str());
    return archivos;
}

// The read floor: every data file once, in the scan's pieces, looking at nothing.
double SueloLectura(const fs::path& datos)
{
    std::vector<char> bufer(kTrozo);
    return Cronometrar([&] {
        for (const fs::path& ruta : ArchivosDatos(datos)) {
            const int fd = ::open(ruta.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                qFatal("cannot open %s", ruta.c_str());
            ssize_t n;
            while ((n = ::read(fd, bufer.data(), bufer.size())) > 0) {}
            ::close(fd);
            if (n < 0)
                qFatal("cannot read %s", ruta.c_str());
        }
    });
}

// The list floor: the seventeen folders listed with the entries' own types
// and their items put into the window's own list, laid out and painted once,
// as the list is before any matching. Neither sorted nor matched. Gives the
// seconds, and the items in `catalogo`.
double SueloLista(const fs::path& proyecto, QStringList& catalogo)
{
    const auto v = VentanaLista();
    QListWidget& lista = *v->controles.Recursos;
    catalogo.clear();
    const double s = Cronometrar([&] {
        for (const QString& carpeta : carpetasRecursos()) {
            const QString prefijo = carpeta + u'/';
            QStringList items;
            // A missing folder holds nothing, as in the window.
            std::error_code ec;
            for (const fs::directory_entry& e : fs::directory_iterator(proyecto / carpeta.toStdString(), ec))
                if (std::error_code ecTipo; e.is_regular_file(ecTipo))
                    items.append(prefijo + QString::fromStdString(e.path().filename().native()));
            lista.addItems(items);
        }
        lista.doItemsLayout();
        lista.repaint();
    });
    catalogo = Textos(&lista);
    return s;
}

struct Fila {
    QString nombre;
    int recursos = 0;
    int archivos = 0;
    double mb = 0, mayorMb = 0;
    Tiempos analisis;
    double lectura = -1, listado = -1;  // the two floors, best of their runs
    double grep = -1, rg = -1, referencia = -1;
    double grepCompleto = -1;  // grep with keys that occur nowhere
    double comprobacion = -1;  // the deletion's check of the final list against the data
    double listaMb = -1;       // the catalogue on screen
    double memoriaMb = -1;     // peak growth during the scan itself
    double automataMb = -1;    // one automaton over every key
    bool correcto = false;
    QString nota;  // set when the row could not be measured
};

// One analysis, click to actions enabled, with nothing of the bench's inside
// the timed part. Gives the seconds; the final list in `lista`. With
// `pintada`, until the window as it ends, final line and all, is painted and
// the display server has drawn it.
double Analisis(const QString& nombre, const QString& proyecto, QStringList& lista,
                const std::function<void()>& antes = {}, bool pintada = false)
{
    const auto v = VentanaLista();
    if (antes)
        antes();
    const double s = Cronometrar([&] {
        v->Analizar(proyecto);
        if (pintada) {
            v->ventana->repaint();
            QGuiApplication::sync();  // a round trip: the server has done all it was sent
        }
    });
    if (!v->AccionesHabilitadas() || !v->plataforma.cajas.empty())
        qFatal("%s: the analysis did not finish", qPrintable(nombre));
    lista = v->Lista();
    return s;
}

// The memory figures, from an untimed analysis of their own: what the full
// list on screen costs, and how far resident memory climbs above that while
// the scan runs. Gives how many items the list held when the scan began.
int MedirMemoria(const QString& proyecto, Fila& fila)
{
    const auto v = VentanaLista();
    const long antes = KbDe("VmRSS:");
    long conLista = -1;
    int enLista = -1;
    v->plataforma.alBombear = [&](int n) {
        // The second pump is the one after the list has filled; the readers
        // have started by then, so part of the scan counts with the list.
        if (n != 2)
            return;
        enLista = v->controles.Recursos->count();
        v->ventana->grab();  // the full list laid out and painted: part of the list's cost
                             // Free heap pages go back first, so that what follows counts every
                             // page the scan touches, reused or new.
#ifdef __GLIBC__
        malloc_trim(0);
#endif
        conLista = KbDe("VmRSS:");
        ReiniciarPico();
    };
    v->Analizar(proyecto);
    if (conLista >= 0 && antes >= 0) {
        fila.listaMb = double(conLista - antes) / 1024.0;
        fila.memoriaMb = double(KbDe("VmHWM:") - conLista) / 1024.0;
    }
    return enLista;
}

void DatosDe(const fs::path& raiz, Fila& fila)
{
    for (const fs::path& a : ArchivosDatos(raiz / "Data")) {
        const double mb = double(fs::file_size(a)) / 1e6;
        ++fila.archivos;
        fila.mb += mb;
        fila.mayorMb = std::max(fila.mayorMb, mb);
    }
}

std::vector<std::string> Claves(const QStringList& catalogo)
{
    std::vector<std::string> claves;
    claves.reserve(std::size_t(catalogo.size()));
    for (const QString& item : catalogo)
        claves.push_back(std::string(claveDeNombre(trasElUltimo(item, u'/').toStdString())));
    return claves;
}

// Three bytes in a row that no data file holds (none of them a line break
// or a zero byte, which grep takes for a line's end or may treat apart), if
// there are any: even a data folder that holds every pair of bytes lacks
// most triples.
std::optional<std::string> TresAusentes(const fs::path& datos)
{
    std::vector<bool> visto(std::size_t(1) << 24);
    std::vector<char> bufer(std::size_t(1) << 20);
    for (const fs::path& a : ArchivosDatos(datos)) {
        std::ifstream f(a, std::ios::binary);
        std::uint32_t ultimos = 0;  // the last three bytes, the latest lowest
        std::size_t vistos = 0;
        while (f.read(bufer.data(), std::streamsize(bufer.size())) || f.gcount() > 0)
            for (std::streamsize i = 0; i < f.gcount(); ++i) {
                ultimos = ((ultimos << 8) | static_cast<unsigned char>(bufer[std::size_t(i)])) & 0xFFFFFFu;
                if (++vistos >= 3)
                    visto[ultimos] = true;
            }
    }
    const auto util = [](std::uint32_t b) { return b != 0 && b != '\n'; };
    for (std::uint32_t t = 0; t < visto.size(); ++t)
        if (!visto[t] && util(t >> 16) && util((t >> 8) & 0xFF) && util(t & 0xFF))
            return std::string{char(t >> 16), char(t >> 8), char(t)};
    return std::nullopt;
}

// Best of the runs of an outside program, its output thrown away.
double Programa(const QString& programa, const QStringList& argumentos, const QProcessEnvironment& entorno)
{
    return Medir(kRepeticiones,
                 [&] {
                     QProcess p;
                     p.setProcessEnvironment(entorno);
                     p.setStandardOutputFile(QProcess::nullDevice());
                     p.setStandardErrorFile(QProcess::nullDevice());
                     return Cronometrar([&] {
                         p.start(programa, argumentos);
                         p.waitForFinished(-1);
                     });
                 })
        .mejor;
}

Fila MedirCaliente(const QString& nombre, const QString& proyecto, const fs::path& esperado, bool conReferencia)
{
    Fila fila;
    fila.nombre = nombre;
    const QString carpeta = hastaElUltimo(proyecto, u'/');
    const fs::path raiz = fs::path(carpeta.toStdString());

    // First in a fresh process, so that the figures start from the window
    // alone, not from what earlier runs left in the heap.
    const int enLista = MedirMemoria(proyecto, fila);

    QStringList catalogo;
    fila.listado = Medir(kRepeticiones, [&] { return SueloLista(raiz, catalogo); }).mejor;
    fila.recursos = int(catalogo.size());
    // The hook must sit between the listing and the scan, or the memory
    // figures would mix the two.
    if (enLista != fila.recursos)
        qFatal("%s: the list held %d of %d items when the scan began: the memory hook needs moving", qPrintable(nombre),
               enLista, fila.recursos);
    const std::vector<std::string> claves = Claves(catalogo);
    fila.automataMb = double(AutomataClaves(BloqueClaves(claves)).bytes()) / (1024.0 * 1024.0);
    DatosDe(raiz, fila);

    QStringList lista;
    fila.analisis = Medir(kRepeticiones, [&] { return Analisis(nombre, proyecto, lista); });
    fila.correcto = std::set<QString>(lista.begin(), lista.end()) == LineasDe(esperado);

    fila.lectura = Medir(kRepeticiones, [&] { return SueloLectura(raiz / "Data"); }).mejor;

    // What the deletion does after the yes, before the first file goes: the
    // data read again and searched for the final list's keys. The final list
    // is what the data do not name, so nothing may be found.
    std::vector<fs::path> rutas;
    for (const QString& item : lista)
        rutas.push_back(rutaNativa(carpeta + item));
    fila.comprobacion =
        Medir(kRepeticiones, [&] {
            std::vector<char> nombrados;
            const double s = Cronometrar([&] { nombrados = nombradosEnLosDatos(ServicioArchivos(), carpeta, rutas); });
            if (std::count(nombrados.begin(), nombrados.end(), 1) != 0)
                qFatal("%s: the deletion's check finds what the analysis left", qPrintable(nombre));
            return s;
        }).mejor;

    // The same keys for grep and ripgrep. The empty key (a name like ".png")
    // would make every line match and spare them the search.
    QTemporaryDir tmp;
    const QString archivoClaves = tmp.path() + u"/claves.txt"_s;
    // The same keys, each followed by three bytes the data never holds:
    // no line matches, so grep cannot skip the rest of a line at its first
    // match, and searches every byte, as the analysis must.
    const QString archivoAusentes = tmp.path() + u"/ausentes.txt"_s;
    const std::optional<std::string> ausente = TresAusentes(raiz / "Data");
    {
        std::unordered_set<std::string> vistas;
        std::ofstream f(archivoClaves.toStdString(), std::ios::binary);
        std::ofstream g(archivoAusentes.toStdString(), std::ios::binary);
        for (const std::string& k : claves)
            if (!k.empty() && vistas.insert(k).second) {
                f << k << '\n';
                if (ausente)
                    g << k << *ausente << '\n';
            }
    }
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    // bytes, as the scan sees them: no character decoding in grep.
    entorno.insert(u"LC_ALL"_s, u"C"_s);
    if (!QStandardPaths::findExecutable(u"grep"_s).isEmpty())
        fila.grep = Programa(
            u"grep"_s, {u"-a"_s, u"-F"_s, u"-c"_s, u"-f"_s, archivoClaves, u"-r"_s, carpeta + u"Data"_s}, entorno);
    if (!QStandardPaths::findExecutable(u"grep"_s).isEmpty() && ausente)
        fila.grepCompleto = Programa(
            u"grep"_s, {u"-a"_s, u"-F"_s, u"-c"_s, u"-f"_s, archivoAusentes, u"-r"_s, carpeta + u"Data"_s}, entorno);
    // -c so that it reads every file to the end, on both cores.
    if (!QStandardPaths::findExecutable(u"rg"_s).isEmpty())
        fila.rg = Programa(u"rg"_s, {u"-a"_s, u"-F"_s, u"-c"_s, u"-f"_s, archivoClaves, carpeta + u"Data"_s}, entorno);

    if (conReferencia) {
        const auto menor = [](const std::string& a, const std::string& b) {
            const QString qa = QString::fromStdString(a), qb = QString::fromStdString(b);
            const int c = QString::compare(qa, qb, Qt::CaseInsensitive);
            return c != 0 ? c < 0 : qa < qb;
        };
        QElapsedTimer t;
        t.start();
        const auto p = referencia::leer(raiz, menor);
        const auto r = referencia::Recorrer(p.catalogo, p.datos);
        fila.referencia = Segundos(t);
        if (std::set<std::string>(r.lista.begin(), r.lista.end()).size() != std::size_t(lista.size()))
            qFatal("%s: the plain walk disagrees", qPrintable(nombre));
    }
    return fila;
}

// The cold-cache row: one analysis and each floor once, each after the page
// cache was emptied.
Fila MedirFrio(const QString& nombre, const QString& proyecto, const fs::path& esperado)
{
    Fila fila;
    fila.nombre = nombre + u" (cold)"_s;
    const QString carpeta = hastaElUltimo(proyecto, u'/');
    const fs::path raiz = fs::path(carpeta.toStdString());
    DatosDe(raiz, fila);
    if (const auto motivo = VaciarCache()) {
        fila.nota = u"skipped: the page cache cannot be dropped here ("_s + *motivo + u")"_s;
        return fila;
    }
    QStringList lista;
    // Dropped again once the window is up, so that only the analysis reads cold.
    fila.analisis = {Analisis(nombre, proyecto, lista, [] { VaciarCache(); }), -1};
    fila.correcto = std::set<QString>(lista.begin(), lista.end()) == LineasDe(esperado);
    VaciarCache();
    fila.lectura = SueloLectura(raiz / "Data");
    VaciarCache();
    QStringList catalogo;
    fila.listado = SueloLista(raiz, catalogo);
    fila.recursos = int(catalogo.size());
    return fila;
}

// The row of a real display: the analysis until painted on it, the list
// floor painted on it, the read floor as ever.
Fila MedirPantalla(const QString& nombre, const QString& proyecto, const fs::path& esperado)
{
    Fila fila;
    fila.nombre = nombre + u" ("_s + QGuiApplication::platformName() + u")"_s;
    const QString carpeta = hastaElUltimo(proyecto, u'/');
    const fs::path raiz = fs::path(carpeta.toStdString());
    DatosDe(raiz, fila);
    QStringList lista, catalogo;
    fila.analisis = Medir(kRepeticiones, [&] { return Analisis(nombre, proyecto, lista, {}, true); });
    fila.correcto = std::set<QString>(lista.begin(), lista.end()) == LineasDe(esperado);
    fila.listado = Medir(kRepeticiones, [&] { return SueloLista(raiz, catalogo); }).mejor;
    fila.recursos = int(catalogo.size());
    fila.lectura = Medir(kRepeticiones, [&] { return SueloLectura(raiz / "Data"); }).mejor;
    return fila;
}

QByteArray S(double v, int decimales = 3)
{
    return v < 0 ? QByteArray("-") : QByteArray::number(v, 'f', decimales);
}
}  // namespace

int main(int argc, char* argv[])
{
    // One project per run, so that each memory figure starts from a fresh process.
    QApplication aplicacion(argc, argv);
    const QStringList args = aplicacion.arguments();
    const auto valor = [&](const QString& opcion) {
        const int i = int(args.indexOf(opcion));
        return i >= 0 && i + 1 < args.size() ? args[i + 1] : QString();
    };
    if (args.contains(u"--cabecera"_s)) {
        std::printf("| project | resources | data files | data MB | analysis best s | analysis median s "
                    "| read floor s | list floor s | analysis / floor | check at deletion s | grep s | grep every byte "
                    "s | rg s "
                    "| plain walk s "
                    "| list MB | scan peak MB | largest data file MB | automaton MB | list right |\n");
        std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|\n");
        return 0;
    }
    const bool frio = args.contains(u"--frio"_s);
    QString nombre, proyecto;
    fs::path esperado;
    QTemporaryDir tmp;
    if (const QString real = valor(u"--real"_s); !real.isEmpty()) {
        const fs::path fuente = fs::absolute(fs::path(real.toStdString()));
        nombre = QString::fromStdString(fuente.filename().string());
        proyecto = ProyectoReal(fuente, fs::path(tmp.path().toStdString()) / "p");
        esperado = fuente / "expected-unused.txt";
    } else if (const QString generado = valor(u"--generado"_s); !generado.isEmpty()) {
        nombre = valor(u"--nombre"_s).isEmpty() ? u"generated"_s : valor(u"--nombre"_s);
        proyecto = generado + u"/Game.rxproj"_s;
        esperado = fs::path(generado.toStdString()) / "expected-unused.txt";
    } else {
        std::fprintf(stderr,
                     "usage: mondrix_bench --cabecera | --real CORPUS/NAME [--con-referencia] [--frio | --pantalla]"
                     " | --generado FOLDER [--nombre NAME] [--frio | --pantalla]\n");
        return 2;
    }
    // The plain walk takes minutes on the larger projects: only on request.
    const Fila f = frio ? MedirFrio(nombre, proyecto, esperado)
        : args.contains(u"--pantalla"_s)
        ? MedirPantalla(nombre, proyecto, esperado)
        : MedirCaliente(nombre, proyecto, esperado, args.contains(u"--con-referencia"_s));
    if (!f.nota.isEmpty()) {
        std::printf("| %s | %s |\n", qPrintable(f.nombre), qPrintable(f.nota));
        return 0;
    }
    const double suelo = f.lectura + f.listado;
    std::printf(
        "| %s | %d | %d | %.1f | %s | %s | %s | %s | %.1fx | %s | %s | %s | %s | %s | %s | %s | %.1f | %s | %s |\n",
        qPrintable(f.nombre), f.recursos, f.archivos, f.mb, S(f.analisis.mejor).constData(),
        S(f.analisis.mediana).constData(), S(f.lectura).constData(), S(f.listado).constData(), f.analisis.mejor / suelo,
        S(f.comprobacion).constData(), S(f.grep).constData(), S(f.grepCompleto).constData(), S(f.rg).constData(),
        S(f.referencia).constData(), S(f.listaMb, 1).constData(), S(f.memoriaMb, 1).constData(), f.mayorMb,
        S(f.automataMb, 1).constData(), f.correcto ? "yes" : "NO");
    return f.correcto ? 0 : 1;
}
