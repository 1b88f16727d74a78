#include "window/Controles.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <cmath>

namespace {
// Screen readers and other assistive tools see a label-button as a button
// they can press, not as static text.
class AccesibleBotonEtiqueta : public QAccessibleWidget {
public:
    explicit AccesibleBotonEtiqueta(BotonEtiqueta* boton) : QAccessibleWidget(boton, QAccessible::Button) {}

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& accion) override
    {
        if (accion == pressAction())
            static_cast<BotonEtiqueta*>(widget())->pulsar();
    }
    QString text(QAccessible::Text t) const override
    {
        // Read by its caption, as a label would be.
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<BotonEtiqueta*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* fabricaAccesible(const QString& clase, QObject* objeto)
{
    if (clase == QLatin1String("BotonEtiqueta") && objeto && objeto->isWidgetType())
        return new AccesibleBotonEtiqueta(static_cast<BotonEtiqueta*>(objeto));
    return nullptr;
}
}  // namespace

BotonEtiqueta::BotonEtiqueta(const QString& texto, QWidget* padre) : QLabel(texto, padre)
{
    static const bool instalada = [] {
        QAccessible::installFactory(fabricaAccesible);
        return true;
    }();
    (void)instalada;
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
}

void BotonEtiqueta::pulsar()
{
    if (isEnabled())
        emit clicked();
}

void BotonEtiqueta::mousePressEvent(QMouseEvent* evento)
{
    m_pulsado = evento->button() == Qt::LeftButton;
    evento->accept();
}

void BotonEtiqueta::mouseReleaseEvent(QMouseEvent* evento)
{
    const bool clic = m_pulsado && evento->button() == Qt::LeftButton && rect().contains(evento->position().toPoint());
    m_pulsado = false;
    evento->accept();
    if (clic)
        pulsar();
}

void BotonEtiqueta::mouseDoubleClickEvent(QMouseEvent* evento)
{
    // The second click of a double click does not act again.
    m_pulsado = false;
    evento->accept();
}

Contorno::Contorno(QWidget* padre) : QWidget(padre)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void Contorno::paintEvent(QPaintEvent*)
{
    QPainter pintor(this);
    // Active colours even while the framed label-button is disabled, so that
    // the outline always shows.
    pintor.setPen(QPen(palette().color(QPalette::Active, QPalette::WindowText), 1));
    pintor.setBrush(Qt::NoBrush);
    pintor.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

CajaEstado::CajaEstado(QWidget* padre) : QLineEdit(padre)
{
    setReadOnly(true);
    // The box has no caption of its own: what it shows is what it is, and
    // a screen reader names it by its current line.
    connect(this, &QLineEdit::textChanged, this, &QWidget::setAccessibleName);
}

void CajaEstado::ajustarA(const QString& linea)
{
    // The room QLineEdit leaves its text: the box less its frame and text
    // margins, less the 2 pixels it keeps clear on each side, less the
    // cursor and the pixel it adds after the text. A line any wider is
    // scrolled, and so shows cut.
    QStyleOptionFrame opcion;
    initStyleOption(&opcion);
    const QRect contenido =
        style()->subElementRect(QStyle::SE_LineEditContents, &opcion, this).marginsRemoved(textMargins());
    const int cursor = style()->pixelMetric(QStyle::PM_TextCursorWidth, &opcion, this);
    const int ancho = contenido.width() - 2 * 2 - 1 - cursor;

    QFont fuente = font();
    for (double puntos = fuente.pointSizeF(); puntos >= 6; puntos -= 0.25) {
        fuente.setPointSizeF(puntos);
        if (std::ceil(QFontMetricsF(fuente).horizontalAdvance(linea)) <= ancho)
            break;
    }
    setFont(fuente);
}

void CajaEstado::mouseReleaseEvent(QMouseEvent* evento)
{
    QLineEdit::mouseReleaseEvent(evento);
    if (evento->button() == Qt::LeftButton && rect().contains(evento->position().toPoint()))
        emit clicked();
}
