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
    std::uint64_t total = 0;
    // Gone, unreadable or out of reach since the analysis: it frees nothing.
    const std::vector<ErrorArchivo> fallos = porCadaRecurso(
        ventana, u"No se pudo medir el archivo"_s,
        [&](const std::filesystem::path& proyecto, const std::filesystem::path& relativa, const QString& ruta) {
            total += unidadesEspacio(archivos.tamanoEntrada(proyecto, relativa, ruta));
        });
    ventana.mostrarEspacio(textoEspacio(total));
    if (!fallos.empty()) {
        plataforma.mostrarMensaje(&ventana,
                                  u"No se pudo medir el tamaño de "_s + QString::number(fallos.size())
                                      + u" archivos de la lista; el espacio ahorrado no los cuenta:"_s
                                      + resumenFallos(fallos),
                                  Estilo::Exclamacion, u"Aviso..."_s);
    }
}
