// Path splitting, search keys, the progress line, catalogue entries, and the
// multi-key search on its own.
#include "analysis/Buscador.h"
#include "analysis/Catalogo.h"
#include "analysis/Progreso.h"
#include "analysis/Rutas.h"

#include <QTest>

#include <algorithm>
#include <random>

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
    void buscadorHallaCadaClaveUnaVez();
    void buscadorEntreTrozos();
    void buscadorContraBusquedaSimple();
};

void PruebaRutas::separarRutas_data()
{
    QTest::addColumn<QString>("ruta");
    QTest::addColumn<QString>("carpeta");
    QTest::addColumn<QString>("nombre");
    QTest::newRow("project") << "/juegos/Demo/Game.rxproj" << "/juegos/Demo/" << "Game.rxproj";
    QTest::newRow("item") << "Audio/SE/Cursor.wav" << "Audio/SE/" << "Cursor.wav";
    QTest::newRow("no separator") << "Game.rxproj" << "" << "Game.rxproj";
    QTest::newRow("empty") << "" << "" << "";
    QTest::newRow("trailing") << "/juegos/" << "/juegos/" << "";
    QTest::newRow("backslash in a name") << "Graphics/Icons/a\\b.png" << "Graphics/Icons/" << "a\\b.png";
    QTest::newRow("non-ASCII") << "/juegos/Canción/森.png" << "/juegos/Canción/" << "森.png";
}

void PruebaRutas::separarRutas()
{
    QFETCH(QString, ruta);
    QFETCH(QString, carpeta);
    QFETCH(QString, nombre);
    QCOMPARE(ExtraerCarpeta(ruta, u'/'), carpeta);
    QCOMPARE(Extraer2(ruta, u'/'), nombre);
    QCOMPARE(ExtraerCarpeta(ruta, u'/') + Extraer2(ruta, u'/'), ruta);
}

void PruebaRutas::claves_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("clave");
    QTest::newRow("png") << "Fighter.png" << "Fighter";
    QTest::newRow("long extension") << "Title.jpeg" << "Title";
    QTest::newRow("several dots") << "001-Fighter.01.png" << "001-Fighter.01";
    QTest::newRow("no dot") << "LEEME" << "LEEME";
    QTest::newRow("only an extension") << ".png" << "";
    QTest::newRow("short") << "a.b" << "a";
    QTest::newRow("trailing dot") << "Cursor." << "Cursor";
    QTest::newRow("upper-case extension") << "Boss.PNG" << "Boss";
}

void PruebaRutas::claves()
{
    QFETCH(QString, nombre);
    QFETCH(QString, clave);
    QCOMPARE(ClaveBusqueda(nombre), clave);
}

void PruebaRutas::lineaProgreso()
{
    QCOMPARE(LineaProgreso(1, 3, 0, 12),
             u"1 de 3 archivos de datos verificados - 0 de 12 recursos utilizados - 33% del analisis completado"_s);
    QCOMPARE(LineaProgreso(2, 3, 5, 12).section(u" - "_s, 2), u"66% del analisis completado"_s);
    QCOMPARE(LineaProgreso(3, 3, 5, 12).section(u" - "_s, 2), u"100% del analisis completado"_s);
    // Done over total, times 100, in double precision, truncated: 0.29*100 is 28.999...
    QCOMPARE(LineaProgreso(29, 100, 0, 0).section(u" - "_s, 2), u"28% del analisis completado"_s);
    QCOMPARE(LineaProgreso(1, 1000, 40000, 40000),
             u"1 de 1000 archivos de datos verificados - 40000 de 40000 recursos utilizados - 0% del analisis completado"_s);
}

void PruebaRutas::elementosDelCatalogo()
{
    namespace fs = std::filesystem;
    QVERIFY(EsRutaDelCatalogo(fs::path("Graphics") / "Pictures" / "a.png"));
    QVERIFY(EsRutaDelCatalogo(fs::path("Audio") / "SE" / "Canción 1.wav"));
    QVERIFY(EsRutaDelCatalogo(fs::path("Audio") / "SE" / "a\\b.wav"));
    QVERIFY(EsRutaDelCatalogo(fs::path("Audio") / "SE" / "Mal\xff.wav"));
    QVERIFY(!EsRutaDelCatalogo(fs::path()));
    QVERIFY(!EsRutaDelCatalogo(fs::path("Graphics") / "Pictures" / ""));
    QVERIFY(!EsRutaDelCatalogo(fs::path("Graphics") / "Pictures" / "sub" / "a.png"));
    QVERIFY(!EsRutaDelCatalogo(fs::path("Graphics") / "Pictures" / ".."));
    QVERIFY(!EsRutaDelCatalogo(fs::path("Graphics") / "Other" / "a.png"));
    QVERIFY(!EsRutaDelCatalogo(fs::path("..") / "Graphics" / "Pictures" / "a.png"));
    QVERIFY(!EsRutaDelCatalogo(fs::path("Graphics") / ".." / "Graphics" / "Pictures" / "a.png"));
    QVERIFY(!EsRutaDelCatalogo(fs::path("/Graphics/Pictures/a.png")));
    QCOMPARE(CarpetasRecursos()[13], u"Audio/BGM"_s);
    QCOMPARE(CarpetasRecursos()[14], u"Audio/ME"_s);
    QCOMPARE(CarpetasRecursos()[15], u"Audio/BGS"_s);
    QCOMPARE(CarpetasRecursos()[16], u"Audio/SE"_s);
}

void PruebaRutas::buscadorHallaCadaClaveUnaVez()
{
    const std::vector<std::string> claves = {"Fighter", "SuperFighter", "Fight", "ighter0", "", "Zeta", "森"};
    BuscadorClaves b(claves);
    std::vector<int> nuevas;
    b.Buscar("xx SuperFighter01 yy", nuevas);
    std::sort(nuevas.begin(), nuevas.end());
    QCOMPARE(nuevas, (std::vector<int>{0, 1, 2, 3, 4}));
    nuevas.clear();
    b.Reiniciar();
    b.Buscar("Fighter Fighter 森林 zeta", nuevas);
    QCOMPARE(nuevas, (std::vector<int>{6}));  // found ones are not reported again; case counts
    QCOMPARE(b.Pendientes(), size_t(1));
}

void PruebaRutas::buscadorEntreTrozos()
{
    BuscadorClaves b(std::vector<std::string>{"Castillo", "Cas"});
    std::vector<int> nuevas;
    b.Buscar("..Cast", nuevas);
    QCOMPARE(nuevas, (std::vector<int>{1}));
    b.Buscar("illo", nuevas);  // same text, next piece
    QCOMPARE(nuevas, (std::vector<int>{1, 0}));

    BuscadorClaves c(std::vector<std::string>{"Castillo"});
    nuevas.clear();
    c.Buscar("..Cast", nuevas);
    c.Reiniciar();  // a new text: no match across the two
    c.Buscar("illo", nuevas);
    QVERIFY(nuevas.empty());
    // Empty pieces are no text at all: the empty key needs a byte.
    BuscadorClaves d(std::vector<std::string>{""});
    d.Buscar("", nuevas);
    QVERIFY(nuevas.empty());
    d.Buscar(std::string_view("\0", 1), nuevas);
    QCOMPARE(nuevas, (std::vector<int>{0}));
}

void PruebaRutas::buscadorContraBusquedaSimple()
{
    // Keys over a tiny alphabet overlap and nest in every way; the automaton
    // must agree with one plain search per key, whatever the cut into pieces.
    std::mt19937 azar(7);
    const std::string alfabeto = std::string("abc.\0\xc3\xb1", 7);
    for (int ronda = 0; ronda < 300; ++ronda) {
        std::vector<std::string> claves;
        const int n = 1 + int(azar() % 40);
        for (int i = 0; i < n; ++i) {
            std::string k;
            const int largo = int(azar() % 6);
            for (int j = 0; j < largo; ++j)
                k += alfabeto[azar() % alfabeto.size()];
            if (std::find(claves.begin(), claves.end(), k) == claves.end())
                claves.push_back(k);
        }
        std::string texto;
        const int largo = int(azar() % 200);
        for (int j = 0; j < largo; ++j)
            texto += alfabeto[azar() % alfabeto.size()];

        BuscadorClaves b(claves);
        std::vector<int> nuevas;
        for (size_t pos = 0; pos < texto.size();) {
            const size_t trozo = 1 + azar() % 17;
            b.Buscar(std::string_view(texto).substr(pos, trozo), nuevas);
            pos += trozo;
        }
        for (int i = 0; i < int(claves.size()); ++i) {
            const std::string& k = claves[size_t(i)];
            const bool esperado = k.empty() ? !texto.empty() : texto.find(k) != std::string::npos;
            QVERIFY2(b.Encontrada(i) == esperado, k.c_str());
            QCOMPARE(std::count(nuevas.begin(), nuevas.end(), i), esperado ? 1 : 0);
        }
    }
}

QTEST_APPLESS_MAIN(PruebaRutas)
#include "tst_rutas.moc"
