// The usage scan: every resource whose key occurs in a data file leaves the
// list.
//
// The data files are read and searched for all keys at once by a few worker
// threads (see Recorrido.h); this, the window's thread, applies their finds
// in file order, and at each pause brings the list on screen, the progress
// line and the selection up to date and lets window events through.
#include "window/Principal.h"

#include "analysis/Recorrido.h"
#include "platform/Archivos.h"
#include "platform/Plataforma.h"
#include "window/Controles.h"
#include "window/ListaRecursos.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>

#include <algorithm>
#include <chrono>

using namespace Qt::StringLiterals;

namespace {
// Pauses for window events at most this often: enough for a smooth window,
// few enough to cost nothing. The list, which costs more to bring up to
// date, follows four times a second.
constexpr qint64 kMsEntrePausas = 16;
constexpr qint64 kMsEntreListas = 250;

struct Interrumpido {};

// A data file open on disk, as the readers read it.
class DatoEnDisco final : public DatoAbierto {
public:
    explicit DatoEnDisco(const Archivo& archivo) : archivo_(CargadorDatos::OpenFile(archivo)) {}
    std::uint64_t Tamano() const override { return archivo_->Tamano(); }
    void Leer(std::uint64_t desde, std::uint64_t hasta, std::vector<char>& bufer,
              const std::function<void(std::string_view)>& trozo) const override
    {
        archivo_->Leer(desde, hasta, bufer, trozo);
    }

private:
    std::unique_ptr<ArchivoAbierto> archivo_;
};
}  // namespace

bool Principal::VerificarUso()
{
    const Carpeta datos = SistemaArchivos->GetFolder(CarpetaProyecto() + u"Data"_s);
    // Shared with the readers, which may outlive this call (see below).
    const auto archivos = std::make_shared<const std::vector<Archivo>>(datos.Files());
    const long total = long(archivos->size());
    Analizando->setText(QString::number(total));
    Analizando->repaint();

    const int inicial = Recursos->count();
    RecorridoUso recorrido(inicial, total);
    ListaEnPantalla pantalla(*Recursos, inicial);
    // The workers share the automaton and the files with this call: one
    // stuck in a read when the window closes is left behind, and must find
    // all it reads still there whenever the read returns.
    LectoresDatos lectores(std::make_shared<const AutomataClaves>(ClavesDeRecursos(*Recursos)), archivos->size(),
                           [archivos](std::size_t k) { return std::make_unique<DatoEnDisco>((*archivos)[k]); });

    // The progress line is set when it can be seen: at a pause and at the end.
    QString linea;
    QElapsedTimer reloj, relojLista;
    reloj.start();
    relojLista.start();
    const auto pausa = [&](bool siempre) {
        if (!siempre && reloj.elapsed() < kMsEntrePausas)
            return;
        Analizando->setText(linea);
        if (relojLista.elapsed() >= kMsEntreListas || recorrido.Hechos() == 1) {
            pantalla.Sincronizar(recorrido.Presentes());
            relojLista.restart();
        }
        // The selection runs through the list as the files go by.
        if (Recursos->count() > 0 && total > 0)
            Seleccionar(int((long long)(Recursos->count() - 1) * recorrido.Hechos() / total));
        plataforma_.DoEvents();
        reloj.restart();
        if (cerrada_)
            throw Interrumpido{};
    };

    try {
        for (std::size_t k = 0; k < archivos->size(); ++k) {
            linea = recorrido.Empezar();
            pausa(k == 0);
            for (;;) {
                const auto espera = std::chrono::milliseconds(std::max<qint64>(0, kMsEntrePausas - reloj.elapsed()));
                if (const auto halladas = lectores.Tomar(k, espera)) {
                    recorrido.Aplicar(*halladas);
                    break;
                }
                pausa(true);
            }
        }
    } catch (const Interrumpido&) {
        return false;
    }

    pantalla.Sincronizar(recorrido.Presentes());
    Seleccionar(recorrido.Seleccion());
    if (total > 0)
        Analizando->setText(linea);
    return true;
}
