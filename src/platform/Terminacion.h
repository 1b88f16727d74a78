// Ending the program when the system asks it to (SIGTERM, which a desktop
// session sends at logout and a service manager at stop): the window is
// closed along its own close path, as its close button would close it, so
// that a running analysis gives up, the event loop ends and the program exits
// with status 0 instead of being killed where it stands. POSIX only.
#pragma once

#include <QObject>

#include <signal.h>

class QSocketNotifier;
class QWidget;

class CierrePorSenal : public QObject {
public:
    // One at a time: the signal reaches the one that exists.
    explicit CierrePorSenal(QWidget& ventana);
    // Gives SIGTERM back its previous handling.
    ~CierrePorSenal() override;

private:
    void recibida();

    QWidget& m_ventana;
    QSocketNotifier* m_aviso = nullptr;
    struct sigaction m_anterior {};
    bool m_instalado = false;
};
