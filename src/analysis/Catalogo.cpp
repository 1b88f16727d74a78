#include "analysis/Catalogo.h"

#include "analysis/Rutas.h"

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

std::span<const Archivo> Catalogo::anadirCarpeta(const ServicioArchivos& archivos, const QString& carpetaProyecto,
                                                 const QString& carpeta)
{
    const QString ruta = carpetaProyecto + carpeta;
    // Few projects have all seventeen folders: a missing one holds nothing.
    if (!archivos.existe(ruta))
        return {};
    std::vector<Archivo> listados = archivos.carpeta(ruta).archivos();
    const std::size_t primero = m_archivos.size();
    m_archivos.insert(m_archivos.end(), std::make_move_iterator(listados.begin()),
                      std::make_move_iterator(listados.end()));
    return std::span<const Archivo>(m_archivos).subspan(primero);
}

BloqueClaves Catalogo::claves() const
{
    BloqueClaves claves;
    claves.inicios.reserve(m_archivos.size() + 1);
    for (const Archivo& archivo : m_archivos) {
        const Archivo::Nativo& nativa = archivo.nativaTexto();
#ifdef _WIN32
        // The last separator of either kind.
        const std::size_t barra = nativa.find_last_of(L"\\/");
        const QByteArray nombre =
            QString::fromStdWString(barra == Archivo::Nativo::npos ? nativa : nativa.substr(barra + 1)).toUtf8();
        claves.anadir(claveDeNombre(std::string_view(nombre.constData(), std::size_t(nombre.size()))));
#else
        const std::size_t barra = nativa.rfind('/');
        claves.anadir(claveDeNombre(barra == std::string::npos ? std::string_view(nativa)
                                                               : std::string_view(nativa).substr(barra + 1)));
#endif
    }
    return claves;
}
