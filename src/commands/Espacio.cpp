// The space that deleting the listed files would free: each entry measured
// as deletion would remove it (a link as a link), and only what deletion
// would remove.
#include "commands/Comandos.h"

#include "commands/Comunes.h"
#include "platform/Archivos.h"
#include "platform/Plataforma.h"
#include "window/Principal.h"

using namespace Qt::StringLiterals;

void verEspacioAhorrado(Principal& ventana, Plataforma& plataforma, const ServicioArchivos& archivos)
{
    const QString contexto = u"No se pudo medir el archivo"_s;
    std::uint64_t total = 0;
    std::vector<ErrorArchivo> fallos;
    const int ultimo = ventana.numRecursos() - 1;
    for (int i = 0; i <= ultimo; ++i) {
        ventana.seleccionarFila(i);
        const QString carpeta = ventana.carpetaProyecto();
        const QString ruta = carpeta + ventana.textoRecurso(i);
        try {
            const auto proyecto = rutaNativa(carpeta);
            const auto relativa = relativaDelRecurso(proyecto, ventana.rutaRecurso(i), contexto, ruta);
            total += unidadesEspacio(archivos.tamanoEntrada(proyecto, relativa, ruta));
        } catch (const ErrorArchivo& error) {
            // Gone, unreadable or out of reach since the analysis: it frees nothing.
            fallos.push_back(error);
        }
    }
    ventana.mostrarEspacio(textoEspacio(total));
    if (!fallos.empty()) {
        plataforma.mostrarMensaje(&ventana,
                                  u"No se pudo medir el tamaño de "_s + QString::number(fallos.size())
                                      + u" archivos de la lista; el espacio ahorrado no los cuenta:"_s
                                      + resumenFallos(fallos),
                                  Estilo::Exclamacion, u"Aviso..."_s);
    }
}
