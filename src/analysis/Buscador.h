// Finds which of many keys occur in a stream of bytes, in one pass whose cost
// does not grow with the number of keys (an Aho-Corasick automaton).
//
// Keys are byte strings (names in UTF-8); a key found once stays found, so it
// costs nothing in later texts. A text may arrive in pieces: matches across
// the pieces of one text are found, never across two texts. The automaton
// takes about nine bytes per trie node, so that tens of thousands of names
// cost a few megabytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Keys one after the other in one block of bytes: far fewer allocations
// than a string apiece, for tens of thousands of names.
struct BloqueClaves {
    std::string texto;
    std::vector<std::uint32_t> inicios{0};  // key i is texto[inicios[i], inicios[i + 1])

    BloqueClaves() = default;
    explicit BloqueClaves(const std::vector<std::string>& claves);
    void Anadir(std::string_view clave)
    {
        texto.append(clave);
        inicios.push_back(std::uint32_t(texto.size()));
    }
};

// The automaton itself: built once, then only read, so that any number of
// searchers, on any threads, can share it.
class AutomataClaves {
public:
    // Keys may repeat, and each is reported on its own. The block need not
    // outlive the call. The empty key occurs in every non-empty text.
    explicit AutomataClaves(const BloqueClaves& claves);
    std::size_t NumClaves() const { return numClaves_; }
    // The longest key's length in bytes: how far a key may reach across
    // the edge of a part of a text searched apart.
    std::size_t LargoMaximo() const { return largoMaximo_; }
    // What the automaton takes in memory.
    std::size_t Bytes() const;

private:
    friend class BuscadorClaves;
    std::uint32_t FinHijos(std::uint32_t estado) const;
    std::uint32_t Hijo(std::uint32_t estado, std::uint8_t etiqueta) const;
    bool Pendiente(std::uint32_t s) const { return (pendiente_[s >> 6] >> (s & 63)) & 1; }

    std::size_t numClaves_ = 0;
    std::size_t largoMaximo_ = 0;
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
class BuscadorClaves {
public:
    explicit BuscadorClaves(const AutomataClaves& automata);
    // With an automaton of its own.
    explicit BuscadorClaves(const std::vector<std::string>& claves);

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

    std::unique_ptr<const AutomataClaves> propio_;
    const AutomataClaves& a_;
    std::vector<std::uint64_t> pendiente_;  // a key not found yet ends here or down the failure chain
    std::vector<std::uint8_t> encontrada_;
    std::size_t pendientes_ = 0;
    std::uint32_t estado_ = 0;
};
