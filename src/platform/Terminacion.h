// Ending the program when the system asks it to: the window is closed along
// its own close path, as its close button would close it, so that a running
// analysis gives up, the event loop ends and the program exits with status 0
// instead of being killed where it stands. Each system has its own way of
// asking; TerminacionPosix.cpp and TerminacionWindows.cpp answer it.
#pragma once

#include <QObject>

#include <memory>

class QWidget;

// Closes `ventana` when the system asks the program to end, for as long as
// what it returns lives; it gives the system's request its previous handling
// back when destroyed. One at a time: the request reaches the one that exists.
// Nothing where the system needs nothing set up for that.
std::unique_ptr<QObject> cerrarAlPedirloElSistema(QWidget& ventana);
