// Finds which of many keys occur in a stream of bytes, looking at every
// position on its own so that the processor works on many at once.
//
// The three bytes at each position, and three bits of the fourth, are
// hashed into a small table of the keys' beginnings; only where an entry is
// set does the search look the first three bytes up exactly and walk a trie
// of the keys from there. Keys of one or two bytes, few and soon found, have
// tables of their own. Nothing carries from one position to the next,
// unlike an automaton (AhoCorasick.h, kept as the reference the tests
// compare with), whose every step waits on the one before.
//
// Keys are byte strings (names in UTF-8); a key found once stays found, so it
// costs nothing in later texts. A text may arrive in pieces: matches across
// the pieces of one text are found, never across two texts.
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

// The tables of the search: built once, then only read, so that any number
// of searchers, on any threads, can share them.
class AutomataClaves {
public:
    // Keys may repeat, and each is reported on its own. The block need not
    // outlive the call. The empty key occurs in every non-empty text.
    explicit AutomataClaves(const BloqueClaves& claves);
    std::size_t NumClaves() const { return numClaves_; }
    // The longest key's length in bytes.
    std::size_t LargoMaximo() const { return largoMaximo_; }
    // What the tables take in memory.
    std::size_t Bytes() const;

private:
    friend class BuscadorClaves;
    static constexpr std::uint32_t kNinguno = ~std::uint32_t(0);
    std::uint32_t Ranura(std::uint32_t prefijo) const;

    std::size_t numClaves_ = 0;
    std::size_t largoMaximo_ = 0;
    // Keys of three bytes or more: a byte per hash of their first three and
    // the low three bits of their fourth, not zero where one may begin. A
    // byte, not a bit, costs fewer operations.
    std::vector<std::uint8_t> filtro_;
    unsigned desplazamiento_ = 64;  // hash >> desplazamiento_ is an entry of filtro_
    // The first three bytes exactly, by open addressing: the trie node they
    // lead to. Empty slots hold kNinguno as prefix.
    std::vector<std::uint32_t> prefijo_;
    std::vector<std::uint32_t> nodoPrefijo_;
    std::uint32_t mascaraPrefijos_ = 0;
    // The trie of those keys in depth-first order: a node's first child is
    // the node after it, the others follow by hermano_, all by rising byte.
    std::vector<std::uint8_t> etiqueta_;
    std::vector<std::uint8_t> conHijos_;
    std::vector<std::uint32_t> hermano_;  // 0: the last child
    std::vector<std::uint32_t> grupoNodo_;
    // Keys of one and two bytes: a bit per pair of bytes a key of them may
    // start, and their groups by byte and by pair.
    std::vector<std::uint64_t> pares_;
    std::uint32_t grupoUno_[256];
    std::vector<std::uint32_t> dos_;  // pair (first byte low) << 8 ... sorted, with its group below
    std::vector<std::uint32_t> grupoDos_;
    std::size_t gruposCortos_ = 0;
    // Equal keys form a group, found together: grupo g is orden_[inicioGrupo_[g],
    // inicioGrupo_[g + 1]), and the prefix slot whose count it lowers, if any.
    std::vector<std::uint32_t> orden_;
    std::vector<std::uint32_t> inicioGrupo_;
    std::vector<std::uint32_t> ranuraGrupo_;
    std::vector<std::uint32_t> gruposPorRanura_;
    std::uint32_t vacias_ = 0;  // empty keys: the first ones in orden_
};

// One search over a run of texts: what it has found so far, and the end of
// the current text seen so far. Small beside the tables it reads.
class BuscadorClaves {
public:
    explicit BuscadorClaves(const AutomataClaves& automata);
    // With tables of its own.
    explicit BuscadorClaves(const std::vector<std::string>& claves);

    // A new text begins.
    void Reiniciar() { cola_.clear(); }
    // Searches the next piece of the current text; appends to `nuevas` the
    // index of every key seen for the first time (in no particular order).
    void Buscar(std::string_view trozo, std::vector<int>& nuevas);
    // Keys not found yet.
    std::size_t Pendientes() const { return pendientes_; }
    bool Encontrada(int clave) const { return encontrada_[std::size_t(clave)] != 0; }

private:
    template <bool kCortas>
    void Explorar(const unsigned char* texto, std::size_t largo, std::size_t inicios, std::vector<int>& nuevas);
    void Verificar(const unsigned char* texto, std::size_t largo, std::size_t i, std::vector<int>& nuevas);
    void Marcar(std::uint32_t grupo, std::vector<int>& nuevas);

    std::unique_ptr<const AutomataClaves> propio_;
    const AutomataClaves& a_;
    std::vector<std::uint8_t> encontrada_;
    std::vector<std::uint8_t> grupoHallado_;
    std::vector<std::uint32_t> pendientesRanura_;  // groups not found yet, by prefix slot
    std::size_t pendientes_ = 0;
    std::size_t cortosPendientes_ = 0;
    std::string cola_;  // the current text's last LargoMaximo() - 1 bytes, or all of it
    std::string junta_;
};
