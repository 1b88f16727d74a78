// The file service: every file and folder the program touches goes through
// here. It answers in QString paths, as the window shows them, and keeps the
// native path it was given underneath, so that a name is never rebuilt from a
// lossy display string.
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

// The separator that joins a folder and a name in every path the program forms.
#ifdef _WIN32
inline constexpr char16_t kSeparador = u'\\';
#else
inline constexpr char16_t kSeparador = u'/';
#endif

// A failed file operation: which path, and why, in words for the user.
class ErrorArchivo : public std::runtime_error {
public:
    ErrorArchivo(QString contexto, QString ruta, QString motivo);
    QString contexto;  // what was being done, e.g. "No se pudo leer la carpeta"
    QString ruta;
    QString motivo;    // Spanish, without final full stop
    QString Texto() const;  // the three together, ready for a message box
};

// Spanish words for an operating-system error.
QString MotivoEnEspanol(const std::error_code& ec);

// Native path for a path typed as text, and back. The way back gives nothing
// when the name cannot survive the round trip (bytes that are not valid in the
// file-name encoding): such a name must never be acted upon through its text.
std::filesystem::path RutaNativa(const QString& ruta);
std::optional<QString> TextoDeRuta(const std::filesystem::path& ruta);

class Archivo {
public:
    Archivo(std::filesystem::path ruta, QString rutaTexto, QString nombre);
    const QString& Name() const { return nombre_; }
    const QString& Path() const { return rutaTexto_; }
    const std::filesystem::path& Nativa() const { return ruta_; }
    std::uint64_t Size() const;
    // There are no 8.3 names here: the full path is the short one.
    QString ShortPath() const { return rutaTexto_; }

private:
    std::filesystem::path ruta_;
    QString rutaTexto_;
    QString nombre_;
};

class Carpeta {
public:
    Carpeta(std::filesystem::path ruta, QString rutaTexto);
    const QString& Path() const { return rutaTexto_; }
    // The plain files directly in the folder (links followed, sub-folders,
    // devices and pipes left out), sorted by name the way Windows lists them.
    std::vector<Archivo> Files() const;
    // How many entries the last Files() passed over because their name cannot
    // be represented faithfully.
    int NombresOmitidos() const { return omitidos_; }

private:
    std::filesystem::path ruta_;
    QString rutaTexto_;
    mutable int omitidos_ = 0;
};

class FlujoTexto {
public:
    FlujoTexto(std::filesystem::path ruta, QString rutaTexto);
    void WriteLine(const QString& linea);  // UTF-8, ended by CR LF
    void Close();

private:
    std::filesystem::path ruta_;
    QString rutaTexto_;
    std::ofstream salida_;
};

class ServicioArchivos {
public:
    bool FolderExists(const QString& ruta) const;
    // Whether anything is there: a file, a folder, or a link that does not
    // dangle (a link in a loop counts: it is there, only unusable).
    bool Existe(const QString& ruta) const;
    Carpeta GetFolder(const QString& ruta) const;
    Archivo GetFile(const QString& ruta) const;
    // Removes the entry itself: a link goes as a link, its target stays.
    void DeleteFile(const QString& ruta, bool forzar) const;
    std::unique_ptr<FlujoTexto> CreateTextFile(const QString& ruta, bool sobrescribir) const;
};

// Whether `ruta` (which need not exist) lies inside `carpeta` once every link
// and ".." on the way to it is resolved; the last name of `ruta` is taken as it
// stands, so a link there counts as inside.
bool EstaDentroDe(const std::filesystem::path& carpeta, const std::filesystem::path& ruta);

// Reads a file from start to end in pieces into `bufer`, handing each piece to
// `trozo`. Throws ErrorArchivo when the file cannot be opened or read.
void LeerPorTrozos(const Archivo& archivo, std::vector<char>& bufer,
                   const std::function<void(std::string_view)>& trozo);
