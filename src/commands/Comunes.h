// Pieces the commands on the finished list share.
#pragma once

#include <QString>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

class ErrorArchivo;
class Principal;

// Whole units of 1020 bytes in a file of `bytes`, truncated, never rounded.
inline std::uint64_t unidadesEspacio(std::uint64_t bytes)
{
    return bytes / 1020;
}

// "Espacio ahorrado: N Kb"
QString textoEspacio(std::uint64_t unidades);

// The first few failures, one per line ("path: reason"), and how many more.
QString resumenFallos(const std::vector<ErrorArchivo>& fallos, int cuantos = 5);

// The file a list entry stands for, relative to the project folder
// `proyecto`, from `nativa`, the native path the entry carries. What is not
// a catalogue entry of this project is refused, in the words of `contexto`.
std::filesystem::path relativaDelRecurso(const std::filesystem::path& proyecto, const std::filesystem::path& nativa,
                                         const QString& contexto, const QString& ruta);

// Runs `accion` on every entry of the list, in order, each selected as its
// turn comes: given its row, the project folder, the entry's file relative to
// it (see relativaDelRecurso) and its full path as text. Gives what failed,
// in order.
std::vector<ErrorArchivo>
porCadaRecurso(Principal& ventana, const QString& contexto,
               const std::function<void(int fila, const std::filesystem::path& proyecto,
                                        const std::filesystem::path& relativa, const QString& ruta)>& accion);

// The batch file's one line that opens `ruta` with its application: cmd's
// `start`, an empty window title first, the path in quotes (where blanks,
// "&" and "^" are plain characters) and every "%" doubled, since a batch file
// reads "%" as the start of a variable even there.
QString lineaDeLote(const QString& ruta);
