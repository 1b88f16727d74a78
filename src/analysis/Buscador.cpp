#include "analysis/Buscador.h"

#include <algorithm>
#include <numeric>

namespace {
// Full transition rows for the states nearest the root, where a scan spends
// nearly all its time; deeper states keep their few children in a list.
constexpr std::size_t kBytesFilasDensas = std::size_t(2) << 20;
constexpr std::uint32_t kNinguno = 0xFFFFFFFFu;
}  // namespace

BuscadorClaves::BuscadorClaves(const std::vector<std::string>& claves)
    : encontrada_(claves.size(), 0), pendientes_(claves.size())
{
    for (const std::string& clave : claves)
        for (unsigned char b : clave)
            clase_[b] = 1;
    for (int b = 0; b < 256; ++b)
        if (clase_[b])
            clase_[b] = std::uint16_t(numClases_++);

    // The trie, built from the keys in sorted order so that a node's children
    // arrive grouped and the last child made is the only one to compare with.
    std::vector<std::uint32_t> orden(claves.size());
    std::iota(orden.begin(), orden.end(), 0u);
    std::sort(orden.begin(), orden.end(),
              [&](std::uint32_t a, std::uint32_t b) { return claves[a] < claves[b]; });
    std::vector<std::uint16_t> etiqueta{0};
    std::vector<std::uint32_t> primero{kNinguno}, siguiente{kNinguno}, ultimo{kNinguno};
    std::vector<std::int32_t> termino{-1};
    for (std::uint32_t indice : orden) {
        const std::string& clave = claves[indice];
        if (clave.empty()) {
            claveVacia_ = int(indice);
            continue;
        }
        std::uint32_t nodo = 0;
        for (unsigned char b : clave) {
            const std::uint16_t c = clase_[b];
            const std::uint32_t hijo = ultimo[nodo];
            if (hijo != kNinguno && etiqueta[hijo] == c) {
                nodo = hijo;
                continue;
            }
            const auto nuevo = std::uint32_t(etiqueta.size());
            etiqueta.push_back(c);
            primero.push_back(kNinguno);
            siguiente.push_back(kNinguno);
            ultimo.push_back(kNinguno);
            termino.push_back(-1);
            if (hijo == kNinguno)
                primero[nodo] = nuevo;
            else
                siguiente[hijo] = nuevo;
            ultimo[nodo] = nuevo;
            nodo = nuevo;
        }
        termino[nodo] = std::int32_t(indice);
    }
    ultimo = {};

    // Renumber breadth-first: a node's children get consecutive numbers, and
    // every failure link points to a smaller number.
    const auto n = std::uint32_t(etiqueta.size());
    std::vector<std::uint32_t> bfs;
    bfs.reserve(n);
    bfs.push_back(0);
    primerHijo_.assign(n + 1, 0);
    std::vector<std::uint32_t> padre(n, 0);
    for (std::uint32_t i = 0; i < bfs.size(); ++i) {
        primerHijo_[i] = std::uint32_t(bfs.size());
        for (std::uint32_t h = primero[bfs[i]]; h != kNinguno; h = siguiente[h]) {
            padre[bfs.size()] = i;
            bfs.push_back(h);
        }
    }
    primerHijo_[n] = n;
    etiqueta_.resize(n);
    termino_.resize(n);
    for (std::uint32_t i = 0; i < n; ++i) {
        etiqueta_[i] = etiqueta[bfs[i]];
        termino_[i] = termino[bfs[i]];
    }
    etiqueta = {}; primero = {}; siguiente = {}; termino = {}; bfs = {};

    numDensos_ = std::uint32_t(std::min<std::size_t>(
        n, std::max<std::size_t>(1, kBytesFilasDensas / (numClases_ * sizeof(std::uint32_t)))));
    denso_.assign(std::size_t(numDensos_) * numClases_, 0);
    fallo_.assign(n, 0);
    sigSalida_.assign(n, 0);
    salida_.assign(n, 0);
    for (std::uint32_t s = 0; s < n; ++s) {
        if (s != 0 && padre[s] != 0) {
            // Follow the parent's failure link with this state's byte.
            std::uint32_t f = fallo_[padre[s]];
            const std::uint16_t c = etiqueta_[s];
            for (;;) {
                if (f < numDensos_) {
                    f = denso_[std::size_t(f) * numClases_ + c];
                    break;
                }
                const std::uint32_t h = Hijo(f, c);
                if (h != 0) {
                    f = h;
                    break;
                }
                f = fallo_[f];
            }
            fallo_[s] = f;
        }
        const std::uint32_t f = fallo_[s];
        sigSalida_[s] = termino_[f] >= 0 ? f : sigSalida_[f];
        salida_[s] = termino_[s] >= 0 ? s : sigSalida_[s];
        if (s < numDensos_) {
            std::uint32_t* fila = &denso_[std::size_t(s) * numClases_];
            if (s != 0)
                std::copy_n(&denso_[std::size_t(f) * numClases_], numClases_, fila);
            for (std::uint32_t h = primerHijo_[s]; h < primerHijo_[s + 1]; ++h)
                fila[etiqueta_[h]] = h;
        }
    }
    salida_[0] = 0;
}

std::uint32_t BuscadorClaves::Hijo(std::uint32_t estado, std::uint16_t clase) const
{
    for (std::uint32_t h = primerHijo_[estado], fin = primerHijo_[estado + 1]; h < fin; ++h)
        if (etiqueta_[h] == clase)
            return h;
    return 0;
}

void BuscadorClaves::Emitir(std::uint32_t estado, std::vector<int>& nuevas)
{
    for (std::uint32_t u = salida_[estado]; u != 0; u = sigSalida_[u]) {
        const auto clave = std::size_t(termino_[u]);
        if (!encontrada_[clave]) {
            encontrada_[clave] = 1;
            --pendientes_;
            nuevas.push_back(int(clave));
        }
    }
    // Every key on this chain is found now, for good.
    salida_[estado] = 0;
}

void BuscadorClaves::Buscar(std::string_view trozo, std::vector<int>& nuevas)
{
    if (trozo.empty())
        return;
    if (claveVacia_ >= 0 && !encontrada_[std::size_t(claveVacia_)]) {
        encontrada_[std::size_t(claveVacia_)] = 1;
        --pendientes_;
        nuevas.push_back(claveVacia_);
    }
    if (pendientes_ == 0)
        return;

    std::uint32_t s = estado_;
    const std::uint32_t* const denso = denso_.data();
    const std::uint32_t* const salida = salida_.data();
    const std::uint32_t nc = numClases_, nd = numDensos_;
    for (unsigned char b : trozo) {
        const std::uint16_t c = clase_[b];
        if (c == 0) {  // a byte of no key: back to the root
            s = 0;
            continue;
        }
        for (;;) {
            if (s < nd) {
                s = denso[std::size_t(s) * nc + c];
                break;
            }
            const std::uint32_t h = Hijo(s, c);
            if (h != 0) {
                s = h;
                break;
            }
            s = fallo_[s];
        }
        if (salida[s] != 0) {
            Emitir(s, nuevas);
            if (pendientes_ == 0)
                break;
        }
    }
    estado_ = s;
}

std::size_t BuscadorClaves::BytesUsados() const
{
    return denso_.size() * 4 + fallo_.size() * 4 + primerHijo_.size() * 4 + etiqueta_.size() * 2
        + termino_.size() * 4 + sigSalida_.size() * 4 + salida_.size() * 4 + encontrada_.size();
}
