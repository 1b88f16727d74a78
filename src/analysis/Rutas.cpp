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

std::string_view ClaveDeNombre(std::string_view nombre)
{
    return nombre.substr(0, nombre.rfind('.'));
}
