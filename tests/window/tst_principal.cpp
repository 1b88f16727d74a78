// The window as it opens: its controls, states, places, looks and keyboard
// order, read back from the live widgets and from its pixels; what assistive
// tools read from it; what it says a click was, with no command behind it;
// and how the desktop's open dialog answers a cancel.
#include "apoyo/Apoyo.h"
#include "platform/PlataformaQt.h"
#include "platform/Terminacion.h"
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
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <optional>

#ifdef Q_OS_UNIX
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
    void initTestCase() { prepararFuentes(); }
    void estadoAlArrancar();
    void accionesDeshabilitadasNoResponden();
    void habilitarAccionesSoloTocaLaLista();
    void clicEnElEstado();
    void senalesSinComandos_data();
    void senalesSinComandos();
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
    const ControlesPorNombre& c = v.controles;
    QCOMPARE(w.windowTitle(), u"Mondrix v1.0"_s);
    QCOMPARE(c.Texto3->text(), kExplicacionEsperada);
    QCOMPARE(c.Texto3->text().size(), 390);
    QVERIFY(c.Texto3->isVisible());
    QCOMPARE(c.Analizando->text(), kWebEsperada);
    QVERIFY(c.Analizando->isReadOnly());
    QVERIFY(c.TextoA->text().isEmpty());
    QCOMPARE(c.Recursos->count(), 0);
    QVERIFY(!v.AccionesHabilitadas());
    QVERIFY(c.Abrir->isEnabled() && c.Analizando->isEnabled());
    QVERIFY(!c.Abierto->isVisible());

    const std::pair<QLabel*, QString> textos[] = {
        { c.Espacio,                                                                           u"Ver espacio ahorrado"_s},
        {  c.Quitar,                                                                             u"Quitar de la lista"_s},
        {c.Ejecutar,                                                                                  u"Abrir Archivo"_s},
        {  c.Borrar,                                                                                u"Borrar Recursos"_s},
        {   c.Abrir,                                                                                          u"Abrir"_s},
        {  c.Texto4, u"Se recomienda realizar una copia de seguridad de su proyecto antes de proceder con el borrado."_s},
        {  c.Label1,                                  u"Paso 3: Confirme la eliminación de los recursos de la lista:"_s},
        {  c.Texto2,                                             u"Paso 2: Revisa la lista de recursos no utilizados:"_s},
        {  c.Texto1,                                                    u"Paso 1: Elige tu proyecto del Rpg Maker Xp:"_s},
    };
    for (const auto& [etiqueta, texto] : textos) {
        QCOMPARE(etiqueta->text(), texto);
        QCOMPARE(QAccessible::queryAccessibleInterface(etiqueta)->text(QAccessible::Name), texto);
    }
    // Every control can be found by its name, by code and by assistive tools
    // (which read it as the control's description).
    for (const char* nombre : {"Dialogos", "Abierto", "Analizando", "Recursos", "Shape5", "Espacio", "Shape4",
                               "Quitar",   "Shape3",  "Ejecutar",   "Shape2",   "Borrar", "Shape1",  "Abrir",
                               "Texto4",   "TextoA",  "Label1",     "Texto3",   "Texto2", "Texto1"}) {
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
    const ControlesPorNombre& c = v.controles;
    c.Recursos->addItems({u"Audio/SE/a.wav"_s, u"Audio/SE/b.wav"_s});
    c.Recursos->setCurrentRow(1);
    for (QWidget* accion : {static_cast<QWidget*>(c.Ejecutar), static_cast<QWidget*>(c.Borrar),
                            static_cast<QWidget*>(c.Quitar), static_cast<QWidget*>(c.Espacio)})
        ClicEn(w, accion);
    DobleClicEnFila(c.Recursos, 0);
    QCOMPARE(c.Recursos->count(), 2);
    QCOMPARE(v.seleccion(), 1);
    QVERIFY(c.TextoA->text().isEmpty());
    QVERIFY(v.plataforma.cajas.empty());
    QVERIFY(v.plataforma.programas.empty());
}

void PruebaPrincipal::habilitarAccionesSoloTocaLaLista()
{
    Ventana v;
    Principal& w = *v.ventana;
    const ControlesPorNombre& c = v.controles;
    c.Recursos->addItems({u"Audio/SE/a.wav"_s, u"Audio/SE/b.wav"_s});
    c.Recursos->setCurrentRow(1);
    const auto estados = [&] {
        QList<bool> e;
        for (QWidget* hijo : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            e << hijo->isEnabled();
        return e;
    };
    const QList<bool> antes = estados();
    for (bool valor : {true, true, false, false, true}) {
        w.habilitarAcciones(valor);
        QCOMPARE(v.AccionesHabilitadas(), valor);
        QVERIFY(c.Abrir->isEnabled() && c.Analizando->isEnabled());
        QCOMPARE(c.Recursos->count(), 2);
        QCOMPARE(v.seleccion(), 1);
    }
    w.habilitarAcciones(false);
    QCOMPARE(estados(), antes);
}

void PruebaPrincipal::clicEnElEstado()
{
    Ventana v;
    ClicEn(*v.ventana, v.controles.Analizando);
    QCOMPARE(v.plataforma.cajas.size(), size_t(1));
    QCOMPARE(v.plataforma.cajas[0].texto, u"Mas novedades y proximas versiones en https://mondrix.example.org"_s);
    QCOMPARE(v.plataforma.cajas[0].estilo, 64);
    QCOMPARE(v.plataforma.cajas[0].titulo, u"¡Visitanos!"_s);
    QCOMPARE(v.controles.Analizando->text(), kWebEsperada);
}

void PruebaPrincipal::senalesSinComandos_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("habilitadas");
    QTest::addColumn<QString>("senal");  // empty: none
    QTest::newRow("Abrir") << u"Abrir"_s << false << u"abrirPulsado()"_s;
    QTest::newRow("Borrar") << u"Borrar"_s << true << u"borrarPulsado()"_s;
    QTest::newRow("Quitar") << u"Quitar"_s << true << u"quitarPulsado()"_s;
    QTest::newRow("Espacio") << u"Espacio"_s << true << u"espacioPulsado()"_s;
    QTest::newRow("Ejecutar") << u"Ejecutar"_s << true << u"ejecutarPulsado()"_s;
    QTest::newRow("double click") << u"Recursos"_s << true << u"recursoDobleClicado()"_s;
    QTest::newRow("Borrar disabled") << u"Borrar"_s << false << QString();
    QTest::newRow("double click disabled") << u"Recursos"_s << false << QString();
    // The window answers this one itself, with a box.
    QTest::newRow("status box") << u"Analizando"_s << false << QString();
}

void PruebaPrincipal::senalesSinComandos()
{
    // The window with no command tied to it: a click says what it was, once,
    // and does nothing else.
    QFETCH(QString, control);
    QFETCH(bool, habilitadas);
    QFETCH(QString, senal);
    PlataformaFalsa plataforma;
    Principal w(plataforma);
    w.show();
    const ControlesPorNombre c(w);
    c.Recursos->addItems({u"Audio/SE/a.wav"_s, u"Audio/SE/b.wav"_s});
    w.habilitarAcciones(habilitadas);
    std::vector<std::unique_ptr<QSignalSpy>> espias;
    const QMetaObject& meta = Principal::staticMetaObject;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
        if (meta.method(i).methodType() == QMetaMethod::Signal)
            espias.push_back(std::make_unique<QSignalSpy>(&w, meta.method(i)));
    if (control == u"Recursos"_s)
        DobleClicEnFila(c.Recursos, 1);
    else
        ClicEn(w, w.findChild<QWidget*>(control, Qt::FindDirectChildrenOnly));
    QStringList emitidas;
    for (const auto& espia : espias)
        for (qsizetype i = 0; i < espia->count(); ++i)
            emitidas << QString::fromLatin1(espia->signal());
    QCOMPARE(emitidas.join(u' '), senal);
    QCOMPARE(Textos(c.Recursos), (QStringList{u"Audio/SE/a.wav"_s, u"Audio/SE/b.wav"_s}));
    QCOMPARE(plataforma.cajas.size(), size_t(control == u"Analizando"_s));
    QVERIFY(plataforma.dialogos.empty() && plataforma.programas.empty());
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
        const auto cierre = cerrarAlPedirloElSistema(*v.ventana);
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
    const ControlesPorNombre& c = v.controles;
    QCOMPARE(w.size(), QSize(585, 594));
    QCOMPARE(w.minimumSize(), QSize(585, 594));
    QCOMPARE(w.maximumSize(), QSize(585, 594));
    const Qt::WindowFlags flags = w.windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QCOMPARE(w.palette().color(QPalette::Window), QColor(0xC0, 0xFF, 0xFF));

    // A few places, straight from the drawing (twips / 15).
    QCOMPARE(c.Recursos->geometry(), QRect(8, 208, 569, 249));
    QCOMPARE(c.Abrir->geometry(), QRect(8, 40, 569, 33));
    QCOMPARE(c.Espacio->geometry(), QRect(248, 464, 121, 17));
    QCOMPARE(c.Analizando->geometry(), QRect(8, 80, 569, 19));
    QCOMPARE(c.Texto3->geometry(), QRect(32, 144, 521, 65));
    QCOMPARE(c.TextoA->geometry(), QRect(376, 464, 201, 17));

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
    QVERIFY2(QFontMetrics(c.Analizando->font()).horizontalAdvance(masAncha) <= c.Analizando->contentsRect().width(),
             qPrintable(QString::number(c.Analizando->font().pointSizeF())));
    QVERIFY(c.Analizando->font().pointSizeF() >= 6);
    qInfo("status box: %s %g pt", qPrintable(c.Analizando->font().family()), c.Analizando->font().pointSizeF());
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
    QWidget* paso = esperada.constFirst();
    do {
        if (paso->focusPolicy() & Qt::TabFocus)
            cadena << paso;
        paso = paso->nextInFocusChain();
    } while (paso != esperada.constFirst());
    QCOMPARE(cadena, esperada);
    QCOMPARE(esperada, (QList<QWidget*>{c.Recursos, c.Analizando, c.Abierto}));
    // Tab and Shift+Tab go round the shown ones, the list first.
    w.habilitarAcciones(true);
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    c.Recursos->setFocus(Qt::OtherFocusReason);
    for (QWidget* siguiente : {static_cast<QWidget*>(c.Analizando), static_cast<QWidget*>(c.Recursos)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), siguiente);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(c.Analizando));
    w.habilitarAcciones(false);

    QCOMPARE(c.Recursos->palette().color(QPalette::Base), verde);
    QCOMPARE(c.Analizando->palette().color(QPalette::Base), verde);
    QCOMPARE(c.Analizando->palette().color(QPalette::Active, QPalette::Text), navy);
    QCOMPARE(c.Abrir->font().pointSizeF(), 15.75);
    QCOMPARE(c.Quitar->font().pointSizeF(), 8.25);
    QCOMPARE(c.Texto1->font().pointSizeF(), 14.25);
    QCOMPARE(c.Abrir->alignment(), Qt::AlignCenter);
    QCOMPARE(c.TextoA->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(c.Texto3->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(c.Texto1->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QVERIFY(c.Texto3->wordWrap() && c.Texto4->wordWrap());

    // The outlines lie on top of the label-buttons they frame.
    QCOMPARE(w.childAt(c.Abrir->geometry().center()), static_cast<QWidget*>(c.Abrir));  // outline lets clicks through
    const QList<QWidget*> orden = w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QVERIFY(orden.indexOf(c.Shape1) > orden.indexOf(c.Abrir));
    QVERIFY(orden.indexOf(c.Shape5) > orden.indexOf(c.Espacio));
}

void PruebaPrincipal::pixeles()
{
    Ventana v;
    Principal& w = *v.ventana;
    const ControlesPorNombre& c = v.controles;
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const auto color = [&](QPoint p) { return w.grab().toImage().pixelColor(p * w.devicePixelRatioF()); };
    const QColor cian(0xC0, 0xFF, 0xFF), verde(0xC0, 0xFF, 0xC0);
    QCOMPARE(color(QPoint(580, 2)), cian);  // free corner
    for (bool habilitada : {false, true}) {
        w.habilitarAcciones(habilitada);
        const QRect r = c.Quitar->geometry();
        QCOMPARE(color(r.topLeft() + QPoint(3, 3)), verde);            // inside the label-button
        const QColor borde = color(QPoint(r.left(), r.center().y()));  // on its outline
        QVERIFY2(borde.lightness() < 60, qPrintable(borde.name()));
        QCOMPARE(color(QPoint(r.center().x(), r.bottom())).lightness() < 60, true);
    }
    const QRect b = c.Borrar->geometry();
    QCOMPARE(color(b.topLeft() + QPoint(4, 4)), verde);
    QCOMPARE(color(c.Recursos->geometry().center()), verde);

    // The widest status line shows whole: the ink of all its letters is on
    // screen, where a line too wide is scrolled and loses some.
    const QString masAncha = u"99999 de 99999 archivos de datos verificados - 99999 de 99999 recursos utilizados"
                             u" - 100% del analisis completado"_s;
    c.Analizando->setText(masAncha);
    const QImage caja = c.Analizando->grab().toImage();
    int primera = caja.width(), ultima = -1;
    for (int x = 0; x < caja.width(); ++x)
        for (int y = 0; y < caja.height(); ++y)
            if (caja.pixelColor(x, y).lightness() < 160) {
                primera = std::min(primera, x);
                ultima = std::max(ultima, x);
            }
    const double tinta = (ultima - primera + 1) / c.Analizando->devicePixelRatioF();
    const int texto = QFontMetrics(c.Analizando->font()).horizontalAdvance(masAncha);
    QVERIFY2(tinta >= texto - 4, qPrintable(u"%1 of %2 px"_s.arg(tinta).arg(texto)));
}

void PruebaPrincipal::accesible()
{
    // Assistive tools find each label-button as a button and can press it.
    Ventana v;
    QAccessibleInterface* abrir = QAccessible::queryAccessibleInterface(v.controles.Abrir);
    QVERIFY(abrir);
    QCOMPARE(abrir->role(), QAccessible::Button);
    QCOMPARE(abrir->text(QAccessible::Name), u"Abrir"_s);
    QVERIFY(abrir->actionInterface());
    abrir->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(v.plataforma.dialogos.size(), size_t(1));

    // A disabled one does nothing.
    QAccessibleInterface* borrar = QAccessible::queryAccessibleInterface(v.controles.Borrar);
    QCOMPARE(borrar->text(QAccessible::Name), u"Borrar Recursos"_s);
    borrar->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(v.plataforma.cajas.empty());

    // What changes at run time is read as it stands now.
    Ventana u;
    Principal& w = *u.ventana;
    const ControlesPorNombre& c = u.controles;
    const auto nombre = [](QWidget* control) {
        return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
    };
    QCOMPARE(nombre(c.Texto3), kExplicacionEsperada);
    QCOMPARE(nombre(c.Analizando), u"https://mondrix.example.org"_s);
    QCOMPARE(QAccessible::queryAccessibleInterface(c.Analizando)->text(QAccessible::Value),
             u"https://mondrix.example.org"_s);
    QCOMPARE(nombre(c.TextoA), QString());

    ProyectoPrueba p;
    p.Recurso(u"Graphics/Pictures"_s, u"Cielo.png"_s, QByteArray(2040, 'x'));
    p.Recurso(u"Audio/SE"_s, u"Puerta.wav"_s, QByteArray(10, 'x'));
    p.Dato(u"Map001.rxdata"_s, "\x04\x08 Puerta");
    u.Analizar(p.Ruta());
    QVERIFY(u.AccionesHabilitadas());
    const QString linea =
        u"1 de 1 archivos de datos verificados - 0 de 2 recursos utilizados - 100% del analisis completado"_s;
    QCOMPARE(c.Analizando->text(), linea);
    QCOMPARE(nombre(c.Analizando), linea);
    QCOMPARE(QAccessible::queryAccessibleInterface(c.Analizando)->text(QAccessible::Value), linea);

    // The list's items, one by one.
    QAccessibleInterface* lista = QAccessible::queryAccessibleInterface(c.Recursos);
    QCOMPARE(lista->role(), QAccessible::List);
    QCOMPARE(lista->text(QAccessible::Name), u"Recursos"_s);
    QCOMPARE(lista->childCount(), 1);
    QCOMPARE(QDir::fromNativeSeparators(lista->child(0)->text(QAccessible::Name)), u"Graphics/Pictures/Cielo.png"_s);

    ClicEn(w, c.Espacio);
    QCOMPARE(c.TextoA->text(), u"Espacio ahorrado: 2 Kb"_s);
    QCOMPARE(nombre(c.TextoA), u"Espacio ahorrado: 2 Kb"_s);
    QCOMPARE(QAccessible::queryAccessibleInterface(c.TextoA)->text(QAccessible::Description), u"TextoA"_s);
}

void PruebaPrincipal::textosDeQtEnEspanol()
{
    instalarTraducciones();
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
    v.controles.Dialogos->avisarCancelacion = cancelError;
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
    const std::optional<QString> elegido = escritorio.elegirArchivo(v.ventana.get(), *v.controles.Dialogos);
    QVERIFY(cancelado);
    QCOMPARE(elegido, respuesta);
}

QTEST_MAIN(PruebaPrincipal)
#include "tst_principal.moc"
