// What the desktop does with a file it is asked to open, where that differs
// from system to system. For a program, a script, a shortcut or an installer
// the desktop's "open" is "run"; the projects this tool is handed are
// downloaded and shared, so a click meant to look at such a file must show it
// in its folder instead. Each system answers in a file of its own (chosen in
// CMake): Windows by the name's extension, as its shell does, and the others
// by the file's content type, as a freedesktop opener does. Windows' rules
// and Explorer's command line are plain functions of text, here for every
// system: Wine follows the same rules wherever it is set up to open files.
#pragma once

#include <QString>

#include <filesystem>
#include <optional>

class QUrl;

// The file: URL of a native path, every byte of its name kept (percent-encoded
// where it is not plain text), so that the desktop opens that file and no other.
QUrl urlDeArchivo(const std::filesystem::path& ruta);

// Whether the desktop, asked to open `archivo`, would run it rather than
// show it. When in doubt, yes: showing the folder harms nothing.
bool seEjecutariaAlAbrir(const std::filesystem::path& archivo);

// The PATHEXT Windows works with when none is set.
extern const QString kPathextDeSiempre;

// Whether Windows' shell runs a file named `nombre` when asked to open it:
// by the name's extension alone, whatever the file holds, compared without
// regard to case with the extensions `pathext` lists (as PATHEXT does) and
// with those the shell runs however PATHEXT is set.
bool windowsLaEjecutaria(const QString& nombre, const QString& pathext);

// The command line that has Explorer at `explorador` show the file at `ruta`
// selected in its folder: the path quoted whole, so that a "," in it cannot
// end the argument, and without the \\?\ Explorer does not take. Nothing when
// the path cannot be quoted so (it holds a '"').
std::optional<QString> lineaDelExplorador(const QString& explorador, const QString& ruta);
