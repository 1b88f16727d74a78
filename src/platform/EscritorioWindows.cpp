// Windows: the shell runs a file by the extension of its name, whatever it
// holds.
#include "platform/Escritorio.h"

bool seEjecutariaAlAbrir(const std::filesystem::path& archivo)
{
    return windowsLaEjecutaria(QString::fromStdWString(archivo.filename().wstring()),
                               qEnvironmentVariableIsSet("PATHEXT") ? qEnvironmentVariable("PATHEXT")
                                                                    : kPathextDeSiempre);
}
