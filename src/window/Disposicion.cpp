#include "window/Disposicion.h"

namespace {
constexpr Qt::Alignment kIzq = Qt::AlignLeft | Qt::AlignTop;
constexpr Qt::Alignment kCentro = Qt::AlignHCenter | Qt::AlignTop;
constexpr Qt::Alignment kDer = Qt::AlignRight | Qt::AlignTop;
constexpr Qt::Alignment kBoton = Qt::AlignCenter;

const Colocacion kFilas[] = {
  //  name          left   top  width height  pt     background           navy   alignment  tab
    {   "Abierto", 5400, 4320, 3015,  285,     0,       Fondo::Normal, false,            kIzq,  2},
    {"Analizando",  120, 1200, 8535,  285,     0,        Fondo::Verde,  true, Qt::AlignCenter,  1},
    {  "Recursos",  120, 3120, 8535, 3735,     0,        Fondo::Verde,  true,            kIzq,  0},
    {    "Shape5", 3720, 6960, 1815,  255,     0, Fondo::Transparente, false,            kIzq, -1},
    {   "Espacio", 3720, 6960, 1815,  255,  8.25,        Fondo::Verde,  true,          kBoton, 14},
    {    "Shape4", 1920, 6960, 1815,  255,     0, Fondo::Transparente, false,            kIzq, -1},
    {    "Quitar", 1920, 6960, 1815,  255,  8.25,        Fondo::Verde,  true,          kBoton, 13},
    {    "Shape3",  120, 6960, 1815,  255,     0, Fondo::Transparente, false,            kIzq, -1},
    {  "Ejecutar",  120, 6960, 1815,  255,  8.25,        Fondo::Verde,  true,          kBoton, 12},
    {    "Shape2",  120, 8280, 8535,  495,     0, Fondo::Transparente, false,            kIzq, -1},
    {    "Borrar",  120, 8280, 8535,  495, 15.75,        Fondo::Verde,  true,          kBoton, 11},
    {    "Shape1",  120,  600, 8535,  495,     0, Fondo::Transparente, false,            kIzq, -1},
    {     "Abrir",  120,  600, 8535,  495, 15.75,        Fondo::Verde,  true,          kBoton, 10},
    {    "Texto4",  480, 7920, 7695,  255,     0, Fondo::Transparente,  true,         kCentro,  9},
    {    "TextoA", 5640, 6960, 3015,  255,     0, Fondo::Transparente,  true,            kDer,  8},
    {    "Label1",  120, 7440, 8175,  495, 14.25, Fondo::Transparente,  true,            kIzq,  7},
    {    "Texto3",  480, 2160, 7815,  975,     0, Fondo::Transparente,  true,         kCentro,  6},
    {    "Texto2",  120, 1680, 7095,  495, 14.25, Fondo::Transparente,  true,            kIzq,  5},
    {    "Texto1",  120,  120, 7095,  495, 14.25, Fondo::Transparente,  true,            kIzq,  4},
};
}  // namespace

std::span<const Colocacion> disposicion()
{
    return kFilas;
}
