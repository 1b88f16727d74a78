#include "analysis/Catalogo.h"

#include "analysis/Rutas.h"
#include "platform/NombreEnBytes.h"

#include <atomic>
#include <system_error>
#include <thread>

using namespace Qt::StringLiterals;

const std::array<QString, kNumCarpetasRecursos>& carpetasRecursos()
{
    static const std::array<QString, kNumCarpetasRecursos> carpetas = [] {
        const char* const nombres[kNumCarpetasRecursos] = {
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
            // Audio comes in this order, not alphabetically.
            "Audio/BGM",
            "Audio/ME",
            "Audio/BGS",
            "Audio/SE",
        };
        std::array<QString, kNumCarpetasRecursos> r;
        for (int i = 0; i < kNumCarpetasRecursos; ++i)
            r[size_t(i)] = QString::fromLatin1(nombres[i]).replace(u'/', QChar(kSeparador));
        return r;
    }();
    return carpetas;
}

bool esRutaDelCatalogo(const std::filesystem::path& relativa)
{
    const std::filesystem::path nombre = relativa.filename();
    if (nombre.empty() || nombre == "." || nombre == "..")
        return false;
    for (const QString& carpeta : carpetasRecursos())
        if (relativa.parent_path() == rutaNativa(carpeta))
            return true;
    return false;
}

Catalogo Catalogo::listar(const ServicioArchivos& archivos, const QString& carpetaProyecto)
{
    const auto& carpetas = carpetasRecursos();
    struct Listado {
        std::vector<Archivo> archivos;
        std::exception_ptr error;
    };
    std::array<Listado, kNumCarpetasRecursos> listados;
    // The folders are taken from the last: the sound effects, often the
    // largest, first, so that the two threads end close together.
    std::atomic<int> siguiente{kNumCarpetasRecursos};
    const auto trabajar = [&] {
        for (int i; (i = --siguiente) >= 0;) {
            const QString ruta = carpetaProyecto + carpetas[std::size_t(i)];
            try {
                // Few projects have all seventeen folders: a missing one holds nothing.
                if (archivos.existe(ruta))
                    listados[std::size_t(i)].archivos = archivos.carpeta(ruta).archivos();
            } catch (...) {
                listados[std::size_t(i)].error = std::current_exception();
            }
        }
    };
    std::thread otro;
    try {
        otro = std::thread(trabajar);
    } catch (const std::system_error&) {
        // No second thread: this one lists them all.
    }
    trabajar();
    if (otro.joinable())
        otro.join();

    Catalogo catalogo;
    for (Listado& listado : listados) {
        if (listado.error) {
            catalogo.m_error = listado.error;
            break;
        }
        catalogo.m_archivos.insert(catalogo.m_archivos.end(), std::make_move_iterator(listado.archivos.begin()),
                                   std::make_move_iterator(listado.archivos.end()));
        catalogo.m_inicios.push_back(catalogo.m_archivos.size());
    }
    return catalogo;
}

std::span<const Archivo> Catalogo::archivosDe(std::size_t carpeta) const
{
    return std::span<const Archivo>(m_archivos)
        .subspan(m_inicios[carpeta], m_inicios[carpeta + 1] - m_inicios[carpeta]);
}

void Catalogo::lanzarError() const
{
    if (m_error)
        std::rethrow_exception(m_error);
}

void anadirClave(BloqueClaves& claves, const std::filesystem::path::string_type& nativa)
{
    QByteArray almacen;
    claves.anadir(claveDeNombre(nombreEnBytes(nativa, almacen)));
}

BloqueClaves Catalogo::claves() const
{
    BloqueClaves claves;
    claves.inicios.reserve(m_archivos.size() + 1);
    for (const Archivo& archivo : m_archivos)
        anadirClave(claves, archivo.nativaTexto());
    return claves;
}
