// The space that deleting the listed files would free: each entry measured
// as deletion would remove it (a link as a link), and only what deletion
// would remove.
#include "commands/Comandos.h"

#include "commands/Comunes.h"
#include "platform/Archivos.h"
#include "platform/Plataforma.h"
#include "window/Principal.h"

#include <map>

using namespace Qt::StringLiterals;

void verEspacioAhorrado(Principal& ventana, Plataforma& plataforma, const ServicioArchivos& archivos)
{
    std::uint64_t total = 0;
    // A file of several names (hard links) is freed only when every one of
    // them goes: it counts once, and only when all of them are listed.
    struct Compartido {
        MedidaEntrada medida;
        std::uint64_t listados = 0;
    };
    std::map<std::pair<std::uint64_t, std::uint64_t>, Compartido> compartidos;
    // Gone, unreadable or out of reach since the analysis: it frees nothing.
    const std::vector<ErrorArchivo> fallos = porCadaRecurso(
        ventana, u"No se pudo medir el archivo"_s,
        [&](int, const std::filesystem::path& proyecto, const std::filesystem::path& relativa, const QString& ruta) {
            const MedidaEntrada medida = archivos.medirEntrada(proyecto, relativa, ruta);
            if (medida.nombres <= 1) {
                total += unidadesEspacio(medida.bytes);
                return;
            }
            Compartido& compartido = compartidos[{medida.volumen, medida.indice}];
            compartido.medida = medida;
            ++compartido.listados;
        });
    for (const auto& [identidad, compartido] : compartidos)
        if (compartido.listados >= compartido.medida.nombres)
            total += unidadesEspacio(compartido.medida.bytes);
    ventana.mostrarEspacio(textoEspacio(total));
    if (!fallos.empty()) {
        plataforma.mostrarMensaje(&ventana,
                                  u"No se pudo medir el tamaño de "_s + QString::number(fallos.size())
                                      + u" archivos de la lista; el espacio ahorrado no los cuenta:"_s
                                      + resumenFallos(fallos),
                                  Estilo::Exclamacion, u"Aviso..."_s);
    }
}
