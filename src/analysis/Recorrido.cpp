#include "analysis/Recorrido.h"

#include "analysis/Progreso.h"

#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

RecorridoUso::RecorridoUso(int inicial, long total)
    : inicial_(inicial), total_(total), restantes_(std::size_t(inicial)), presente_(std::size_t(inicial), 1)
{
    std::iota(restantes_.begin(), restantes_.end(), 0);
}

QString RecorridoUso::Empezar()
{
    ++hechos_;
    return LineaProgreso(hechos_, total_, inicial_ - long(restantes_.size()), inicial_);
}

void RecorridoUso::Aplicar(const std::vector<int>& halladas)
{
    if (restantes_.empty())
        return;  // nothing examined: the selection stays as it was
    bool alguna = false;
    for (int item : halladas) {
        char& presente = presente_[std::size_t(item)];
        alguna = alguna || presente;
        presente = 0;
    }
    // The walk examines every entry still listed, the last one last.
    const bool ultimoQuitado = !presente_[std::size_t(restantes_.back())];
    if (alguna)
        std::erase_if(restantes_, [&](int item) { return !presente_[std::size_t(item)]; });
    seleccion_ = ultimoQuitado ? -1 : int(restantes_.size()) - 1;
}

// ---------------------------------------------------------------- LectoresDatos

LectoresDatos::LectoresDatos(const AutomataClaves& automata, std::size_t archivos, Lector lector, unsigned hilos)
    : automata_(automata), lector_(std::move(lector)), ranuras_(archivos), limite_(archivos)
{
    hilos = std::max(1u, std::min<unsigned>(hilos, unsigned(std::max<std::size_t>(archivos, 1))));
    hilos_.reserve(hilos);
    for (unsigned i = 0; i < hilos; ++i)
        hilos_.emplace_back([this] { Trabajar(); });
}

LectoresDatos::~LectoresDatos()
{
    parar_ = true;
    for (std::thread& hilo : hilos_)
        hilo.join();
}

unsigned LectoresDatos::HilosPorDefecto()
{
    const unsigned nucleos = std::thread::hardware_concurrency();
    return nucleos <= 1 ? 1 : std::max(2u, nucleos - 1);
}

void LectoresDatos::Trabajar()
{
    // A worker's files come in increasing order, so what it found in earlier
    // ones need not be searched for again: the earliest file that names an
    // entry is the one that strikes it.
    BuscadorClaves buscador(automata_);
    std::vector<char> bufer(std::size_t(256) << 10);
    std::vector<int> halladas;
    for (;;) {
        const std::size_t archivo = siguiente_.fetch_add(1);
        if (parar_ || archivo >= limite_)
            return;
        Ranura ranura;
        halladas.clear();
        buscador.Reiniciar();
        try {
            lector_(archivo, bufer, [&](std::string_view trozo) {
                if (parar_)
                    throw Detenido{};
                buscador.Buscar(trozo, halladas);
            });
            ranura.halladas = halladas;
        } catch (const Detenido&) {
            return;
        } catch (const ErrorArchivo& error) {
            ranura.error = error;
        } catch (const std::exception& error) {  // out of memory, say: told, never a crash
            ranura.error = ErrorArchivo(u"No se pudo leer el archivo de datos"_s,
                                        u"n.º "_s + QString::number(archivo + 1), QString::fromLocal8Bit(error.what()));
        }
        if (ranura.error) {
            // Files after the first unreadable one are never applied.
            std::size_t limite = limite_;
            while (archivo < limite && !limite_.compare_exchange_weak(limite, archivo)) {}
        }
        ranura.lista = true;
        {
            const std::lock_guard cerrojo(mutex_);
            ranuras_[archivo] = std::move(ranura);
        }
        hecho_.notify_all();
    }
}

std::optional<std::vector<int>> LectoresDatos::Tomar(std::size_t archivo, std::chrono::milliseconds espera)
{
    std::unique_lock cerrojo(mutex_);
    if (!hecho_.wait_for(cerrojo, espera, [&] { return ranuras_[archivo].lista; }))
        return std::nullopt;
    Ranura ranura = std::move(ranuras_[archivo]);
    cerrojo.unlock();
    if (ranura.error)
        throw *ranura.error;
    return std::move(ranura.halladas);
}
