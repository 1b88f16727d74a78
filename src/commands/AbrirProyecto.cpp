// Choosing a project and analysing it; what stops an analysis is told here.
#include "commands/Comandos.h"

#include "platform/Archivos.h"
#include "platform/Plataforma.h"
#include "window/Principal.h"

using namespace Qt::StringLiterals;

namespace {
// Marks an analysis as running for as long as the command lasts.
class AnalisisEnCurso {
public:
    explicit AnalisisEnCurso(Principal& ventana) : m_ventana(ventana) { m_ventana.ponerAnalisisEnCurso(true); }
    ~AnalisisEnCurso() { m_ventana.ponerAnalisisEnCurso(false); }
    AnalisisEnCurso(const AnalisisEnCurso&) = delete;
    AnalisisEnCurso& operator=(const AnalisisEnCurso&) = delete;

private:
    Principal& m_ventana;
};

const QString kDetenido =
    u"\r\nEl análisis se ha detenido: la lista no se podrá usar hasta completar un nuevo análisis."_s;
}  // namespace

void abrirProyecto(Principal& ventana, Plataforma& plataforma, const ServicioArchivos& archivos)
{
    // The events let through during an analysis include clicks on Abrir:
    // a second analysis inside the first would rebuild the list under it.
    if (ventana.analisisEnCurso())
        return;

    ventana.dialogoAbrir().avisarCancelacion = true;
    ventana.repaint();
    ventana.activateWindow();
    const auto elegido = plataforma.elegirArchivo(&ventana, ventana.dialogoAbrir());
    if (!elegido)
        return;

    if (!elegido->endsWith(u".rxproj"_s, Qt::CaseSensitive)) {
        plataforma.mostrarMensaje(&ventana, u"No ha elegido un proyecto del Rpg Maker Xp válido..."_s, Estilo::Critico,
                                  u"Error..."_s);
        ventana.habilitarAcciones(false);
        return;
    }

    AnalisisEnCurso enCurso(ventana);
    ventana.habilitarAcciones(false);
    ventana.mostrarProyecto(*elegido);
    ventana.activateWindow();
    ventana.vaciarLista();
    plataforma.atenderEventos();
    if (ventana.cerrada())
        return;

    try {
        if (!analizarUso(ventana, plataforma, archivos))
            return;
        plataforma.atenderEventos();
        if (ventana.cerrada())
            return;
        ventana.habilitarAcciones(true);
    } catch (const ErrorArchivo& error) {
        plataforma.mostrarMensaje(&ventana, error.texto() + kDetenido, Estilo::Critico, u"Error..."_s);
    } catch (const std::exception& error) {
        plataforma.mostrarMensaje(&ventana, u"Error inesperado: "_s + QString::fromLocal8Bit(error.what()) + kDetenido,
                                  Estilo::Critico, u"Error..."_s);
    }
}
