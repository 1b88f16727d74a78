// POSIX asks with SIGTERM, which a desktop session sends at logout and a
// service manager at stop.
#include "platform/Terminacion.h"

#include <QSocketNotifier>
#include <QWidget>
#include <QtGlobal>

#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace {

class CierrePorSenal : public QObject {
public:
    explicit CierrePorSenal(QWidget& ventana);
    ~CierrePorSenal() override;

private:
    void recibida();

    QWidget& m_ventana;
    QSocketNotifier* m_aviso = nullptr;
    struct sigaction m_anterior {};
    bool m_instalado = false;
};

// A signal handler may do next to nothing: it writes one byte into this pipe,
// and the event loop, watching the other end, does the work.
int tuberia[2] = {-1, -1};

void alRecibirTerminar(int)
{
    const int guardado = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t escritos = ::write(tuberia[1], &byte, 1);
    errno = guardado;
}

bool abrirTuberia()
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

void cerrarTuberia()
{
    for (int& extremo : tuberia) {
        if (extremo >= 0)
            ::close(extremo);
        extremo = -1;
    }
}

CierrePorSenal::CierrePorSenal(QWidget& ventana) : m_ventana(ventana)
{
    Q_ASSERT(tuberia[0] < 0);
    if (!abrirTuberia()) {
        qWarning("Mondrix: sin tubería para SIGTERM; la señal terminará el programa sin cerrar la ventana");
        return;
    }
    m_aviso = new QSocketNotifier(tuberia[0], QSocketNotifier::Read, this);
    connect(m_aviso, &QSocketNotifier::activated, this, &CierrePorSenal::recibida);

    struct sigaction accion {};
    accion.sa_handler = alRecibirTerminar;
    sigemptyset(&accion.sa_mask);
    // Reads and writes the program has under way carry on rather than fail.
    accion.sa_flags = SA_RESTART;
    m_instalado = ::sigaction(SIGTERM, &accion, &m_anterior) == 0;
}

CierrePorSenal::~CierrePorSenal()
{
    if (m_instalado)
        ::sigaction(SIGTERM, &m_anterior, nullptr);
    delete m_aviso;
    cerrarTuberia();
}

void CierrePorSenal::recibida()
{
    char bytes[16];
    while (::read(tuberia[0], bytes, sizeof bytes) > 0) {}
    m_ventana.close();
}

}  // namespace

std::unique_ptr<QObject> cerrarAlPedirloElSistema(QWidget& ventana)
{
    return std::make_unique<CierrePorSenal>(ventana);
}
