// The space that deleting the listed files would free: each entry measured
// as deletion would remove it (a link as a link), and only what deletion
// would remove.
#include "window/Principal.h"

#include "commands/Comunes.h"
#include "platform/Archivos.h"
#include "platform/Plataforma.h"

#include <QLabel>
#include <QListWidget>

using namespace Qt::StringLiterals;

void Principal::Espacio_Click()
{
    const QString contexto = u"No se pudo medir el archivo"_s;
    std::uint64_t total = 0;
    std::vector<ErrorArchivo> fallos;
    const int ultimo = Recursos->count() - 1;
    for (int i = 0; i <= ultimo; ++i) {
        Seleccionar(i);
        const QListWidgetItem& item = *Recursos->item(i);
        const QString carpeta = CarpetaProyecto();
        const QString ruta = carpeta + item.text();
        try {
            const auto proyecto = RutaNativa(carpeta);
            const auto relativa = RelativaDelRecurso(proyecto, item, contexto, ruta);
            total += UnidadesEspacio(SistemaArchivos->SizeEntrada(proyecto, relativa, ruta));
        } catch (const ErrorArchivo& error) {
            // Gone, unreadable or out of reach since the analysis: it frees nothing.
            fallos.push_back(error);
        }
    }
    TextoA->setText(TextoEspacio(total));
    if (!fallos.empty()) {
        plataforma_.MsgBox(this,
                           u"No se pudo medir el tamaño de "_s + QString::number(fallos.size())
                               + u" archivos de la lista; el espacio ahorrado no los cuenta:"_s + ResumenFallos(fallos),
                           Estilo::Exclamacion, u"Aviso..."_s);
    }
}
