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
    std::size_t NumClaves() const { return numClaves_; }
    // What the automaton takes in memory.
    std::size_t Bytes() const;

private:
    friend class BuscadorAhoCorasick;
    std::uint32_t FinHijos(std::uint32_t estado) const;
    std::uint32_t Hijo(std::uint32_t estado, std::uint8_t etiqueta) const;
    bool Pendiente(std::uint32_t s) const { return (pendiente_[s >> 6] >> (s & 63)) & 1; }

    std::size_t numClaves_ = 0;
    std::uint16_t clase_[256] = {};  // byte -> class; 0: in no key
    std::uint32_t numClases_ = 1;
    std::uint32_t numDensos_ = 0;       // states [0, numDensos_) have a full row
    std::vector<std::uint32_t> denso_;  // numDensos_ x numClases_
    std::vector<std::uint32_t> fallo_;
    std::vector<std::uint32_t> primerHijo_;  // children of s: [primerHijo_[s], primerHijo_[s+1])
    std::vector<std::uint8_t> etiqueta_;     // class - 1 of the byte that leads into a state
    std::vector<std::uint64_t> pendiente_;   // a key ends here or down the failure chain
    std::vector<std::uint32_t> orden_;       // key indices, sorted by key: equal keys together
    std::vector<std::uint32_t> terminal_;    // states where keys end, ascending
    std::vector<std::uint32_t> grupo_;       // ... where in orden_ their keys start
    std::vector<std::uint32_t> cuantas_;     // ... and how many share the key
    std::uint32_t vacias_ = 0;               // empty keys: the first ones in orden_
};

// One search over a run of texts: what it has found so far, and where in the
// current text it stands. Small beside the automaton it reads.
class BuscadorAhoCorasick {
public:
    explicit BuscadorAhoCorasick(const AutomataAhoCorasick& automata);
    // With an automaton of its own.
    explicit BuscadorAhoCorasick(const std::vector<std::string>& claves);

    // A new text begins.
    void Reiniciar() { estado_ = 0; }
    // Searches the next piece of the current text; appends to `nuevas` the
    // index of every key seen for the first time (in no particular order).
    void Buscar(std::string_view trozo, std::vector<int>& nuevas);
    // Keys not found yet.
    std::size_t Pendientes() const { return pendientes_; }
    bool Encontrada(int clave) const { return encontrada_[std::size_t(clave)] != 0; }

private:
    bool Pendiente(std::uint32_t s) const { return (pendiente_[s >> 6] >> (s & 63)) & 1; }
    void Emitir(std::uint32_t estado, std::vector<int>& nuevas);
    void Marcar(std::uint32_t desde, std::uint32_t cuantas, std::vector<int>& nuevas);

    std::unique_ptr<const AutomataAhoCorasick> propio_;
    const AutomataAhoCorasick& a_;
    std::vector<std::uint64_t> pendiente_;  // a key not found yet ends here or down the failure chain
    std::vector<std::uint8_t> encontrada_;
    std::size_t pendientes_ = 0;
    std::uint32_t estado_ = 0;
};
