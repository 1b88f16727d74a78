#include "analysis/Catalogo.h"

#include "platform/Archivos.h"

using namespace Qt::StringLiterals;

const std::array<QString, kNumCarpetasRecursos>& CarpetasRecursos()
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

bool EsRutaDelCatalogo(const std::filesystem::path& relativa)
{
    const std::filesystem::path nombre = relativa.filename();
    if (nombre.empty() || nombre == "." || nombre == "..")
        return false;
    for (const QString& carpeta : CarpetasRecursos())
        if (relativa.parent_path() == RutaNativa(carpeta))
            return true;
    return false;
}
