#include "analysis/Rutas.h"

QString ExtraerCarpeta(const QString& ruta, QChar caracter)
{
    const qsizetype ultimo = ruta.lastIndexOf(caracter);
    return ultimo < 0 ? QString() : ruta.left(ultimo + 1);
}

QString Extraer2(const QString& ruta, QChar caracter)
{
    const qsizetype ultimo = ruta.lastIndexOf(caracter);
    return ultimo < 0 ? ruta : ruta.mid(ultimo + 1);
}

QString ClaveBusqueda(const QString& nombre)
{
    const qsizetype punto = nombre.lastIndexOf(u'.');
    return punto < 0 ? nombre : nombre.left(punto);
}

std::string ClaveNativa(const std::filesystem::path& nombre)
{
#ifdef _WIN32
    const QByteArray bytes = QString::fromStdWString(nombre.native()).toUtf8();
    std::string texto(bytes.constData(), std::size_t(bytes.size()));
#else
    const std::string& texto = nombre.native();
#endif
    return std::string(ClaveDeNombre(texto));
}

std::string_view ClaveDeNombre(std::string_view nombre)
{
    return nombre.substr(0, nombre.rfind('.'));
}
