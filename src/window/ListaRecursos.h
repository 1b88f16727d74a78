// The entries of the resource list. Each shows a path relative to the project
// folder and keeps, beside that text, the native path of the file it stands
// for, as the folder listing gave it: every command reaches the file through
// that path, so that a name that is not valid text, or that shows like
// another, still leads to its own file and no other.
#pragma once

#include "platform/Archivos.h"

#include <QStringList>

#include <filesystem>
#include <span>
#include <vector>

class QListWidget;
class QListWidgetItem;

// Appends one entry per file of the resource folder `carpeta` (relative to
// the project folder): its text "carpeta" + separator + name, and its path.
void anadirEntradas(QListWidget& lista, const QString& carpeta, std::span<const Archivo> archivos);
// The native path an entry carries; empty for an entry that carries none.
std::filesystem::path rutaDeRecurso(const QListWidgetItem& item);

// Which catalogue entry each row of the list stands for, so that the list
// on screen can be brought in line with the walk's list (which entries are
// still listed) at each pause, in as few removals as there are runs of
// struck entries.
class ListaEnPantalla {
public:
    void vaciar()
    {
        m_enPantalla.clear();
        m_anadidas = 0;
    }
    // `cuantas` entries were appended to the list.
    void anadidas(int cuantas);
    // Row `fila` was taken off the list.
    void quitada(int fila);
    void sincronizar(QListWidget& lista, const std::vector<char>& presente);

private:
    std::vector<int> m_enPantalla;  // catalogue index of each row on screen
    int m_anadidas = 0;             // entries since the list was emptied
};
