// Finds which of many keys occur in a stream of bytes, looking at every
// position on its own so that the processor works on many at once.
//
// The three bytes at each position, and three bits of the fourth, are
// hashed into a small table of the keys' beginnings; only where an entry is
// set does the search look the first three bytes up exactly and walk a trie
// of the keys from there. Keys of one or two bytes, few and soon found, have
// tables of their own; once they are found, the pair of bytes at every other
// position is looked up first in a table of the pairs the other keys begin
// with, and only the starts it lets through are hashed. Nothing carries from
// one position to the next,
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
    void anadir(std::string_view clave)
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
    std::size_t numClaves() const { return m_numClaves; }
    // The longest key's length in bytes.
    std::size_t largoMaximo() const { return m_largoMaximo; }
    // What the tables take in memory.
    std::size_t bytes() const;

private:
    friend class BuscadorClaves;
    static constexpr std::uint32_t kNinguno = ~std::uint32_t(0);
    std::uint32_t ranura(std::uint32_t prefijo) const;

    std::size_t m_numClaves = 0;
    std::size_t m_largoMaximo = 0;
    // Keys of three bytes or more: a byte per hash of their first three and
    // the low three bits of their fourth, not zero where one may begin. A
    // byte, not a bit, costs fewer operations.
    std::vector<std::uint8_t> m_filtro;
    unsigned m_desplazamiento = 64;  // hash >> m_desplazamiento is an entry of m_filtro
    // In front of it, once the short keys are found: the pairs of bytes at
    // the start of those keys, by pair (first byte low). Bit 0: some key
    // begins with the pair; bit 1: some key's second and third bytes are it.
    // Every other position's pair is looked at: between them they see each
    // key of three bytes or more, whatever its start.
    std::vector<std::uint8_t> m_pares3;
    // The first three bytes exactly, by open addressing: the trie node they
    // lead to. Empty slots hold kNinguno as prefix.
    std::vector<std::uint32_t> m_prefijo;
    std::vector<std::uint32_t> m_nodoPrefijo;
    std::uint32_t m_mascaraPrefijos = 0;
    // The trie of those keys in depth-first order: a node's first child is
    // the node after it, the others follow by m_hermano, all by rising byte.
    std::vector<std::uint8_t> m_etiqueta;
    std::vector<std::uint8_t> m_conHijos;
    std::vector<std::uint32_t> m_hermano;  // 0: the last child
    std::vector<std::uint32_t> m_grupoNodo;
    // Keys of one and two bytes: a bit per pair of bytes a key of them may
    // start, and their groups by byte and by pair.
    std::vector<std::uint64_t> m_pares;
    std::uint32_t m_grupoUno[256];
    std::vector<std::uint32_t> m_dos;  // pair (first byte low) << 8 ... sorted, with its group below
    std::vector<std::uint32_t> m_grupoDos;
    std::size_t m_gruposCortos = 0;
    // Equal keys form a group, found together: grupo g is m_orden[m_inicioGrupo[g],
    // m_inicioGrupo[g + 1]), and the prefix slot whose count it lowers, if any.
    std::vector<std::uint32_t> m_orden;
    std::vector<std::uint32_t> m_inicioGrupo;
    std::vector<std::uint32_t> m_ranuraGrupo;
    std::vector<std::uint32_t> m_gruposPorRanura;
    std::uint32_t m_vacias = 0;  // empty keys: the first ones in m_orden
};

// One search over a run of texts: what it has found so far, and the end of
// the current text seen so far. Small beside the tables it reads.
class BuscadorClaves {
public:
    explicit BuscadorClaves(const AutomataClaves& automata);
    // With tables of its own.
    explicit BuscadorClaves(const std::vector<std::string>& claves);

    // A new text begins.
    void reiniciar() { m_cola.clear(); }
    // Searches the next piece of the current text; appends to `nuevas` the
    // index of every key seen for the first time (in no particular order).
    void buscar(std::string_view trozo, std::vector<int>& nuevas);
    // Keys not found yet.
    std::size_t pendientes() const { return m_pendientes; }
    bool encontrada(int clave) const { return m_encontrada[std::size_t(clave)] != 0; }

private:
    template <bool kCortas>
    void explorar(const unsigned char* texto, std::size_t largo, std::size_t inicios, std::vector<int>& nuevas);
    void verificar(const unsigned char* texto, std::size_t largo, std::size_t i, std::vector<int>& nuevas);
    void marcar(std::uint32_t grupo, std::vector<int>& nuevas);

    std::unique_ptr<const AutomataClaves> m_propio;
    const AutomataClaves& m_tablas;
    std::vector<std::uint8_t> m_encontrada;
    std::vector<std::uint8_t> m_grupoHallado;
    std::vector<std::uint32_t> m_pendientesRanura;  // groups not found yet, by prefix slot
    std::size_t m_pendientes = 0;
    std::size_t m_cortosPendientes = 0;
    std::string m_cola;  // the current text's last largoMaximo() - 1 bytes, or all of it
    std::string m_junta;
};
