// Freedesktop systems: the opener picks what to do by the file's content
// type, and a type that is a program, a library, a script or a desktop entry
// may be run (by a file manager, a terminal, Wine or Java) rather than shown.
// The executable bit says nothing here: files copied from Windows drives
// often all carry it.
#include "platform/Escritorio.h"
#include "platform/PlataformaQt.h"

#include <QDesktopServices>
#include <QFile>
#include <QMimeDatabase>
#include <QMimeType>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
// Each with the types that inherit from it: shell, Perl, Python, Ruby and
// JavaScript sources and AppImages all inherit application/x-executable.
const QStringList kTiposQueSeEjecutan = {
    u"application/x-executable"_s,
    u"application/x-pie-executable"_s,
    u"application/x-sharedlib"_s,
    u"application/x-shellscript"_s,
    u"application/x-desktop"_s,
    // What Wine and Java start when they are installed.
    u"application/x-ms-dos-executable"_s,
    u"application/x-msdownload"_s,
    u"application/vnd.microsoft.portable-executable"_s,
    u"application/x-msi"_s,
    u"application/x-ms-shortcut"_s,
    u"application/x-bat"_s,
    u"application/x-mswinurl"_s,
    u"text/vbscript"_s,
    u"application/x-java-archive"_s,
    u"application/x-java-jnlp-file"_s,
};

// Scripts known by their types' names; and the types Wine's menu builder makes up
// for the Windows extensions it opens, which it runs as Windows would.
bool seEjecutaPorSuNombre(const QString& tipo)
{
    return tipo.startsWith(u"text/x-script."_s) || (tipo.startsWith(u"application/x-"_s) && tipo.endsWith(u"script"_s))
        || tipo.startsWith(u"application/x-wine-extension-"_s);
}

bool seEjecuta(const QMimeType& tipo)
{
    for (const QString& otro : kTiposQueSeEjecutan) {
        if (tipo.inherits(otro))
            return true;
    }
    if (seEjecutaPorSuNombre(tipo.name()))
        return true;
    for (const QString& ancestro : tipo.allAncestors()) {
        if (seEjecutaPorSuNombre(ancestro))
            return true;
    }
    return false;
}

// The first bytes of the file, by which its content type is told; read by
// its native path (a name need not be valid text), and nothing from what is
// not a plain file: a pipe put in its place is not waited on.
QByteArray principio(const std::filesystem::path& archivo)
{
    const int descriptor = ::open(archivo.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return {};
    QByteArray bytes;
    struct stat datos;
    if (::fstat(descriptor, &datos) == 0 && S_ISREG(datos.st_mode)) {
        bytes.resize(16384);
        ssize_t leidos;
        do
            leidos = ::read(descriptor, bytes.data(), size_t(bytes.size()));
        while (leidos < 0 && errno == EINTR);
        bytes.resize(leidos > 0 ? leidos : 0);
    }
    ::close(descriptor);
    return bytes;
}
}  // namespace

QUrl urlDeArchivo(const std::filesystem::path& ruta)
{
    const std::filesystem::path absoluta = ruta.is_absolute() ? ruta : std::filesystem::absolute(ruta);
    const std::string& nativa = absoluta.native();
    const QByteArray bytes(nativa.data(), qsizetype(nativa.size()));
    return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"), QUrl::StrictMode);
}

bool seEjecutariaAlAbrir(const std::filesystem::path& archivo)
{
    // By name and content together, as an opener sees it, and by each on its
    // own: a script behind an image's name, or a ".sh" that starts with no
    // "#!", is still one some desktop would run. A Windows program too, by
    // Windows' rules, for the Wine that may be set up to start it: the
    // content type database knows few of its extensions.
    const QMimeDatabase tipos;
    const QString nombre = QFile::decodeName(QByteArray::fromStdString(archivo.filename().native()));
    if (windowsLaEjecutaria(nombre, kPathextDeSiempre))
        return true;
    const QByteArray bytes = principio(archivo);
    return seEjecuta(tipos.mimeTypeForFileNameAndData(nombre, bytes))
        || seEjecuta(tipos.mimeTypeForFile(nombre, QMimeDatabase::MatchExtension))
        || seEjecuta(tipos.mimeTypeForData(bytes));
}

void PlataformaQt::mostrarEnSuCarpeta(const std::filesystem::path& archivo)
{
    QDesktopServices::openUrl(urlDeArchivo(archivo.parent_path()));
}
