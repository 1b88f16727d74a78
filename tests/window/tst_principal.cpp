// The window as it opens: its controls, states, places, looks and keyboard
// order, read back from the live widgets and from its pixels; what assistive
// tools read from it; and how the desktop's open dialog answers a cancel.
#include "apoyo/Apoyo.h"
#include "platform/PlataformaQt.h"
#include "window/Arranque.h"
#include "window/Controles.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QAbstractButton>
#include <QAccessible>
#include <QDir>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <optional>

#ifdef Q_OS_UNIX
#include "platform/Terminacion.h"

#include <csignal>
#endif

using namespace Qt::StringLiterals;

namespace {
// The explanation under step 2, word for word, accents and misspelling as the
// window shows them.
const QString kExplicacionEsperada =
    u"Estos son los recursos que ni la Base de Datos ni ninguno de los mapas de su juego utiliza. Sin enbargo"
    u" este programa no puede leer los Scripts de su juego, por estar estos codificados. Debe pues, excluir"
    u" de la lista los recursos utilizados por los scripts personalizados que usted utiliza en su juego."
    u" Excluya también aquellos recursos que no desea que sean eliminados de forma permanente."_s;
const QString kWebEsperada = u"https://mondrix.example.org"_s;
}  // namespace

class PruebaPrincipal : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PrepararFuentes(); }
    void estadoAlArrancar();
    void accionesDeshabilitadasNoResponden();
    void habilitarAccionesSoloTocaLaLista();
    void clicEnElEstado();
    void terminarCierraLaVentana();
    void disposicion();
    void pixeles();
    void accesible();
    void textosDeQtEnEspanol();
    void dialogoAbrirCancelado_data();
    void dialogoAbrirCancelado();
};

void PruebaPrincipal::estadoAlArrancar()
{
    Ventana v;
    Principal& w = *v.ventana;
    QCOMPARE(w.windowTitle(), u"Mondrix v1.0"_s);
    QCOMPARE(w.Texto3->text(), kExplicacionEsperada);
    QCOMPARE(w.Texto3->text().size(), 390);
    QVERIFY(w.Texto3->isVisible());
    QCOMPARE(w.Analizando->text(), kWebEsperada);
    QVERIFY(w.Analizando->isReadOnly());
    QVERIFY(w.TextoA->text().isEmpty());
    QCOMPARE(w.Recursos->count(), 0);
    QVERIFY(!v.AccionesHabilitadas());
    QVERIFY(w.Abrir->isEnabled() && w.Analizando->isEnabled());
    QVERIFY(!w.Abierto->isVisible() && !w.Temporal->isVisible());

    const std::pair<QLabel*, QString> textos[] = {
        { w.Espacio,                                                                           u"Ver espacio ahorrado"_s},
        {  w.Quitar,                                                                             u"Quitar de la lista"_s},
        {w.Ejecutar,                                                                                  u"Abrir Archivo"_s},
        {  w.Borrar,                                                                                u"Borrar Recursos"_s},
        {   w.Abrir,                                                                                          u"Abrir"_s},
        {  w.Texto4, u"Se recomienda realizar una copia de seguridad de su proyecto antes de proceder con el borrado."_s},
        {  w.Label1,                                  u"Paso 3: Confirme la eliminación de los recursos de la lista:"_s},
        {  w.Texto2,                                             u"Paso 2: Revisa la lista de recursos no utilizados:"_s},
        {  w.Texto1,                                                    u"Paso 1: Elige tu proyecto del Rpg Maker Xp:"_s},
    };
    for (const auto& [etiqueta, texto] : textos) {
        QCOMPARE(etiqueta->text(), texto);
        QCOMPARE(QAccessible::queryAccessibleInterface(etiqueta)->text(QAccessible::Name), texto);
    }
    // Every control can be found by its name, by code and by assistive tools
    // (which read it as the control's description).
    for (const char* nombre : {"Temporal", "Dialogos", "Abierto", "Analizando", "Recursos", "Shape5", "Espacio",
                               "Shape4",   "Quitar",   "Shape3",  "Ejecutar",   "Shape2",   "Borrar", "Shape1",
                               "Abrir",    "Texto4",   "TextoA",  "Label1",     "Texto3",   "Texto2", "Texto1"}) {
        auto* control = w.findChild<QObject*>(QString::fromLatin1(nombre));
        QVERIFY2(control, nombre);
        if (auto* widget = qobject_cast<QWidget*>(control))
            QCOMPARE(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Description),
                     QString::fromLatin1(nombre));
    }
}

void PruebaPrincipal::accionesDeshabilitadasNoResponden()
{
    Ventana v;
    Principal& w = *v.ventana;
    w.Recursos->addItems({u"Audio/SE/a.wav"_s, u"Audio/SE/b.wav"_s});
    w.Recursos->setCurrentRow(1);
    for (QWidget* accion : {static_cast<QWidget*>(w.Ejecutar), static_cast<QWidget*>(w.Borrar),
                            static_cast<QWidget*>(w.Quitar), static_cast<QWidget*>(w.Espacio)})
        ClicEn(w, accion);
    DobleClicEnFila(w.Recursos, 0);
    QCOMPARE(w.Recursos->count(), 2);
    QCOMPARE(v.Seleccion(), 1);
    QVERIFY(w.TextoA->text().isEmpty());
    QVERIFY(v.plataforma.cajas.empty());
    QVERIFY(v.plataforma.programas.empty());
}

void PruebaPrincipal::habilitarAccionesSoloTocaLaLista()
{
    Ventana v;
    Principal& w = *v.ventana;
    w.Recursos->addItems({u"Audio/SE/a.wav"_s, u"Audio/SE/b.wav"_s});
    w.Recursos->setCurrentRow(1);
    const auto estados = [&] {
        QList<bool> e;
        for (QWidget* hijo : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            e << hijo->isEnabled();
        return e;
    };
    const QList<bool> antes = estados();
    for (bool valor : {true, true, false, false, true}) {
        w.HabilitarAcciones(valor);
        QCOMPARE(v.AccionesHabilitadas(), valor);
        QVERIFY(w.Abrir->isEnabled() && w.Analizando->isEnabled());
        QCOMPARE(w.Recursos->count(), 2);
        QCOMPARE(v.Seleccion(), 1);
    }
    w.HabilitarAcciones(false);
    QCOMPARE(estados(), antes);
}

void PruebaPrincipal::clicEnElEstado()
{
    Ventana v;
    ClicEn(*v.ventana, v.ventana->Analizando);
    QCOMPARE(v.plataforma.cajas.size(), size_t(1));
    QCOMPARE(v.plataforma.cajas[0].texto, u"Mas novedades y proximas versiones en https://mondrix.example.org"_s);
    QCOMPARE(v.plataforma.cajas[0].estilo, 64);
    QCOMPARE(v.plataforma.cajas[0].titulo, u"¡Visitanos!"_s);
    QCOMPARE(v.ventana->Analizando->text(), kWebEsperada);
}

namespace {
struct ContadorCierres : QObject {
    int cierres = 0;
    bool eventFilter(QObject*, QEvent* evento) override
    {
        cierres += evento->type() == QEvent::Close;
        return false;
    }
};
}  // namespace

void PruebaPrincipal::terminarCierraLaVentana()
{
#ifdef Q_OS_UNIX
    Ventana v;
    ContadorCierres contador;
    v.ventana->installEventFilter(&contador);
    struct sigaction antes {
    }, despues{};
    QCOMPARE(::sigaction(SIGTERM, nullptr, &antes), 0);
    {
        CierrePorSenal cierre(*v.ventana);
        std::raise(SIGTERM);
        // The window closes along its own close path, once the event loop runs.
        QVERIFY(v.ventana->isVisible());
        QTRY_VERIFY(!v.ventana->isVisible());
        QCOMPARE(contador.cierres, 1);
    }
    // Gone, it leaves SIGTERM handled as before.
    QCOMPARE(::sigaction(SIGTERM, nullptr, &despues), 0);
    QVERIFY(despues.sa_handler == antes.sa_handler);
    QCOMPARE(despues.sa_flags, antes.sa_flags);
#else
    QSKIP("SIGTERM is POSIX");
#endif
}

void PruebaPrincipal::disposicion()
{
    Ventana v;
    Principal& w = *v.ventana;
    QCOMPARE(w.size(), QSize(585, 594));
    QCOMPARE(w.minimumSize(), QSize(585, 594));
    QCOMPARE(w.maximumSize(), QSize(585, 594));
    const Qt::WindowFlags flags = w.windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QCOMPARE(w.palette().color(QPalette::Window), QColor(0xC0, 0xFF, 0xFF));

    // A few places, straight from the drawing (twips / 15).
    QCOMPARE(w.Recursos->geometry(), QRect(8, 208, 569, 249));
    QCOMPARE(w.Abrir->geometry(), QRect(8, 40, 569, 33));
    QCOMPARE(w.Espacio->geometry(), QRect(248, 464, 121, 17));
    QCOMPARE(w.Analizando->geometry(), QRect(8, 80, 569, 19));
    QCOMPARE(w.Texto3->geometry(), QRect(32, 144, 521, 65));
    QCOMPARE(w.TextoA->geometry(), QRect(376, 464, 201, 17));

    // Every control as drawn: place and size in twips, font size (0: the
    // window's own font), background, navy text, horizontal alignment, tab
    // index (-1: none).
    enum Fondo { Normal, Verde, Transparente };
    struct Fila {
        const char* nombre;
        int izquierda, arriba, ancho, alto;
        double puntos;
        Fondo fondo;
        bool navy;
        Qt::Alignment alineacion;
        int tabulacion;
    };
    const Qt::Alignment izq = Qt::AlignLeft, centro = Qt::AlignHCenter, der = Qt::AlignRight;
    const Fila filas[] = {
        {  "Temporal", 5400, 4680, 3015,  975,     0,       Normal, false,     {},  3},
        {   "Abierto", 5400, 4320, 3015,  285,     0,       Normal, false,     {},  2},
        {"Analizando",  120, 1200, 8535,  285,     0,        Verde,  true, centro,  1},
        {  "Recursos",  120, 3120, 8535, 3735,     0,        Verde,  true,     {},  0},
        {    "Shape5", 3720, 6960, 1815,  255,     0, Transparente, false,     {}, -1},
        {   "Espacio", 3720, 6960, 1815,  255,  8.25,        Verde,  true, centro, 14},
        {    "Shape4", 1920, 6960, 1815,  255,     0, Transparente, false,     {}, -1},
        {    "Quitar", 1920, 6960, 1815,  255,  8.25,        Verde,  true, centro, 13},
        {    "Shape3",  120, 6960, 1815,  255,     0, Transparente, false,     {}, -1},
        {  "Ejecutar",  120, 6960, 1815,  255,  8.25,        Verde,  true, centro, 12},
        {    "Shape2",  120, 8280, 8535,  495,     0, Transparente, false,     {}, -1},
        {    "Borrar",  120, 8280, 8535,  495, 15.75,        Verde,  true, centro, 11},
        {    "Shape1",  120,  600, 8535,  495,     0, Transparente, false,     {}, -1},
        {     "Abrir",  120,  600, 8535,  495, 15.75,        Verde,  true, centro, 10},
        {    "Texto4",  480, 7920, 7695,  255,     0, Transparente,  true, centro,  9},
        {    "TextoA", 5640, 6960, 3015,  255,     0, Transparente,  true,    der,  8},
        {    "Label1",  120, 7440, 8175,  495, 14.25, Transparente,  true,    izq,  7},
        {    "Texto3",  480, 2160, 7815,  975,     0, Transparente,  true, centro,  6},
        {    "Texto2",  120, 1680, 7095,  495, 14.25, Transparente,  true,    izq,  5},
        {    "Texto1",  120,  120, 7095,  495, 14.25, Transparente,  true,    izq,  4},
    };
    const QColor navy(0, 0, 0x80), verde(0xC0, 0xFF, 0xC0);
    for (const Fila& fila : filas) {
        const auto nombrarFila = qScopeGuard([&] {
            if (QTest::currentTestFailed())
                qWarning("in the row of %s", fila.nombre);
        });
        auto* control = w.findChild<QWidget*>(QString::fromLatin1(fila.nombre), Qt::FindDirectChildrenOnly);
        QVERIFY2(control, fila.nombre);
        QCOMPARE(control->geometry(), QRect(fila.izquierda / 15, fila.arriba / 15, fila.ancho / 15, fila.alto / 15));
        if (fila.puntos > 0) {
            QCOMPARE(control->font().family(), u"Comic Sans MS"_s);
            QCOMPARE(control->font().pointSizeF(), fila.puntos);
            QCOMPARE(control->font().weight(), QFont::Normal);
            QVERIFY(!control->font().italic() && !control->font().underline() && !control->font().strikeOut());
        } else {
            QCOMPARE(control->font().family(), w.font().family());
        }
        if (fila.navy)
            QCOMPARE(control->palette().color(QPalette::Active, QPalette::WindowText), navy);
        else
            QVERIFY(control->palette().color(QPalette::Active, QPalette::WindowText) != navy);
        if (fila.fondo == Verde && qobject_cast<QLabel*>(control)) {
            QCOMPARE(control->palette().color(QPalette::Window), verde);
            QVERIFY(control->autoFillBackground());
        }
        if (fila.fondo == Verde && !qobject_cast<QLabel*>(control))
            QCOMPARE(control->palette().color(QPalette::Base), verde);
        if (fila.fondo == Transparente)
            QVERIFY(!control->autoFillBackground());
        if (auto* etiqueta = qobject_cast<QLabel*>(control))
            QCOMPARE(etiqueta->alignment() & Qt::AlignHorizontal_Mask, fila.alineacion);
        if (auto* caja = qobject_cast<QLineEdit*>(control); caja && fila.alineacion)
            QCOMPARE(caja->alignment() & Qt::AlignHorizontal_Mask, fila.alineacion);
    }
    // The widest line the analysis can write shows whole in the status box,
    // in a font still readable.
    const QString masAncha = u"99999 de 99999 archivos de datos verificados - 99999 de 99999 recursos utilizados"
                             u" - 100% del analisis completado"_s;
    QVERIFY2(QFontMetrics(w.Analizando->font()).horizontalAdvance(masAncha) <= w.Analizando->contentsRect().width(),
             qPrintable(QString::number(w.Analizando->font().pointSizeF())));
    QVERIFY(w.Analizando->font().pointSizeF() >= 6);
    qInfo("status box: %s %g pt", qPrintable(w.Analizando->font().family()), w.Analizando->font().pointSizeF());
    // Keyboard focus runs in tab-index order over the controls that take it.
    QList<std::pair<int, QWidget*>> porIndice;
    for (const Fila& fila : filas) {
        auto* control = w.findChild<QWidget*>(QString::fromLatin1(fila.nombre), Qt::FindDirectChildrenOnly);
        if (control->focusPolicy() & Qt::TabFocus)
            porIndice.append({fila.tabulacion, control});
    }
    std::sort(porIndice.begin(), porIndice.end());
    QList<QWidget*> esperada, cadena;
    for (const auto& [indice, control] : porIndice)
        esperada << control;
    // The chain is a ring: read it once round from the first.
    QWidget* c = esperada.constFirst();
    do {
        if (c->focusPolicy() & Qt::TabFocus)
            cadena << c;
        c = c->nextInFocusChain();
    } while (c != esperada.constFirst());
    QCOMPARE(cadena, esperada);
    QCOMPARE(esperada, (QList<QWidget*>{w.Recursos, w.Analizando, w.Abierto}));
    // Tab and Shift+Tab go round the shown ones, the list first.
    w.HabilitarAcciones(true);
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.Recursos->setFocus(Qt::OtherFocusReason);
    for (QWidget* siguiente : {static_cast<QWidget*>(w.Analizando), static_cast<QWidget*>(w.Recursos)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), siguiente);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.Analizando));
    w.HabilitarAcciones(false);

    QCOMPARE(w.Recursos->palette().color(QPalette::Base), verde);
    QCOMPARE(w.Analizando->palette().color(QPalette::Base), verde);
    QCOMPARE(w.Analizando->palette().color(QPalette::Active, QPalette::Text), navy);
    QCOMPARE(w.Abrir->font().pointSizeF(), 15.75);
    QCOMPARE(w.Quitar->font().pointSizeF(), 8.25);
    QCOMPARE(w.Texto1->font().pointSizeF(), 14.25);
    QCOMPARE(w.Abrir->alignment(), Qt::AlignCenter);
    QCOMPARE(w.TextoA->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(w.Texto3->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(w.Texto1->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QVERIFY(w.Texto3->wordWrap() && w.Texto4->wordWrap());

    // The outlines lie on top of the label-buttons they frame.
    QCOMPARE(w.childAt(w.Abrir->geometry().center()), static_cast<QWidget*>(w.Abrir));  // outline lets clicks through
    const QList<QWidget*> orden = w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QVERIFY(orden.indexOf(w.Shape1) > orden.indexOf(w.Abrir));
    QVERIFY(orden.indexOf(w.Shape5) > orden.indexOf(w.Espacio));
}

void PruebaPrincipal::pixeles()
{
    Ventana v;
    Principal& w = *v.ventana;
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const auto color = [&](QPoint p) { return w.grab().toImage().pixelColor(p * w.devicePixelRatioF()); };
    const QColor cian(0xC0, 0xFF, 0xFF), verde(0xC0, 0xFF, 0xC0);
    QCOMPARE(color(QPoint(580, 2)), cian);  // free corner
    for (bool habilitada : {false, true}) {
        w.HabilitarAcciones(habilitada);
        const QRect r = w.Quitar->geometry();
        QCOMPARE(color(r.topLeft() + QPoint(3, 3)), verde);            // inside the label-button
        const QColor borde = color(QPoint(r.left(), r.center().y()));  // on its outline
        QVERIFY2(borde.lightness() < 60, qPrintable(borde.name()));
        QCOMPARE(color(QPoint(r.center().x(), r.bottom())).lightness() < 60, true);
    }
    const QRect b = w.Borrar->geometry();
    QCOMPARE(color(b.topLeft() + QPoint(4, 4)), verde);
    QCOMPARE(color(w.Recursos->geometry().center()), verde);

    // The widest status line shows whole: the ink of all its letters is on
    // screen, where a line too wide is scrolled and loses some.
    const QString masAncha = u"99999 de 99999 archivos de datos verificados - 99999 de 99999 recursos utilizados"
                             u" - 100% del analisis completado"_s;
    w.Analizando->setText(masAncha);
    const QImage caja = w.Analizando->grab().toImage();
    int primera = caja.width(), ultima = -1;
    for (int x = 0; x < caja.width(); ++x)
        for (int y = 0; y < caja.height(); ++y)
            if (caja.pixelColor(x, y).lightness() < 160) {
                primera = std::min(primera, x);
                ultima = std::max(ultima, x);
            }
    const double tinta = (ultima - primera + 1) / w.Analizando->devicePixelRatioF();
    const int texto = QFontMetrics(w.Analizando->font()).horizontalAdvance(masAncha);
    QVERIFY2(tinta >= texto - 4, qPrintable(u"%1 of %2 px"_s.arg(tinta).arg(texto)));
}

void PruebaPrincipal::accesible()
{
    // Assistive tools find each label-button as a button and can press it.
    Ventana v;
    QAccessibleInterface* abrir = QAccessible::queryAccessibleInterface(v.ventana->Abrir);
    QVERIFY(abrir);
    QCOMPARE(abrir->role(), QAccessible::Button);
    QCOMPARE(abrir->text(QAccessible::Name), u"Abrir"_s);
    QVERIFY(abrir->actionInterface());
    abrir->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(v.plataforma.dialogos.size(), size_t(1));

    // A disabled one does nothing.
    QAccessibleInterface* borrar = QAccessible::queryAccessibleInterface(v.ventana->Borrar);
    QCOMPARE(borrar->text(QAccessible::Name), u"Borrar Recursos"_s);
    borrar->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(v.plataforma.cajas.empty());

    // What changes at run time is read as it stands now.
    Ventana u;
    Principal& w = *u.ventana;
    const auto nombre = [](QWidget* control) {
        return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
    };
    QCOMPARE(nombre(w.Texto3), kExplicacionEsperada);
    QCOMPARE(nombre(w.Analizando), u"https://mondrix.example.org"_s);
    QCOMPARE(QAccessible::queryAccessibleInterface(w.Analizando)->text(QAccessible::Value),
             u"https://mondrix.example.org"_s);
    QCOMPARE(nombre(w.TextoA), QString());

    ProyectoPrueba p;
    p.Recurso(u"Graphics/Pictures"_s, u"Cielo.png"_s, QByteArray(2040, 'x'));
    p.Recurso(u"Audio/SE"_s, u"Puerta.wav"_s, QByteArray(10, 'x'));
    p.Dato(u"Map001.rxdata"_s, "\x04\x08 Puerta");
    u.Analizar(p.Ruta());
    QVERIFY(u.AccionesHabilitadas());
    const QString linea =
        u"1 de 1 archivos de datos verificados - 0 de 2 recursos utilizados - 100% del analisis completado"_s;
    QCOMPARE(w.Analizando->text(), linea);
    QCOMPARE(nombre(w.Analizando), linea);
    QCOMPARE(QAccessible::queryAccessibleInterface(w.Analizando)->text(QAccessible::Value), linea);

    // The list's items, one by one.
    QAccessibleInterface* lista = QAccessible::queryAccessibleInterface(w.Recursos);
    QCOMPARE(lista->role(), QAccessible::List);
    QCOMPARE(lista->text(QAccessible::Name), u"Recursos"_s);
    QCOMPARE(lista->childCount(), 1);
    QCOMPARE(QDir::fromNativeSeparators(lista->child(0)->text(QAccessible::Name)), u"Graphics/Pictures/Cielo.png"_s);

    ClicEn(w, w.Espacio);
    QCOMPARE(w.TextoA->text(), u"Espacio ahorrado: 2 Kb"_s);
    QCOMPARE(nombre(w.TextoA), u"Espacio ahorrado: 2 Kb"_s);
    QCOMPARE(QAccessible::queryAccessibleInterface(w.TextoA)->text(QAccessible::Description), u"TextoA"_s);
}

void PruebaPrincipal::textosDeQtEnEspanol()
{
    InstalarTraducciones();
    QMessageBox caja;
    caja.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(caja.button(QMessageBox::Yes)->text().remove(u'&'), u"Sí"_s);
    QCOMPARE(caja.button(QMessageBox::No)->text().remove(u'&'), u"No"_s);
}

void PruebaPrincipal::dialogoAbrirCancelado_data()
{
    QTest::addColumn<bool>("cancelError");
    QTest::addColumn<std::optional<QString>>("respuesta");
    QTest::newRow("reported") << true << std::optional<QString>();
    QTest::newRow("empty path") << false << std::optional<QString>(u""_s);
}

void PruebaPrincipal::dialogoAbrirCancelado()
{
    // The real desktop's open dialog, closed with Cancel as a user would.
    QFETCH(bool, cancelError);
    QFETCH(std::optional<QString>, respuesta);
    Ventana v;
    v.ventana->Dialogos->CancelError = cancelError;
    bool cancelado = false;
    QTimer reloj;
    QObject::connect(&reloj, &QTimer::timeout, [&] {
        auto* caja = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* botones = caja ? caja->findChild<QDialogButtonBox*>() : nullptr;
        if (!botones || cancelado)
            return;
        cancelado = true;
        QTest::mouseClick(botones->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    });
    reloj.start(20);
    PlataformaQt escritorio;
    const std::optional<QString> elegido = escritorio.ShowOpen(v.ventana.get(), *v.ventana->Dialogos);
    QVERIFY(cancelado);
    QCOMPARE(elegido, respuesta);
}

QTEST_MAIN(PruebaPrincipal)
#include "tst_principal.moc"
