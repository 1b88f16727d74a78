// Starting "temporal.bat" without a command interpreter: its one line,
// "start " and a path, is read here and the path handed to the desktop's
// opener as a file, so that no character of a file name is ever run.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// The file named by a batch file's first line "start <path>", or nothing
// when the line has another form.
std::optional<QString> ArchivoDeLineaStart(const QByteArray& contenido);

// Opens the file that the batch file at `rutaLote` names, through `abrir`
// (the desktop's opener). False when the batch file cannot be read, has
// another form, or the opener refused.
bool AbrirLote(const QString& rutaLote, const std::function<bool(const QString& archivo)>& abrir);
