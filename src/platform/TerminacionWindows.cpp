// Windows asks a program to end through messages to its windows, which Qt
// turns into the window's own close: nothing to set up.
#include "platform/Terminacion.h"

std::unique_ptr<QObject> cerrarAlPedirloElSistema(QWidget&)
{
    return nullptr;
}
