// The entries of the resource list. Each shows a path relative to the project
// folder and keeps, beside that text, the native path of the file it stands
// for, as the folder listing gave it: every command reaches the file through
// that path, so that a name that is not valid text, or that shows like
// another, still leads to its own file and no other.
#pragma once

#include <QStringList>

#include <filesystem>
#include <vector>

class QListWidget;
class QListWidgetItem;

// Appends one entry per text, each with its file's native path.
void AnadirRecursos(QListWidget& lista, const QStringList& textos, const std::vector<std::filesystem::path>& rutas);
// The native path an entry carries; empty for an entry that carries none.
std::filesystem::path RutaDeRecurso(const QListWidgetItem& item);
