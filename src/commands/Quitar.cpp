// Taking an entry off the list: the file stays where it is.
#include "commands/Comandos.h"

#include "window/Principal.h"

void quitarDeLaLista(Principal& ventana)
{
    const int seleccionado = ventana.filaSeleccionada();
    if (seleccionado < 0)
        return;
    ventana.quitarRecurso(seleccionado);
    // The entry before the removed one is selected, not the one moving up.
    ventana.seleccionarFila(seleccionado - 1);
}
