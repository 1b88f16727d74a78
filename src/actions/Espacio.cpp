// The space that deleting the listed files would free.
#include "window/Principal.h"

#include "actions/Acciones.h"
#include "platform/Archivos.h"
#include "platform/Plataforma.h"

#include <QLabel>
#include <QListWidget>

using namespace Qt::StringLiterals;

void Principal::Espacio_Click()
{
    std::uint64_t total = 0;
    std::vector<ErrorArchivo> fallos;
    const int ultimo = Recursos->count() - 1;
    for (int i = 0; i <= ultimo; ++i) {
        Seleccionar(i);
        const QString ruta = CarpetaProyecto() + Recursos->item(i)->text();
        try {
            total += UnidadesEspacio(SistemaArchivos->GetFile(ruta).Size());
        } catch (const ErrorArchivo& error) {
            // Gone or unreadable since the analysis: it frees nothing.
            fallos.push_back(error);
        }
    }
    TextoA->setText(TextoEspacio(total));
    if (!fallos.empty()) {
        plataforma_.MsgBox(this,
                           u"No se pudo medir el tamaño de "_s + QString::number(fallos.size())
                               + u" archivos de la lista; el espacio ahorrado no los cuenta:"_s
                               + ResumenFallos(fallos),
                           Estilo::Exclamacion, u"Aviso..."_s);
    }
}
