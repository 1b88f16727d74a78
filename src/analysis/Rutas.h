// Splitting paths and names at the last occurrence of a character.
#pragma once

#include <QString>

#include <string_view>

// `ruta` up to and including the last `caracter`; empty when there is none.
QString hastaElUltimo(const QString& ruta, QChar caracter);
// What follows the last `caracter` in `ruta`; all of `ruta` when there is none.
QString trasElUltimo(const QString& ruta, QChar caracter);
// The search key of a resource, from its file name as bytes (UTF-8 for every
// name that is valid text, the raw bytes for one that is not): the name up to
// its last dot, or the whole name when it has none. "Title.jpeg" gives
// "Title"; ".png" gives "".
std::string_view claveDeNombre(std::string_view nombre);
