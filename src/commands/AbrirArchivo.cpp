// Opening a listed file with the application the desktop associates with it,
// or, for a file that application would run, showing it in its folder.
#include "commands/Comandos.h"

#include "commands/Comunes.h"
#include "platform/Archivos.h"
#include "platform/Escritorio.h"
#include "platform/Plataforma.h"
#include "window/Principal.h"

using namespace Qt::StringLiterals;

void abrirArchivoSeleccionado(Principal& ventana, Plataforma& plataforma, const ServicioArchivos& archivos)
{
    const int seleccionado = ventana.filaSeleccionada();
    if (seleccionado < 0)
        return;
    const QString ruta = ventana.carpetaProyecto() + ventana.textoRecurso(seleccionado);
    const QString nombreLote = QString(QChar(kSeparador)) + u"temporal.bat"_s;
    try {
        // Looked up first, so that a missing file leaves the last batch file
        // as it was; by the path the entry carries, not by its text.
        const Archivo archivo = archivos.archivo(ventana.rutaRecurso(seleccionado), ruta);
        const QString lote = plataforma.carpetaPropia() + nombreLote;
        try {
            auto flujo = archivos.crearTexto(lote, true);
            flujo->escribirLineaLocal(lineaDeLote(archivo.rutaParaLote()));
            flujo->cerrar();
        } catch (const ErrorArchivo&) {
            // The batch file is only kept for whoever runs it by hand: the
            // file opens without it, so a folder that takes no writes, or a
            // path the console cannot spell (the batch file is left empty),
            // is no failure to open.
        }
        // Projects are downloaded and shared: a click to look at a file
        // never runs one.
        if (seEjecutariaAlAbrir(archivo.nativa()))
            plataforma.mostrarEnSuCarpeta(archivo.nativa());
        else
            plataforma.abrirConSuAplicacion(lote, 0, archivo.nativa());
    } catch (const ErrorArchivo& error) {
        plataforma.mostrarMensaje(&ventana, error.texto(), Estilo::Critico, u"Error..."_s);
    }
}
