// The resource folders of a game project, in the order they are listed,
// and the catalogue of the files they hold.
#pragma once

#include "analysis/Buscador.h"
#include "platform/Archivos.h"

#include <QString>

#include <array>
#include <exception>
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

// Adds to `claves` the search key of the file at the native path `ruta`, from
// the file's own name: a name that is not valid text is searched for as the
// bytes it is.
void anadirClave(BloqueClaves& claves, const std::filesystem::path::string_type& ruta);

// Every file of a project's resource folders, folder by folder in the order
// they are listed: what the list shows, and what the analysis searches the
// data files for.
class Catalogo {
public:
    // Lists the resource folders of the project folder `carpetaProyecto`
    // (with its final separator), two at a time where a second thread can
    // start; a missing folder holds nothing. What comes of it is what a
    // listing in order would give: the folders before the first one that
    // could not be listed, and that folder's error.
    static Catalogo listar(const ServicioArchivos& archivos, const QString& carpetaProyecto);

    // The folders listed, in order, and their files.
    std::size_t numCarpetas() const { return m_inicios.size() - 1; }
    std::span<const Archivo> archivosDe(std::size_t carpeta) const;
    // Whether every folder could be listed; if not, lanzarError() throws
    // the error of the one that could not.
    bool completo() const { return !m_error; }
    void lanzarError() const;

    std::size_t tamano() const { return m_archivos.size(); }
    // The search key of every entry, in order, from each file's own name: a
    // name that is not valid text is searched for as the bytes it is.
    BloqueClaves claves() const;

private:
    std::vector<Archivo> m_archivos;
    std::vector<std::size_t> m_inicios{0};  // folder i is m_archivos[m_inicios[i], m_inicios[i + 1])
    std::exception_ptr m_error;
};
