// Choosing a project and listing its resources.
#include "window/Principal.h"

#include "analysis/Catalogo.h"
#include "platform/Archivos.h"
#include "platform/Plataforma.h"
#include "window/Controles.h"
#include "window/ListaRecursos.h"

#include <QLineEdit>
#include <QListWidget>

using namespace Qt::StringLiterals;

namespace {
// Marks an analysis as running for as long as the command lasts.
class Guardia {
public:
    explicit Guardia(bool& marca) : marca_(marca) { marca_ = true; }
    ~Guardia() { marca_ = false; }
    Guardia(const Guardia&) = delete;
    Guardia& operator=(const Guardia&) = delete;

private:
    bool& marca_;
};

const QString kDetenido =
    u"\r\nEl análisis se ha detenido: la lista no se podrá usar hasta completar un nuevo análisis."_s;
}  // namespace

void Principal::Abrir_Click()
{
    // The events let through during an analysis include clicks on Abrir:
    // a second analysis inside the first would rebuild the list under it.
    if (analizando_)
        return;

    Dialogos->CancelError = true;
    repaint();
    activateWindow();
    const auto elegido = plataforma_.ShowOpen(this, *Dialogos);
    if (!elegido)
        return;

    if (!elegido->endsWith(u".rxproj"_s, Qt::CaseSensitive)) {
        plataforma_.MsgBox(this, u"No ha elegido un proyecto del Rpg Maker Xp válido..."_s, Estilo::Critico,
                           u"Error..."_s);
        HabilitarAcciones(false);
        return;
    }

    Guardia guardia(analizando_);
    HabilitarAcciones(false);
    Abierto->setText(*elegido);
    Abierto->repaint();
    activateWindow();
    Recursos->clear();
    Abrir->repaint();
    plataforma_.DoEvents();
    if (cerrada_)
        return;

    try {
        for (const QString& carpeta : CarpetasRecursos())
            ListarCarpeta(carpeta);
        plataforma_.DoEvents();
        if (cerrada_ || !VerificarUso())
            return;
        plataforma_.DoEvents();
        if (cerrada_)
            return;
        HabilitarAcciones(true);
    } catch (const ErrorArchivo& error) {
        plataforma_.MsgBox(this, error.Texto() + kDetenido, Estilo::Critico, u"Error..."_s);
    } catch (const std::exception& error) {
        plataforma_.MsgBox(this, u"Error inesperado: "_s + QString::fromLocal8Bit(error.what()) + kDetenido,
                           Estilo::Critico, u"Error..."_s);
    }
}

void Principal::ListarCarpeta(const QString& carpeta)
{
    const QString ruta = CarpetaProyecto() + carpeta;
    // Few projects have all seventeen folders: a missing one holds nothing.
    if (!SistemaArchivos->Existe(ruta))
        return;
    AnadirRecursos(*Recursos, carpeta, SistemaArchivos->GetFolder(ruta).Files());
}
