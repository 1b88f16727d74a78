#include "platform/Archivos.h"
#include "platform/ArchivosInterno.h"

#include <algorithm>
#include <cerrno>
#include <numeric>
#include <utility>

using namespace Qt::StringLiterals;
namespace fs = std::filesystem;

ErrorArchivo::ErrorArchivo(QString m_contexto, QString m_ruta, QString m_motivo)
    : std::runtime_error((m_contexto + u": "_s + m_ruta + u": "_s + m_motivo).toStdString()),
      contexto(std::move(m_contexto)),
      ruta(std::move(m_ruta)),
      motivo(std::move(m_motivo))
{
}

QString ErrorArchivo::texto() const
{
    return contexto + u":\r\n"_s + ruta + u"\r\nMotivo: "_s + motivo + u'.';
}

QString motivoEnEspanol(const std::error_code& ec)
{
    using std::errc;
    struct Traduccion {
        errc codigo;
        QString texto;
    };
    static const Traduccion traducciones[] = {
        {    errc::no_such_file_or_directory,                                u"no existe"_s},
        {            errc::permission_denied,                         u"permiso denegado"_s},
        {      errc::operation_not_permitted,                  u"operación no permitida"_s},
        {              errc::not_a_directory,                        u"no es una carpeta"_s},
        {               errc::is_a_directory,                           u"es una carpeta"_s},
        {errc::too_many_symbolic_link_levels,  u"los enlaces simbólicos forman un ciclo"_s},
        {      errc::device_or_resource_busy,                             u"está en uso"_s},
        {               errc::text_file_busy,                             u"está en uso"_s},
        {        errc::read_only_file_system,              u"el disco es de solo lectura"_s},
        {           errc::no_space_on_device,             u"no queda espacio en el disco"_s},
        {            errc::filename_too_long,             u"el nombre es demasiado largo"_s},
        {                     errc::io_error, u"error de lectura o escritura en el disco"_s},
        {               errc::file_too_large,           u"el archivo es demasiado grande"_s},
        {            errc::not_enough_memory,                u"no hay memoria suficiente"_s},
        {          errc::too_many_files_open,         u"hay demasiados archivos abiertos"_s},
        {             errc::invalid_argument,                  u"el nombre no es válido"_s},
    };
    for (const auto& t : traducciones)
        if (ec == t.codigo)
            return t.texto;
    return u"error del sistema ("_s + QString::fromLocal8Bit(ec.message()) + u')';
}

const QString kFueraDelProyecto = u"no está dentro de la carpeta del proyecto"_s;

[[noreturn]] void fallar(const QString& contexto, const QString& ruta, int numero)
{
    throw ErrorArchivo(contexto, ruta,
                       motivoEnEspanol(std::error_code(numero ? numero : EIO, std::generic_category())));
}

std::optional<QString> textoDeRuta(const fs::path& ruta)
{
    QString texto = textoVisible(ruta);
    if (rutaNativa(texto) != ruta)
        return std::nullopt;
    return texto;
}

QString textoVisible(const fs::path& ruta)
{
    return textoVisible(std::basic_string_view<fs::path::value_type>(ruta.native()));
}

// ---------------------------------------------------------------- Archivo

Archivo::Archivo(const fs::path& ruta, const QString& rutaTexto, QString nombre)
    : m_ruta(ruta.native()),
      m_carpetaTexto(rutaTexto.left(rutaTexto.size() - nombre.size() - 1)),
      m_nombre(std::move(nombre))
{
}

Archivo Archivo::deCarpeta(Nativo ruta, QString carpetaTexto, QString nombre)
{
    Archivo archivo;
    archivo.m_ruta = std::move(ruta);
    archivo.m_carpetaTexto = std::move(carpetaTexto);
    archivo.m_nombre = std::move(nombre);
    return archivo;
}

// ---------------------------------------------------------------- Carpeta

Carpeta::Carpeta(fs::path ruta, QString rutaTexto) : m_ruta(std::move(ruta)), m_rutaTexto(std::move(rutaTexto)) {}

std::vector<Archivo> Carpeta::archivos() const
{
    std::vector<Archivo> archivos = listar(m_ruta, m_rutaTexto);

    // Case-insensitive first, then exact, so that case twins keep one order;
    // each name folded once, not at every comparison.
    std::vector<QString> plegados;
    plegados.reserve(archivos.size());
    for (const Archivo& a : archivos)
        plegados.push_back(a.nombre().toCaseFolded());
    std::vector<std::size_t> orden(archivos.size());
    std::iota(orden.begin(), orden.end(), std::size_t(0));
    std::sort(orden.begin(), orden.end(), [&](std::size_t a, std::size_t b) {
        if (const int c = QString::compare(plegados[a], plegados[b], Qt::CaseSensitive); c != 0)
            return c < 0;
        if (archivos[a].nombre() != archivos[b].nombre())
            return archivos[a].nombre() < archivos[b].nombre();
        return archivos[a].nativaTexto() < archivos[b].nativaTexto();  // names that only show alike
    });
    std::vector<Archivo> ordenados;
    ordenados.reserve(archivos.size());
    for (std::size_t i : orden)
        ordenados.push_back(std::move(archivos[i]));
    return ordenados;
}

// ---------------------------------------------------------------- FlujoTexto

void FlujoTexto::escribirLinea(const QString& linea)
{
    escribirBytes(linea.toUtf8());
}

void FlujoTexto::escribirBytes(const QByteArray& linea)
{
    const QByteArray bytes = linea + "\r\n";
    errno = 0;
    m_salida.write(bytes.constData(), bytes.size());
    if (!m_salida)
        fallar(u"No se pudo escribir el archivo"_s, m_rutaTexto, errno);
}

void FlujoTexto::cerrar()
{
    errno = 0;
    m_salida.close();
    if (m_salida.fail())
        fallar(u"No se pudo escribir el archivo"_s, m_rutaTexto, errno);
}

// ---------------------------------------------------------------- ServicioArchivos

bool relativaSencilla(const fs::path& relativa)
{
    if (relativa.empty() || relativa.has_root_path())
        return false;
    for (const fs::path& parte : relativa)
        if (parte.empty() || parte == "." || parte == "..")
            return false;
    return true;
}

Carpeta ServicioArchivos::carpeta(const QString& ruta) const
{
    const QString contexto = u"No se pudo abrir la carpeta"_s;
    const fs::path nativa = rutaNativa(ruta);
    if (!fs::is_directory(estadoDe(nativa, contexto, ruta)))
        throw ErrorArchivo(contexto, ruta, u"no es una carpeta"_s);
    return Carpeta(nativa, ruta);
}

Archivo ServicioArchivos::archivo(const QString& ruta) const
{
    return archivo(rutaNativa(ruta), ruta);
}

Archivo ServicioArchivos::archivo(const fs::path& nativa, const QString& ruta) const
{
    const QString contexto = u"No se encontró el archivo"_s;
    if (!fs::is_regular_file(estadoDe(nativa, contexto, ruta)))
        throw ErrorArchivo(contexto, ruta, u"no es un archivo"_s);
    return Archivo(nativa, ruta, textoVisible(nativa.filename()));
}

// ---------------------------------------------------------------- helpers

bool estaDentroDe(const fs::path& carpeta, const fs::path& ruta)
{
    std::error_code ec;
    return estaDentroDe(carpeta, ruta, ec);
}

bool estaDentroDe(const fs::path& carpeta, const fs::path& ruta, std::error_code& ec)
{
    ec.clear();
    const fs::path nombre = ruta.filename();
    if (nombre.empty() || nombre == "." || nombre == "..")
        return false;
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

const QString kAbrirDatos = u"No se pudo abrir el archivo de datos"_s;
const QString kLeerDatos = u"No se pudo leer el archivo de datos"_s;

void leerPorTrozos(const Archivo& archivo, std::vector<char>& bufer, const std::function<void(std::string_view)>& trozo)
{
    ArchivoAbierto(archivo).leer(0, UINT64_MAX, bufer, trozo);
}
