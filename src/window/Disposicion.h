// Where each control stands and how it looks. Places are kept in twips, as
// the window was drawn (15 twips to a pixel at 96 dpi), and converted once.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>

#include <span>

namespace Colores {
inline const QColor Fondo{0xC0, 0xFF, 0xFF};  // light cyan
inline const QColor Boton{0xC0, 0xFF, 0xC0};  // light green
inline const QColor Texto{0x00, 0x00, 0x80};  // navy
}  // namespace Colores

inline constexpr int kTwipsPorPixel = 15;
inline constexpr int kAnchoTwips = 8775;
inline constexpr int kAltoTwips = 8910;
inline const QString kFuenteBotones = QStringLiteral("Comic Sans MS");

enum class Fondo { Normal, Verde, Transparente };

struct Colocacion {
    const char* nombre;
    int izquierda, arriba, ancho, alto;  // twips
    double puntos;                       // 0: the window's default font
    Fondo fondo;
    bool navy;  // navy text
    Qt::Alignment alineacion;
    int tabulacion;  // keyboard order; -1: none (outlines)

    QRect rectangulo() const
    {
        return QRect(izquierda / kTwipsPorPixel, arriba / kTwipsPorPixel, ancho / kTwipsPorPixel,
                     alto / kTwipsPorPixel);
    }
};

// Every control with a place, in the window's order: earlier rows lie on top.
std::span<const Colocacion> disposicion();
