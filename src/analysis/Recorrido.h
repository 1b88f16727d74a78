// The usage walk apart from any widget: which catalogue entries are still
// listed as the data files go by, the progress line of each file, and where
// the selection ends; and the readers that search the data files for every
// key at once, on threads of their own.
//
// The result is that of the plain walk (for each data file in order, every
// entry still listed is searched for in that file's text and removed when
// found): the readers may finish files in any order, but their finds are
// applied strictly in file order, and a find of an entry that an earlier file
// already struck changes nothing.
#pragma once

#include "analysis/Buscador.h"
#include "platform/Archivos.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

class RecorridoUso {
public:
    // `inicial` catalogue entries, `total` data files.
    RecorridoUso(int inicial, long total);

    // The next data file begins: its progress line, which counts what the
    // files before it found.
    QString empezar();
    // The current file's finds: catalogue indices, in any order, repeats and
    // entries already struck allowed.
    void aplicar(const std::vector<int>& halladas);

    long hechos() const { return m_hechos; }
    // Whether catalogue entry i is still listed.
    const std::vector<char>& presentes() const { return m_presente; }
    // The row the walk leaves selected among the entries still listed: the
    // last one it examined, or -1 when that one was struck (or none was).
    int seleccion() const { return m_seleccion; }

private:
    int m_inicial;
    long m_total;
    long m_hechos = 0;
    std::vector<char> m_presente;
    int m_quedan;  // entries still listed
    int m_ultimo;  // the last of them, while there is one
    int m_seleccion = -1;
};

// The search tables for a catalogue's keys, built on a thread of their own
// while the caller goes on; on the caller's thread when taken, when no
// thread could be started.
class Catalogo;
class TablasEnPreparacion {
public:
    explicit TablasEnPreparacion(const Catalogo& catalogo);
    // Waits for the tables, if they are still being built.
    ~TablasEnPreparacion();
    TablasEnPreparacion(const TablasEnPreparacion&) = delete;
    TablasEnPreparacion& operator=(const TablasEnPreparacion&) = delete;

    // The tables, once built; waits for them.
    std::shared_ptr<const AutomataClaves> tomar();
    // Whether they are built, so that tomar() would not wait.
    bool listas() const { return m_listas.load(std::memory_order_acquire); }
    // One key per catalogue entry.
    std::size_t numClaves() const { return m_numClaves; }

private:
    BloqueClaves m_claves;
    std::size_t m_numClaves;
    std::shared_ptr<const AutomataClaves> m_tablas;
    std::atomic<bool> m_listas{false};
    std::thread m_hilo;
};

// A data file as the readers see it once it is open: its size, and any
// range of its bytes read in pieces, by several workers at once.
class DatoAbierto {
public:
    virtual ~DatoAbierto() = default;
    virtual std::uint64_t tamano() const = 0;
    // Reads bytes [desde, hasta) into `bufer`, handing each piece to
    // `trozo`; stops early at the end of the file. Throws ErrorArchivo.
    virtual void leer(std::uint64_t desde, std::uint64_t hasta, std::vector<char>& bufer,
                      const std::function<void(std::string_view)>& trozo) const = 0;
};

// A data file open on disk, as the readers read it.
class DatoEnDisco final : public DatoAbierto {
public:
    // Throws ErrorArchivo when the file cannot be opened.
    explicit DatoEnDisco(const Archivo& archivo) : m_archivo(archivo) {}
    std::uint64_t tamano() const override { return m_archivo.tamano(); }
    void leer(std::uint64_t desde, std::uint64_t hasta, std::vector<char>& bufer,
              const std::function<void(std::string_view)>& trozo) const override
    {
        m_archivo.leer(desde, hasta, bufer, trozo);
    }

private:
    ArchivoAbierto m_archivo;
};

// How the readers share out the work. The defaults are the program's; the
// tests make the ranges tiny and the threads fail to start.
struct RepartoLectores {
    unsigned hilos = 0;  // 0: LectoresDatos::hilosPorDefecto()
    // A file larger than `umbral` bytes is split into ranges of `tramo`
    // bytes that the workers search side by side.
    std::uint64_t umbral = std::uint64_t(1) << 20;
    std::uint64_t tramo = std::uint64_t(1) << 20;
    // Starts a worker; std::thread's own constructor when empty.
    std::function<std::thread(std::function<void()>)> arrancar;
};

// Readers that take the data files in order, each file (or each range of a
// large one) on one of a few worker threads, and search it for every key with
// the shared automaton. The results are taken in file order on the caller's
// thread. Workers share (own together) everything they read, so that one
// blocked in a read that never returns can be left behind when the readers
// go; and when no worker can be started, the caller reads the files itself.
class LectoresDatos {
public:
    // Opens data file `archivo`; throws ErrorArchivo when it cannot.
    using Abridor = std::function<std::unique_ptr<DatoAbierto>(std::size_t archivo)>;

    LectoresDatos(std::shared_ptr<const AutomataClaves> automata, std::size_t archivos, Abridor abrir,
                  RepartoLectores reparto = {});
    // Stops the workers within one piece and waits a moment for them; one
    // still blocked in a read after that is left to end on its own.
    ~LectoresDatos();
    LectoresDatos(const LectoresDatos&) = delete;
    LectoresDatos& operator=(const LectoresDatos&) = delete;

    // File `archivo`'s finds, waiting at most `espera` for them; nothing when
    // they are not ready yet. Files are taken in order, each once. Throws the
    // file's ErrorArchivo when it could not be read, or its finds could not
    // be recorded; its path is left empty where only the caller knows it.
    std::optional<std::vector<int>> tomar(std::size_t archivo, std::chrono::milliseconds espera);
    // The same, the file's path `ruta` given for its error.
    std::optional<std::vector<int>> tomar(std::size_t archivo, std::chrono::milliseconds espera, const QString& ruta);

    // How many worker threads could be started.
    std::size_t hilos() const { return m_hilos.size(); }

    // One worker per core beyond the window's, and at least two where there
    // are two cores.
    static unsigned hilosPorDefecto();

    struct Estado;  // what the workers share

private:
    std::shared_ptr<Estado> m_estado;
    std::vector<std::thread> m_hilos;
    struct Propio;  // the caller's own reader, when no thread started
    std::unique_ptr<Propio> m_propio;
};

// For each file of `rutas` (native paths of listed resources), whether the
// data files of the project folder `carpetaProyecto` name it now: listed,
// read and searched as the analysis lists, reads and searches them. Throws
// ErrorArchivo when the data folder cannot be listed or a data file cannot
// be read.
std::vector<char> nombradosEnLosDatos(const ServicioArchivos& archivos, const QString& carpetaProyecto,
                                      const std::vector<std::filesystem::path>& rutas);
