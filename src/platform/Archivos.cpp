#include "platform/Archivos.h"

#include <QFile>

using namespace Qt::StringLiterals;

#include <algorithm>
#include <cerrno>

namespace fs = std::filesystem;

ErrorArchivo::ErrorArchivo(QString contexto_, QString ruta_, QString motivo_)
    : std::runtime_error((contexto_ + u": "_s + ruta_ + u": "_s + motivo_).toStdString()),
      contexto(std::move(contexto_)), ruta(std::move(ruta_)), motivo(std::move(motivo_))
{
}

QString ErrorArchivo::Texto() const
{
    return contexto + u":\r\n"_s + ruta + u"\r\nMotivo: "_s + motivo + u'.';
}

QString MotivoEnEspanol(const std::error_code& ec)
{
    using std::errc;
    struct Traduccion { errc codigo; QString texto; };
    static const Traduccion traducciones[] = {
        {errc::no_such_file_or_directory, u"no existe"_s},
        {errc::permission_denied, u"permiso denegado"_s},
        {errc::operation_not_permitted, u"operación no permitida"_s},
        {errc::not_a_directory, u"no es una carpeta"_s},
        {errc::is_a_directory, u"es una carpeta"_s},
        {errc::too_many_symbolic_link_levels, u"los enlaces simbólicos forman un ciclo"_s},
        {errc::device_or_resource_busy, u"está en uso"_s},
        {errc::text_file_busy, u"está en uso"_s},
        {errc::read_only_file_system, u"el disco es de solo lectura"_s},
        {errc::no_space_on_device, u"no queda espacio en el disco"_s},
        {errc::filename_too_long, u"el nombre es demasiado largo"_s},
        {errc::io_error, u"error de lectura o escritura en el disco"_s},
        {errc::file_too_large, u"el archivo es demasiado grande"_s},
        {errc::not_enough_memory, u"no hay memoria suficiente"_s},
        {errc::too_many_files_open, u"hay demasiados archivos abiertos"_s},
        {errc::invalid_argument, u"el nombre no es válido"_s},
    };
    for (const auto& t : traducciones)
        if (ec == t.codigo)
            return t.texto;
    return u"error del sistema ("_s + QString::fromLocal8Bit(ec.message()) + u')';
}

fs::path RutaNativa(const QString& ruta)
{
#ifdef _WIN32
    return fs::path(ruta.toStdWString());
#else
    const QByteArray bytes = QFile::encodeName(ruta);
    return fs::path(std::string(bytes.constData(), size_t(bytes.size())));
#endif
}

std::optional<QString> TextoDeRuta(const fs::path& ruta)
{
#ifdef _WIN32
    const std::wstring& nativa = ruta.native();
    QString texto = QString::fromStdWString(nativa);
    if (texto.toStdWString() != nativa)
        return std::nullopt;
#else
    const std::string& nativa = ruta.native();
    const QByteArray bytes(nativa.data(), qsizetype(nativa.size()));
    QString texto = QFile::decodeName(bytes);
    if (QFile::encodeName(texto) != bytes)
        return std::nullopt;
#endif
    return texto;
}

// ---------------------------------------------------------------- Archivo

Archivo::Archivo(fs::path ruta, QString rutaTexto, QString nombre)
    : ruta_(std::move(ruta)), rutaTexto_(std::move(rutaTexto)), nombre_(std::move(nombre))
{
}

std::uint64_t Archivo::Size() const
{
    std::error_code ec;
    const auto tamano = fs::file_size(ruta_, ec);
    if (ec)
        throw ErrorArchivo(u"No se pudo medir el archivo"_s, rutaTexto_, MotivoEnEspanol(ec));
    return tamano;
}

// ---------------------------------------------------------------- Carpeta

Carpeta::Carpeta(fs::path ruta, QString rutaTexto)
    : ruta_(std::move(ruta)), rutaTexto_(std::move(rutaTexto))
{
}

std::vector<Archivo> Carpeta::Files() const
{
    const QString contexto = u"No se pudo leer la carpeta"_s;
    std::vector<Archivo> archivos;
    omitidos_ = 0;
    std::error_code ec;
    fs::directory_iterator it(ruta_, ec);
    if (ec)
        throw ErrorArchivo(contexto, rutaTexto_, MotivoEnEspanol(ec));
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code ecEstado;
        // status() follows links: a link to a file is a file; a dangling or
        // circular link, a folder, a device or a pipe is not.
        const auto estado = it->status(ecEstado);
        if (ecEstado || !fs::is_regular_file(estado))
            continue;
        const auto nombre = TextoDeRuta(it->path().filename());
        if (!nombre) {
            ++omitidos_;
            continue;
        }
        archivos.emplace_back(it->path(), rutaTexto_ + kSeparador + *nombre, *nombre);
    }
    if (ec)
        throw ErrorArchivo(contexto, rutaTexto_, MotivoEnEspanol(ec));

    std::sort(archivos.begin(), archivos.end(), [](const Archivo& a, const Archivo& b) {
        const int c = QString::compare(a.Name(), b.Name(), Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.Name() < b.Name();
    });
    return archivos;
}

// ---------------------------------------------------------------- FlujoTexto

FlujoTexto::FlujoTexto(fs::path ruta, QString rutaTexto)
    : ruta_(std::move(ruta)), rutaTexto_(std::move(rutaTexto))
{
    errno = 0;
    salida_.open(ruta_, std::ios::binary | std::ios::trunc);
    if (!salida_) {
        const std::error_code ec(errno ? errno : EIO, std::generic_category());
        throw ErrorArchivo(u"No se pudo crear el archivo"_s, rutaTexto_, MotivoEnEspanol(ec));
    }
}

void FlujoTexto::WriteLine(const QString& linea)
{
    const QByteArray bytes = linea.toUtf8() + "\r\n";
    errno = 0;
    salida_.write(bytes.constData(), bytes.size());
    if (!salida_) {
        const std::error_code ec(errno ? errno : EIO, std::generic_category());
        throw ErrorArchivo(u"No se pudo escribir el archivo"_s, rutaTexto_, MotivoEnEspanol(ec));
    }
}

void FlujoTexto::Close()
{
    errno = 0;
    salida_.close();
    if (salida_.fail()) {
        const std::error_code ec(errno ? errno : EIO, std::generic_category());
        throw ErrorArchivo(u"No se pudo escribir el archivo"_s, rutaTexto_, MotivoEnEspanol(ec));
    }
}

// ---------------------------------------------------------------- ServicioArchivos

bool ServicioArchivos::FolderExists(const QString& ruta) const
{
    std::error_code ec;
    return fs::is_directory(fs::status(RutaNativa(ruta), ec));
}

bool ServicioArchivos::Existe(const QString& ruta) const
{
    std::error_code ec;
    return fs::status(RutaNativa(ruta), ec).type() != fs::file_type::not_found;
}

namespace {
// What is at `nativa` (the link itself when `seguirEnlaces` is false), or the
// reason there is nothing usable there.
fs::file_status EstadoDe(const fs::path& nativa, bool seguirEnlaces, const QString& contexto, const QString& ruta)
{
    std::error_code ec;
    const auto estado = seguirEnlaces ? fs::status(nativa, ec) : fs::symlink_status(nativa, ec);
    if (estado.type() == fs::file_type::not_found)
        throw ErrorArchivo(contexto, ruta, u"no existe"_s);
    if (ec)
        throw ErrorArchivo(contexto, ruta, MotivoEnEspanol(ec));
    return estado;
}
}  // namespace

Carpeta ServicioArchivos::GetFolder(const QString& ruta) const
{
    const QString contexto = u"No se pudo abrir la carpeta"_s;
    const fs::path nativa = RutaNativa(ruta);
    if (!fs::is_directory(EstadoDe(nativa, true, contexto, ruta)))
        throw ErrorArchivo(contexto, ruta, u"no es una carpeta"_s);
    return Carpeta(nativa, ruta);
}

Archivo ServicioArchivos::GetFile(const QString& ruta) const
{
    const QString contexto = u"No se encontró el archivo"_s;
    const fs::path nativa = RutaNativa(ruta);
    if (!fs::is_regular_file(EstadoDe(nativa, true, contexto, ruta)))
        throw ErrorArchivo(contexto, ruta, u"no es un archivo"_s);
    return Archivo(nativa, ruta, TextoDeRuta(nativa.filename()).value_or(QString()));
}

void ServicioArchivos::DeleteFile(const QString& ruta, bool forzar) const
{
    const QString contexto = u"No se pudo borrar el archivo"_s;
    const fs::path nativa = RutaNativa(ruta);
    // The entry itself, not what a link leads to.
    const auto estado = EstadoDe(nativa, false, contexto, ruta);
    std::error_code ec;
    if (fs::is_directory(estado))
        throw ErrorArchivo(contexto, ruta, u"es una carpeta"_s);
#ifdef _WIN32
    // Windows refuses to delete a read-only file; clear the flag first.
    if (forzar && !fs::is_symlink(estado))
        fs::permissions(nativa, fs::perms::owner_write, fs::perm_options::add, ec);
#else
    (void)forzar;  // here a file's own permissions never stop its removal
#endif
    if (!fs::remove(nativa, ec) || ec)
        throw ErrorArchivo(contexto, ruta, ec ? MotivoEnEspanol(ec) : u"no existe"_s);
}

std::unique_ptr<FlujoTexto> ServicioArchivos::CreateTextFile(const QString& ruta, bool sobrescribir) const
{
    const fs::path nativa = RutaNativa(ruta);
    std::error_code ec;
    if (!sobrescribir && fs::exists(fs::symlink_status(nativa, ec)))
        throw ErrorArchivo(u"No se pudo crear el archivo"_s, ruta, u"ya existe"_s);
    return std::make_unique<FlujoTexto>(nativa, ruta);
}

// ---------------------------------------------------------------- helpers

bool EstaDentroDe(const fs::path& carpeta, const fs::path& ruta)
{
    const fs::path nombre = ruta.filename();
    if (nombre.empty() || nombre == "." || nombre == "..")
        return false;
    std::error_code ec;
    const fs::path base = fs::canonical(carpeta, ec);
    if (ec)
        return false;
    const fs::path padre = fs::weakly_canonical(ruta.parent_path(), ec);
    if (ec)
        return false;
    auto p = padre.begin();
    for (auto b = base.begin(); b != base.end(); ++b, ++p) {
        if (p == padre.end() || *p != *b)
            return false;
    }
    return true;
}

void LeerPorTrozos(const Archivo& archivo, std::vector<char>& bufer,
                   const std::function<void(std::string_view)>& trozo)
{
    QFile entrada(archivo.Path());
    errno = 0;
    if (!entrada.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        const std::error_code ec(errno ? errno : EIO, std::generic_category());
        throw ErrorArchivo(u"No se pudo abrir el archivo de datos"_s, archivo.Path(), MotivoEnEspanol(ec));
    }
    for (;;) {
        errno = 0;
        const qint64 leidos = entrada.read(bufer.data(), qint64(bufer.size()));
        if (leidos < 0) {
            const std::error_code ec(errno ? errno : EIO, std::generic_category());
            throw ErrorArchivo(u"No se pudo leer el archivo de datos"_s, archivo.Path(), MotivoEnEspanol(ec));
        }
        if (leidos == 0)
            break;
        trozo(std::string_view(bufer.data(), size_t(leidos)));
    }
}
