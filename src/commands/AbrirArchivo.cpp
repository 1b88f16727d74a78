// Opening a listed file with the application the desktop associates with it.
#include "window/Principal.h"

#include "commands/Comunes.h"
#include "platform/Archivos.h"
#include "platform/Plataforma.h"
#include "window/ListaRecursos.h"

#include <QListWidget>

using namespace Qt::StringLiterals;

void Principal::Ejecutar_Click()
{
    AbrirSeleccionado();
}

void Principal::Recursos_DblClick()
{
    AbrirSeleccionado();
}

void Principal::AbrirSeleccionado()
{
    const int seleccionado = IndiceSeleccionado();
    if (seleccionado < 0)
        return;
    const QListWidgetItem& item = *Recursos->item(seleccionado);
    const QString ruta = CarpetaProyecto() + item.text();
    const QString nombreLote = QString(QChar(kSeparador)) + u"temporal.bat"_s;
    try {
        // Looked up first, so that a missing file leaves the last batch file
        // as it was; by the path the entry carries, not by its text.
        const Archivo archivo = SistemaArchivos->GetFile(RutaDeRecurso(item), ruta);
        const QString lote = plataforma_.CarpetaAplicacion() + nombreLote;
        try {
            auto flujo = SistemaArchivos->CreateTextFile(lote, true);
            flujo->WriteLineLocal(LineaDeLote(archivo.ShortPath()));
            flujo->Close();
        } catch (const ErrorArchivo&) {
            // The batch file is only kept for whoever runs it by hand: the
            // file opens without it, so a folder that takes no writes is no
            // failure to open.
        }
        plataforma_.Shell(lote, 0, archivo.Nativa());
    } catch (const ErrorArchivo& error) {
        plataforma_.MsgBox(this, error.Texto(), Estilo::Critico, u"Error..."_s);
    }
}
