#include "commands/Conexiones.h"

#include "commands/Comandos.h"
#include "window/Principal.h"

void conectarComandos(Principal& ventana, Plataforma& plataforma, const ServicioArchivos& archivos)
{
    // Direct connections, with the window as their context: a command runs
    // inside the click, as its guards against a second analysis and a closed
    // window expect, and nothing runs once the window is gone.
    QObject::connect(&ventana, &Principal::abrirPulsado, &ventana,
                     [&] { abrirProyecto(ventana, plataforma, archivos); });
    QObject::connect(&ventana, &Principal::borrarPulsado, &ventana,
                     [&] { borrarRecursos(ventana, plataforma, archivos); });
    QObject::connect(&ventana, &Principal::ejecutarPulsado, &ventana,
                     [&] { abrirArchivoSeleccionado(ventana, plataforma, archivos); });
    QObject::connect(&ventana, &Principal::espacioPulsado, &ventana,
                     [&] { verEspacioAhorrado(ventana, plataforma, archivos); });
    QObject::connect(&ventana, &Principal::quitarPulsado, &ventana, [&] { quitarDeLaLista(ventana); });
    QObject::connect(&ventana, &Principal::recursoDobleClicado, &ventana,
                     [&] { abrirArchivoSeleccionado(ventana, plataforma, archivos); });
}
