// Finds which of many keys occur in a stream of bytes, in one pass whose cost
// does not grow with the number of keys (an Aho-Corasick automaton).
//
// Keys are byte strings (names in UTF-8); a key found once stays found, so it
// costs nothing in later texts. A text may arrive in pieces: matches across
// the pieces of one text are found, never across two texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class BuscadorClaves {
public:
    // `claves` must be distinct. The empty key occurs in every non-empty text.
    explicit BuscadorClaves(const std::vector<std::string>& claves);

    // A new text begins.
    void Reiniciar() { estado_ = 0; }
    // Searches the next piece of the current text; appends to `nuevas` the
    // index of every key seen for the first time.
    void Buscar(std::string_view trozo, std::vector<int>& nuevas);
    // Keys not found yet.
    std::size_t Pendientes() const { return pendientes_; }
    bool Encontrada(int clave) const { return encontrada_[std::size_t(clave)] != 0; }
    std::size_t BytesUsados() const;

private:
    void Emitir(std::uint32_t estado, std::vector<int>& nuevas);
    std::uint32_t Hijo(std::uint32_t estado, std::uint16_t clase) const;

    std::uint16_t clase_[256] = {};       // byte -> class; 0: in no key
    std::uint32_t numClases_ = 1;
    std::uint32_t numDensos_ = 0;         // states [0, numDensos_) have a full row
    std::vector<std::uint32_t> denso_;    // numDensos_ x numClases_
    std::vector<std::uint32_t> fallo_;
    std::vector<std::uint32_t> primerHijo_;  // children of s: [primerHijo_[s], primerHijo_[s+1])
    std::vector<std::uint16_t> etiqueta_;    // class of the byte that leads into a state
    std::vector<std::int32_t> termino_;      // key that ends at a state, or -1
    std::vector<std::uint32_t> sigSalida_;   // next state on the failure chain where a key ends
    std::vector<std::uint32_t> salida_;      // first such state from here; 0 once all are found
    std::vector<std::uint8_t> encontrada_;
    std::size_t pendientes_ = 0;
    int claveVacia_ = -1;
    std::uint32_t estado_ = 0;
};
