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
