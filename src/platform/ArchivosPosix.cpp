#include "platform/Archivos.h"
#include "platform/ArchivosInterno.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
namespace fs = std::filesystem;

namespace {
// What ends a folder in a native path.
constexpr const char* kSeparadores = "/";

// A link that leads nowhere (or round in a circle) holds no stored data: it is
// passed over like a pipe. Any other reason not to know what an entry is
// (no permission, a disk error) must be told.
bool llevaANada(const std::error_code& ec)
{
    return ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory
        || ec == std::errc::too_many_symbolic_link_levels;
}
}  // namespace

fs::path rutaNativa(const QString& ruta)
{
    const QByteArray bytes = QFile::encodeName(ruta);
    return fs::path(std::string(bytes.constData(), size_t(bytes.size())));
}

QString textoVisible(std::basic_string_view<fs::path::value_type> nativa)
{
    return QFile::decodeName(QByteArray(nativa.data(), qsizetype(nativa.size())));
}

// ---------------------------------------------------------------- Archivo

QString Archivo::rutaParaLote() const
{
    return ruta();
}

// ---------------------------------------------------------------- Carpeta

std::vector<Archivo> listar(const fs::path& carpeta, const QString& carpetaTexto)
{
    const QString contexto = u"No se pudo leer la carpeta"_s;
    std::vector<Archivo> archivos;
    std::error_code ec;
    fs::directory_iterator it(carpeta, ec);
    if (ec)
        throw ErrorArchivo(contexto, carpetaTexto, motivoEnEspanol(ec));
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        // The kind the folder itself records for the entry: only a link, or
        // an entry of unrecorded kind, costs a look at what it leads to.
        std::error_code ecTipo;
        const bool esArchivo = it->is_regular_file(ecTipo);
        if (!esArchivo && !(ecTipo && !llevaANada(ecTipo)))
            continue;
        const Archivo::Nativo& nativa = it->path().native();
        const auto nombreNativo =
            std::basic_string_view<fs::path::value_type>(nativa).substr(nativa.find_last_of(kSeparadores) + 1);
        const QString nombre = textoVisible(nombreNativo);
        if (!esArchivo)
            throw ErrorArchivo(u"No se pudo examinar el archivo"_s, carpetaTexto + kSeparador + nombre,
                               motivoEnEspanol(ecTipo));
        archivos.push_back(Archivo::deCarpeta(nativa, carpetaTexto, nombre));
    }
    if (ec)
        throw ErrorArchivo(contexto, carpetaTexto, motivoEnEspanol(ec));
    return archivos;
}

// ---------------------------------------------------------------- FlujoTexto

FlujoTexto::FlujoTexto(fs::path ruta, QString rutaTexto) : m_ruta(std::move(ruta)), m_rutaTexto(std::move(rutaTexto))
{
    errno = 0;
    m_salida.open(m_ruta, std::ios::binary | std::ios::trunc);
    if (!m_salida)
        fallar(u"No se pudo crear el archivo"_s, m_rutaTexto, errno);
}

void FlujoTexto::escribirLineaLocal(const QString& linea)
{
    escribirBytes(linea.toLocal8Bit());
}

// ---------------------------------------------------------------- ServicioArchivos

bool ServicioArchivos::existe(const QString& ruta) const
{
    std::error_code ec;
    return fs::status(rutaNativa(ruta), ec).type() != fs::file_type::not_found;
}

fs::file_status estadoDe(const fs::path& nativa, const QString& contexto, const QString& ruta)
{
    std::error_code ec;
    const auto estado = fs::status(nativa, ec);
    if (estado.type() == fs::file_type::not_found)
        throw ErrorArchivo(contexto, ruta, u"no existe"_s);
    if (ec)
        throw ErrorArchivo(contexto, ruta, motivoEnEspanol(ec));
    return estado;
}

namespace {
// The checks that come before acting on an entry: a plain relative path, and
// inside the project once links and ".." are resolved. A folder that cannot be
// read on the way gives its own reason, not "outside".
void comprobarDentro(const fs::path& proyecto, const fs::path& relativa, const QString& contexto, const QString& ruta)
{
    std::error_code ec;
    if (!relativaSencilla(relativa) || !estaDentroDe(proyecto, proyecto / relativa, ec))
        throw ErrorArchivo(contexto, ruta, ec ? motivoEnEspanol(ec) : kFueraDelProyecto);
}

// An open file or folder, closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// The folder that holds the entry, opened down from the project folder one
// folder at a time without following links: what is opened is what was
// checked to lie inside.
Descriptor abrirCarpetaDe(const fs::path& proyecto, const fs::path& relativa, const QString& contexto,
                          const QString& ruta)
{
    comprobarDentro(proyecto, relativa, contexto, ruta);
    int fd = ::open(proyecto.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        fallar(contexto, ruta, errno);
    for (const fs::path& parte : relativa.parent_path()) {
        Descriptor padre(fd);
        fd = ::openat(padre.fd(), parte.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            const int numero = errno;
            struct stat st {};
            if (numero == ELOOP
                || (numero == ENOTDIR && ::fstatat(padre.fd(), parte.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0
                    && S_ISLNK(st.st_mode)))
                throw ErrorArchivo(contexto, ruta, kFueraDelProyecto);  // swapped for a link since the check
            fallar(contexto, ruta, numero);
        }
    }
    return Descriptor(fd);
}
}  // namespace

MedidaEntrada ServicioArchivos::medirEntrada(const fs::path& proyecto, const fs::path& relativa,
                                             const QString& ruta) const
{
    const QString contexto = u"No se pudo medir el archivo"_s;
    const Descriptor carpeta = abrirCarpetaDe(proyecto, relativa, contexto, ruta);
    struct stat st {};
    if (::fstatat(carpeta.fd(), relativa.filename().c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        fallar(contexto, ruta, errno);
    if (S_ISDIR(st.st_mode))
        throw ErrorArchivo(contexto, ruta, u"es una carpeta"_s);  // deletion would leave it too
    return {S_ISREG(st.st_mode) || S_ISLNK(st.st_mode) ? std::uint64_t(st.st_size) : 0, std::uint64_t(st.st_nlink),
            std::uint64_t(st.st_dev), std::uint64_t(st.st_ino)};
}

void ServicioArchivos::borrarEntrada(const fs::path& proyecto, const fs::path& relativa, const QString& ruta,
                                     bool forzar) const
{
    const QString contexto = u"No se pudo borrar el archivo"_s;
    (void)forzar;  // here a file's own permissions never stop its removal
    const Descriptor carpeta = abrirCarpetaDe(proyecto, relativa, contexto, ruta);
    // Never a folder: unlinkat without AT_REMOVEDIR refuses one.
    if (::unlinkat(carpeta.fd(), relativa.filename().c_str(), 0) != 0)
        fallar(contexto, ruta, errno);
}

std::unique_ptr<FlujoTexto> ServicioArchivos::crearTexto(const QString& ruta, bool sobrescribir) const
{
    const fs::path nativa = rutaNativa(ruta);
    std::error_code ec;
    const bool hay = fs::exists(fs::symlink_status(nativa, ec));
    if (!sobrescribir && hay)
        throw ErrorArchivo(u"No se pudo crear el archivo"_s, ruta, u"ya existe"_s);
    return std::make_unique<FlujoTexto>(nativa, ruta);
}

ArchivoAbierto::ArchivoAbierto(const Archivo& archivo) : m_ruta(archivo.ruta())
{
    // Opened without waiting, so that a pipe put where the file was listed
    // cannot hold the window; then it must be a plain file to be read at all.
    do
        m_fd = ::open(archivo.nativa().c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0)
        fallar(kAbrirDatos, m_ruta, errno);
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) {
        const int numero = errno;
        ::close(m_fd);
        fallar(kLeerDatos, m_ruta, numero);
    }
    m_datos = S_ISREG(st.st_mode);
    m_tamano = m_datos ? std::uint64_t(st.st_size) : 0;
}

ArchivoAbierto::~ArchivoAbierto()
{
    ::close(m_fd);
}

void ArchivoAbierto::leer(std::uint64_t desde, std::uint64_t hasta, std::vector<char>& bufer,
                          const std::function<void(std::string_view)>& trozo) const
{
    if (!m_datos)
        return;  // holds no stored data
    // Positioned reads: the threads that share the file share no position.
    while (desde < hasta) {
        const std::size_t cuanto = std::size_t(std::min<std::uint64_t>(bufer.size(), hasta - desde));
        const ssize_t leidos = ::pread(m_fd, bufer.data(), cuanto, off_t(desde));
        if (leidos < 0) {
            if (errno == EINTR)
                continue;
            fallar(kLeerDatos, m_ruta, errno);
        }
        if (leidos == 0)
            return;
        desde += std::uint64_t(leidos);
        trozo(std::string_view(bufer.data(), std::size_t(leidos)));
    }
}
