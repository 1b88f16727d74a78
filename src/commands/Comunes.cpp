#include "commands/Comunes.h"

#include "analysis/Catalogo.h"
#include "platform/Archivos.h"

using namespace Qt::StringLiterals;

QString textoEspacio(std::uint64_t unidades)
{
    return u"Espacio ahorrado: "_s + QString::number(unidades) + u" Kb"_s;
}

QString resumenFallos(const std::vector<ErrorArchivo>& fallos, int cuantos)
{
    QString texto;
    const int mostrados = std::min(int(fallos.size()), cuantos);
    for (int i = 0; i < mostrados; ++i)
        texto += u"\r\n"_s + fallos[std::size_t(i)].ruta + u": "_s + fallos[std::size_t(i)].motivo;
    if (int(fallos.size()) > mostrados)
        texto += u"\r\n... y "_s + QString::number(int(fallos.size()) - mostrados) + u" más."_s;
    return texto;
}

QString lineaDeLote(const QString& ruta)
{
    return u"start \"\" \""_s + QString(ruta).replace(u'%', u"%%"_s) + u'"';
}

std::filesystem::path relativaDelRecurso(const std::filesystem::path& proyecto, const std::filesystem::path& nativa,
                                         const QString& contexto, const QString& ruta)
{
    const std::filesystem::path relativa = nativa.empty() ? nativa : nativa.lexically_relative(proyecto);
    if (!esRutaDelCatalogo(relativa))
        throw ErrorArchivo(contexto, ruta, kFueraDelProyecto);
    return relativa;
}
