// The file service: the folders, files and streams of the project and of the
// program's own batch file. It answers in QString paths, as the window shows
// them, and carries underneath the native path the file system gave, so that
// a file is always reached by that path and never by one rebuilt from a
// display string (a name need not be valid text, and two names may show alike).
// Archivos.cpp does what every system does alike; ArchivosPosix.cpp and
// ArchivosWindows.cpp each do the rest their own system's way, and
// ArchivosWindows.h declares what only Windows has.
#pragma once

#include <QString>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <vector>

// The separator that joins a folder and a name in every path the program forms:
// the system's own, a backslash on Windows and "/" elsewhere.
inline constexpr char16_t kSeparador = char16_t(std::filesystem::path::preferred_separator);

// A failed file operation: which path, and why, in words for the user.
class ErrorArchivo : public std::runtime_error {
public:
    ErrorArchivo(QString contexto, QString ruta, QString motivo);
    QString contexto;  // what was being done, e.g. "No se pudo leer la carpeta"
    QString ruta;
    QString motivo;         // Spanish, without final full stop
    QString texto() const;  // the three together, ready for a message box
};

// Why an entry outside the project folder is neither measured nor deleted.
extern const QString kFueraDelProyecto;

// Spanish words for an operating-system error.
QString motivoEnEspanol(const std::error_code& ec);

// Native path for a path typed as text, and back. The way back gives nothing
// when the name cannot survive the round trip (bytes that are not valid in the
// file-name encoding); textoVisible then shows those bytes as U+FFFD, which
// is for the eyes only: such a text never leads back to the file.
std::filesystem::path rutaNativa(const QString& ruta);
std::optional<QString> textoDeRuta(const std::filesystem::path& ruta);
QString textoVisible(const std::filesystem::path& ruta);
QString textoVisible(std::basic_string_view<std::filesystem::path::value_type> nativa);

class Archivo {
public:
    using Nativo = std::filesystem::path::string_type;
    Archivo(const std::filesystem::path& ruta, const QString& rutaTexto, QString nombre);
    // As a folder lists it: the folder's text, shared by all its files.
    static Archivo deCarpeta(Nativo ruta, QString carpetaTexto, QString nombre);
    const QString& nombre() const { return m_nombre; }
    QString ruta() const { return m_carpetaTexto + kSeparador + m_nombre; }
    // The path the file system gave, kept as its plain string: thousands of
    // files cost one string apiece, not one per folder on the way.
    const Nativo& nativaTexto() const { return m_ruta; }
    std::filesystem::path nativa() const { return m_ruta; }
    // The path in 8.3 names where the volume keeps them, which any code page
    // can spell; else (and off Windows, where there are none) the full path.
    // In the ordinary form, as cmd takes it; on Windows it throws ErrorArchivo
    // when that form names another file: where a name ends in a dot or a blank
    // and has no 8.3 name to stand in for it.
    QString rutaParaLote() const;

private:
    Archivo() = default;
    Nativo m_ruta;
    QString m_carpetaTexto;
    QString m_nombre;
};

class Carpeta {
public:
    Carpeta(std::filesystem::path ruta, QString rutaTexto);
    // The plain files directly in the folder (links followed), sorted by name
    // the way Windows lists them. Entries that hold no stored data (sub-folders,
    // devices, pipes, sockets, links that lead nowhere) are passed over; an
    // entry whose kind cannot be told (no permission, a disk error) is not:
    // it throws, since a file left out silently would be a wrong result. On
    // Windows the listing itself tells each entry's kind, so that only a link
    // can turn out to lead nowhere.
    std::vector<Archivo> archivos() const;

private:
    std::filesystem::path m_ruta;
    QString m_rutaTexto;
};

class FlujoTexto {
public:
    FlujoTexto(std::filesystem::path ruta, QString rutaTexto);
    void escribirLinea(const QString& linea);  // UTF-8, ended by CR LF
    // In the encoding cmd reads a batch file in: the console's (OEM) code page
    // on Windows, the local 8-bit encoding elsewhere. Ended by CR LF. On
    // Windows a line without an exact form there is not written at all: it
    // throws, so that a batch file never holds a line that reads otherwise.
    void escribirLineaLocal(const QString& linea);
    void cerrar();

private:
    void escribirBytes(const QByteArray& linea);

    std::filesystem::path m_ruta;
    QString m_rutaTexto;
    std::ofstream m_salida;
};

// An entry as deletion would remove it: its size, and how many names its
// file has (hard links), since removing one name of several frees nothing.
struct MedidaEntrada {
    std::uint64_t bytes = 0;
    std::uint64_t nombres = 1;
    // Which file it is: entries with the same volume and index are one file.
    std::uint64_t volumen = 0;
    std::uint64_t indice = 0;
};

class ServicioArchivos {
public:
    // Whether anything is there: a file, a folder, or a link that does not
    // dangle (a link in a loop counts: it is there, only unusable).
    bool existe(const QString& ruta) const;
    Carpeta carpeta(const QString& ruta) const;
    Archivo archivo(const QString& ruta) const;
    Archivo archivo(const std::filesystem::path& ruta, const QString& rutaTexto) const;
    std::unique_ptr<FlujoTexto> crearTexto(const QString& ruta, bool sobrescribir) const;

    // The entry `relativa` (folders, then a name) of the project folder
    // `proyecto`, measured or removed as itself (a link as a link) and reached
    // only through real folders inside the project: it is checked to lie
    // inside once links and ".." are resolved, and then reached folder by
    // folder without following a link, so that a folder swapped for a link
    // after the check cannot lead elsewhere. `rutaTexto` names it in errors.
    MedidaEntrada medirEntrada(const std::filesystem::path& proyecto, const std::filesystem::path& relativa,
                               const QString& rutaTexto) const;
    void borrarEntrada(const std::filesystem::path& proyecto, const std::filesystem::path& relativa,
                       const QString& rutaTexto, bool forzar) const;
};

// Whether `ruta` (which need not exist) lies inside `carpeta` once every link
// and ".." on the way to it is resolved; the last name of `ruta` is taken as it
// stands, so a link there counts as inside. When that cannot be told (a folder
// on the way cannot be searched, the disk fails), the answer is no and `ec`
// holds the reason, which is then the user's to read, not "outside". Windows
// links are not seen here (std::filesystem there resolves none of them): the
// file service checks those on the handle it acts through.
bool estaDentroDe(const std::filesystem::path& carpeta, const std::filesystem::path& ruta, std::error_code& ec);
bool estaDentroDe(const std::filesystem::path& carpeta, const std::filesystem::path& ruta);

// A data file held open, so that several threads can read parts of one large
// file at once, each at its own offset, without sharing a file position.
// Whatever turns out to hold no stored data when it is opened (a pipe or
// device put in the file's place) is read as empty and never waited on.
class ArchivoAbierto {
public:
    // Throws ErrorArchivo when the file cannot be opened.
    explicit ArchivoAbierto(const Archivo& archivo);
    ~ArchivoAbierto();
    ArchivoAbierto(const ArchivoAbierto&) = delete;
    ArchivoAbierto& operator=(const ArchivoAbierto&) = delete;

    // The size when it was opened, learnt from the open file itself.
    std::uint64_t tamano() const { return m_tamano; }
    // Reads bytes [desde, hasta) in pieces into `bufer`, handing each piece
    // to `trozo`; stops early at the end of the file, so that `hasta` may lie
    // beyond it. Throws ErrorArchivo when the file cannot be read.
    void leer(std::uint64_t desde, std::uint64_t hasta, std::vector<char>& bufer,
              const std::function<void(std::string_view)>& trozo) const;

private:
    QString m_ruta;
    std::uint64_t m_tamano = 0;
    bool m_datos = false;  // a plain file, not a device or a pipe
    // The open file as its system holds it, each system's source using its
    // own member: a HANDLE on Windows (null when none was opened), a
    // descriptor elsewhere (set before anything reads it).
    union {
        void* m_handle = nullptr;
        int m_fd;
    };
};

// Reads a file from start to end in pieces into `bufer`, handing each piece to
// `trozo`, as ArchivoAbierto does. Throws ErrorArchivo when the file cannot
// be opened or read.
void leerPorTrozos(const Archivo& archivo, std::vector<char>& bufer,
                   const std::function<void(std::string_view)>& trozo);
