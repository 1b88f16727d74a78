// The multi-key search on its own: each key found once, across the pieces
// of one text and never across two texts, and always in agreement with the
// Aho-Corasick automaton it replaced and with one plain search per key.
#include "analysis/AhoCorasick.h"
#include "analysis/Buscador.h"

#include <QTest>

#include <algorithm>
#include <random>

class PruebaBuscador : public QObject {
    Q_OBJECT
private slots:
    void buscadorHallaCadaClaveUnaVez();
    void buscadorEntreTrozos();
    void buscadorIgualQueReferencia_data();
    void buscadorIgualQueReferencia();
};

void PruebaBuscador::buscadorHallaCadaClaveUnaVez()
{
    const std::vector<std::string> claves = {"Fighter", "SuperFighter", "Fight", "ighter0", "", "Zeta", "森"};
    BuscadorClaves b(claves);
    std::vector<int> nuevas;
    b.buscar("xx SuperFighter01 yy", nuevas);
    std::sort(nuevas.begin(), nuevas.end());
    QCOMPARE(nuevas, (std::vector<int>{0, 1, 2, 3, 4}));
    nuevas.clear();
    b.reiniciar();
    b.buscar("Fighter Fighter 森林 zeta", nuevas);
    QCOMPARE(nuevas, (std::vector<int>{6}));  // found ones are not reported again; case counts
    QCOMPARE(b.pendientes(), size_t(1));
}

void PruebaBuscador::buscadorEntreTrozos()
{
    BuscadorClaves b(std::vector<std::string>{"Castillo", "Cas"});
    std::vector<int> nuevas;
    b.buscar("..Cast", nuevas);
    QCOMPARE(nuevas, (std::vector<int>{1}));
    b.buscar("illo", nuevas);  // same text, next piece
    QCOMPARE(nuevas, (std::vector<int>{1, 0}));

    BuscadorClaves c(std::vector<std::string>{"Castillo"});
    nuevas.clear();
    c.buscar("..Cast", nuevas);
    c.reiniciar();  // a new text: no match across the two
    c.buscar("illo", nuevas);
    QVERIFY(nuevas.empty());
    // Empty pieces are no text at all: the empty key needs a byte.
    BuscadorClaves d(std::vector<std::string>{""});
    d.buscar("", nuevas);
    QVERIFY(nuevas.empty());
    d.buscar(std::string_view("\0", 1), nuevas);
    QCOMPARE(nuevas, (std::vector<int>{0}));
}

void PruebaBuscador::buscadorIgualQueReferencia_data()
{
    QTest::addColumn<QByteArray>("alfabeto");
    QTest::addColumn<int>("largoMaximo");
    QTest::addColumn<int>("numClaves");
    QTest::addRow("dos letras, claves cortas") << QByteArray("ab") << 5 << 12;
    QTest::addRow("dos letras, claves hasta 40") << QByteArray("ab") << 40 << 60;
    QTest::addRow("nulos y bytes altos") << QByteArray("a.\0\xc3\xb1\xff", 6) << 40 << 120;
    QTest::addRow("nombres") << QByteArray("Fighter_01. ") << 40 << 400;
}

void PruebaBuscador::buscadorIgualQueReferencia()
{
    // Keys that nest, repeat and begin or end one another, over texts dense
    // in near misses: text by text, the filter finds what the automaton and
    // one plain search per key find, whatever the cut into pieces.
    QFETCH(QByteArray, alfabeto);
    QFETCH(int, largoMaximo);
    QFETCH(int, numClaves);
    std::mt19937 azar(7);
    const auto al = [&](std::size_t n) { return std::size_t(azar() % n); };
    const auto letra = [&] { return alfabeto[qsizetype(al(std::size_t(alfabeto.size())))]; };
    const auto letras = [&](std::size_t n) {
        std::string s;
        while (s.size() < n)
            s += letra();
        return s;
    };
    for (int ronda = 0; ronda < 60; ++ronda) {
        // Each new key repeats another, is a prefix or a suffix of one, or is new.
        std::vector<std::string> claves;
        while (int(claves.size()) < numClaves) {
            const std::string otra = claves.empty() ? letras(3) : claves[al(claves.size())];
            const std::size_t forma = al(5), corte = al(otra.size() + 1);
            claves.push_back(forma == 0       ? otra
                                 : forma == 1 ? otra.substr(0, corte)
                                 : forma == 2 ? otra.substr(corte)
                                              : letras(al(std::size_t(largoMaximo) + 1)));
        }
        std::vector<std::string> textos(4);
        for (std::string& t : textos)
            for (const std::size_t largo = al(5) == 0 ? al(4) : al(700); t.size() < largo;) {
                std::string parte = al(2) ? claves[al(claves.size())] : letras(al(8));
                if (!parte.empty() && al(2))
                    parte[al(parte.size())] = letra();  // a near miss
                t += parte;
            }
        const AutomataClaves tablas{BloqueClaves(claves)};
        const AutomataAhoCorasick automata{BloqueClaves(claves)};
        QCOMPARE(tablas.largoMaximo(), std::max_element(claves.begin(), claves.end(), [](auto& x, auto& y) {
                                           return x.size() < y.size();
                                       })->size());
        BuscadorClaves rapido(tablas);
        BuscadorAhoCorasick referencia(automata);
        std::vector<char> vista(claves.size(), 0);
        // Pieces of every size to 45 bytes, then of hundreds (the filter's
        // blocks of 64 positions) and whole texts.
        const std::size_t trozo = ronda < 45 ? 1 + std::size_t(ronda) : ronda % 3 ? 64 + al(400) : 1000;
        for (const std::string& texto : textos) {
            std::vector<int> halladas, esperadas, simples;
            rapido.reiniciar();
            referencia.reiniciar();
            for (std::size_t pos = 0; pos < texto.size(); pos += trozo) {
                rapido.buscar(std::string_view(texto).substr(pos, trozo), halladas);
                referencia.buscar(std::string_view(texto).substr(pos, trozo), esperadas);
            }
            std::sort(halladas.begin(), halladas.end());
            std::sort(esperadas.begin(), esperadas.end());
            QCOMPARE(halladas, esperadas);
            for (std::size_t k = 0; k < claves.size(); ++k)
                if (!vista[k] && !texto.empty() && texto.find(claves[k]) != std::string::npos)
                    vista[k] = 1, simples.push_back(int(k));
            QCOMPARE(halladas, simples);
        }
        QCOMPARE(rapido.pendientes(), std::size_t(std::count(vista.begin(), vista.end(), 0)));
    }
}

QTEST_APPLESS_MAIN(PruebaBuscador)
#include "tst_buscador.moc"
