#include "actions/Acciones.h"

#include "platform/Archivos.h"

using namespace Qt::StringLiterals;

QString TextoEspacio(std::uint64_t unidades)
{
    return u"Espacio ahorrado: "_s + QString::number(unidades) + u" Kb"_s;
}

QString ResumenFallos(const std::vector<ErrorArchivo>& fallos, int cuantos)
{
    QString texto;
    const int mostrados = std::min(int(fallos.size()), cuantos);
    for (int i = 0; i < mostrados; ++i)
        texto += u"\r\n"_s + fallos[std::size_t(i)].ruta + u": "_s + fallos[std::size_t(i)].motivo;
    if (int(fallos.size()) > mostrados)
        texto += u"\r\n... y "_s + QString::number(int(fallos.size()) - mostrados) + u" más."_s;
    return texto;
}
