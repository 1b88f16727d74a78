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
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
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
    QString Empezar();
    // The current file's finds: catalogue indices, in any order, repeats and
    // entries already struck allowed.
    void Aplicar(const std::vector<int>& halladas);

    long Hechos() const { return hechos_; }
    // Whether catalogue entry i is still listed.
    const std::vector<char>& Presentes() const { return presente_; }
    // The row the walk leaves selected among the entries still listed: the
    // last one it examined, or -1 when that one was struck (or none was).
    int Seleccion() const { return seleccion_; }

private:
    int inicial_;
    long total_;
    long hechos_ = 0;
    std::vector<int> restantes_;  // catalogue indices still listed, in order
    std::vector<char> presente_;
    int seleccion_ = -1;
};

// Readers that take the data files in order, each file on one of a few
// worker threads, and search each for every key with the shared automaton.
// Workers touch nothing but the files, the automaton and their own state;
// the results are taken in file order on the caller's thread.
class LectoresDatos {
public:
    // Reads data file `archivo` from start to end into `bufer`, handing each
    // piece to `trozo`; throws ErrorArchivo when it cannot.
    using Lector = std::function<void(std::size_t archivo, std::vector<char>& bufer,
                                      const std::function<void(std::string_view)>& trozo)>;

    LectoresDatos(const AutomataClaves& automata, std::size_t archivos, Lector lector,
                  unsigned hilos = HilosPorDefecto());
    // Stops the workers within one piece and waits for them.
    ~LectoresDatos();
    LectoresDatos(const LectoresDatos&) = delete;
    LectoresDatos& operator=(const LectoresDatos&) = delete;

    // File `archivo`'s finds, waiting at most `espera` for them; nothing when
    // they are not ready yet. Files are taken in order, each once. Throws the
    // file's ErrorArchivo when it could not be read.
    std::optional<std::vector<int>> Tomar(std::size_t archivo, std::chrono::milliseconds espera);

    // One worker per core beyond the window's, and at least two where there
    // are two cores.
    static unsigned HilosPorDefecto();

private:
    struct Ranura {
        bool lista = false;
        std::vector<int> halladas;
        std::optional<ErrorArchivo> error;
    };
    struct Detenido {};

    void Trabajar();

    const AutomataClaves& automata_;
    Lector lector_;
    std::mutex mutex_;
    std::condition_variable hecho_;
    std::vector<Ranura> ranuras_;            // guarded by mutex_
    std::atomic<std::size_t> siguiente_{0};  // the next file to take
    std::atomic<std::size_t> limite_;        // no file from the first unreadable one on
    std::atomic<bool> parar_{false};
    std::vector<std::thread> hilos_;
};
