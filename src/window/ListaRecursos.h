// The entries of the resource list. Each shows a path relative to the project
// folder and keeps, beside that text, the native path of the file it stands
// for, as the folder listing gave it: every command reaches the file through
// that path, so that a name that is not valid text, or that shows like
// another, still leads to its own file and no other.
#pragma once

#include "analysis/Buscador.h"
#include "platform/Archivos.h"

#include <QStringList>

#include <filesystem>
#include <vector>

class QListWidget;
class QListWidgetItem;

// Appends one entry per file of the resource folder `carpeta` (relative to
// the project folder): its text "carpeta" + separator + name, and its path.
void AnadirRecursos(QListWidget& lista, const QString& carpeta, const std::vector<Archivo>& archivos);
// The native path an entry carries; empty for an entry that carries none.
std::filesystem::path RutaDeRecurso(const QListWidgetItem& item);

// The search key of every entry, in list order, from each file's own name:
// a name that is not valid text is searched for as the bytes it is.
BloqueClaves ClavesDeRecursos(const QListWidget& lista);

// The list on screen, brought in line with the walk's list (which entries of
// the catalogue are still listed) at each pause, in as few removals as
// there are runs of struck entries.
class ListaEnPantalla {
public:
    ListaEnPantalla(QListWidget& lista, int inicial);
    void Sincronizar(const std::vector<char>& presente);

private:
    QListWidget& lista_;
    std::vector<int> enPantalla_;  // catalogue index of each row on screen
};
