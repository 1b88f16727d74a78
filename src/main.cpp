#include "commands/Conexiones.h"
#include "platform/Archivos.h"
#include "platform/PlataformaQt.h"
#include "platform/Terminacion.h"
#include "window/Arranque.h"
#include "window/Principal.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication aplicacion(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mondrix"));
    QApplication::setApplicationVersion(QStringLiteral(MONDRIX_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Mondrix"));
    QApplication::setDesktopFileName(QStringLiteral("org.example.Mondrix"));

    instalarTraducciones();
    prepararFuentes();
    QIcon icono;
    for (int lado : {16, 32, 48, 64, 128, 256})
        icono.addFile(QStringLiteral(":/iconos/mondrix-%1.png").arg(lado));
    QApplication::setWindowIcon(icono);

    PlataformaQt plataforma;
    const ServicioArchivos archivos;
    Principal ventana(plataforma);
    conectarComandos(ventana, plataforma, archivos);
    centrarEnPantalla(ventana);
    ventana.show();
    const auto cierre = cerrarAlPedirloElSistema(ventana);
    return QApplication::exec();
}
