// The multi-key search on its own: each key found once, across the pieces
// of one text and never across two texts, and always in agreement with one
// plain search per key.
#include "analysis/Buscador.h"

#include <QTest>

#include <algorithm>
#include <random>

class PruebaBuscador : public QObject {
    Q_OBJECT
private slots:
    void buscadorHallaCadaClaveUnaVez();
    void buscadorEntreTrozos();
    void buscadorContraBusquedaSimple();
};

void PruebaBuscador::buscadorHallaCadaClaveUnaVez()
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

void PruebaBuscador::buscadorEntreTrozos()
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

void PruebaBuscador::buscadorContraBusquedaSimple()
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

QTEST_APPLESS_MAIN(PruebaBuscador)
#include "tst_buscador.moc"
