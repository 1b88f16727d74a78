#include "analysis/Buscador.h"

#include <algorithm>
#include <numeric>

namespace {
// Full transition rows for the states nearest the root, where a scan spends
// nearly all its time; deeper states keep their few children in a list.
constexpr std::size_t kBytesFilasDensas = std::size_t(256) << 10;
}  // namespace

BloqueClaves::BloqueClaves(const std::vector<std::string>& claves)
{
    std::size_t largo = 0;
    for (const std::string& c : claves)
        largo += c.size();
    texto.reserve(largo);
    inicios.reserve(claves.size() + 1);
    for (const std::string& c : claves)
        Anadir(c);
}

AutomataClaves::AutomataClaves(const BloqueClaves& claves) : numClaves_(claves.inicios.size() - 1)
{
    const std::string_view bloque = claves.texto;
    const std::vector<std::uint32_t>& inicios = claves.inicios;
    const auto numClaves = std::uint32_t(numClaves_);
    const auto clave = [&](std::uint32_t k) { return bloque.substr(inicios[k], inicios[k + 1] - inicios[k]); };
    for (std::uint32_t k = 0; k < numClaves; ++k)
        largoMaximo_ = std::max<std::size_t>(largoMaximo_, clave(k).size());
    for (unsigned char b : bloque)
        clase_[b] = 1;
    for (int b = 0; b < 256; ++b)
        if (clase_[b])
            clase_[b] = std::uint16_t(numClases_++);

    // The keys in byte order: the trie's nodes at each depth then come out in
    // breadth-first order, each node's children together, with no trie built
    // on the side. Equal keys end up side by side and share their node.
    orden_.resize(numClaves);
    std::iota(orden_.begin(), orden_.end(), 0u);
    std::sort(orden_.begin(), orden_.end(), [&](std::uint32_t a, std::uint32_t b) { return clave(a) < clave(b); });
    while (vacias_ < numClaves && clave(orden_[vacias_]).empty())
        ++vacias_;
    std::vector<std::uint32_t> activas(numClaves - vacias_);  // positions in orden_
    std::iota(activas.begin(), activas.end(), vacias_);
    std::size_t nodos = 1;
    for (std::size_t i = 0; i < activas.size(); ++i) {
        const std::string_view k = clave(orden_[activas[i]]);
        std::size_t comun = 0;
        if (i > 0) {
            const std::string_view ant = clave(orden_[activas[i - 1]]);
            while (comun < ant.size() && comun < k.size() && ant[comun] == k[comun])
                ++comun;
        }
        nodos += k.size() - comun;
    }
    terminal_.reserve(activas.size());
    grupo_.reserve(activas.size());
    cuantas_.reserve(activas.size());
    fallo_.reserve(nodos);
    primerHijo_.reserve(nodos + 1);
    etiqueta_.reserve(nodos);
    fallo_.push_back(0);
    etiqueta_.push_back(0);
    pendiente_.assign((nodos + 63) / 64, 0);
    numDensos_ = std::uint32_t(std::min<std::size_t>(
        nodos, std::max<std::size_t>(1, kBytesFilasDensas / (numClases_ * sizeof(std::uint32_t)))));
    denso_.assign(std::size_t(numDensos_) * numClases_, 0);
    std::uint32_t filasHechas = 0;  // dense rows are complete below this state

    const auto transicion = [&](std::uint32_t f, std::uint8_t etiqueta) {
        for (;;) {
            if (f < filasHechas)
                return denso_[std::size_t(f) * numClases_ + etiqueta + 1u];
            if (const std::uint32_t h = Hijo(f, etiqueta))
                return h;
            if (f == 0)
                return std::uint32_t(0);
            f = fallo_[f];
        }
    };
    const auto llenarFilas = [&](std::uint32_t hasta) {
        for (std::uint32_t s = filasHechas; s < std::min(hasta, numDensos_); ++s) {
            std::uint32_t* fila = &denso_[std::size_t(s) * numClases_];
            if (s != 0)
                std::copy_n(&denso_[std::size_t(fallo_[s]) * numClases_], numClases_, fila);
            for (std::uint32_t h = primerHijo_[s]; h < FinHijos(s); ++h)
                fila[etiqueta_[h] + 1u] = h;
        }
        filasHechas = std::max(filasHechas, std::min(hasta, numDensos_));
    };

    std::vector<std::uint32_t> nodoDe(numClaves, 0);  // each key's node at the current depth, by position
    std::uint32_t inicioNivel = 0, finNivel = 1;      // the nodes at the current depth
    for (std::size_t d = 0; !activas.empty(); ++d) {
        std::uint32_t padreSiguiente = inicioNivel;  // parents whose first child is not yet placed
        std::uint32_t anterior = 0, nuevoAnterior = 0;
        bool hayAnterior = false;
        for (std::uint32_t k : activas) {
            const std::string_view texto = clave(orden_[k]);
            const auto byte = static_cast<unsigned char>(texto[d]);
            const std::uint32_t padre = nodoDe[k];
            std::uint32_t nodo;
            if (hayAnterior && nodoDe[anterior] == padre
                && static_cast<unsigned char>(clave(orden_[anterior])[d]) == byte) {
                nodo = nuevoAnterior;
            } else {
                nodo = std::uint32_t(fallo_.size());
                while (padreSiguiente <= padre)
                    primerHijo_.push_back(nodo), ++padreSiguiente;
                const auto etiqueta = std::uint8_t(clase_[byte] - 1);
                etiqueta_.push_back(etiqueta);
                const std::uint32_t f = padre == 0 ? 0 : transicion(fallo_[padre], etiqueta);
                fallo_.push_back(f);
                if (Pendiente(f))
                    pendiente_[nodo >> 6] |= std::uint64_t(1) << (nodo & 63);
            }
            if (texto.size() == d + 1) {
                if (!terminal_.empty() && terminal_.back() == nodo) {
                    ++cuantas_.back();  // the same key again
                } else {
                    terminal_.push_back(nodo);
                    grupo_.push_back(k);
                    cuantas_.push_back(1);
                }
                pendiente_[nodo >> 6] |= std::uint64_t(1) << (nodo & 63);
            }
            // The key before carries its new node in nodoDe only after the
            // comparison above has used its parent.
            if (hayAnterior)
                nodoDe[anterior] = nuevoAnterior;
            anterior = k;
            nuevoAnterior = nodo;
            hayAnterior = true;
        }
        if (hayAnterior)
            nodoDe[anterior] = nuevoAnterior;
        while (padreSiguiente < finNivel)
            primerHijo_.push_back(std::uint32_t(fallo_.size())), ++padreSiguiente;
        llenarFilas(finNivel);
        inicioNivel = finNivel;
        finNivel = std::uint32_t(fallo_.size());
        std::erase_if(activas, [&](std::uint32_t k) { return clave(orden_[k]).size() == d + 1; });
    }
    while (primerHijo_.size() <= fallo_.size())
        primerHijo_.push_back(std::uint32_t(fallo_.size()));
    llenarFilas(std::uint32_t(fallo_.size()));
    numDensos_ = filasHechas;
    denso_.resize(std::size_t(numDensos_) * numClases_);
    denso_.shrink_to_fit();
    terminal_.shrink_to_fit();
    grupo_.shrink_to_fit();
    cuantas_.shrink_to_fit();
}

BuscadorClaves::BuscadorClaves(const AutomataClaves& automata)
    : a_(automata),
      pendiente_(automata.pendiente_),
      encontrada_(automata.NumClaves(), 0),
      pendientes_(automata.NumClaves())
{
}

BuscadorClaves::BuscadorClaves(const std::vector<std::string>& claves)
    : propio_(std::make_unique<AutomataClaves>(BloqueClaves(claves))),
      a_(*propio_),
      pendiente_(a_.pendiente_),
      encontrada_(a_.NumClaves(), 0),
      pendientes_(a_.NumClaves())
{
}

void BuscadorClaves::Marcar(std::uint32_t desde, std::uint32_t cuantas, std::vector<int>& nuevas)
{
    for (std::uint32_t i = desde; i < desde + cuantas; ++i) {
        const std::uint32_t k = a_.orden_[i];
        if (!encontrada_[k]) {
            encontrada_[k] = 1;
            --pendientes_;
            nuevas.push_back(int(k));
        }
    }
}

std::uint32_t AutomataClaves::FinHijos(std::uint32_t estado) const
{
    // While the trie is built, the last node of a depth does not know yet
    // where its children end: at the last node made so far.
    return estado + 1 < primerHijo_.size() ? primerHijo_[estado + 1] : std::uint32_t(fallo_.size());
}

std::uint32_t AutomataClaves::Hijo(std::uint32_t estado, std::uint8_t etiqueta) const
{
    for (std::uint32_t h = primerHijo_[estado], fin = FinHijos(estado); h < fin; ++h)
        if (etiqueta_[h] == etiqueta)
            return h;
    return 0;
}

void BuscadorClaves::Emitir(std::uint32_t estado, std::vector<int>& nuevas)
{
    for (std::uint32_t u = estado; u != 0; u = a_.fallo_[u]) {
        if (!Pendiente(u))
            break;  // nothing left to find from here down
        const auto it = std::lower_bound(a_.terminal_.begin(), a_.terminal_.end(), u);
        if (it != a_.terminal_.end() && *it == u) {
            const auto j = std::size_t(it - a_.terminal_.begin());
            Marcar(a_.grupo_[j], a_.cuantas_[j], nuevas);
        }
    }
    // Every key ending on this chain is found now, for good.
    for (std::uint32_t u = estado; u != 0 && Pendiente(u); u = a_.fallo_[u])
        pendiente_[u >> 6] &= ~(std::uint64_t(1) << (u & 63));
}

void BuscadorClaves::Buscar(std::string_view trozo, std::vector<int>& nuevas)
{
    if (trozo.empty())
        return;
    Marcar(0, a_.vacias_, nuevas);
    if (pendientes_ == 0)
        return;

    std::uint32_t s = estado_;
    const std::uint32_t* const denso = a_.denso_.data();
    const std::uint64_t* const pendiente = pendiente_.data();
    const std::uint16_t* const clase = a_.clase_;
    const std::uint32_t nc = a_.numClases_, nd = a_.numDensos_;
    for (unsigned char b : trozo) {
        const std::uint16_t c = clase[b];
        if (c == 0) {  // a byte of no key: back to the root
            s = 0;
            continue;
        }
        for (;;) {
            if (s < nd) {
                s = denso[std::size_t(s) * nc + c];
                break;
            }
            if (const std::uint32_t h = a_.Hijo(s, std::uint8_t(c - 1))) {
                s = h;
                break;
            }
            s = a_.fallo_[s];
        }
        if ((pendiente[s >> 6] >> (s & 63)) & 1) {
            Emitir(s, nuevas);
            if (pendientes_ == 0)
                break;
        }
    }
    estado_ = s;
}

std::size_t AutomataClaves::Bytes() const
{
    return denso_.capacity() * 4 + fallo_.capacity() * 4 + primerHijo_.capacity() * 4 + etiqueta_.capacity()
        + pendiente_.capacity() * 8 + orden_.capacity() * 4 + terminal_.capacity() * 4 + grupo_.capacity() * 4
        + cuantas_.capacity() * 4;
}
