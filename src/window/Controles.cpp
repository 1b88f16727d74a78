#include "window/Controles.h"

#include "platform/Archivos.h"

#include <QMouseEvent>
#include <QPainter>

BotonEtiqueta::BotonEtiqueta(const QString& texto, QWidget* padre)
    : QLabel(texto, padre)
{
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
}

void BotonEtiqueta::mousePressEvent(QMouseEvent* evento)
{
    pulsado_ = evento->button() == Qt::LeftButton;
    evento->accept();
}

void BotonEtiqueta::mouseReleaseEvent(QMouseEvent* evento)
{
    const bool clic = pulsado_ && evento->button() == Qt::LeftButton
        && rect().contains(evento->position().toPoint());
    pulsado_ = false;
    evento->accept();
    if (clic && isEnabled())
        emit clicked();
}

void BotonEtiqueta::mouseDoubleClickEvent(QMouseEvent* evento)
{
    // The second click of a double click does not act again.
    pulsado_ = false;
    evento->accept();
}

Contorno::Contorno(QWidget* padre)
    : QWidget(padre)
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

CajaEstado::CajaEstado(QWidget* padre)
    : QLineEdit(padre)
{
    setReadOnly(true);
}

void CajaEstado::mouseReleaseEvent(QMouseEvent* evento)
{
    QLineEdit::mouseReleaseEvent(evento);
    if (evento->button() == Qt::LeftButton && rect().contains(evento->position().toPoint()))
        emit clicked();
}

CargadorDatos::CargadorDatos(QWidget* padre)
    : QWidget(padre)
{
    hide();
}

void CargadorDatos::LoadFile(const Archivo& archivo, const std::function<void(std::string_view)>& trozo)
{
    if (bufer_.empty())
        bufer_.resize(std::size_t(1) << 20);
    LeerPorTrozos(archivo, bufer_, trozo);
}
