// What the user does in the window, one command to a unit. Each acts on the
// window through its operations, asks the desktop through the platform, and
// reaches files through the file service.
#pragma once

class Plataforma;
class Principal;
class ServicioArchivos;

// Asks for a project file, lists its resources and takes off those the data
// files use; the actions are enabled only when all of that finished.
void abrirProyecto(Principal& ventana, Plataforma& plataforma, const ServicioArchivos& archivos);
// The analysis of the project shown: lists its resources into the window
// and takes off those its data files use. False when the window was closed
// meanwhile. Throws ErrorArchivo.
bool analizarUso(Principal& ventana, Plataforma& plataforma, const ServicioArchivos& archivos);
// Takes the selected entry off the list; the file stays.
void quitarDeLaLista(Principal& ventana);
// Shows the space that deleting the listed files would free.
void verEspacioAhorrado(Principal& ventana, Plataforma& plataforma, const ServicioArchivos& archivos);
// Deletes every listed file, after the user's yes.
void borrarRecursos(Principal& ventana, Plataforma& plataforma, const ServicioArchivos& archivos);
// Opens the selected file with the application the desktop associates with it.
void abrirArchivoSeleccionado(Principal& ventana, Plataforma& plataforma, const ServicioArchivos& archivos);
