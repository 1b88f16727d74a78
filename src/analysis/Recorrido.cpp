#include "analysis/Recorrido.h"

#include "analysis/Catalogo.h"
#include "analysis/Progreso.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace Qt::StringLiterals;

RecorridoUso::RecorridoUso(int inicial, long total)
    : m_inicial(inicial), m_total(total), m_presente(std::size_t(inicial), 1), m_quedan(inicial), m_ultimo(inicial - 1)
{
}

QString RecorridoUso::empezar()
{
    ++m_hechos;
    return lineaProgreso(m_hechos, m_total, m_inicial - long(m_quedan), m_inicial);
}

void RecorridoUso::aplicar(const std::vector<int>& halladas)
{
    if (m_quedan == 0)
        return;  // nothing examined: the selection stays as it was
    // A file's cost is its finds, not the length of the list.
    for (int item : halladas) {
        char& presente = m_presente[std::size_t(item)];
        m_quedan -= presente;
        presente = 0;
    }
    // The walk examines every entry still listed, the last one last.
    const bool ultimoQuitado = !m_presente[std::size_t(m_ultimo)];
    while (m_quedan > 0 && !m_presente[std::size_t(m_ultimo)])
        --m_ultimo;
    m_seleccion = ultimoQuitado ? -1 : m_quedan - 1;
}

// ---------------------------------------------------------------- TablasEnPreparacion

TablasEnPreparacion::TablasEnPreparacion(const Catalogo& catalogo)
    : m_claves(catalogo.claves()), m_numClaves(catalogo.tamano())
{
    try {
        m_hilo = std::thread([this] {
            m_tablas = std::make_shared<const AutomataClaves>(m_claves);
            m_listas.store(true, std::memory_order_release);
        });
    } catch (const std::system_error&) {
        // Built when taken.
    }
}

TablasEnPreparacion::~TablasEnPreparacion()
{
    if (m_hilo.joinable())
        m_hilo.join();
}

std::shared_ptr<const AutomataClaves> TablasEnPreparacion::tomar()
{
    if (m_hilo.joinable())
        m_hilo.join();
    if (!m_tablas)
        m_tablas = std::make_shared<const AutomataClaves>(m_claves);
    return m_tablas;
}

// ---------------------------------------------------------------- LectoresDatos

namespace {
struct Detenido {};

// How long the readers, as they go, wait for the workers to finish the piece
// in hand before leaving behind any that is stuck in a read.
constexpr auto kEsperaAlCerrar = std::chrono::milliseconds(250);
// Each worker's buffer: the piece a file is read in.
constexpr std::size_t kTrozo = std::size_t(256) << 10;
// How many times a worker yields, waiting for another to open a file, before
// it sleeps until woken.
constexpr int kVueltasAntesDeDormir = 200;

struct Ranura {
    bool lista = false;
    std::uint64_t pendientes = 0;  // ranges not searched yet, once the file is open
    std::vector<int> halladas;     // the union of its ranges' finds
    std::optional<ErrorArchivo> error;
    // No room to record its finds, or to say why it failed: told by whoever
    // takes it, since saying so here would need memory too.
    bool sinMemoria = false;
};

// One piece of work: a range of a file, or the whole of it. Without the open
// file, whoever takes it opens the file first and learns how it splits.
struct Unidad {
    std::size_t archivo = 0;
    std::uint64_t tramo = 0, tramos = 1;
    std::shared_ptr<const DatoAbierto> dato;
};
}  // namespace

struct LectoresDatos::Estado {
    Estado(std::shared_ptr<const AutomataClaves> automataDado, std::size_t archivos, Abridor abrirDado,
           const RepartoLectores& reparto)
        : automata(std::move(automataDado)),
          abrir(std::move(abrirDado)),
          umbral(reparto.umbral),
          tramo(std::max<std::uint64_t>(reparto.tramo, 1)),
          // A key that begins in one range ends at most this far into the next.
          solape(std::max<std::size_t>(automata->largoMaximo(), 1) - 1),
          ranuras(archivos),
          limite(archivos)
    {
    }

    const std::shared_ptr<const AutomataClaves> automata;
    const Abridor abrir;
    const std::uint64_t umbral, tramo, solape;

    std::mutex mutex;
    std::condition_variable hecho;    // a file failed, one of the last is ready, or no worker is left
    std::condition_variable trabajo;  // the file being handed out is open, or all must stop
    std::condition_variable fin;      // a worker has ended
    // Guarded by mutex:
    std::vector<Ranura> ranuras;
    std::size_t archivo = 0;  // the file whose units are handed out now
    std::uint64_t siguienteTramo = 0;
    std::uint64_t tramos = 0;  // its ranges; 0 while it is not open
    bool abriendo = false;
    std::shared_ptr<const DatoAbierto> abierto;  // while its ranges are handed out
    std::size_t limite;                          // no file from the first unreadable one on
    std::size_t vivos = 0;                       // workers still running
    std::vector<char> terminados;                // which workers have ended
    std::atomic<bool> parar{false};              // also read, without the lock, at every piece
    std::atomic<std::uint64_t> abiertos{0};      // files opened (or failed) so far

    // The units in (file, range) order, so that each worker's files come in
    // increasing order. Nothing when the work is over. While another worker
    // opens the next file, waits to learn how it splits.
    std::optional<Unidad> siguiente()
    {
        std::unique_lock cerrojo(mutex);
        for (;;) {
            if (parar || archivo >= limite)
                return std::nullopt;
            if (tramos > 0) {
                Unidad unidad{archivo, siguienteTramo, tramos, abierto};
                if (++siguienteTramo == tramos)
                    avanzar();
                return unidad;
            }
            if (!abriendo) {
                abriendo = true;
                return Unidad{archivo, 0, 1, nullptr};
            }
            // Another worker is opening the file, which takes microseconds:
            // sleeping and being woken would cost more than the open.
            const std::uint64_t antes = abiertos.load(std::memory_order_relaxed);
            cerrojo.unlock();
            for (int vuelta = 0; vuelta < kVueltasAntesDeDormir; ++vuelta) {
                if (abiertos.load(std::memory_order_acquire) != antes || parar.load(std::memory_order_relaxed))
                    break;
                std::this_thread::yield();
            }
            cerrojo.lock();
            if (abiertos.load(std::memory_order_relaxed) == antes && abriendo && !parar)
                trabajo.wait(cerrojo);
        }
    }

    void avanzar()  // under mutex
    {
        ++archivo;
        siguienteTramo = tramos = 0;
        abriendo = false;
        abierto.reset();
    }

    // Opens the unit's file, and hands its other ranges out, if it has any.
    void Abrir(Unidad& unidad)
    {
        std::shared_ptr<const DatoAbierto> dato;
        std::uint64_t cuantos = 1;
        try {
            dato = abrir(unidad.archivo);
            if (dato->tamano() > umbral)
                cuantos = (dato->tamano() - 1) / tramo + 1;
        } catch (...) {
            {
                const std::lock_guard cerrojo(mutex);
                avanzar();  // the failure stops the work at this file
                ++abiertos;
            }
            trabajo.notify_all();
            throw;
        }
        {
            const std::lock_guard cerrojo(mutex);
            ranuras[unidad.archivo].pendientes = cuantos;
            if (cuantos > 1) {
                tramos = cuantos;
                siguienteTramo = 1;
                abierto = dato;
            } else {
                avanzar();
            }
            ++abiertos;
        }
        trabajo.notify_all();
        unidad.tramos = cuantos;
        unidad.dato = std::move(dato);
    }

    // Searches one unit; false when told to stop on the way.
    bool procesar(Unidad unidad, BuscadorClaves& buscador, std::vector<char>& bufer, std::vector<int>& halladas)
    {
        halladas.clear();
        buscador.reiniciar();
        std::optional<ErrorArchivo> error;
        bool sinMemoria = false;
        try {
            if (!unidad.dato)
                Abrir(unidad);
            // Each range but the last runs on past its end by the overlap;
            // the last, or a file whole, is read to the end of the file.
            const std::uint64_t desde = unidad.tramo * tramo;
            const std::uint64_t hasta = unidad.tramo + 1 < unidad.tramos ? desde + tramo + solape : UINT64_MAX;
            unidad.dato->leer(desde, hasta, bufer, [&](std::string_view trozo) {
                if (parar.load(std::memory_order_relaxed))
                    throw Detenido{};
                buscador.buscar(trozo, halladas);
            });
        } catch (const Detenido&) {
            return false;
        } catch (const ErrorArchivo& e) {
            error = e;
        } catch (const std::bad_alloc&) {
            sinMemoria = true;
        } catch (const std::exception& e) {  // told, never a crash; the caller names the file
            error = ErrorArchivo(u"No se pudo leer el archivo de datos"_s, QString(), QString::fromLocal8Bit(e.what()));
        }
        {
            const std::lock_guard cerrojo(mutex);
            Ranura& ranura = ranuras[unidad.archivo];
            if (ranura.lista)
                return true;  // another range of it failed and was told
            if (!error && !sinMemoria) {
                try {
                    ranura.halladas.insert(ranura.halladas.end(), halladas.begin(), halladas.end());
                    ranura.lista = --ranura.pendientes == 0;
                } catch (const std::bad_alloc&) {
                    // Left pending, the file would be waited for without end.
                    sinMemoria = true;
                }
            }
            const bool fallo = error || sinMemoria;
            if (fallo) {
                // Files after the first unreadable one are never applied.
                ranura.error = std::move(error);
                ranura.sinMemoria = sinMemoria;
                ranura.lista = true;
                limite = std::min(limite, unidad.archivo);
            }
            if (!ranura.lista)
                return true;  // the caller waits for the whole file
            // The caller takes the files in bursts, at its pauses: it is
            // woken for a failure, and for the last few files once every
            // file is handed out, not for each file.
            if (!fallo && archivo < limite)
                return true;
        }
        hecho.notify_all();
        return true;
    }
};

// What the caller reads with when it has to read on its own.
struct LectoresDatos::Propio {
    explicit Propio(const AutomataClaves& automata) : buscador(automata), bufer(kTrozo) {}
    BuscadorClaves buscador;
    std::vector<char> bufer;
    std::vector<int> halladas;
};

namespace {
void trabajar(const std::shared_ptr<LectoresDatos::Estado>& estado, std::size_t yo)
{
    // A worker's files come in increasing order, so what it found in earlier
    // ones need not be searched for again: the earliest file that names an
    // entry is the one that strikes it.
    try {
        BuscadorClaves buscador(*estado->automata);
        std::vector<char> bufer(kTrozo);
        std::vector<int> halladas;
        while (const auto unidad = estado->siguiente())
            if (!estado->procesar(*unidad, buscador, bufer, halladas))
                break;
    } catch (const std::bad_alloc&) {
        // No room for a worker's own state: the others, or the caller, go on.
    }
    {
        const std::lock_guard cerrojo(estado->mutex);
        estado->terminados[yo] = 1;
        --estado->vivos;
    }
    estado->fin.notify_all();
    estado->hecho.notify_all();
}
}  // namespace

LectoresDatos::LectoresDatos(std::shared_ptr<const AutomataClaves> automata, std::size_t archivos, Abridor abrir,
                             RepartoLectores reparto)
    : m_estado(std::make_shared<Estado>(std::move(automata), archivos, std::move(abrir), reparto))
{
    const unsigned hilos = std::max(1u, reparto.hilos ? reparto.hilos : hilosPorDefecto());
    auto arrancar = reparto.arrancar;
    if (!arrancar)
        arrancar = [](std::function<void()> f) { return std::thread(std::move(f)); };
    m_estado->terminados.assign(hilos, 0);
    m_hilos.reserve(hilos);
    for (unsigned i = 0; i < hilos; ++i) {
        {
            const std::lock_guard cerrojo(m_estado->mutex);
            ++m_estado->vivos;
        }
        try {
            // Each worker holds the shared state: it outlives these readers
            // if the worker is left behind in a blocked read.
            m_hilos.push_back(arrancar([estado = m_estado, i] { trabajar(estado, i); }));
        } catch (const std::exception&) {
            // As under a limit on processes: go on with the workers there
            // are, or with none, the caller reading on its own.
            const std::lock_guard cerrojo(m_estado->mutex);
            --m_estado->vivos;
            break;
        }
    }
}

LectoresDatos::~LectoresDatos()
{
    Estado& e = *m_estado;
    std::vector<char> terminados;
    {
        std::unique_lock cerrojo(e.mutex);
        e.parar = true;
        e.trabajo.notify_all();
        e.fin.wait_for(cerrojo, kEsperaAlCerrar, [&] { return e.vivos == 0; });
        terminados = e.terminados;
    }
    // A worker still reading after that is stuck in the read (a stalled
    // disk, a dead network share): joining it would hold the window, and the
    // program, until the read returns. It shares all it reads, so it can be
    // left to end on its own.
    for (std::size_t i = 0; i < m_hilos.size(); ++i) {
        if (terminados[i])
            m_hilos[i].join();
        else
            m_hilos[i].detach();
    }
}

unsigned LectoresDatos::hilosPorDefecto()
{
    const unsigned nucleos = std::thread::hardware_concurrency();
    return nucleos <= 1 ? 1 : std::max(2u, nucleos - 1);
}

std::optional<std::vector<int>> LectoresDatos::tomar(std::size_t archivo, std::chrono::milliseconds espera)
{
    Estado& e = *m_estado;
    const auto hasta = std::chrono::steady_clock::now() + espera;
    std::unique_lock cerrojo(e.mutex);
    e.hecho.wait_until(cerrojo, hasta, [&] { return e.ranuras[archivo].lista || e.vivos == 0; });
    // With no worker left (none could be started), the caller reads on its
    // own: at least one unit each time, then as many as the wait allows.
    for (bool primera = true; !e.ranuras[archivo].lista; primera = false) {
        if (e.vivos != 0 || (!primera && std::chrono::steady_clock::now() >= hasta))
            return std::nullopt;
        cerrojo.unlock();
        if (!m_propio)
            m_propio = std::make_unique<Propio>(*e.automata);
        const auto unidad = e.siguiente();
        if (unidad)
            e.procesar(*unidad, m_propio->buscador, m_propio->bufer, m_propio->halladas);
        cerrojo.lock();
        if (!unidad && !e.ranuras[archivo].lista)
            return std::nullopt;  // asked past the first unreadable file: never answered
    }
    Ranura ranura = std::move(e.ranuras[archivo]);
    e.ranuras[archivo].lista = true;
    cerrojo.unlock();
    if (ranura.sinMemoria)
        throw ErrorArchivo(u"No se pudo leer el archivo de datos"_s, QString(), u"no hay memoria suficiente"_s);
    if (ranura.error)
        throw *ranura.error;
    return std::move(ranura.halladas);
}

std::optional<std::vector<int>> LectoresDatos::tomar(std::size_t archivo, std::chrono::milliseconds espera,
                                                     const QString& ruta)
{
    try {
        return tomar(archivo, espera);
    } catch (ErrorArchivo& error) {
        if (error.ruta.isEmpty())
            error.ruta = ruta;
        throw;
    }
}

std::vector<char> nombradosEnLosDatos(const ServicioArchivos& archivos, const QString& carpetaProyecto,
                                      const std::vector<std::filesystem::path>& rutas)
{
    const auto datos =
        std::make_shared<const std::vector<Archivo>>(archivos.carpeta(carpetaProyecto + u"Data"_s).archivos());
    std::vector<char> nombrados(rutas.size(), 0);
    if (rutas.empty() || datos->empty())
        return nombrados;
    BloqueClaves claves;
    for (const std::filesystem::path& ruta : rutas)
        anadirClave(claves, ruta.native());
    LectoresDatos lectores(std::make_shared<const AutomataClaves>(claves), datos->size(),
                           [datos](std::size_t k) { return std::make_unique<DatoEnDisco>((*datos)[k]); });
    for (std::size_t k = 0; k < datos->size(); ++k) {
        std::optional<std::vector<int>> deEste;
        while (!(deEste = lectores.tomar(k, std::chrono::hours(1), (*datos)[k].ruta()))) {}
        for (int clave : *deEste)
            nombrados[std::size_t(clave)] = 1;
    }
    return nombrados;
}
