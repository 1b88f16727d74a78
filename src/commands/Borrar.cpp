// Deleting every listed file, after the user's yes, and never one the game
// uses: the game's editor is often left open beside this window, and a map
// saved since the analysis may name a listed file. The data files are read
// again at that moment, and what they name now stays.
#include "commands/Comandos.h"

#include "analysis/Recorrido.h"
#include "commands/Comunes.h"
#include "platform/Archivos.h"
#include "platform/Plataforma.h"
#include "window/Principal.h"

using namespace Qt::StringLiterals;

namespace {
const QString kNadaBorrado = u"\r\nNo se ha borrado ningún archivo."_s;
}  // namespace

void borrarRecursos(Principal& ventana, Plataforma& plataforma, const ServicioArchivos& archivos)
{
    const int cuenta = ventana.numRecursos();
    const int respuesta = plataforma.mostrarMensaje(&ventana,
                                                    u"¿Esta seguro de borrar "_s + QString::number(cuenta)
                                                        + u" recursos de su juego?\r\n"_s
                                                        + u"Una vez borrados no se podrán recuperar..."_s,
                                                    Estilo::SiNo + Estilo::Informacion, u"Confirmación..."_s);
    if (respuesta != Respuesta::Si)
        return;

    // A data file that cannot be read now could name any entry: nothing is
    // deleted on a check that did not finish.
    std::vector<char> usados;
    try {
        std::vector<std::filesystem::path> rutas;
        for (int i = 0; i < ventana.numRecursos(); ++i)
            rutas.push_back(ventana.rutaRecurso(i));
        usados = nombradosEnLosDatos(archivos, ventana.carpetaProyecto(), rutas);
    } catch (const ErrorArchivo& error) {
        plataforma.mostrarMensaje(&ventana, error.texto() + kNadaBorrado, Estilo::Critico, u"Error..."_s);
        return;
    } catch (const std::exception& error) {
        plataforma.mostrarMensaje(&ventana,
                                  u"Error inesperado: "_s + QString::fromLocal8Bit(error.what()) + kNadaBorrado,
                                  Estilo::Critico, u"Error..."_s);
        return;
    }

    const int total = ventana.numRecursos();
    std::vector<ErrorArchivo> conservados;
    // Only the file the entry stands for, only a catalogue entry, and only
    // inside the project, wherever a folder's link leads.
    const std::vector<ErrorArchivo> fallos =
        porCadaRecurso(ventana, u"No se pudo borrar el archivo"_s,
                       [&](int fila, const std::filesystem::path& proyecto, const std::filesystem::path& relativa,
                           const QString& ruta) {
                           if (usados[std::size_t(fila)])
                               conservados.emplace_back(u"No se borró el archivo"_s, ruta,
                                                        u"los datos del juego lo usan desde el análisis"_s);
                           else
                               archivos.borrarEntrada(proyecto, relativa, ruta, true);
                       });

    if (fallos.empty() && conservados.empty()) {
        plataforma.mostrarMensaje(&ventana, u"¡Borrado completado con éxito!\r\n¡Limpieza de recursos finalizada!"_s,
                                  Estilo::Informacion, u"Aviso..."_s);
    } else {
        QString texto;
        if (!conservados.empty())
            texto = u"Se han conservado "_s + QString::number(conservados.size()) + u" de "_s + QString::number(total)
                + u" recursos:"_s + resumenFallos(conservados);
        if (!fallos.empty())
            texto += (texto.isEmpty() ? QString() : u"\r\n"_s) + u"No se pudieron borrar "_s
                + QString::number(fallos.size()) + u" de "_s + QString::number(total) + u" recursos:"_s
                + resumenFallos(fallos);
        texto += int(fallos.size() + conservados.size()) == total
            ? u"\r\nNo se ha borrado ninguno."_s
            : u"\r\nLos demás recursos de la lista se han borrado."_s;
        plataforma.mostrarMensaje(&ventana, texto, Estilo::Exclamacion, u"Aviso..."_s);
    }
    ventana.habilitarAcciones(false);
}
