#include "platform/PlataformaQt.h"
#include "window/Principal.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication aplicacion(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mondrix"));
    QApplication::setOrganizationName(QStringLiteral("Mondrix"));
    QApplication::setDesktopFileName(QStringLiteral("org.example.Mondrix"));

    // The program speaks Spanish, and so do Qt's own buttons and dialogs.
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    QTranslator traduccionQt;
    if (traduccionQt.load(QStringLiteral("qt_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traduccionQt);

    PrepararFuentes();
    QIcon icono;
    for (int lado : {16, 32, 48, 64, 128, 256})
        icono.addFile(QStringLiteral(":/iconos/mondrix-%1.png").arg(lado));
    QApplication::setWindowIcon(icono);

    PlataformaQt plataforma;
    Principal ventana(plataforma);
    CentrarEnPantalla(ventana);
    ventana.show();
    return QApplication::exec();
}
