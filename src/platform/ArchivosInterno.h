// What the file service's own sources share, and no other file includes: the
// service is one file of what every system does alike (Archivos.cpp) and one
// per system of what each does its own way (ArchivosPosix.cpp,
// ArchivosWindows.cpp), of which the build takes the one for its system.
#pragma once

#include "platform/Archivos.h"

#include <QString>

#include <filesystem>
#include <vector>

// The error an operating-system call left in errno, for the user. Streams do
// not always set errno: then it was a disk error as far as anyone can tell.
[[noreturn]] void fallar(const QString& contexto, const QString& ruta, int numero);

// The plain files directly in `carpeta`, in the order the system lists them;
// Carpeta::archivos sorts them.
std::vector<Archivo> listar(const std::filesystem::path& carpeta, const QString& carpetaTexto);

// What is at `nativa` (links followed), or the reason there is nothing usable there.
std::filesystem::file_status estadoDe(const std::filesystem::path& nativa, const QString& contexto,
                                      const QString& ruta);

// Folders, then a name, none of them "." or "..": nothing that climbs out.
bool relativaSencilla(const std::filesystem::path& relativa);

// What a data file held open could not do.
extern const QString kAbrirDatos;
extern const QString kLeerDatos;
