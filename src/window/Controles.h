// The few kinds of control the window is made of, beyond Qt's own.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

// A label that acts like a button: one left click (press and release on it)
// makes it act; a disabled one is greyed and deaf.
class BotonEtiqueta : public QLabel {
    Q_OBJECT
public:
    explicit BotonEtiqueta(const QString& texto, QWidget* padre = nullptr);
    // Acts as a click would; what assistive tools call to press it.
    void pulsar();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* evento) override;
    void mouseReleaseEvent(QMouseEvent* evento) override;
    void mouseDoubleClickEvent(QMouseEvent* evento) override;

private:
    bool m_pulsado = false;
};

// A rectangle outline drawn over a label-button; it takes no input.
class Contorno : public QWidget {
    Q_OBJECT
public:
    explicit Contorno(QWidget* padre = nullptr);

protected:
    void paintEvent(QPaintEvent* evento) override;
};

// The status box: read-only text that answers a click. Assistive tools read
// its current text as its name as well as its value.
class CajaEstado : public QLineEdit {
    Q_OBJECT
public:
    explicit CajaEstado(QWidget* padre = nullptr);
    // Shrinks the font, not below 6 points, until `linea` shows whole in the
    // box; any shorter line then does too.
    void ajustarA(const QString& linea);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* evento) override;
};
