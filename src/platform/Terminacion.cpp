#include "platform/Terminacion.h"

#include <QSocketNotifier>
#include <QWidget>
#include <QtGlobal>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A signal handler may do next to nothing: it writes one byte into this pipe,
// and the event loop, watching the other end, does the work.
int tuberia[2] = {-1, -1};

void AlRecibirTerminar(int)
{
    const int guardado = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t escritos = ::write(tuberia[1], &byte, 1);
    errno = guardado;
}

bool AbrirTuberia()
{
    if (::pipe(tuberia) != 0)
        return false;
    for (int extremo : tuberia) {
        // Non-blocking, so that a flood of signals never stalls the handler;
        // closed on exec, so that the programs the desktop opens never hold it.
        ::fcntl(extremo, F_SETFL, ::fcntl(extremo, F_GETFL) | O_NONBLOCK);
        ::fcntl(extremo, F_SETFD, FD_CLOEXEC);
    }
    return true;
}

void CerrarTuberia()
{
    for (int& extremo : tuberia) {
        if (extremo >= 0)
            ::close(extremo);
        extremo = -1;
    }
}

}  // namespace

CierrePorSenal::CierrePorSenal(QWidget& ventana) : ventana_(ventana)
{
    Q_ASSERT(tuberia[0] < 0);
    if (!AbrirTuberia()) {
        qWarning("Mondrix: sin tubería para SIGTERM; la señal terminará el programa sin cerrar la ventana");
        return;
    }
    aviso_ = new QSocketNotifier(tuberia[0], QSocketNotifier::Read, this);
    connect(aviso_, &QSocketNotifier::activated, this, &CierrePorSenal::Recibida);

    struct sigaction accion {};
    accion.sa_handler = AlRecibirTerminar;
    sigemptyset(&accion.sa_mask);
    // Reads and writes the program has under way carry on rather than fail.
    accion.sa_flags = SA_RESTART;
    instalado_ = ::sigaction(SIGTERM, &accion, &anterior_) == 0;
}

CierrePorSenal::~CierrePorSenal()
{
    if (instalado_)
        ::sigaction(SIGTERM, &anterior_, nullptr);
    delete aviso_;
    CerrarTuberia();
}

void CierrePorSenal::Recibida()
{
    char bytes[16];
    while (::read(tuberia[0], bytes, sizeof bytes) > 0) {}
    ventana_.close();
}
