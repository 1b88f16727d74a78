#include "analysis/Rutas.h"

QString hastaElUltimo(const QString& ruta, QChar caracter)
{
    const qsizetype ultimo = ruta.lastIndexOf(caracter);
    return ultimo < 0 ? QString() : ruta.left(ultimo + 1);
}

QString trasElUltimo(const QString& ruta, QChar caracter)
{
    const qsizetype ultimo = ruta.lastIndexOf(caracter);
    return ultimo < 0 ? ruta : ruta.mid(ultimo + 1);
}

std::string_view claveDeNombre(std::string_view nombre)
{
    return nombre.substr(0, nombre.rfind('.'));
}
