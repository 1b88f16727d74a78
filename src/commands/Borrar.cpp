// Deleting every listed file, after the user's yes.
#include "window/Principal.h"

#include "commands/Comunes.h"
#include "platform/Archivos.h"
#include "platform/Plataforma.h"

#include <QListWidget>

using namespace Qt::StringLiterals;

void Principal::Borrar_Click()
{
    const int cuenta = Recursos->count();
    const int respuesta =
        plataforma_.MsgBox(this,
                           u"¿Esta seguro de borrar "_s + QString::number(cuenta) + u" recursos de su juego?\r\n"_s
                               + u"Una vez borrados no se podrán recuperar..."_s,
                           Estilo::SiNo + Estilo::Informacion, u"Confirmación..."_s);
    if (respuesta != Respuesta::Si)
        return;

    const QString contexto = u"No se pudo borrar el archivo"_s;
    std::vector<ErrorArchivo> fallos;
    const int ultimo = Recursos->count() - 1;
    for (int i = 0; i <= ultimo; ++i) {
        Seleccionar(i);
        const QListWidgetItem& item = *Recursos->item(i);
        const QString carpeta = CarpetaProyecto();
        const QString ruta = carpeta + item.text();
        try {
            // Only the file the entry stands for, only a catalogue entry, and
            // only inside the project, wherever a folder's link leads.
            const auto proyecto = RutaNativa(carpeta);
            SistemaArchivos->DeleteFile(proyecto, RelativaDelRecurso(proyecto, item, contexto, ruta), ruta, true);
        } catch (const ErrorArchivo& error) {
            fallos.push_back(error);
        }
    }

    if (fallos.empty()) {
        plataforma_.MsgBox(this, u"¡Borrado completado con éxito!\r\n¡Limpieza de recursos finalizada!"_s,
                           Estilo::Informacion, u"Aviso..."_s);
    } else {
        plataforma_.MsgBox(this,
                           u"No se pudieron borrar "_s + QString::number(fallos.size()) + u" de "_s
                               + QString::number(ultimo + 1) + u" recursos:"_s + ResumenFallos(fallos)
                               + u"\r\nLos demás recursos de la lista se han borrado."_s,
                           Estilo::Exclamacion, u"Aviso..."_s);
    }
    HabilitarAcciones(false);
}
