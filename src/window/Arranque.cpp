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

void InstalarTraducciones()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    auto* traduccion = new QTranslator(QCoreApplication::instance());
    if (traduccion->load(u"qt_es"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(traduccion);
    else
        delete traduccion;
}

void PrepararFuentes()
{
    QFont::insertSubstitutions(kFuenteBotones, {u"Comic Neue"_s, u"Comic Sans"_s});
}

void CentrarEnPantalla(QWidget& ventana)
{
    const QScreen* pantalla = ventana.screen() ? ventana.screen() : QGuiApplication::primaryScreen();
    if (!pantalla)
        return;
    QRect marco = ventana.frameGeometry();
    marco.moveCenter(pantalla->availableGeometry().center());
    ventana.move(marco.topLeft());
}
