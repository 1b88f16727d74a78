// Path splitting, search keys, the progress line and catalogue entries.
#include "analysis/Catalogo.h"
#include "analysis/Progreso.h"
#include "analysis/Rutas.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class PruebaRutas : public QObject {
    Q_OBJECT
private slots:
    void separarRutas_data();
    void separarRutas();
    void claves_data();
    void claves();
    void lineaProgreso();
    void elementosDelCatalogo();
};

void PruebaRutas::separarRutas_data()
{
    QTest::addColumn<QString>("ruta");
    QTest::addColumn<QString>("carpeta");
    QTest::addColumn<QString>("nombre");
    QTest::newRow("project") << "/juegos/Demo/Game.rxproj"
                             << "/juegos/Demo/"
                             << "Game.rxproj";
    QTest::newRow("item") << "Audio/SE/Cursor.wav"
                          << "Audio/SE/"
                          << "Cursor.wav";
    QTest::newRow("no separator") << "Game.rxproj"
                                  << ""
                                  << "Game.rxproj";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("trailing") << "/juegos/"
                              << "/juegos/"
                              << "";
    QTest::newRow("backslash in a name") << "Graphics/Icons/a\\b.png"
                                         << "Graphics/Icons/"
                                         << "a\\b.png";
    QTest::newRow("non-ASCII") << "/juegos/Canción/森.png"
                               << "/juegos/Canción/"
                               << "森.png";
}

void PruebaRutas::separarRutas()
{
    QFETCH(QString, ruta);
    QFETCH(QString, carpeta);
    QFETCH(QString, nombre);
    QCOMPARE(hastaElUltimo(ruta, u'/'), carpeta);
    QCOMPARE(trasElUltimo(ruta, u'/'), nombre);
    QCOMPARE(hastaElUltimo(ruta, u'/') + trasElUltimo(ruta, u'/'), ruta);
}

void PruebaRutas::claves_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("clave");
    QTest::newRow("png") << "Fighter.png"
                         << "Fighter";
    QTest::newRow("long extension") << "Title.jpeg"
                                    << "Title";
    QTest::newRow("several dots") << "001-Fighter.01.png"
                                  << "001-Fighter.01";
    QTest::newRow("no dot") << "LEEME"
                            << "LEEME";
    QTest::newRow("only an extension") << ".png"
                                       << "";
    QTest::newRow("short") << "a.b"
                           << "a";
    QTest::newRow("trailing dot") << "Cursor."
                                  << "Cursor";
    QTest::newRow("upper-case extension") << "Boss.PNG"
                                          << "Boss";
    QTest::newRow("non-ASCII") << "Canción 森.ogg"
                               << "Canción 森";
}

void PruebaRutas::claves()
{
    QFETCH(QString, nombre);
    QFETCH(QString, clave);
    const QByteArray bytes = nombre.toUtf8();
    QCOMPARE(QByteArray::fromStdString(std::string(claveDeNombre(bytes.toStdString()))), clave.toUtf8());
}

void PruebaRutas::lineaProgreso()
{
    QCOMPARE(::lineaProgreso(1, 3, 0, 12),
             u"1 de 3 archivos de datos verificados - 0 de 12 recursos utilizados - 33% del analisis completado"_s);
    QCOMPARE(::lineaProgreso(2, 3, 5, 12).section(u" - "_s, 2), u"66% del analisis completado"_s);
    QCOMPARE(::lineaProgreso(3, 3, 5, 12).section(u" - "_s, 2), u"100% del analisis completado"_s);
    // Done over total, times 100, in double precision, truncated: 0.29*100 is 28.999...
    QCOMPARE(::lineaProgreso(29, 100, 0, 0).section(u" - "_s, 2), u"28% del analisis completado"_s);
    QCOMPARE(
        ::lineaProgreso(1, 1000, 40000, 40000),
        u"1 de 1000 archivos de datos verificados - 40000 de 40000 recursos utilizados - 0% del analisis completado"_s);
}

void PruebaRutas::elementosDelCatalogo()
{
    namespace fs = std::filesystem;
    QVERIFY(esRutaDelCatalogo(fs::path("Graphics") / "Pictures" / "a.png"));
    QVERIFY(esRutaDelCatalogo(fs::path("Audio") / "SE" / "Canción 1.wav"));
#ifndef _WIN32
    QVERIFY(esRutaDelCatalogo(fs::path("Audio") / "SE" / "a\\b.wav"));  // a separator on Windows
#endif
    QVERIFY(esRutaDelCatalogo(fs::path("Audio") / "SE" / "Mal\xff.wav"));
    QVERIFY(!esRutaDelCatalogo(fs::path()));
    QVERIFY(!esRutaDelCatalogo(fs::path("Graphics") / "Pictures" / ""));
    QVERIFY(!esRutaDelCatalogo(fs::path("Graphics") / "Pictures" / "sub" / "a.png"));
    QVERIFY(!esRutaDelCatalogo(fs::path("Graphics") / "Pictures" / ".."));
    QVERIFY(!esRutaDelCatalogo(fs::path("Graphics") / "Other" / "a.png"));
    QVERIFY(!esRutaDelCatalogo(fs::path("..") / "Graphics" / "Pictures" / "a.png"));
    QVERIFY(!esRutaDelCatalogo(fs::path("Graphics") / ".." / "Graphics" / "Pictures" / "a.png"));
    QVERIFY(!esRutaDelCatalogo(fs::path("/Graphics/Pictures/a.png")));
    QCOMPARE(QDir::fromNativeSeparators(carpetasRecursos()[13]), u"Audio/BGM"_s);
    QCOMPARE(QDir::fromNativeSeparators(carpetasRecursos()[14]), u"Audio/ME"_s);
    QCOMPARE(QDir::fromNativeSeparators(carpetasRecursos()[15]), u"Audio/BGS"_s);
    QCOMPARE(QDir::fromNativeSeparators(carpetasRecursos()[16]), u"Audio/SE"_s);
}

QTEST_APPLESS_MAIN(PruebaRutas)
#include "tst_rutas.moc"
