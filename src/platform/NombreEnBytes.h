// A file's name as the bytes the analysis searches the data files for. The
// systems keep names differently: as bytes on POSIX, as UTF-16 on Windows,
// where they become UTF-8. NombreEnBytesPosix.cpp and NombreEnBytesWindows.cpp
// each read their own kind.
#pragma once

#include <QByteArray>

#include <filesystem>
#include <string_view>

// The last name of `nativa`, a native path's plain string as the file system
// gave it. The bytes lie in `nativa` itself where no conversion is needed,
// else in `almacen`: the view lasts as long as both are left alone.
std::string_view nombreEnBytes(const std::filesystem::path::string_type& nativa, QByteArray& almacen);
