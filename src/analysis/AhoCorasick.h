// The Aho-Corasick automaton the analysis searched with: one state per byte,
// each read from a table at the one before.
// It is kept as the plain reference the faster search is tested against,
// with the same behaviour: keys are byte strings, each reported once, found
// across the pieces of one text and never across two texts.
#pragma once

#include "analysis/Buscador.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The automaton itself: built once, then only read, so that any number of
// searchers, on any threads, can share it.
class AutomataAhoCorasick {
public:
    // Keys may repeat, and each is reported on its own. The block need not
    // outlive the call. The empty key occurs in every non-empty text.
    explicit AutomataAhoCorasick(const BloqueClaves& claves);
    std::size_t numClaves() const { return m_numClaves; }
    // What the automaton takes in memory.
    std::size_t bytes() const;

private:
    friend class BuscadorAhoCorasick;
    std::uint32_t finHijos(std::uint32_t estado) const;
    std::uint32_t hijo(std::uint32_t estado, std::uint8_t etiqueta) const;
    bool pendiente(std::uint32_t s) const { return (m_pendiente[s >> 6] >> (s & 63)) & 1; }

    std::size_t m_numClaves = 0;
    std::uint16_t m_clase[256] = {};  // byte -> class; 0: in no key
    std::uint32_t m_numClases = 1;
    std::uint32_t m_numDensos = 0;       // states [0, m_numDensos) have a full row
    std::vector<std::uint32_t> m_denso;  // m_numDensos x m_numClases
    std::vector<std::uint32_t> m_fallo;
    std::vector<std::uint32_t> m_primerHijo;  // children of s: [m_primerHijo[s], m_primerHijo[s+1])
    std::vector<std::uint8_t> m_etiqueta;     // class - 1 of the byte that leads into a state
    std::vector<std::uint64_t> m_pendiente;   // a key ends here or down the failure chain
    std::vector<std::uint32_t> m_orden;       // key indices, sorted by key: equal keys together
    std::vector<std::uint32_t> m_terminal;    // states where keys end, ascending
    std::vector<std::uint32_t> m_grupo;       // ... where in m_orden their keys start
    std::vector<std::uint32_t> m_cuantas;     // ... and how many share the key
    std::uint32_t m_vacias = 0;               // empty keys: the first ones in m_orden
};

// One search over a run of texts: what it has found so far, and where in the
// current text it stands. Small beside the automaton it reads.
class BuscadorAhoCorasick {
public:
    explicit BuscadorAhoCorasick(const AutomataAhoCorasick& automata);
    // With an automaton of its own.
    explicit BuscadorAhoCorasick(const std::vector<std::string>& claves);

    // A new text begins.
    void reiniciar() { m_estado = 0; }
    // Searches the next piece of the current text; appends to `nuevas` the
    // index of every key seen for the first time (in no particular order).
    void buscar(std::string_view trozo, std::vector<int>& nuevas);
    // Keys not found yet.
    std::size_t pendientes() const { return m_pendientes; }
    bool encontrada(int clave) const { return m_encontrada[std::size_t(clave)] != 0; }

private:
    bool pendiente(std::uint32_t s) const { return (m_pendiente[s >> 6] >> (s & 63)) & 1; }
    void emitir(std::uint32_t estado, std::vector<int>& nuevas);
    void marcar(std::uint32_t desde, std::uint32_t cuantas, std::vector<int>& nuevas);

    std::unique_ptr<const AutomataAhoCorasick> m_propio;
    const AutomataAhoCorasick& m_tablas;
    std::vector<std::uint64_t> m_pendiente;  // a key not found yet ends here or down the failure chain
    std::vector<std::uint8_t> m_encontrada;
    std::size_t m_pendientes = 0;
    std::uint32_t m_estado = 0;
};
