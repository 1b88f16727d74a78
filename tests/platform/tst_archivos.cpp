// The file service on real folders: what a folder lists, what fails and how
// it says so, what deleting and writing leave on disk.
#include "platform/Archivos.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>

using namespace Qt::StringLiterals;
namespace fs = std::filesystem;

namespace {
void Escribir(const fs::path& ruta, const std::string& contenido = "x")
{
    fs::create_directories(ruta.parent_path());
    std::ofstream(ruta, std::ios::binary) << contenido;
}

QStringList Nombres(const std::vector<Archivo>& archivos)
{
    QStringList r;
    for (const Archivo& a : archivos)
        r << a.Name();
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
};

void PruebaArchivos::listarCarpeta()
{
    QTemporaryDir dir;
    const fs::path base = RutaNativa(dir.path());
    for (const char* n : {"b.png", "B2.png", "a.PNG", "_x", "Árbol.png", "ab c.ogg", "a\\b.png"})
        Escribir(base / fs::u8path(n));
    Escribir(base / "Sub" / "dentro.png");
#ifdef Q_OS_UNIX
    fs::create_symlink("b.png", base / "enlace.png");
    fs::create_symlink("nada", base / "roto.png");
    fs::create_symlink("ciclo.png", base / "ciclo.png");
    fs::create_directory_symlink("Sub", base / "SubEnlace");
#endif
    ServicioArchivos s;
    const auto archivos = s.GetFolder(dir.path()).Files();
    QStringList esperados = {u"_x"_s, u"a.PNG"_s, u"a\\b.png"_s, u"ab c.ogg"_s, u"b.png"_s, u"B2.png"_s};
#ifdef Q_OS_UNIX
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
    QCOMPARE(archivos.front().Path(), dir.path() + u'/' + archivos.front().Name());
    QVERIFY(s.FolderExists(dir.path()) && !s.FolderExists(dir.path() + u"/b.png"_s));
}

void PruebaArchivos::errores()
{
    QTemporaryDir dir;
    ServicioArchivos s;
    const QString falta = dir.path() + u"/falta"_s;
    try {
        s.GetFolder(falta);
        QFAIL("a missing folder was opened");
    } catch (const ErrorArchivo& e) {
        QCOMPARE(e.Texto(), u"No se pudo abrir la carpeta:\r\n"_s + falta + u"\r\nMotivo: no existe."_s);
    }
    QVERIFY(!s.Existe(falta));
    try {
        s.GetFile(dir.path());
        QFAIL("a folder was taken for a file");
    } catch (const ErrorArchivo& e) {
        QCOMPARE(e.motivo, u"no es un archivo"_s);
    }
    QVERIFY_THROWS_EXCEPTION(ErrorArchivo, s.GetFile(falta));
    QVERIFY_THROWS_EXCEPTION(ErrorArchivo, s.DeleteFile(falta, true));

    QCOMPARE(MotivoEnEspanol(std::make_error_code(std::errc::permission_denied)), u"permiso denegado"_s);
    QCOMPARE(MotivoEnEspanol(std::make_error_code(std::errc::no_space_on_device)), u"no queda espacio en el disco"_s);
    QVERIFY(MotivoEnEspanol(std::make_error_code(std::errc::broken_pipe)).startsWith(u"error del sistema ("_s));
}

void PruebaArchivos::borrar()
{
    QTemporaryDir dir;
    const fs::path base = RutaNativa(dir.path());
    ServicioArchivos s;
    Escribir(base / "solo lectura.png");
    fs::permissions(base / "solo lectura.png", fs::perms::owner_read);
    s.DeleteFile(dir.path() + u"/solo lectura.png"_s, true);
    QVERIFY(!fs::exists(fs::symlink_status(base / "solo lectura.png")));

    fs::create_directory(base / "carpeta");
    QVERIFY_THROWS_EXCEPTION(ErrorArchivo, s.DeleteFile(dir.path() + u"/carpeta"_s, true));
    QVERIFY(fs::is_directory(base / "carpeta"));
#ifdef Q_OS_UNIX
    Escribir(base / "objetivo.png", "valioso");
    fs::create_symlink("objetivo.png", base / "enlace.png");
    s.DeleteFile(dir.path() + u"/enlace.png"_s, true);
    QVERIFY(!fs::is_symlink(base / "enlace.png"));
    QVERIFY(fs::exists(base / "objetivo.png"));
    fs::create_symlink("nada.png", base / "roto.png");
    s.DeleteFile(dir.path() + u"/roto.png"_s, true);  // a broken link on the list still goes
    QVERIFY(!fs::is_symlink(base / "roto.png"));
#endif
}

void PruebaArchivos::escribirTexto()
{
    QTemporaryDir dir;
    ServicioArchivos s;
    const QString ruta = dir.path() + u"/temporal.bat"_s;
    {
        auto f = s.CreateTextFile(ruta, true);
        f->WriteLine(u"start /a/una ruta larga/ñandú.png"_s);
        f->Close();
    }
    {
        auto f = s.CreateTextFile(ruta, true);
        f->WriteLine(u"start /b.png"_s);
        f->Close();
    }
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("start /b.png\r\n"));
    QVERIFY_THROWS_EXCEPTION(ErrorArchivo, s.CreateTextFile(ruta, false));
    QVERIFY_THROWS_EXCEPTION(ErrorArchivo, s.CreateTextFile(dir.path() + u"/no/hay/x.bat"_s, true));
}

void PruebaArchivos::dentroDeLaCarpeta()
{
    QTemporaryDir dir, otra;
    const fs::path base = RutaNativa(dir.path());
    fs::create_directories(base / "Graphics" / "Icons");
    QVERIFY(EstaDentroDe(base, base / "Graphics" / "Icons" / "a.png"));
    QVERIFY(EstaDentroDe(base / ".", base / "Graphics" / ".." / "Graphics" / "Icons" / "a.png"));
    QVERIFY(!EstaDentroDe(base / "Graphics", base / "Graphics" / ".." / "Game.rxproj"));
    QVERIFY(!EstaDentroDe(base, base / "Graphics" / ".."));
    QVERIFY(!EstaDentroDe(base / "Graphics" / "Icons", base / "Graphics" / "Icons2" / "a.png"));
    QVERIFY(!EstaDentroDe(base / "falta", base / "falta" / "a.png"));
#ifdef Q_OS_UNIX
    fs::create_directory_symlink(RutaNativa(otra.path()), base / "Graphics" / "Fogs");
    QVERIFY(!EstaDentroDe(base, base / "Graphics" / "Fogs" / "a.png"));
    fs::create_symlink(RutaNativa(otra.path()) / "a.png", base / "Graphics" / "Icons" / "enlace.png");
    QVERIFY(EstaDentroDe(base, base / "Graphics" / "Icons" / "enlace.png"));  // the link itself is inside
#endif
}

void PruebaArchivos::leerPorTrozos()
{
    QTemporaryDir dir;
    std::string contenido;
    for (int i = 0; i < 5000; ++i)
        contenido += char(i * 7);
    Escribir(RutaNativa(dir.path()) / "d.rxdata", contenido);
    Escribir(RutaNativa(dir.path()) / "vacio.rxdata", "");
    const auto archivos = ServicioArchivos().GetFolder(dir.path()).Files();
    std::vector<char> bufer(1000);
    std::string leido;
    int trozos = 0;
    LeerPorTrozos(archivos[0], bufer, [&](std::string_view t) {
        leido += t;
        ++trozos;
    });
    QCOMPARE(leido, contenido);
    QCOMPARE(trozos, 5);
    LeerPorTrozos(archivos[1], bufer, [&](std::string_view) { QFAIL("an empty file has no piece"); });
}

QTEST_GUILESS_MAIN(PruebaArchivos)
#include "tst_archivos.moc"
