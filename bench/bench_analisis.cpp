// The analysis timed through the real window (offscreen, scripted dialog),
// beside what bounds it: reading the data once, ripgrep with the same keys
// over the same bytes, and the plain per-item walk.
//
//   mondrix_bench --cabecera                      the table's header
//   mondrix_bench --real CORPUS/NAME [--sin-referencia]
//   mondrix_bench --generado PROJECT_FOLDER
#include "analysis/Rutas.h"
#include "apoyo/Apoyo.h"
#include "apoyo/Referencia.h"
#include "platform/Archivos.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unordered_set>

namespace fs = std::filesystem;
using namespace Qt::StringLiterals;

namespace {
constexpr int kRepeticiones = 3;

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

template <typename F>
double MejorSegundos(int veces, F&& f)
{
    double mejor = 1e300;
    for (int i = 0; i < veces; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        mejor = std::min(mejor, double(t.nsecsElapsed()) / 1e9);
    }
    return mejor;
}

struct Fila {
    QString nombre;
    int recursos = 0;
    int archivos = 0;
    double mb = 0, mayorMb = 0;
    double analisis = 0, lectura = 0, rg = -1, referencia = -1;
    double listaMb = 0;    // the catalogue on screen
    double memoriaMb = 0;  // peak growth during the scan itself
    bool correcto = false;
};

Fila Medir(const QString& nombre, const QString& proyecto, const fs::path& esperado, bool conReferencia)
{
    Fila fila;
    fila.nombre = nombre;
    const QString carpeta = ExtraerCarpeta(proyecto, u'/');
    const auto datos = ServicioArchivos().GetFolder(carpeta + u"Data"_s).Files();
    fila.archivos = int(datos.size());
    for (const Archivo& a : datos) {
        fila.mb += double(a.Size()) / 1e6;
        fila.mayorMb = std::max(fila.mayorMb, double(a.Size()) / 1e6);
    }

    // The analysis, click to actions enabled; memory measured on the first run.
    QStringList lista;
    QStringList catalogo;
    fila.analisis = 1e300;
    for (int i = 0; i < kRepeticiones; ++i) {
        Ventana v;
        v.plataforma.procesarEventos = true;
        // Painted once already, as a window is before anyone clicks on it.
        if (!QTest::qWaitForWindowExposed(v.ventana.get()))
            qFatal("the window never showed");
        v.ventana->grab();
        QCoreApplication::processEvents();
        long antes = KbDe("VmRSS:"), conLista = 0;
        v.plataforma.alBombear = [&](int n) {
            if (n == 2) {
                catalogo = v.Lista();
                v.ventana->grab();  // the full list laid out and painted: part of the list's cost
                // Free heap pages go back first, so that what follows counts
                // every page the scan touches, reused or new.
#ifdef __GLIBC__
                malloc_trim(0);
#endif
                conLista = KbDe("VmRSS:");
                ReiniciarPico();
            }
        };
        QElapsedTimer t;
        t.start();
        v.Analizar(proyecto);
        fila.analisis = std::min(fila.analisis, double(t.nsecsElapsed()) / 1e9);
        if (i == 0) {
            fila.listaMb = double(conLista - antes) / 1024.0;
            fila.memoriaMb = double(KbDe("VmHWM:") - conLista) / 1024.0;
        }
        if (!v.AccionesHabilitadas() || !v.plataforma.cajas.empty())
            qFatal("%s: the analysis did not finish", qPrintable(nombre));
        lista = v.Lista();
    }
    fila.recursos = int(catalogo.size());
    fila.correcto = std::set<QString>(lista.begin(), lista.end()) == LineasDe(esperado);

    std::vector<char> bufer(std::size_t(256) << 10);
    fila.lectura = MejorSegundos(kRepeticiones, [&] {
        for (const Archivo& a : datos)
            LeerPorTrozos(a, bufer, [](std::string_view) {});
    });

    // ripgrep with the same keys; -c so that it reads every file to the end.
    QTemporaryDir tmp;
    const QString claves = tmp.path() + u"/claves.txt"_s;
    {
        std::unordered_set<std::string> vistas;
        QFile f(claves);
        f.open(QIODevice::WriteOnly);
        for (const QString& item : catalogo) {
            const std::string k = ClaveBusqueda(Extraer2(item, u'/')).toStdString();
            if (vistas.insert(k).second)
                f.write(QByteArray::fromStdString(k) + '\n');
        }
    }
    if (!QStandardPaths::findExecutable(u"rg"_s).isEmpty()) {
        fila.rg = MejorSegundos(kRepeticiones, [&] {
            QProcess rg;
            rg.setStandardOutputFile(QProcess::nullDevice());
            rg.start(u"rg"_s, {u"-a"_s, u"-F"_s, u"-c"_s, u"-f"_s, claves, carpeta + u"Data"_s});
            rg.waitForFinished(-1);
        });
    }

    if (conReferencia) {
        const auto menor = [](const std::string& a, const std::string& b) {
            const QString qa = QString::fromStdString(a), qb = QString::fromStdString(b);
            const int c = QString::compare(qa, qb, Qt::CaseInsensitive);
            return c != 0 ? c < 0 : qa < qb;
        };
        QElapsedTimer t;
        t.start();
        const auto p = referencia::Leer(RutaNativa(carpeta), menor);
        const auto r = referencia::Recorrer(p.catalogo, p.datos);
        fila.referencia = double(t.nsecsElapsed()) / 1e9;
        if (std::set<std::string>(r.lista.begin(), r.lista.end()).size() != std::size_t(lista.size()))
            qFatal("%s: the plain walk disagrees", qPrintable(nombre));
    }
    return fila;
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
        std::printf("| project | resources | data files | data MB | analysis s | MB/s | read only s | rg s | plain walk s | speed-up | list MB | scan memory MB (largest data file MB) | list right |\n");
        std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|\n");
        return 0;
    }
    Fila f;
    QTemporaryDir tmp;
    if (const QString real = valor(u"--real"_s); !real.isEmpty()) {
        const fs::path fuente = RutaNativa(real);
        const QString proyecto = ProyectoReal(fuente, RutaNativa(tmp.path()) / "p");
        f = Medir(QString::fromStdString(fuente.filename().string()), proyecto, fuente / "expected-unused.txt",
                  !args.contains(u"--sin-referencia"_s));
    } else if (const QString generado = valor(u"--generado"_s); !generado.isEmpty()) {
        f = Medir(u"generated"_s, generado + u"/Game.rxproj"_s, RutaNativa(generado) / "expected-unused.txt", false);
    } else {
        std::fprintf(stderr, "usage: mondrix_bench --cabecera | --real CORPUS/NAME [--sin-referencia] | --generado FOLDER\n");
        return 2;
    }
    const auto s = [](double v) { return v < 0 ? QByteArray("-") : QByteArray::number(v, 'f', 3); };
    std::printf("| %s | %d | %d | %.1f | %s | %.0f | %s | %s | %s | %s | %.1f | %.1f (%.1f) | %s |\n",
                qPrintable(f.nombre), f.recursos, f.archivos, f.mb, s(f.analisis).constData(), f.mb / f.analisis,
                s(f.lectura).constData(), s(f.rg).constData(), s(f.referencia).constData(),
                f.referencia < 0 ? "-" : QByteArray::number(f.referencia / f.analisis, 'f', f.referencia < 10 * f.analisis ? 1 : 0).append('x').constData(),
                f.listaMb, f.memoriaMb, f.mayorMb, f.correcto ? "yes" : "NO");
    return f.correcto ? 0 : 1;
}
