// The file service on real folders: what a folder lists, what fails and how
// it says so, what deleting and writing leave on disk.
#include "apoyo/Apoyo.h"
#include "platform/Archivos.h"
#include "platform/Escritorio.h"
#include "platform/PlataformaQt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#ifdef Q_OS_WIN
#include "platform/ArchivosWindows.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#undef borrarEntrada
#endif

using namespace Qt::StringLiterals;
namespace fs = std::filesystem;

namespace {
#ifdef Q_OS_WIN
// The "\\?\" form, which takes any name at any length as it stands.
std::wstring extendida(const fs::path& ruta)
{
    return L"\\\\?\\" + ruta.lexically_normal().native();
}
#endif

void Escribir(const fs::path& ruta, const std::string& contenido = "x")
{
    fs::create_directories(ruta.parent_path());
    std::ofstream(ruta, std::ios::binary) << contenido;
}

// As Escribir, but on Windows with the name as it stands, at any length.
void escribirTalCual(const fs::path& ruta, const std::string& contenido)
{
#ifdef Q_OS_WIN
    fs::path carpeta;
    for (const fs::path& parte : ruta.parent_path())
        CreateDirectoryW(extendida(carpeta /= parte).c_str(), nullptr);
    std::ofstream(fs::path(extendida(ruta)), std::ios::binary) << contenido;
#else
    Escribir(ruta, contenido);
#endif
}

#ifdef Q_OS_WIN
// Under Wine, runs the host's /bin/`programa` on the host paths of `rutas`,
// and waits until `hecho` holds: Wine starts a host program as it would a
// Windows one, but hands back no handle to wait on.
bool EnElAnfitrion(const QString& programa, const QString& opcion, const std::vector<fs::path>& rutas,
                   const std::function<bool()>& hecho)
{
    using NombreUnix = char*(CDECL*)(LPCWSTR);
    const auto nombreUnix = reinterpret_cast<NombreUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    if (!nombreUnix)
        return false;
    QString orden = programa + u' ' + opcion;
    for (const fs::path& ruta : rutas) {
        // The folder's, then the name as it stands: a final dot would be lost.
        char* unix = nombreUnix(ruta.parent_path().c_str());
        orden += u" \""_s + QString::fromUtf8(unix) + u'/' + QString::fromStdWString(ruta.filename()) + u'"';
        HeapFree(GetProcessHeap(), 0, unix);
    }
    std::wstring linea = orden.toStdWString();
    STARTUPINFOW inicio{};
    inicio.cb = sizeof inicio;
    PROCESS_INFORMATION proceso{};
    if (!CreateProcessW((u"Z:\\bin\\"_s + programa).toStdWString().c_str(), linea.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &inicio, &proceso))
        return false;
    for (int i = 0; i < 100 && !hecho(); ++i)
        Sleep(50);
    return hecho();
}

bool Hay(const fs::path& ruta)
{
    return GetFileAttributesW(extendida(ruta).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A link at `enlace` to `destino` (a folder or a file): a Windows link when
// this system lets a user make one; under Wine, whose CreateSymbolicLinkW
// says yes and makes nothing and which takes no junction (FSCTL_SET_REPARSE_POINT
// fails), a link of the host system, which Wine shows a folder link as a
// reparse point but follows a file link as a plain file. Says which, or why none.
enum class Enlace { Windows, Anfitrion, Ninguno };
Enlace Enlazar(const fs::path& destino, const fs::path& enlace, bool carpeta)
{
    const DWORD tipo = (carpeta ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
    if (CreateSymbolicLinkW(enlace.c_str(), destino.c_str(), tipo) && Hay(enlace)
        && (GetFileAttributesW(enlace.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT))
        return Enlace::Windows;
    return EnElAnfitrion(u"ln"_s, u"-s"_s, {destino, enlace}, [&] { return Hay(enlace); }) ? Enlace::Anfitrion
                                                                                           : Enlace::Ninguno;
}
#endif

QStringList Nombres(const std::vector<Archivo>& archivos)
{
    QStringList r;
    for (const Archivo& a : archivos)
        r << a.nombre();
    return r;
}
}  // namespace

class PruebaArchivos : public QObject {
    Q_OBJECT
private slots:
    void listarCarpeta();
    void errores();
    void borrar();
    void escribirTexto();
    void dentroDeLaCarpeta();
    void leerPorTrozos();
    void cualquierNombreYLargo_data();
    void cualquierNombreYLargo();
    void abrirConElEscritorio();
    void loQueSeEjecuta_data();
    void loQueSeEjecuta();
};

void PruebaArchivos::listarCarpeta()
{
    QTemporaryDir dir;
    const fs::path base = rutaNativa(dir.path());
    for (const char* n : {"b.png", "B2.png", "a.PNG", "_x", "Árbol.png", "ab c.ogg"})
        Escribir(base / fs::u8path(n));
    Escribir(base / "Sub" / "dentro.png");
#ifdef Q_OS_UNIX
    Escribir(base / "a\\b.png");  // a separator on Windows
    fs::create_symlink("b.png", base / "enlace.png");
    fs::create_symlink("nada", base / "roto.png");
    fs::create_symlink("ciclo.png", base / "ciclo.png");
    fs::create_directory_symlink("Sub", base / "SubEnlace");
#endif
    ServicioArchivos s;
    const auto archivos = s.carpeta(dir.path()).archivos();
    QStringList esperados = {u"_x"_s, u"a.PNG"_s, u"ab c.ogg"_s, u"b.png"_s, u"B2.png"_s};
#ifdef Q_OS_UNIX
    esperados.insert(2, u"a\\b.png"_s);
    esperados.insert(esperados.indexOf(u"_x"_s) + 1, u"enlace.png"_s);
    esperados.move(esperados.indexOf(u"enlace.png"_s), esperados.size() - 1);
#endif
    esperados << u"Árbol.png"_s;
    // Case-insensitive order; files only; no sub-folders, broken links or loops.
    QStringList obtenidos = Nombres(archivos);
    QCOMPARE(obtenidos.size(), esperados.size());
    for (const QString& n : esperados)
        QVERIFY2(obtenidos.contains(n), qPrintable(n));
    QVERIFY(obtenidos.indexOf(u"a.PNG"_s) < obtenidos.indexOf(u"b.png"_s));
    QVERIFY(obtenidos.indexOf(u"b.png"_s) < obtenidos.indexOf(u"B2.png"_s));
    QCOMPARE(archivos.front().ruta(), dir.path() + QDir::separator() + archivos.front().nombre());

#ifdef Q_OS_LINUX
    // A name that is not valid text is listed, shown with U+FFFD, and keeps its
    // own bytes; a name made of the replacement character itself stays apart.
    QTemporaryDir otra;
    const fs::path raros = rutaNativa(otra.path());
    Escribir(raros / "Mal\xff.png");
    Escribir(raros / "Mal\xef\xbf\xbd.png");
    const auto listados = s.carpeta(otra.path()).archivos();
    QCOMPARE(Nombres(listados), (QStringList{u"Mal\uFFFD.png"_s, u"Mal\uFFFD.png"_s}));
    std::set<fs::path> nativas = {listados[0].nativa(), listados[1].nativa()};
    QVERIFY(nativas == (std::set<fs::path>{raros / "Mal\xff.png", raros / "Mal\xef\xbf\xbd.png"}));
    QVERIFY(!textoDeRuta(raros / "Mal\xff.png"));
    fs::remove(raros / "Mal\xff.png");  // QTemporaryDir can't remove what it can't name
#endif
}

void PruebaArchivos::errores()
{
    QTemporaryDir dir;
    ServicioArchivos s;
    const QString falta = dir.path() + u"/falta"_s;
    try {
        s.carpeta(falta);
        QFAIL("a missing folder was opened");
    } catch (const ErrorArchivo& e) {
        QCOMPARE(e.texto(), u"No se pudo abrir la carpeta:\r\n"_s + falta + u"\r\nMotivo: no existe."_s);
    }
    QVERIFY(!s.existe(falta));
    try {
        s.archivo(dir.path());
        QFAIL("a folder was taken for a file");
    } catch (const ErrorArchivo& e) {
        QCOMPARE(e.motivo, u"no es un archivo"_s);
    }
    QVERIFY_THROWS_EXCEPTION(ErrorArchivo, s.archivo(falta));
    // A data file gone between its listing and its reading is told, never
    // read as empty.
    const QString dato = dir.path() + u"/Map001.rxdata"_s;
    Escribir(rutaNativa(dato));
    const Archivo listado = s.archivo(dato);
    fs::remove(rutaNativa(dato));
    try {
        ArchivoAbierto abierto(listado);
        QFAIL("a data file gone since its listing was opened");
    } catch (const ErrorArchivo& e) {
        QCOMPARE(e.contexto, u"No se pudo abrir el archivo de datos"_s);
        QCOMPARE(e.motivo, u"no existe"_s);
    }

    QCOMPARE(motivoEnEspanol(std::make_error_code(std::errc::permission_denied)), u"permiso denegado"_s);
    QCOMPARE(motivoEnEspanol(std::make_error_code(std::errc::no_space_on_device)), u"no queda espacio en el disco"_s);
    QVERIFY(motivoEnEspanol(std::make_error_code(std::errc::broken_pipe)).startsWith(u"error del sistema ("_s));
}

void PruebaArchivos::borrar()
{
    // Measuring and deleting an entry of a project folder, as the list's
    // commands do: the entry itself, and only inside the project.
    QTemporaryDir dir, fuera;
    const fs::path base = rutaNativa(dir.path());
    const fs::path afuera = rutaNativa(fuera.path());
    ServicioArchivos s;
    const auto medir = [&](const fs::path& relativa) { return s.medirEntrada(base, relativa, u"x"_s).bytes; };
    const auto borrar = [&](const fs::path& relativa) { s.borrarEntrada(base, relativa, u"x"_s, true); };
    const auto motivo = [&](const std::function<void()>& accion) {
        try {
            accion();
        } catch (const ErrorArchivo& e) {
            return e.motivo;
        }
        return QString();
    };
    const fs::path iconos = fs::path("Graphics") / "Icons";

    Escribir(base / iconos / "solo lectura.png", std::string(2040, 'x'));
    fs::permissions(base / iconos / "solo lectura.png", fs::perms::owner_read);
    QCOMPARE(medir(iconos / "solo lectura.png"), std::uint64_t(2040));
    borrar(iconos / "solo lectura.png");
    QVERIFY(!fs::exists(fs::symlink_status(base / iconos / "solo lectura.png")));
    QCOMPARE(motivo([&] { borrar(iconos / "solo lectura.png"); }), u"no existe"_s);

    fs::create_directory(base / iconos / "carpeta");
    QCOMPARE(motivo([&] { medir(iconos / "carpeta"); }), u"es una carpeta"_s);
    QCOMPARE(motivo([&] { borrar(iconos / "carpeta"); }), u"es una carpeta"_s);
    QVERIFY(fs::is_directory(base / iconos / "carpeta"));

    // Nothing that climbs out, by ".." or by a resource folder that leads elsewhere.
    Escribir(afuera / "Ajeno.png", "valioso");
    const fs::path fueraRel = fs::path("Graphics") / ".." / ".." / afuera.filename() / "Ajeno.png";
    QCOMPARE(motivo([&] { medir(fueraRel); }), u"no está dentro de la carpeta del proyecto"_s);
    QCOMPARE(motivo([&] { borrar(fueraRel); }), u"no está dentro de la carpeta del proyecto"_s);
    QCOMPARE(motivo([&] { borrar(""); }), u"no está dentro de la carpeta del proyecto"_s);
    QVERIFY(fs::exists(afuera / "Ajeno.png"));
#ifdef Q_OS_UNIX
    Escribir(base / iconos / "objetivo.png", std::string(5000, 'x'));
    fs::create_symlink("objetivo.png", base / iconos / "enlace.png");
    QCOMPARE(medir(iconos / "enlace.png"), std::uint64_t(12));  // the link's own size: its target's name
    borrar(iconos / "enlace.png");
    QVERIFY(!fs::is_symlink(base / iconos / "enlace.png"));
    QVERIFY(fs::exists(base / iconos / "objetivo.png"));
    fs::create_symlink("nada.png", base / iconos / "roto.png");
    borrar(iconos / "roto.png");  // a broken link on the list still goes
    QVERIFY(!fs::is_symlink(base / iconos / "roto.png"));

    fs::create_directory_symlink(afuera, base / "Graphics" / "Fogs");
    QCOMPARE(motivo([&] { borrar(fs::path("Graphics") / "Fogs" / "Ajeno.png"); }),
             u"no está dentro de la carpeta del proyecto"_s);
    // A folder that is a link is never walked through, even one that leads
    // back inside: it could have been swapped for one after any check.
    fs::create_directory_symlink("Icons", base / "Graphics" / "Otros");
    QCOMPARE(motivo([&] { borrar(fs::path("Graphics") / "Otros" / "objetivo.png"); }),
             u"no está dentro de la carpeta del proyecto"_s);
    QVERIFY(fs::exists(afuera / "Ajeno.png") && fs::exists(base / iconos / "objetivo.png"));
#endif
#ifdef Q_OS_WIN
    // A read-only file that cannot go keeps its flag: open elsewhere without
    // leave to delete it, or loaded as a program image, which Windows (and
    // Wine) refuse to delete only once the flag is already cleared.
    const fs::path ocupado = base / iconos / "ocupado.png";
    for (const bool imagen : {false, true}) {
        QVERIFY(fs::copy_file(rutaNativa(QCoreApplication::applicationFilePath()), ocupado));
        SetFileAttributesW(ocupado.c_str(), FILE_ATTRIBUTE_READONLY);
        const HANDLE abierto = imagen
            ? nullptr
            : CreateFileW(ocupado.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        const HMODULE cargado =
            imagen ? LoadLibraryExW(ocupado.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE) : nullptr;
        QVERIFY(imagen ? cargado != nullptr : abierto != INVALID_HANDLE_VALUE);
        QCOMPARE(motivo([&] { borrar(iconos / "ocupado.png"); }), imagen ? u"permiso denegado"_s : u"está en uso"_s);
        imagen ? FreeLibrary(cargado) : CloseHandle(abierto);
        QVERIFY(GetFileAttributesW(ocupado.c_str()) & FILE_ATTRIBUTE_READONLY);
        borrar(iconos / "ocupado.png");  // once let go, it goes, flag and all
        QVERIFY(!Hay(ocupado));
    }

    // A folder on the way leads elsewhere when its reparse tag stands for
    // another name; OneDrive marks the folders it keeps with tags that don't.
    constexpr unsigned long reparse = 0x400, directorio = 0x10;
    QVERIFY(llevaAOtroSitio(reparse | directorio, 0xA000000C));   // a folder link
    QVERIFY(llevaAOtroSitio(reparse | directorio, 0xA0000003));   // a junction, a mount point
    QVERIFY(!llevaAOtroSitio(reparse | directorio, 0x9000701A));  // a OneDrive folder
    QVERIFY(!llevaAOtroSitio(reparse | directorio, 0x9000001A));  // another cloud folder
    QVERIFY(!llevaAOtroSitio(directorio, 0));                     // a plain folder

    // A resource folder that is a link is refused, whatever it leads to.
    const Enlace carpeta = Enlazar(afuera, base / "Graphics" / "Fogs", true);
    if (carpeta != Enlace::Ninguno) {
        QCOMPARE(motivo([&] { medir(fs::path("Graphics") / "Fogs" / "Ajeno.png"); }),
                 u"no está dentro de la carpeta del proyecto"_s);
        QCOMPARE(motivo([&] { borrar(fs::path("Graphics") / "Fogs" / "Ajeno.png"); }),
                 u"no está dentro de la carpeta del proyecto"_s);
        QVERIFY(fs::exists(afuera / "Ajeno.png"));
    }
    // A listed file link: measured and removed as itself where Windows makes
    // one; a host link under Wine is followed by Wine, so it is refused.
    Escribir(base / iconos / "objetivo.png", std::string(5000, 'x'));
    const Enlace archivo = Enlazar(afuera / "Ajeno.png", base / iconos / "enlace.png", false);
    const Enlace interno = Enlazar(base / iconos / "objetivo.png", base / iconos / "interno.png", false);
    Enlazar(base / iconos / "objetivo.png", base / iconos / "objetivo.png.", false);  // Wine names both alike
    if (archivo == Enlace::Windows) {
        QCOMPARE(medir(iconos / "enlace.png"), std::uint64_t(0));
        borrar(iconos / "enlace.png");
        QVERIFY(!Hay(base / iconos / "enlace.png"));
    } else if (archivo == Enlace::Anfitrion) {
        QCOMPARE(motivo([&] { medir(iconos / "enlace.png"); }), u"no está dentro de la carpeta del proyecto"_s);
        QCOMPARE(motivo([&] { borrar(iconos / "enlace.png"); }), u"no está dentro de la carpeta del proyecto"_s);
        QCOMPARE(interno, Enlace::Anfitrion);
        QCOMPARE(motivo([&] { borrar(iconos / "interno.png"); }), u"es un enlace a otro archivo"_s);
        QCOMPARE(motivo([&] { borrar(iconos / "objetivo.png."); }), u"es un enlace a otro archivo"_s);
    }
    QCOMPARE(fs::file_size(afuera / "Ajeno.png"), std::uintmax_t(7));
    QCOMPARE(fs::file_size(base / iconos / "objetivo.png"), std::uintmax_t(5000));
    if (archivo == Enlace::Anfitrion) {
        // Wine would delete what a host link leads to: the host removes them.
        const std::vector<fs::path> enlaces = {base / "Graphics" / "Fogs", base / iconos / "enlace.png",
                                               base / iconos / "interno.png", base / iconos / "objetivo.png."};
        QVERIFY(EnElAnfitrion(u"rm"_s, u"-f"_s, enlaces,
                              [&] { return std::none_of(enlaces.begin(), enlaces.end(), Hay); }));
    }
    if (carpeta == Enlace::Ninguno || archivo != Enlace::Windows)
        QSKIP("no folder link, or no Windows file link (Wine makes none): not every link case shown");
#endif
}

void PruebaArchivos::escribirTexto()
{
    QTemporaryDir dir;
    ServicioArchivos s;
    const QString ruta = dir.path() + u"/temporal.bat"_s;
    {
        auto f = s.crearTexto(ruta, true);
        f->escribirLinea(u"start /a/una ruta larga/ñandú.png"_s);
        f->cerrar();
    }
    {
        auto f = s.crearTexto(ruta, true);
        f->escribirLinea(u"start /b.png"_s);
        f->cerrar();
    }
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("start /b.png\r\n"));
    f.close();
    QVERIFY_THROWS_EXCEPTION(ErrorArchivo, s.crearTexto(ruta, false));
    QVERIFY_THROWS_EXCEPTION(ErrorArchivo, s.crearTexto(dir.path() + u"/no/hay/x.bat"_s, true));

    // A batch file's line is 8-bit text as cmd reads it: the console's code
    // page on Windows, the local encoding elsewhere.
    s.crearTexto(ruta, true)->escribirLineaLocal(u"start Dragón.png"_s);
    QVERIFY(f.open(QIODevice::ReadOnly));
#ifdef Q_OS_WIN
    QCOMPARE(comoLeeCmd(f.readAll()), u"start Dragón.png\r\n"_s);
    f.close();
    // Rather than a look-alike that cmd reads as a quote or an "&", no line.
    QVERIFY_THROWS_EXCEPTION(ErrorArchivo,
                             s.crearTexto(ruta, true)->escribirLineaLocal(u"start \"a\uFF02 \uFF06 calc\""_s));
    QCOMPARE(QFileInfo(ruta).size(), 0);
    // Without an 8.3 name (none for a file not there), a name that cmd would
    // read without its final dot gives no path for the batch file.
    const Archivo falta(rutaNativa(dir.path()) / L"no hay.png.", dir.path() + u"/no hay.png."_s, u"no hay.png."_s);
    QVERIFY_THROWS_EXCEPTION(ErrorArchivo, falta.rutaParaLote());
#else
    QCOMPARE(f.readAll(), QByteArray("start Drag\xc3\xb3n.png\r\n"));
#endif

    // The program's folder when a file can be written there, else the
    // fallback, made as needed; here a "folder" that is a file takes none.
    const QString respaldo = dir.path() + u"/datos/Mondrix"_s;
    QCOMPARE(carpetaParaEscribir(dir.path(), respaldo), QDir::toNativeSeparators(dir.path()));
    QCOMPARE(carpetaParaEscribir(ruta, respaldo), QDir::toNativeSeparators(respaldo));
    QVERIFY(QFileInfo(respaldo).isDir());
    QCOMPARE(carpetaParaEscribir(ruta, ruta + u"/datos"_s), QDir::toNativeSeparators(ruta));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"temporal.bat"_s});  // no trial file left
}

void PruebaArchivos::dentroDeLaCarpeta()
{
    QTemporaryDir dir, otra;
    const fs::path base = rutaNativa(dir.path());
    fs::create_directories(base / "Graphics" / "Icons");
    QVERIFY(estaDentroDe(base, base / "Graphics" / "Icons" / "a.png"));
    QVERIFY(estaDentroDe(base / ".", base / "Graphics" / ".." / "Graphics" / "Icons" / "a.png"));
    QVERIFY(!estaDentroDe(base / "Graphics", base / "Graphics" / ".." / "Game.rxproj"));
    QVERIFY(!estaDentroDe(base, base / "Graphics" / ".."));
    QVERIFY(!estaDentroDe(base / "Graphics" / "Icons", base / "Graphics" / "Icons2" / "a.png"));
    // What cannot be told is no, with its own reason.
    std::error_code ec;
    QVERIFY(!estaDentroDe(base / "falta", base / "falta" / "a.png", ec));
    QCOMPARE(motivoEnEspanol(ec), u"no existe"_s);
    QVERIFY(estaDentroDe(base, base / "Graphics" / "a.png", ec) && !ec);
#ifdef Q_OS_UNIX
    fs::create_directory_symlink(rutaNativa(otra.path()), base / "Graphics" / "Fogs");
    QVERIFY(!estaDentroDe(base, base / "Graphics" / "Fogs" / "a.png"));
    fs::create_symlink(rutaNativa(otra.path()) / "a.png", base / "Graphics" / "Icons" / "enlace.png");
    QVERIFY(estaDentroDe(base, base / "Graphics" / "Icons" / "enlace.png"));  // the link itself is inside
#endif
#ifdef Q_OS_WIN
    // The form each Windows call is given: names kept as they stand, a share's too.
    const auto extendida = [](const wchar_t* ruta) { return QString::fromStdWString(rutaExtendida(ruta)); };
    QCOMPARE(extendida(L"C:/Juegos/./Mapas/../a.png."), uR"(\\?\C:\Juegos\a.png.)"_s);
    QCOMPARE(extendida(LR"(\\servidor\juegos\b.png )"), uR"(\\?\UNC\servidor\juegos\b.png )"_s);
#endif
}

void PruebaArchivos::leerPorTrozos()
{
    QTemporaryDir dir;
    std::string contenido;
    for (int i = 0; i < 5000; ++i)
        contenido += char(i * 7);
    Escribir(rutaNativa(dir.path()) / "d.rxdata", contenido);
    Escribir(rutaNativa(dir.path()) / "vacio.rxdata", "");
    const auto archivos = ServicioArchivos().carpeta(dir.path()).archivos();
    std::vector<char> bufer(1000);
    std::string leido;
    int trozos = 0;
    ::leerPorTrozos(archivos[0], bufer, [&](std::string_view t) {
        leido += t;
        ++trozos;
    });
    QCOMPARE(leido, contenido);
    QCOMPARE(trozos, 5);
    ::leerPorTrozos(archivos[1], bufer, [&](std::string_view) { QFAIL("an empty file has no piece"); });
    // Ranges of one open file, as the workers read a large one; one that
    // runs past the end stops there.
    const ArchivoAbierto abierto(archivos[0]);
    QCOMPARE(abierto.tamano(), std::uint64_t(5000));
    for (const auto& [desde, hasta] : {std::pair(1234, 3000), std::pair(4990, 9000), std::pair(5000, 5001)}) {
        leido.clear();
        abierto.leer(std::uint64_t(desde), std::uint64_t(hasta), bufer, [&](std::string_view t) { leido += t; });
        QCOMPARE(leido, contenido.substr(std::size_t(desde), std::size_t(std::min(hasta, 5000) - desde)));
    }
#ifdef Q_OS_UNIX
    // A pipe put where a data file was listed is not waited on.
    const fs::path tuberia = rutaNativa(dir.path()) / "tuberia.rxdata";
    QVERIFY(mkfifo(tuberia.c_str(), 0600) == 0);
    ::leerPorTrozos(Archivo(tuberia, u"tuberia"_s, u"tuberia"_s), bufer,
                    [&](std::string_view) { QFAIL("a pipe has no piece"); });
#endif
}

void PruebaArchivos::cualquierNombreYLargo_data()
{
    // Names that Windows' ordinary form would make into others, and a path past
    // its 260 characters: each listed, opened, measured and deleted as itself.
    QTest::addColumn<QString>("carpeta");
    QTest::addColumn<QString>("nombre");
    QTest::newRow("name ending in a blank") << u"Graphics/Icons"_s << u"b.png "_s;
    QTest::newRow("name ending in a dot") << u"Graphics/Icons"_s << u"a.png."_s;
    QTest::newRow("path over 260 characters")
        << QString(QString(50, u'a') + u'/').repeated(5) + u"Data"_s << u"Map001.rxdata"_s;
}

void PruebaArchivos::cualquierNombreYLargo()
{
    QFETCH(QString, carpeta);
    QFETCH(QString, nombre);
    QTemporaryDir dir;
    const QString texto = QDir::toNativeSeparators(dir.path() + u'/' + carpeta);
    const fs::path base = rutaNativa(dir.path()), relativa = rutaNativa(carpeta + u'/' + nombre);
    escribirTalCual(base / relativa, std::string(3000, 'x'));
    ServicioArchivos s;
    const auto archivos = s.carpeta(texto).archivos();
    QCOMPARE(Nombres(archivos), QStringList{nombre});
    QCOMPARE(archivos[0].ruta(), texto + QDir::separator() + nombre);  // the ordinary form
    QCOMPARE(ArchivoAbierto(archivos[0]).tamano(), std::uint64_t(3000));
    QCOMPARE(s.medirEntrada(base, relativa, u"x"_s).bytes, std::uint64_t(3000));
    s.borrarEntrada(base, relativa, u"x"_s, false);
    QVERIFY(s.carpeta(texto).archivos().empty());
}

void PruebaArchivos::abrirConElEscritorio()
{
    // The desktop's opener gets a URL that holds every byte of the name, so
    // that no character of it is ever read as anything but a name.
    const auto bytesDe = [](const QUrl& url) {
        return url.isValid() && url.isLocalFile() ? QByteArray::fromPercentEncoding(url.toEncoded().mid(7))
                                                  : QByteArray("invalid URL");
    };
#ifdef _WIN32
    const QByteArray unidad = "C:";  // where an absolute path starts there: file:///C:/juegos/x
    const auto ruta = [](const char* nombre) {
        return fs::path(u"C:"_s.append(QString::fromUtf8(nombre)).toStdWString());
    };
#else
    const QByteArray unidad;
    const auto ruta = [](const char* nombre) { return fs::path(nombre); };
#endif
    const char* const nombres[] = {
        "/juegos/-x & rm -rf ~; echo $HOME `id` \"a\" 'b' | c.png",
        "/juegos/x\ny.png",
        "/juegos/x\r\n.png",
        "/juegos/Canción 100%.png",
        "/juegos/a#b?c.png",
#ifdef Q_OS_LINUX
        "/juegos/Mal\xff.png",
#endif
    };
    for (const char* nombre : nombres)
        QCOMPARE(bytesDe(urlDeArchivo(ruta(nombre))), (unidad.isEmpty() ? QByteArray() : "/" + unidad) + nombre);
    QCOMPARE(urlDeArchivo(ruta("/juegos/Canción.png")),
             QUrl::fromLocalFile(QString::fromLatin1(unidad) + u"/juegos/Canción.png"_s));

    // Explorer gets the path as one quoted argument after /select, or nothing.
    const auto linea = [](const QString& ruta) {
        return lineaDelExplorador(uR"(C:\Windows\explorer.exe)"_s, ruta).value_or(u"(nada)"_s);
    };
    QCOMPARE(linea(uR"(C:\juegos\a,b; c\x.bat)"_s), uR"("C:\Windows\explorer.exe" /select,"C:\juegos\a,b; c\x.bat")"_s);
    QCOMPARE(linea(uR"(\\?\C:\juegos\x.bat)"_s), uR"("C:\Windows\explorer.exe" /select,"C:\juegos\x.bat")"_s);
    QCOMPARE(linea(uR"(\\?\UNC\pc\juegos\x.bat)"_s), uR"("C:\Windows\explorer.exe" /select,"\\pc\juegos\x.bat")"_s);
    QCOMPARE(linea(uR"(C:\juegos\x" /root,"C:\x.bat)"_s), u"(nada)"_s);
}

void PruebaArchivos::loQueSeEjecuta_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<QString>("pathext");  // null: unset
    QTest::addColumn<bool>("enWindows");
    QTest::addColumn<bool>("enLinux");
    const QByteArray elf = "\x7f"
                           "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x3e\0"_ba;
    const QByteArray guion = "#!/bin/sh\ntouch marca\n";
    const QString nada;
    // Every file carries the executable bit, which decides nothing.
    QTest::newRow("PNG") << u"Foto.png"_s << "\x89PNG\r\n\x1a\n\0\0\0\rIHDR"_ba << nada << false << false;
    QTest::newRow("extensión desconocida") << u"x.foo"_s << QByteArray("x") << nada << false << false;
    QTest::newRow("BAT") << u"Instalar.BAT"_s << QByteArray("@echo off\r\n") << nada << true << true;
    QTest::newRow("puntos al final") << u"Instalar.bat. ."_s << QByteArray("@echo off\r\n") << nada << true << true;
    QTest::newRow("exe") << u"Heroe.png.Exe"_s << "MZ\x90\0"_ba << nada << true << true;
    QTest::newRow("lnk") << u"atajo.lnk"_s << "L\0\0\0"_ba << nada << true << true;
    QTest::newRow("ps1") << u"Cura.Ps1"_s << QByteArray("Remove-Item x") << nada << true << true;
    QTest::newRow("compiled Python") << u"leeme.pyc"_s << QByteArray("\x55\x0d\x0d\x0a") << nada << true << true;
    QTest::newRow("class identifier") << u"x.{3050F4D8-98B5-11CF-BB82-00AA00BDCE0B}"_s << QByteArray("<script>") << nada
                                      << true << true;
    QTest::newRow("sh vacío") << u"lanzar.sh"_s << QByteArray() << nada << true << true;
    QTest::newRow("ELF con nombre de PNG") << u"Heroe.png"_s << elf << nada << false << true;
    QTest::newRow("guion en .txt") << u"nota.txt"_s << guion << nada << false << true;
    QTest::newRow("escritorio") << u"Juego.desktop"_s
                                << QByteArray("[Desktop Entry]\nType=Application\nExec=touch marca\n") << nada << false
                                << true;
    QTest::newRow("PATHEXT") << u"x.foo"_s << QByteArray("x") << u".COM;.EXE;.FOO"_s << true << false;
    QTest::newRow("PATHEXT en minúsculas") << u"x.FoO"_s << QByteArray("x") << u".com;.foo"_s << true << false;
    QTest::newRow("PATHEXT sin BAT") << u"x.bat"_s << QByteArray("x") << u".COM;.EXE"_s << true << true;
}

void PruebaArchivos::loQueSeEjecuta()
{
    QFETCH(QString, nombre);
    QFETCH(QByteArray, contenido);
    QFETCH(QString, pathext);
    QFETCH(bool, enWindows);
    QFETCH(bool, enLinux);
    QCOMPARE(windowsLaEjecutaria(
                 nombre, pathext.isNull() ? u".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC"_s : pathext),
             enWindows);

    const bool habia = qEnvironmentVariableIsSet("PATHEXT");
    const QByteArray antes = qgetenv("PATHEXT");
    const auto restaurar = qScopeGuard([&] { habia ? qputenv("PATHEXT", antes) : qunsetenv("PATHEXT"); });
    pathext.isNull() ? qunsetenv("PATHEXT") : qputenv("PATHEXT", pathext.toUtf8());
    QTemporaryDir dir;
    const fs::path ruta = rutaNativa(dir.path()) / rutaNativa(nombre);
    Escribir(ruta, contenido.toStdString());
    fs::permissions(ruta, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add);
#ifdef Q_OS_WIN
    QCOMPARE(seEjecutariaAlAbrir(ruta), enWindows);
#else
    QCOMPARE(seEjecutariaAlAbrir(ruta), enLinux);
#endif
}

QTEST_GUILESS_MAIN(PruebaArchivos)
#include "tst_archivos.moc"
