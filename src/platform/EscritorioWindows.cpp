// Windows: the shell runs a file by the extension of its name, whatever it
// holds, and Explorer shows a file in its folder when started with /select.
#include "platform/Escritorio.h"
#include "platform/PlataformaQt.h"

#include <QDesktopServices>
#include <QUrl>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

QUrl urlDeArchivo(const std::filesystem::path& ruta)
{
    const std::filesystem::path absoluta = ruta.is_absolute() ? ruta : std::filesystem::absolute(ruta);
    return QUrl::fromLocalFile(QString::fromStdWString(absoluta.native()));
}

bool seEjecutariaAlAbrir(const std::filesystem::path& archivo)
{
    return windowsLaEjecutaria(QString::fromStdWString(archivo.filename().wstring()),
                               qEnvironmentVariableIsSet("PATHEXT") ? qEnvironmentVariable("PATHEXT")
                                                                    : kPathextDeSiempre);
}

void PlataformaQt::mostrarEnSuCarpeta(const std::filesystem::path& archivo)
{
    // Explorer from the system's own folder, started as a program: neither a
    // shell nor a search of the current folder comes between.
    wchar_t carpeta[MAX_PATH + 1];
    const UINT largo = GetSystemWindowsDirectoryW(carpeta, MAX_PATH + 1);
    if (largo > 0 && largo <= MAX_PATH) {
        const std::wstring explorador = std::wstring(carpeta, largo) + L"\\explorer.exe";
        if (const std::optional<QString> linea =
                lineaDelExplorador(QString::fromStdWString(explorador), QString::fromStdWString(archivo.wstring()))) {
            std::wstring orden = linea->toStdWString();
            STARTUPINFOW inicio{};
            inicio.cb = sizeof inicio;
            PROCESS_INFORMATION proceso{};
            if (CreateProcessW(explorador.c_str(), orden.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &inicio,
                               &proceso)) {
                CloseHandle(proceso.hThread);
                CloseHandle(proceso.hProcess);
                return;
            }
        }
    }
    // Without Explorer, the folder alone: a folder opens as a folder.
    QDesktopServices::openUrl(urlDeArchivo(archivo.parent_path()));
}
