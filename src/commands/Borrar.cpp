// Deleting every listed file, after the user's yes.
#include "commands/Comandos.h"

#include "commands/Comunes.h"
#include "platform/Archivos.h"
#include "platform/Plataforma.h"
#include "window/Principal.h"

using namespace Qt::StringLiterals;

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

    const int total = ventana.numRecursos();
    // Only the file the entry stands for, only a catalogue entry, and only
    // inside the project, wherever a folder's link leads.
    const std::vector<ErrorArchivo> fallos =
        porCadaRecurso(ventana, u"No se pudo borrar el archivo"_s,
                       [&](int, const std::filesystem::path& proyecto, const std::filesystem::path& relativa,
                           const QString& ruta) { archivos.borrarEntrada(proyecto, relativa, ruta, true); });

    if (fallos.empty()) {
        plataforma.mostrarMensaje(&ventana, u"¡Borrado completado con éxito!\r\n¡Limpieza de recursos finalizada!"_s,
                                  Estilo::Informacion, u"Aviso..."_s);
    } else {
        plataforma.mostrarMensaje(&ventana,
                                  u"No se pudieron borrar "_s + QString::number(fallos.size()) + u" de "_s
                                      + QString::number(total) + u" recursos:"_s + resumenFallos(fallos)
                                      + (int(fallos.size()) == total
                                             ? u"\r\nNo se ha borrado ninguno."_s
                                             : u"\r\nLos demás recursos de la lista se han borrado."_s),
                                  Estilo::Exclamacion, u"Aviso..."_s);
    }
    ventana.habilitarAcciones(false);
}
