#include "platform/NombreEnBytes.h"

std::string_view nombreEnBytes(const std::filesystem::path::string_type& nativa, QByteArray&)
{
    const std::size_t barra = nativa.rfind('/');
    return barra == std::string::npos ? std::string_view(nativa) : std::string_view(nativa).substr(barra + 1);
}
