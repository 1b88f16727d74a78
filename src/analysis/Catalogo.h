// The resource folders of a game project, in the order they are listed.
#pragma once

#include <QString>

#include <array>
#include <filesystem>

inline constexpr int kNumCarpetasRecursos = 17;

// Relative paths, joined with the platform's separator.
const std::array<QString, kNumCarpetasRecursos>& CarpetasRecursos();

// Whether `relativa`, a native path relative to the project folder, has the
// form of a catalogue entry: one of the resource folders, then a plain file
// name.
bool EsRutaDelCatalogo(const std::filesystem::path& relativa);
