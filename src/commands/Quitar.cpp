// Taking an entry off the list: the file stays where it is.
#include "window/Principal.h"

#include <QListWidget>

void Principal::Quitar_Click()
{
    const int seleccionado = IndiceSeleccionado();
    if (seleccionado < 0)
        return;
    // The entry before the removed one is selected, not the one moving up.
    const int nuevo = seleccionado - 1;
    delete Recursos->takeItem(seleccionado);
    Seleccionar(nuevo);
}
