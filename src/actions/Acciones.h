// Small pieces of the commands on the finished list.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

class ErrorArchivo;

// Whole units of 1020 bytes in a file of `bytes`, truncated, never rounded.
inline std::uint64_t UnidadesEspacio(std::uint64_t bytes)
{
    return bytes / 1020;
}

// "Espacio ahorrado: N Kb"
QString TextoEspacio(std::uint64_t unidades);

// The first few failures, one per line ("path: reason"), and how many more.
QString ResumenFallos(const std::vector<ErrorArchivo>& fallos, int cuantos = 5);
