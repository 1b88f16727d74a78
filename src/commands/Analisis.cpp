// The analysis: the resource folders listed into the window, then every
// resource whose key occurs in a data file leaves the list.
//
// The data files are read and searched for all keys at once by a few worker
// threads (see Recorrido.h); this, the window's thread, applies their finds
// in file order, and at each pause brings the list on screen, the progress
// line and the selection up to date and lets window events through.
#include "commands/Comandos.h"

#include "analysis/Catalogo.h"
#include "analysis/Recorrido.h"
#include "platform/Archivos.h"
#include "platform/Plataforma.h"
#include "window/Principal.h"

#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <exception>
#include <optional>

using namespace Qt::StringLiterals;

namespace {
// Pauses for window events at most this often: enough for a smooth window,
// few enough to cost nothing. The list, which costs more to bring up to
// date, follows four times a second.
constexpr qint64 kMsEntrePausas = 16;
constexpr qint64 kMsEntreListas = 250;

struct Interrumpido {};
}  // namespace

bool analizarUso(Principal& ventana, Plataforma& plataforma, const ServicioArchivos& archivos)
{
    const QString carpeta = ventana.carpetaProyecto();
    int inicial = 0;
    // Shared with the readers, which may outlive this call (see below).
    std::shared_ptr<const std::vector<Archivo>> archivosDatos;
    std::exception_ptr errorDatos;
    std::optional<TablasEnPreparacion> tablas;
    // The workers share the tables and the files with this call: one stuck
    // in a read when the window closes is left behind, and must find all it
    // reads still there whenever the read returns.
    std::optional<LectoresDatos> lectores;
    const auto empezarLectura = [&] {
        lectores.emplace(tablas->tomar(), archivosDatos->size(),
                         [archivosDatos](std::size_t k) { return std::make_unique<DatoEnDisco>((*archivosDatos)[k]); });
    };
    {
        const Catalogo catalogo = Catalogo::listar(archivos, carpeta);
        inicial = int(catalogo.tamano());
        if (catalogo.completo()) {
            // The search tables are built on a thread of their own, and the
            // data files read as soon as they are, while the list fills. What
            // goes wrong with the data folder is told after the list, as if
            // it had been listed then.
            tablas.emplace(catalogo);
            try {
                archivosDatos =
                    std::make_shared<const std::vector<Archivo>>(archivos.carpeta(carpeta + u"Data"_s).archivos());
            } catch (...) {
                errorDatos = std::current_exception();
            }
        }
        for (std::size_t i = 0; i < catalogo.numCarpetas(); ++i) {
            ventana.anadirRecursos(carpetasRecursos()[i], catalogo.archivosDe(i));
            if (archivosDatos && !lectores && tablas->listas())
                empezarLectura();
        }
        catalogo.lanzarError();
    }
    plataforma.atenderEventos();
    if (ventana.cerrada())
        return false;
    if (errorDatos)
        std::rethrow_exception(errorDatos);
    if (!lectores)
        empezarLectura();
    const long total = long(archivosDatos->size());
    ventana.mostrarEstado(QString::number(total), true);
    RecorridoUso recorrido(inicial, total);

    // The progress line is set when it can be seen: at a pause and at the end.
    QString linea;
    QElapsedTimer reloj, relojLista;
    reloj.start();
    relojLista.start();
    const auto pausa = [&](bool siempre) {
        if (!siempre && reloj.elapsed() < kMsEntrePausas)
            return;
        ventana.mostrarEstado(linea);
        if (relojLista.elapsed() >= kMsEntreListas || recorrido.hechos() == 1) {
            ventana.mostrarPresentes(recorrido.presentes());
            relojLista.restart();
        }
        // The selection runs through the list as the files go by.
        if (ventana.numRecursos() > 0 && total > 0)
            ventana.seleccionarFila(int((long long)(ventana.numRecursos() - 1) * recorrido.hechos() / total));
        plataforma.atenderEventos();
        reloj.restart();
        if (ventana.cerrada())
            throw Interrumpido{};
    };

    try {
        for (std::size_t k = 0; k < archivosDatos->size(); ++k) {
            linea = recorrido.empezar();
            pausa(k == 0);
            for (;;) {
                const auto espera = std::chrono::milliseconds(std::max<qint64>(0, kMsEntrePausas - reloj.elapsed()));
                if (const auto halladas = lectores->tomar(k, espera, (*archivosDatos)[k].ruta())) {
                    recorrido.aplicar(*halladas);
                    break;
                }
                pausa(true);
            }
        }
    } catch (const Interrumpido&) {
        return false;
    }

    ventana.mostrarPresentes(recorrido.presentes());
    ventana.seleccionarFila(recorrido.seleccion());
    if (total > 0)
        ventana.mostrarEstado(linea);
    return true;
}
