// Where the program is put together: each thing the window says the user did
// is tied here to the command that carries it out. The program and the tests
// call this one function, so that both click through the same wiring.
#pragma once

class Plataforma;
class Principal;
class ServicioArchivos;

// The desktop and the file service are held by reference: both must outlive
// the window.
void conectarComandos(Principal& ventana, Plataforma& plataforma, const ServicioArchivos& archivos);
