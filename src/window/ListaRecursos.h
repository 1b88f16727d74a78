// The entries of the resource list. Each shows a path relative to the project
// folder and stands for the file at the native path the folder listing gave:
// every command reaches the file through that path, so that a name that is
// not valid text, or that shows like another, still leads to its own file and
// no other.
#pragma once

#include "platform/Archivos.h"

#include <QString>

#include <filesystem>
#include <span>
#include <vector>

class QListWidget;

// The list widget's rows and, row for row beside them, what each stands for:
// its catalogue entry and its native path. Kept out of the items themselves,
// so that filling and thinning the list costs the items' texts alone.
class EntradasLista {
public:
    void vaciar(QListWidget& lista);
    // Appends one entry per file of the resource folder `carpeta` (relative
    // to the project folder): its text "carpeta" + separator + name.
    void anadir(QListWidget& lista, const QString& carpeta, std::span<const Archivo> archivos);
    void quitar(QListWidget& lista, int fila);
    // Takes off the rows whose entry is clear in `presentes` (one flag per
    // entry added since the list was emptied), in as few removals as there
    // are runs of struck rows.
    void sincronizar(QListWidget& lista, const std::vector<char>& presentes);
    // The native path of row `fila`; empty for a row added otherwise.
    std::filesystem::path ruta(int fila) const;

private:
    struct Fila {
        int entrada;  // in the catalogue
        QString texto;
        Archivo::Nativo ruta;
    };
    std::vector<Fila> m_filas;
    int m_anadidas = 0;  // entries since the list was emptied
};
