#include "commands/Comunes.h"

#include "analysis/Catalogo.h"
#include "platform/Archivos.h"
#include "window/Principal.h"

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

std::vector<ErrorArchivo>
porCadaRecurso(Principal& ventana, const QString& contexto,
               const std::function<void(int fila, const std::filesystem::path& proyecto,
                                        const std::filesystem::path& relativa, const QString& ruta)>& accion)
{
    std::vector<ErrorArchivo> fallos;
    const int cuantos = ventana.numRecursos();
    for (int i = 0; i < cuantos; ++i) {
        ventana.seleccionarFila(i);
        const QString carpeta = ventana.carpetaProyecto();
        const QString ruta = carpeta + ventana.textoRecurso(i);
        try {
            const auto proyecto = rutaNativa(carpeta);
            accion(i, proyecto, relativaDelRecurso(proyecto, ventana.rutaRecurso(i), contexto, ruta), ruta);
        } catch (const ErrorArchivo& error) {
            fallos.push_back(error);
        }
    }
    return fallos;
}
