#include "platform/Archivos.h"
#include "platform/ArchivosInterno.h"
#include "platform/ArchivosWindows.h"

#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <utility>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

using namespace Qt::StringLiterals;
namespace fs = std::filesystem;

namespace {
// The error a Windows call left, for the user: the common ones in the same
// words as everywhere else, any other with the system's own text.
[[noreturn]] void fallarWindows(const QString& contexto, const QString& ruta, DWORD numero = GetLastError())
{
    using std::errc;
    static constexpr std::pair<DWORD, errc> comunes[] = {
        {       ERROR_FILE_NOT_FOUND,     errc::no_such_file_or_directory},
        {       ERROR_PATH_NOT_FOUND,     errc::no_such_file_or_directory},
        {        ERROR_INVALID_DRIVE,     errc::no_such_file_or_directory},
        {        ERROR_ACCESS_DENIED,             errc::permission_denied},
        {    ERROR_SHARING_VIOLATION,       errc::device_or_resource_busy},
        {       ERROR_LOCK_VIOLATION,       errc::device_or_resource_busy},
        {        ERROR_WRITE_PROTECT,         errc::read_only_file_system},
        {            ERROR_DIRECTORY,               errc::not_a_directory},
        { ERROR_FILENAME_EXCED_RANGE,             errc::filename_too_long},
        {         ERROR_INVALID_NAME,              errc::invalid_argument},
        {    ERROR_NOT_ENOUGH_MEMORY,             errc::not_enough_memory},
        {          ERROR_OUTOFMEMORY,             errc::not_enough_memory},
        {ERROR_CANT_RESOLVE_FILENAME, errc::too_many_symbolic_link_levels},
        {                  ERROR_CRC,                      errc::io_error},
        {           ERROR_READ_FAULT,                      errc::io_error},
        {          ERROR_WRITE_FAULT,                      errc::io_error},
        {          ERROR_GEN_FAILURE,                      errc::io_error},
    };
    for (const auto& [windows, codigo] : comunes)
        if (numero == windows)
            throw ErrorArchivo(contexto, ruta, motivoEnEspanol(std::make_error_code(codigo)));
    // Not through motivoEnEspanol: mingw's system category may take a
    // Windows number for the errno of the same value. The system's own
    // text ends in a full stop, which the message adds.
    QString texto = QString::fromLocal8Bit(std::system_category().message(int(numero))).trimmed();
    if (texto.endsWith(u'.'))
        texto.chop(1);
    throw ErrorArchivo(contexto, ruta, u"error del sistema ("_s + texto + u')');
}

// A handle, closed when it goes.
class Manejador {
public:
    explicit Manejador(HANDLE h) : m_handle(h) {}
    ~Manejador()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }
    Manejador(Manejador&& otro) noexcept : m_handle(std::exchange(otro.m_handle, INVALID_HANDLE_VALUE)) {}
    Manejador(const Manejador&) = delete;
    Manejador& operator=(const Manejador&) = delete;
    HANDLE h() const { return m_handle; }
    bool valido() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

// Others may read, write or delete what the program looks at meanwhile.
constexpr DWORD kCompartir = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Whether a failed call found nothing at the path, rather than something it
// could not reach.
bool noHayNada(DWORD numero)
{
    return numero == ERROR_FILE_NOT_FOUND || numero == ERROR_PATH_NOT_FOUND || numero == ERROR_INVALID_DRIVE;
}

// What is at `nativa`, links followed: whether a folder, and its data's size.
// Nothing when that cannot be told, with the reason in `numero`.
std::optional<FILE_STANDARD_INFO> infoDe(const fs::path& nativa, DWORD& numero)
{
    const Manejador h(CreateFileW(rutaExtendida(nativa).c_str(), FILE_READ_ATTRIBUTES, kCompartir, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FILE_STANDARD_INFO info{};
    if (!h.valido() || !GetFileInformationByHandleEx(h.h(), FileStandardInfo, &info, sizeof info)) {
        numero = GetLastError();
        return std::nullopt;
    }
    return info;
}
}  // namespace

fs::path rutaNativa(const QString& ruta)
{
    return fs::path(ruta.toStdWString());
}

std::wstring rutaExtendida(const fs::path& ruta)
{
    std::wstring texto = ruta.native();
    std::replace(texto.begin(), texto.end(), L'/', L'\\');
    if (texto.starts_with(LR"(\\?\)") || texto.starts_with(LR"(\\.\)"))
        return texto;
    if (texto.starts_with(LR"(\\)"))  // \\server\share\...
        return LR"(\\?\UNC\)" + fs::path(texto.substr(2)).lexically_normal().native();
    if (texto.size() < 3 || texto[1] != L':' || texto[2] != L'\\')  // not C:\...
        return texto;
    return LR"(\\?\)" + fs::path(texto).lexically_normal().native();
}

namespace {
// The ordinary form of what rutaExtendida gives, for the user's eyes.
std::wstring rutaOrdinaria(std::wstring ruta)
{
    if (ruta.starts_with(LR"(\\?\UNC\)"))
        return ruta.replace(0, 8, LR"(\\)");
    if (ruta.starts_with(LR"(\\?\)"))
        return ruta.erase(0, 4);
    return ruta;
}
}  // namespace

QString textoVisible(std::basic_string_view<fs::path::value_type> nativa)
{
    return QString::fromWCharArray(nativa.data(), qsizetype(nativa.size()));
}

// ---------------------------------------------------------------- Archivo

QString Archivo::rutaParaLote() const
{
    QString paraLote = ruta();
    const std::wstring extendida = rutaExtendida(m_ruta);
    const DWORD n = GetShortPathNameW(extendida.c_str(), nullptr, 0);
    if (n != 0) {
        std::wstring corta(n, L'\0');
        const DWORD escritos = GetShortPathNameW(extendida.c_str(), corta.data(), n);
        if (escritos != 0 && escritos < n) {
            corta.resize(escritos);
            paraLote = QString::fromStdWString(rutaOrdinaria(std::move(corta)));
        }
    }
    // cmd hands a path on in the ordinary form, which drops a final dot or
    // blank from every name: such a path would lead to another file, or none.
    for (const QString& nombre : QString(paraLote).replace(u'/', u'\\').split(u'\\'))
        if (nombre != u"."_s && nombre != u".."_s && (nombre.endsWith(u'.') || nombre.endsWith(u' ')))
            throw ErrorArchivo(u"No se puede nombrar el archivo en la consola"_s, ruta(),
                               u"un nombre de su ruta termina en punto o en espacio"_s);
    return paraLote;
}

// ---------------------------------------------------------------- Carpeta

// The folder's plain files, their kind as the listing itself gives it: only
// an entry that leads elsewhere (a link) costs a look at what it leads to, and
// only there does "nothing there" mean a link that leads nowhere. Every other
// entry was just listed: it is there. Reached in the "\\?\" form, so that no
// length and no name cleaned by the ordinary form hides one.
std::vector<Archivo> listar(const fs::path& carpeta, const QString& carpetaTexto)
{
    const QString contexto = u"No se pudo leer la carpeta"_s;
    std::vector<Archivo> archivos;
    std::wstring patron = rutaExtendida(carpeta);
    if (!patron.ends_with(L'\\'))
        patron += L'\\';
    patron += L'*';
    WIN32_FIND_DATAW datos;
    const HANDLE busqueda = FindFirstFileExW(patron.c_str(), FindExInfoBasic, &datos, FindExSearchNameMatch, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH);
    if (busqueda == INVALID_HANDLE_VALUE) {
        const DWORD numero = GetLastError();
        // A folder lists "." at least, but a volume's root, and some drives
        // mounted by a file system of their own, list nothing when empty.
        if (numero == ERROR_FILE_NOT_FOUND) {
            const DWORD atributos = GetFileAttributesW(rutaExtendida(carpeta).c_str());
            if (atributos != INVALID_FILE_ATTRIBUTES && (atributos & FILE_ATTRIBUTE_DIRECTORY))
                return archivos;
        }
        fallarWindows(contexto, carpetaTexto, numero);
    }
    const std::unique_ptr<void, decltype(&FindClose)> cerrar(busqueda, &FindClose);
    do {
        const std::wstring_view nombre(datos.cFileName);
        if (nombre == L"." || nombre == L".." || (datos.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;  // a sub-folder, or a link to one
        Archivo::Nativo nativa = (carpeta / nombre).native();
        const QString texto = textoVisible(nombre);
        // The reparse tag, for an entry that is a reparse point.
        if (llevaAOtroSitio(datos.dwFileAttributes, datos.dwReserved0)) {
            DWORD numero = 0;
            const auto destino = infoDe(nativa, numero);
            if (!destino && (noHayNada(numero) || numero == ERROR_CANT_RESOLVE_FILENAME))
                continue;  // leads nowhere, or round in a circle
            if (!destino)
                fallarWindows(u"No se pudo examinar el archivo"_s, carpetaTexto + kSeparador + texto, numero);
            if (destino->Directory)
                continue;
        }
        archivos.push_back(Archivo::deCarpeta(std::move(nativa), carpetaTexto, texto));
    } while (FindNextFileW(busqueda, &datos));
    if (GetLastError() != ERROR_NO_MORE_FILES)
        fallarWindows(contexto, carpetaTexto);
    return archivos;
}

// ---------------------------------------------------------------- FlujoTexto

std::optional<QByteArray> enPaginaDeCodigos(const QString& texto, unsigned pagina)
{
    if (texto.isEmpty())
        return QByteArray();
    const auto* ancho = reinterpret_cast<const wchar_t*>(texto.utf16());
    const int largo = int(texto.size());
    // UTF-8 has no look-alikes and takes neither the flag nor the question:
    // what it cannot spell is a lone surrogate, which it refuses.
    const bool utf8 = pagina == CP_UTF8;
    const DWORD banderas = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL sustituido = FALSE;
    BOOL* const vigilado = utf8 ? nullptr : &sustituido;
    const int n = WideCharToMultiByte(pagina, banderas, ancho, largo, nullptr, 0, nullptr, vigilado);
    if (n <= 0 || sustituido)
        return std::nullopt;
    QByteArray bytes(n, Qt::Uninitialized);
    if (WideCharToMultiByte(pagina, banderas, ancho, largo, bytes.data(), n, nullptr, vigilado) != n || sustituido)
        return std::nullopt;
    // And back as cmd reads them: the very text, or nothing.
    std::wstring vuelta(std::size_t(largo) + 1, L'\0');
    const int m = MultiByteToWideChar(pagina, MB_ERR_INVALID_CHARS, bytes.constData(), n, vuelta.data(), largo + 1);
    if (m != largo || vuelta.compare(0, std::size_t(largo), ancho, std::size_t(largo)) != 0)
        return std::nullopt;
    return bytes;
}

FlujoTexto::FlujoTexto(fs::path ruta, QString rutaTexto) : m_ruta(std::move(ruta)), m_rutaTexto(std::move(rutaTexto))
{
    errno = 0;
    m_salida.open(fs::path(rutaExtendida(m_ruta)), std::ios::binary | std::ios::trunc);
    if (!m_salida)
        fallar(u"No se pudo crear el archivo"_s, m_rutaTexto, errno);
}

void FlujoTexto::escribirLineaLocal(const QString& linea)
{
    const auto bytes = enPaginaDeCodigos(linea, GetOEMCP());
    if (!bytes)
        throw ErrorArchivo(u"No se pudo escribir el archivo"_s, m_rutaTexto,
                           u"la página de códigos de la consola no tiene alguno de sus caracteres"_s);
    escribirBytes(*bytes);
}

// ---------------------------------------------------------------- ServicioArchivos

bool ServicioArchivos::existe(const QString& ruta) const
{
    DWORD numero = 0;
    return infoDe(rutaNativa(ruta), numero) || !noHayNada(numero);
}

fs::file_status estadoDe(const fs::path& nativa, const QString& contexto, const QString& ruta)
{
    DWORD numero = 0;
    const auto info = infoDe(nativa, numero);
    if (!info)
        fallarWindows(contexto, ruta, numero);
    return fs::file_status(info->Directory ? fs::file_type::directory : fs::file_type::regular);
}

namespace {
// Where what a handle opened lies, every link and drive substitution on the
// way resolved: its volume's serial number, then its path on that volume
// ("1234:\juegos\..."). Not from GetFinalPathNameByHandleW, which under Wine
// gives nothing past 260 characters.
std::wstring rutaFinal(HANDLE h, const QString& contexto, const QString& ruta)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h, &info))
        fallarWindows(contexto, ruta);
    std::vector<DWORD> bufer(256);  // aligned as FILE_NAME_INFO
    for (;;) {
        auto* nombre = reinterpret_cast<FILE_NAME_INFO*>(bufer.data());
        if (GetFileInformationByHandleEx(h, FileNameInfo, nombre, DWORD(bufer.size() * sizeof(DWORD))))
            return std::to_wstring(info.dwVolumeSerialNumber) + L':'
                + std::wstring(nombre->FileName, nombre->FileNameLength / sizeof(wchar_t));
        if (GetLastError() != ERROR_MORE_DATA)
            fallarWindows(contexto, ruta);
        bufer.resize(std::max<std::size_t>(bufer.size() * 2, nombre->FileNameLength / sizeof(DWORD) + 8));
    }
}

// Whether two paths name the same, as Windows compares names: case aside.
bool iguales(std::wstring_view a, std::wstring_view b)
{
    return CompareStringOrdinal(a.data(), int(a.size()), b.data(), int(b.size()), TRUE) == CSTR_EQUAL;
}

// Whether `abierta`, where the handle `entrada` opened at `nativa` lies, is
// `esperada` as Wine names it: the last name without its final dots and
// blanks, which Windows keeps. Only if no other file goes by that shorter
// name: a link there, followed, would otherwise pass for the entry.
bool igualesSalvoElFinal(std::wstring_view abierta, std::wstring_view esperada, HANDLE entrada,
                         const std::wstring& nativa)
{
    const std::size_t fin = esperada.find_last_not_of(L". ");
    if (fin == esperada.npos || fin + 1 == esperada.size() || esperada[fin] == L'\\'
        || !iguales(abierta, esperada.substr(0, fin + 1)))
        return false;
    const std::wstring corta = nativa.substr(0, nativa.size() - (esperada.size() - fin - 1));
    const Manejador otro(CreateFileW(corta.c_str(), FILE_READ_ATTRIBUTES, kCompartir, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!otro.valido())
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    return GetFileInformationByHandle(entrada, &a) && GetFileInformationByHandle(otro.h(), &b)
        && (a.dwVolumeSerialNumber != b.dwVolumeSerialNumber || a.nFileIndexHigh != b.nFileIndexHigh
            || a.nFileIndexLow != b.nFileIndexLow);
}

// The entry opened as itself (a link as a link, FILE_FLAG_OPEN_REPARSE_POINT)
// with `acceso`. Every folder on the way is checked right before not to lead
// elsewhere (a junction, a folder link, a mount point), since
// std::filesystem on Windows sees none of them; and then the handle itself
// must name the entry inside the project's own final path, so that a folder
// swapped for a link after its check, or a link that the file system followed
// anyway, is refused before anything is done through it.
Manejador abrirEntrada(const fs::path& proyecto, const fs::path& relativa, DWORD acceso, const QString& contexto,
                       const QString& ruta)
{
    if (!relativaSencilla(relativa))
        throw ErrorArchivo(contexto, ruta, kFueraDelProyecto);
    std::wstring base;
    {
        const Manejador carpeta(CreateFileW(rutaExtendida(proyecto).c_str(), FILE_READ_ATTRIBUTES, kCompartir, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!carpeta.valido())
            fallarWindows(contexto, ruta);
        base = rutaFinal(carpeta.h(), contexto, ruta);
    }
    fs::path camino = proyecto;
    for (const fs::path& parte : relativa.parent_path()) {
        camino /= parte;
        // Opened as itself, for its reparse tag beside its attributes.
        const Manejador carpeta(CreateFileW(rutaExtendida(camino).c_str(), FILE_READ_ATTRIBUTES, kCompartir, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                            nullptr));
        if (!carpeta.valido())
            fallarWindows(contexto, ruta);
        FILE_ATTRIBUTE_TAG_INFO info{};
        if (!GetFileInformationByHandleEx(carpeta.h(), FileAttributeTagInfo, &info, sizeof info))
            fallarWindows(contexto, ruta);
        if (llevaAOtroSitio(info.FileAttributes, info.ReparseTag))
            throw ErrorArchivo(contexto, ruta, kFueraDelProyecto);
        if (!(info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            throw ErrorArchivo(contexto, ruta, u"no es una carpeta"_s);
    }
    const std::wstring nativa = rutaExtendida(proyecto / relativa);
    Manejador entrada(CreateFileW(nativa.c_str(), acceso, kCompartir, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!entrada.valido())
        fallarWindows(contexto, ruta);

    if (base.empty() || base.back() != L'\\')
        base += L'\\';
    std::wstring esperada = base + relativa.native();
    std::replace(esperada.begin(), esperada.end(), L'/', L'\\');
    const std::wstring abierta = rutaFinal(entrada.h(), contexto, ruta);
    if (!iguales(abierta, esperada) && !igualesSalvoElFinal(abierta, esperada, entrada.h(), nativa)) {
        // Something on the way led elsewhere. Wine, for one, follows a file
        // link of the host even when asked not to: the file behind it is not
        // the entry, wherever it lies.
        const bool dentro =
            abierta.size() > base.size() && iguales(std::wstring_view(abierta).substr(0, base.size()), base);
        throw ErrorArchivo(contexto, ruta, dentro ? u"es un enlace a otro archivo"_s : kFueraDelProyecto);
    }
    return entrada;
}

FILE_BASIC_INFO infoBasica(HANDLE h, const QString& contexto, const QString& ruta)
{
    FILE_BASIC_INFO info{};
    if (!GetFileInformationByHandleEx(h, FileBasicInfo, &info, sizeof info))
        fallarWindows(contexto, ruta);
    return info;
}
}  // namespace

MedidaEntrada ServicioArchivos::medirEntrada(const fs::path& proyecto, const fs::path& relativa,
                                             const QString& ruta) const
{
    const QString contexto = u"No se pudo medir el archivo"_s;
    const Manejador entrada = abrirEntrada(proyecto, relativa, FILE_READ_ATTRIBUTES, contexto, ruta);
    if (infoBasica(entrada.h(), contexto, ruta).FileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        throw ErrorArchivo(contexto, ruta, u"es una carpeta"_s);
    // The data of what was opened: none for a link, which is opened as itself.
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(entrada.h(), &info))
        fallarWindows(contexto, ruta);
    return {(std::uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow, info.nNumberOfLinks,
            info.dwVolumeSerialNumber, (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

void ServicioArchivos::borrarEntrada(const fs::path& proyecto, const fs::path& relativa, const QString& ruta,
                                     bool forzar) const
{
    const QString contexto = u"No se pudo borrar el archivo"_s;
    const DWORD acceso = DELETE | FILE_READ_ATTRIBUTES | (forzar ? FILE_WRITE_ATTRIBUTES : 0);
    const Manejador entrada = abrirEntrada(proyecto, relativa, acceso, contexto, ruta);
    const FILE_BASIC_INFO antes = infoBasica(entrada.h(), contexto, ruta);
    if (antes.FileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        throw ErrorArchivo(contexto, ruta, u"es una carpeta"_s);  // a folder link too: never through it
    // Windows refuses to delete a read-only file: the flag is cleared first,
    // on the very handle that then removes the file.
    constexpr DWORD ajustables = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
        | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE
        | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const bool quitarSoloLectura = forzar && (antes.FileAttributes & FILE_ATTRIBUTE_READONLY);
    const auto ponerAtributos = [&](DWORD atributos) {
        FILE_BASIC_INFO cambio{};  // times left at zero stay as they are
        cambio.FileAttributes = atributos ? atributos : FILE_ATTRIBUTE_NORMAL;
        return SetFileInformationByHandle(entrada.h(), FileBasicInfo, &cambio, sizeof cambio) != 0;
    };
    if (quitarSoloLectura && !ponerAtributos(antes.FileAttributes & ajustables & ~FILE_ATTRIBUTE_READONLY))
        fallarWindows(contexto, ruta);
    FILE_DISPOSITION_INFO borrar{TRUE};
    if (!SetFileInformationByHandle(entrada.h(), FileDispositionInfo, &borrar, sizeof borrar)) {
        const DWORD numero = GetLastError();
        if (quitarSoloLectura)
            ponerAtributos(antes.FileAttributes & ajustables);  // the file stays as it was found
        fallarWindows(contexto, ruta, numero);
    }
}

std::unique_ptr<FlujoTexto> ServicioArchivos::crearTexto(const QString& ruta, bool sobrescribir) const
{
    const fs::path nativa = rutaNativa(ruta);
    const bool hay = GetFileAttributesW(rutaExtendida(nativa).c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!sobrescribir && hay)
        throw ErrorArchivo(u"No se pudo crear el archivo"_s, ruta, u"ya existe"_s);
    return std::make_unique<FlujoTexto>(nativa, ruta);
}

// ---------------------------------------------------------------- helpers

bool llevaAOtroSitio(unsigned long atributos, unsigned long etiqueta)
{
    return (atributos & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(etiqueta);
}

ArchivoAbierto::ArchivoAbierto(const Archivo& archivo) : m_ruta(archivo.ruta())
{
    DWORD numero = 0;
    const auto info = infoDe(archivo.nativa(), numero);
    if (!info)  // gone since it was listed, say: never read as empty
        fallarWindows(kAbrirDatos, m_ruta, numero);
    if (info->Directory)
        return;  // holds no stored data
    HANDLE h = ::CreateFileW(rutaExtendida(archivo.nativa()).c_str(), GENERIC_READ, kCompartir, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        fallarWindows(kAbrirDatos, m_ruta);
    m_handle = h;
    LARGE_INTEGER tamano{};
    if (::GetFileType(h) != FILE_TYPE_DISK)
        return;
    if (!::GetFileSizeEx(h, &tamano)) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(h);
        m_handle = nullptr;
        fallarWindows(kLeerDatos, m_ruta, error);
    }
    m_datos = true;
    m_tamano = std::uint64_t(tamano.QuadPart);
}

ArchivoAbierto::~ArchivoAbierto()
{
    if (m_handle)
        ::CloseHandle(HANDLE(m_handle));
}

void ArchivoAbierto::leer(std::uint64_t desde, std::uint64_t hasta, std::vector<char>& bufer,
                          const std::function<void(std::string_view)>& trozo) const
{
    if (!m_datos)
        return;  // holds no stored data
    // Reads at an offset of their own: the threads that share the handle
    // share no position.
    while (desde < hasta) {
        const DWORD cuanto = DWORD(std::min<std::uint64_t>(bufer.size(), hasta - desde));
        OVERLAPPED donde{};
        donde.Offset = DWORD(desde);
        donde.OffsetHigh = DWORD(desde >> 32);
        DWORD leidos = 0;
        if (!::ReadFile(HANDLE(m_handle), bufer.data(), cuanto, &leidos, &donde)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_HANDLE_EOF)
                return;
            fallarWindows(kLeerDatos, m_ruta, error);
        }
        if (leidos == 0)
            return;
        desde += leidos;
        trozo(std::string_view(bufer.data(), std::size_t(leidos)));
    }
}
