#include "platform/NombreEnBytes.h"

#include <QString>

std::string_view nombreEnBytes(const std::filesystem::path::string_type& nativa, QByteArray& almacen)
{
    // The last separator of either kind.
    const std::size_t barra = nativa.find_last_of(L"\\/");
    almacen = QString::fromStdWString(barra == std::wstring::npos ? nativa : nativa.substr(barra + 1)).toUtf8();
    return std::string_view(almacen.constData(), std::size_t(almacen.size()));
}
