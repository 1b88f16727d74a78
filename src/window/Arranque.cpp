#include "window/Arranque.h"

#include "window/Disposicion.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>
#include <QWidget>

using namespace Qt::StringLiterals;

void instalarTraducciones()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    auto* traduccion = new QTranslator(QCoreApplication::instance());
    // Qt's own texts only: qt_es would also ask for the translations of Qt
    // modules the program does not use, and fail where they are not shipped.
    if (traduccion->load(u"qtbase_es"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(traduccion);
    else
        delete traduccion;
}

void prepararFuentes()
{
    QFont::insertSubstitutions(kFuenteBotones, {u"Comic Neue"_s, u"Comic Sans"_s});
}

void centrarEnPantalla(QWidget& ventana)
{
    const QScreen* pantalla = ventana.screen() ? ventana.screen() : QGuiApplication::primaryScreen();
    if (!pantalla)
        return;
    QRect marco = ventana.frameGeometry();
    marco.moveCenter(pantalla->availableGeometry().center());
    ventana.move(marco.topLeft());
}
