// A deliberately plain model of the usage scan, item by item and file by file.
// The product's scanner is checked against it, and the benchmark times it as
// the straightforward per-item approach, so it must stay unoptimised.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace referencia {

struct Resultado {
    std::vector<std::string> lista;   // items left, in order (UTF-8 "Folder/Sub/name.ext")
    std::vector<std::string> lineas;  // one progress line per data file, in order
    int seleccion = -1;               // selected index at the end, -1 = none
};

// The search key of an item: the file name (the text after the item's last '/')
// up to its LAST '.', or the whole name when it has no '.'. ".png" gives "".
std::string Clave(const std::string& item);

// The progress line, e.g. "1 de 3 archivos de datos verificados - 0 de 12
// recursos utilizados - 33% del analisis completado".
std::string Linea(long hechos, long total, long usados, long inicial);

// The walk. `lista` is the catalogue in order, `datos` the bytes of each data
// file in order. Each item whose key occurs in a file is removed at once, so
// later files only see what is left.
Resultado Recorrer(std::vector<std::string> lista, const std::vector<std::string>& datos);

// A project folder as a plain program would read it.
struct Proyecto {
    std::vector<std::string> catalogo;      // "Folder/Sub/name.ext", the 17 folders in order
    std::vector<std::string> nombresDatos;  // file names inside Data, in order
    std::vector<std::string> datos;         // the whole bytes of each, same order
};

// The catalogue lists, for each of the 17 resource folders in their fixed
// order, the regular files directly inside it (symlinks followed, sub-folders
// not entered), sorted by name with `menor`; a missing folder adds nothing.
// The Data folder's regular files are read whole, sorted the same way.
// Names are UTF-8. Throws std::runtime_error when a data file cannot be read.
Proyecto leer(const std::filesystem::path& carpeta,
              const std::function<bool(const std::string&, const std::string&)>& menor);

// The 17 resource folders, in the order the catalogue follows.
const std::vector<std::string>& Carpetas();

}  // namespace referencia
