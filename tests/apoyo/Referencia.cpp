#include "Referencia.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace referencia {

namespace fs = std::filesystem;

const std::vector<std::string>& Carpetas()
{
    static const std::vector<std::string> carpetas = {
        "Graphics/Animations",
        "Graphics/Autotiles",
        "Graphics/Battlebacks",
        "Graphics/Battlers",
        "Graphics/Fogs",
        "Graphics/Gameovers",
        "Graphics/Icons",
        "Graphics/Panoramas",
        "Graphics/Pictures",
        "Graphics/Tilesets",
        "Graphics/Titles",
        "Graphics/Transitions",
        "Graphics/Windowskins",
        "Audio/BGM",
        "Audio/ME",
        "Audio/BGS",
        "Audio/SE",
    };
    return carpetas;
}

std::string Clave(const std::string& item)
{
    const auto barra = item.rfind('/');
    const std::string nombre = barra == std::string::npos ? item : item.substr(barra + 1);
    const auto punto = nombre.rfind('.');
    return punto == std::string::npos ? nombre : nombre.substr(0, punto);
}

std::string Linea(long hechos, long total, long usados, long inicial)
{
    // Truncated, not rounded: 29 of 100 shows 28 because 0.29 * 100 falls just
    // short of 29 in double precision, and the product shows the same.
    const double porcentaje = std::trunc(double(hechos) / double(total) * 100.0);
    // std::to_string never groups digits, whatever the global locale is.
    return std::to_string(hechos) + " de " + std::to_string(total) + " archivos de datos verificados - "
        + std::to_string(usados) + " de " + std::to_string(inicial) + " recursos utilizados - "
        + std::to_string(static_cast<long>(porcentaje)) + "% del analisis completado";
}

Resultado Recorrer(std::vector<std::string> lista, const std::vector<std::string>& datos)
{
    Resultado resultado;
    const long inicial = static_cast<long>(lista.size());
    const long total = static_cast<long>(datos.size());
    for (long hechos = 1; hechos <= total; ++hechos) {
        // The line is shown before the file is searched, so its count leaves
        // out what this file is about to strike.
        const long usados = inicial - static_cast<long>(lista.size());
        resultado.lineas.push_back(Linea(hechos, total, usados, inicial));
        const std::string& texto = datos[hechos - 1];
        // The bound is taken once per file; removals shrink the list under it.
        const long fin = static_cast<long>(lista.size()) - 1;
        for (long j = 0; j <= fin; ++j) {
            if (j > static_cast<long>(lista.size()) - 1)
                continue;
            resultado.seleccion = static_cast<int>(j);
            const std::string clave = Clave(lista[j]);
            // An empty key is found in any non-empty file and in no empty one.
            const bool encontrado = clave.empty() ? !texto.empty() : texto.find(clave) != std::string::npos;
            if (encontrado) {
                lista.erase(lista.begin() + j);
                resultado.seleccion = -1;
                --j;
            }
        }
    }
    resultado.lista = std::move(lista);
    return resultado;
}

namespace {

std::string Utf8(const fs::path& ruta)
{
    const std::u8string texto = ruta.u8string();
    return std::string(texto.begin(), texto.end());
}

// Regular files directly inside `carpeta` (symlinks followed), with their
// names, sorted by name. Nothing when the folder is missing or unreadable.
std::vector<std::pair<std::string, fs::path>>
Archivos(const fs::path& carpeta, const std::function<bool(const std::string&, const std::string&)>& menor)
{
    std::vector<std::pair<std::string, fs::path>> archivos;
    std::error_code error;
    if (!fs::is_directory(carpeta, error))
        return archivos;
    fs::directory_iterator it(carpeta, error);
    if (error)
        return archivos;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error)
            break;
        std::error_code estado;
        if (!it->is_regular_file(estado))
            continue;
        archivos.emplace_back(Utf8(it->path().filename()), it->path());
    }
    std::sort(archivos.begin(), archivos.end(), [&](const auto& a, const auto& b) { return menor(a.first, b.first); });
    return archivos;
}

std::string LeerEntero(const fs::path& ruta)
{
    std::ifstream archivo(ruta, std::ios::binary);
    if (!archivo)
        throw std::runtime_error("no se puede abrir " + Utf8(ruta));
    std::string bytes((std::istreambuf_iterator<char>(archivo)), std::istreambuf_iterator<char>());
    if (archivo.bad())
        throw std::runtime_error("no se puede leer " + Utf8(ruta));
    return bytes;
}

}  // namespace

Proyecto leer(const fs::path& carpeta, const std::function<bool(const std::string&, const std::string&)>& menor)
{
    Proyecto proyecto;
    for (const std::string& relativa : Carpetas()) {
        const auto barra = relativa.find('/');
        const fs::path ruta = carpeta / relativa.substr(0, barra) / relativa.substr(barra + 1);
        for (const auto& [nombre, _] : Archivos(ruta, menor))
            proyecto.catalogo.push_back(relativa + "/" + nombre);
    }
    for (const auto& [nombre, ruta] : Archivos(carpeta / "Data", menor)) {
        proyecto.nombresDatos.push_back(nombre);
        proyecto.datos.push_back(LeerEntero(ruta));
    }
    return proyecto;
}

}  // namespace referencia
