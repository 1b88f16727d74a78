// The analysis timed through the real window (offscreen, scripted dialog),
// beside what bounds it: reading the data once, ripgrep with the same keys
// over the same bytes, and the plain per-item walk.
//
//   mondrix_bench [--corpus DIR] [--generado PROJECT_FOLDER] [--sin-referencia]
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
    double memoriaMb = 0;
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
        v.plataforma.alBombear = [&](int n) {
            if (n == 2)
                catalogo = v.Lista();
        };
        const long antes = KbDe("VmRSS:");
        ReiniciarPico();
        QElapsedTimer t;
        t.start();
        v.Analizar(proyecto);
        fila.analisis = std::min(fila.analisis, double(t.nsecsElapsed()) / 1e9);
        if (i == 0)
            fila.memoriaMb = double(KbDe("VmHWM:") - antes) / 1024.0;
        if (!v.AccionesHabilitadas() || !v.plataforma.cajas.empty())
            qFatal("%s: the analysis did not finish", qPrintable(nombre));
        lista = v.Lista();
    }
    fila.recursos = int(catalogo.size());
    fila.correcto = std::set<QString>(lista.begin(), lista.end()) == LineasDe(esperado);

    std::vector<char> bufer(std::size_t(1) << 20);
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
    QApplication aplicacion(argc, argv);
    const QStringList args = aplicacion.arguments();
    const auto valor = [&](const QString& opcion) {
        const int i = int(args.indexOf(opcion));
        return i >= 0 && i + 1 < args.size() ? args[i + 1] : QString();
    };
    const bool conReferencia = !args.contains(u"--sin-referencia"_s);

    std::vector<Fila> filas;
    QTemporaryDir tmp;
    if (const QString corpus = valor(u"--corpus"_s); !corpus.isEmpty()) {
        for (const char* nombre : {"reverseworld", "rmxp-hero", "essentials-v17", "reborn-fr"}) {
            const fs::path fuente = RutaNativa(corpus) / nombre;
            if (!fs::exists(fuente / "resources.tsv"))
                continue;
            std::fprintf(stderr, "%s...\n", nombre);
            const QString proyecto = ProyectoReal(fuente, RutaNativa(tmp.path()) / nombre);
            filas.push_back(Medir(QString::fromLatin1(nombre), proyecto, fuente / "expected-unused.txt", conReferencia));
        }
    }
    if (const QString generado = valor(u"--generado"_s); !generado.isEmpty()) {
        std::fprintf(stderr, "generado...\n");
        filas.push_back(Medir(u"generado"_s, generado + u"/Game.rxproj"_s,
                              RutaNativa(generado) / "expected-unused.txt", false));
    }

    std::printf("| project | resources | data files | data MB | analysis s | MB/s | read only s | rg s | plain walk s | speed-up | memory MB (largest data file MB) | list right |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|\n");
    for (const Fila& f : filas) {
        const auto s = [](double v) { return v < 0 ? QByteArray("-") : QByteArray::number(v, 'f', 3); };
        std::printf("| %s | %d | %d | %.1f | %s | %.0f | %s | %s | %s | %s | %.1f (%.1f) | %s |\n",
                    qPrintable(f.nombre), f.recursos, f.archivos, f.mb, s(f.analisis).constData(),
                    f.mb / f.analisis, s(f.lectura).constData(), s(f.rg).constData(), s(f.referencia).constData(),
                    f.referencia < 0 ? "-" : QByteArray::number(f.referencia / f.analisis, 'f', 0).append('x').constData(),
                    f.memoriaMb, f.mayorMb, f.correcto ? "yes" : "NO");
    }
    return 0;
}
