// The resource folders of a game project, in the order they are listed,
// and the catalogue of the files they hold.
#pragma once

#include "analysis/Buscador.h"
#include "platform/Archivos.h"

#include <QString>

#include <array>
#include <filesystem>
#include <span>
#include <vector>

inline constexpr int kNumCarpetasRecursos = 17;

// Relative paths, joined with the platform's separator.
const std::array<QString, kNumCarpetasRecursos>& carpetasRecursos();

// Whether `relativa`, a native path relative to the project folder, has the
// form of a catalogue entry: one of the resource folders, then a plain file
// name.
bool esRutaDelCatalogo(const std::filesystem::path& relativa);

// Every file of a project's resource folders, folder by folder in the order
// they were listed: what the list shows, and what the analysis searches the
// data files for.
class Catalogo {
public:
    // Lists the resource folder `carpeta` (relative) of the project folder
    // `carpetaProyecto` (with its final separator) and appends its files,
    // which it returns; a missing folder holds nothing. Throws ErrorArchivo.
    std::span<const Archivo> anadirCarpeta(const ServicioArchivos& archivos, const QString& carpetaProyecto,
                                           const QString& carpeta);
    std::size_t tamano() const { return m_archivos.size(); }
    // The search key of every entry, in order, from each file's own name: a
    // name that is not valid text is searched for as the bytes it is.
    BloqueClaves claves() const;

private:
    std::vector<Archivo> m_archivos;
};
