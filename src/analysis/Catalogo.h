// The resource folders of a game project, in the order they are listed.
#pragma once

#include <QString>

#include <array>

inline constexpr int kNumCarpetasRecursos = 17;

// Relative paths, joined with the platform's separator.
const std::array<QString, kNumCarpetasRecursos>& CarpetasRecursos();

// Whether `item` has the form of a catalogue entry: one of the resource
// folders, the separator, and a plain file name.
bool EsElementoDelCatalogo(const QString& item);
