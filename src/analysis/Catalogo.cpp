#include "analysis/Catalogo.h"

#include "platform/Archivos.h"

using namespace Qt::StringLiterals;

const std::array<QString, kNumCarpetasRecursos>& CarpetasRecursos()
{
    static const std::array<QString, kNumCarpetasRecursos> carpetas = [] {
        const char* const nombres[kNumCarpetasRecursos] = {
            "Graphics/Animations", "Graphics/Autotiles", "Graphics/Battlebacks",
            "Graphics/Battlers",   "Graphics/Fogs",      "Graphics/Gameovers",
            "Graphics/Icons",      "Graphics/Panoramas", "Graphics/Pictures",
            "Graphics/Tilesets",   "Graphics/Titles",    "Graphics/Transitions",
            "Graphics/Windowskins",
            // Audio comes in this order, not alphabetically.
            "Audio/BGM", "Audio/ME", "Audio/BGS", "Audio/SE",
        };
        std::array<QString, kNumCarpetasRecursos> r;
        for (int i = 0; i < kNumCarpetasRecursos; ++i)
            r[size_t(i)] = QString::fromLatin1(nombres[i]).replace(u'/', QChar(kSeparador));
        return r;
    }();
    return carpetas;
}

bool EsElementoDelCatalogo(const QString& item)
{
    for (const QString& carpeta : CarpetasRecursos()) {
        if (item.size() <= carpeta.size() + 1 || !item.startsWith(carpeta)
            || item[carpeta.size()] != QChar(kSeparador))
            continue;
        const QString nombre = item.mid(carpeta.size() + 1);
        return !nombre.contains(QChar(kSeparador)) && !nombre.contains(u'/')
            && nombre != u"."_s && nombre != u".."_s;
    }
    return false;
}
