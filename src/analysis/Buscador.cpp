#include "analysis/Buscador.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
constexpr std::uint64_t kMultiplicador = 0x9E3779B97F4A7C15u;  // odd, its bits well mixed (2^64 / golden ratio)

// The four bytes at `p` as one number, the first one lowest, whatever the
// processor's byte order.
inline std::uint32_t Ventana(const unsigned char* p)
{
    std::uint32_t w;
    std::memcpy(&w, p, 4);
    if constexpr (std::endian::native == std::endian::big)
        w = (w >> 24) | ((w >> 8) & 0xFF00u) | ((w << 8) & 0xFF0000u) | (w << 24);
    return w;
}

// A window's first three bytes and the low three bits of its fourth: what
// the filter tells apart. Keys of three bytes stand for all eight fourths.
constexpr std::uint32_t kBitsVentana = 0x07FFFFFFu;

// The top `64 - desplazamiento` bits of a 64-bit product: both the filter
// and the exact table of prefixes index by them. A 32-bit product let
// through a third more of the data's frequent windows.
inline std::size_t Dispersion(std::uint32_t ventana, unsigned desplazamiento)
{
    return std::size_t((std::uint64_t(ventana & kBitsVentana) * kMultiplicador) >> desplazamiento);
}

inline bool Bit(const std::uint64_t* mapa, std::uint32_t i)
{
    return (mapa[i >> 6] >> (i & 63)) & 1;
}

// Bit j set where paso[j] is not zero.
inline std::uint64_t Mascara(const std::uint8_t* paso)
{
#if defined(__SSE2__)
    const __m128i cero = _mm_setzero_si128();
    std::uint64_t ceros = 0;
    for (unsigned j = 0; j < 64; j += 16) {
        const __m128i v = _mm_load_si128(reinterpret_cast<const __m128i*>(paso + j));
        ceros |= std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cero)))) << j;
    }
    return ~ceros;
#else
    std::uint64_t m = 0;
    for (unsigned j = 0; j < 64; ++j)
        m |= std::uint64_t(paso[j] != 0) << j;
    return m;
#endif
}

unsigned Log2Techo(std::size_t n)
{
    unsigned b = 0;
    while ((std::size_t(1) << b) < n)
        ++b;
    return b;
}
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
    const auto byte = [](std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); };

    // The keys in byte order: equal keys side by side form one group, and
    // the trie comes out depth first with no tree built on the side.
    orden_.resize(numClaves);
    std::iota(orden_.begin(), orden_.end(), 0u);
    std::sort(orden_.begin(), orden_.end(), [&](std::uint32_t a, std::uint32_t b) { return clave(a) < clave(b); });
    while (vacias_ < numClaves && clave(orden_[vacias_]).empty())
        ++vacias_;
    std::vector<std::string_view> grupos;
    for (std::uint32_t i = vacias_; i < numClaves; ++i) {
        const std::string_view k = clave(orden_[i]);
        largoMaximo_ = std::max(largoMaximo_, k.size());
        if (grupos.empty() || grupos.back() != k) {
            grupos.push_back(k);
            inicioGrupo_.push_back(i);
        }
    }
    inicioGrupo_.push_back(numClaves);
    ranuraGrupo_.assign(grupos.size(), kNinguno);

    std::size_t numPrefijos = 0;
    for (std::size_t g = 0; g < grupos.size(); ++g)
        if (grupos[g].size() >= 3 && (g == 0 || grupos[g - 1].substr(0, 3) != grupos[g].substr(0, 3)))
            ++numPrefijos;
    const unsigned bitsPrefijos = std::max(4u, Log2Techo(2 * numPrefijos));
    prefijo_.assign(std::size_t(1) << bitsPrefijos, kNinguno);
    nodoPrefijo_.assign(prefijo_.size(), 0);
    mascaraPrefijos_ = std::uint32_t(prefijo_.size() - 1);
    std::vector<std::uint32_t> entradas;  // the filter's windows
    for (const std::string_view k : grupos) {
        if (k.size() < 3)
            continue;
        const std::uint32_t p = byte(k, 0) | (std::uint32_t(byte(k, 1)) << 8) | (std::uint32_t(byte(k, 2)) << 16);
        for (std::uint32_t cuarto = 0; cuarto < 8; ++cuarto)
            if (k.size() == 3 || cuarto == (byte(k, 3) & 7u))
                entradas.push_back(p | (cuarto << 24));
    }
    std::sort(entradas.begin(), entradas.end());
    entradas.erase(std::unique(entradas.begin(), entradas.end()), entradas.end());
    // About one entry in thirty set, so that few positions with no key pass;
    // at most 256 KiB, to stay near the core.
    const unsigned bitsFiltro = std::clamp(Log2Techo(32 * entradas.size()), 12u, 18u);
    filtro_.assign(std::size_t(1) << bitsFiltro, 0);
    desplazamiento_ = 64 - bitsFiltro;
    for (const std::uint32_t v : entradas)
        filtro_[Dispersion(v, desplazamiento_)] = 1;
    pares_.assign(65536 / 64, 0);
    std::fill(std::begin(grupoUno_), std::end(grupoUno_), kNinguno);
    std::vector<std::pair<std::uint32_t, std::uint32_t>> dos;

    etiqueta_.push_back(0);  // the root
    conHijos_.push_back(0);
    hermano_.push_back(0);
    grupoNodo_.push_back(kNinguno);
    std::vector<std::uint32_t> camino{0};  // the previous key's nodes, by depth
    std::string_view anterior;
    std::uint32_t ranura = kNinguno;
    for (std::uint32_t g = 0; g < grupos.size(); ++g) {
        const std::string_view k = grupos[g];
        if (k.size() <= 2) {
            ++gruposCortos_;
            if (k.size() == 1) {
                grupoUno_[byte(k, 0)] = g;
                for (std::uint32_t b = 0; b < 256; ++b) {  // whatever byte follows, or none
                    const std::uint32_t par = byte(k, 0) | (b << 8);
                    pares_[par >> 6] |= std::uint64_t(1) << (par & 63);
                }
            } else {
                const std::uint32_t par = byte(k, 0) | (std::uint32_t(byte(k, 1)) << 8);
                pares_[par >> 6] |= std::uint64_t(1) << (par & 63);
                dos.emplace_back(par, g);
            }
            continue;
        }
        std::size_t comun = 0;
        while (comun < anterior.size() && anterior[comun] == k[comun])
            ++comun;
        camino.resize(std::max(camino.size(), k.size() + 1));
        for (std::size_t d = comun + 1; d <= k.size(); ++d) {
            const auto nodo = std::uint32_t(etiqueta_.size());
            if (d == comun + 1 && anterior.size() > comun)
                hermano_[camino[d]] = nodo;  // the previous key went down another byte
            else
                conHijos_[camino[d - 1]] = 1;  // so the first child is the node after
            etiqueta_.push_back(byte(k, d - 1));
            conHijos_.push_back(0);
            hermano_.push_back(0);
            grupoNodo_.push_back(kNinguno);
            camino[d] = nodo;
        }
        grupoNodo_[camino[k.size()]] = g;
        if (comun < 3) {  // a new prefix
            const std::uint32_t p = byte(k, 0) | (std::uint32_t(byte(k, 1)) << 8) | (std::uint32_t(byte(k, 2)) << 16);
            ranura = std::uint32_t(Dispersion(p, 64 - bitsPrefijos));
            while (prefijo_[ranura] != kNinguno)
                ranura = (ranura + 1) & mascaraPrefijos_;
            prefijo_[ranura] = p;
            nodoPrefijo_[ranura] = camino[3];
        }
        ranuraGrupo_[g] = ranura;
        anterior = k;
    }
    std::sort(dos.begin(), dos.end());
    for (const auto& [par, g] : dos) {
        dos_.push_back(par);
        grupoDos_.push_back(g);
    }
    gruposPorRanura_.assign(prefijo_.size(), 0);
    for (std::uint32_t r : ranuraGrupo_)
        if (r != kNinguno)
            ++gruposPorRanura_[r];
    // The trie grew a node at a time: give back what growing reserved.
    etiqueta_.shrink_to_fit();
    conHijos_.shrink_to_fit();
    hermano_.shrink_to_fit();
    grupoNodo_.shrink_to_fit();
    inicioGrupo_.shrink_to_fit();
}

std::uint32_t AutomataClaves::Ranura(std::uint32_t prefijo) const
{
    for (auto r = std::uint32_t(Dispersion(prefijo, 64 - unsigned(std::countr_zero(prefijo_.size()))));;
         r = (r + 1) & mascaraPrefijos_) {
        if (prefijo_[r] == prefijo)
            return r;
        if (prefijo_[r] == kNinguno)
            return kNinguno;
    }
}

std::size_t AutomataClaves::Bytes() const
{
    return filtro_.capacity() + prefijo_.capacity() * 4 + nodoPrefijo_.capacity() * 4 + etiqueta_.capacity()
        + conHijos_.capacity() + hermano_.capacity() * 4 + grupoNodo_.capacity() * 4 + pares_.capacity() * 8
        + sizeof grupoUno_ + dos_.capacity() * 4 + grupoDos_.capacity() * 4 + orden_.capacity() * 4
        + inicioGrupo_.capacity() * 4 + ranuraGrupo_.capacity() * 4 + gruposPorRanura_.capacity() * 4;
}

BuscadorClaves::BuscadorClaves(const AutomataClaves& automata)
    : a_(automata),
      encontrada_(automata.NumClaves(), 0),
      grupoHallado_(automata.ranuraGrupo_.size(), 0),
      pendientesRanura_(automata.gruposPorRanura_),
      pendientes_(automata.NumClaves()),
      cortosPendientes_(automata.gruposCortos_)
{
}

BuscadorClaves::BuscadorClaves(const std::vector<std::string>& claves)
    : propio_(std::make_unique<AutomataClaves>(BloqueClaves(claves))),
      a_(*propio_),
      encontrada_(a_.NumClaves(), 0),
      grupoHallado_(a_.ranuraGrupo_.size(), 0),
      pendientesRanura_(a_.gruposPorRanura_),
      pendientes_(a_.NumClaves()),
      cortosPendientes_(a_.gruposCortos_)
{
}

void BuscadorClaves::Marcar(std::uint32_t grupo, std::vector<int>& nuevas)
{
    grupoHallado_[grupo] = 1;
    for (std::uint32_t i = a_.inicioGrupo_[grupo]; i < a_.inicioGrupo_[grupo + 1]; ++i) {
        const std::uint32_t k = a_.orden_[i];
        encontrada_[k] = 1;
        --pendientes_;
        nuevas.push_back(int(k));
    }
    if (const std::uint32_t r = a_.ranuraGrupo_[grupo]; r != AutomataClaves::kNinguno)
        --pendientesRanura_[r];
    else
        --cortosPendientes_;
}

void BuscadorClaves::Verificar(const unsigned char* texto, std::size_t largo, std::size_t i, std::vector<int>& nuevas)
{
    const unsigned char* s = texto + i;
    const std::size_t resto = largo - i;
    constexpr std::uint32_t ninguno = AutomataClaves::kNinguno;
    if (cortosPendientes_ > 0) {
        if (const std::uint32_t g = a_.grupoUno_[s[0]]; g != ninguno && !grupoHallado_[g])
            Marcar(g, nuevas);
        if (resto >= 2) {
            const std::uint32_t par = s[0] | (std::uint32_t(s[1]) << 8);
            const auto it = std::lower_bound(a_.dos_.begin(), a_.dos_.end(), par);
            if (it != a_.dos_.end() && *it == par) {
                const std::uint32_t g = a_.grupoDos_[std::size_t(it - a_.dos_.begin())];
                if (!grupoHallado_[g])
                    Marcar(g, nuevas);
            }
        }
    }
    if (resto < 3)
        return;
    const std::uint32_t r = a_.Ranura(s[0] | (std::uint32_t(s[1]) << 8) | (std::uint32_t(s[2]) << 16));
    if (r == ninguno || pendientesRanura_[r] == 0)
        return;  // no key begins so, or all that do are found
    std::uint32_t u = a_.nodoPrefijo_[r];
    for (std::size_t d = 3;; ++d) {
        if (const std::uint32_t g = a_.grupoNodo_[u]; g != ninguno && !grupoHallado_[g])
            Marcar(g, nuevas);
        if (d >= resto || !a_.conHijos_[u])
            return;
        const unsigned char c = s[d];
        std::uint32_t v = u + 1;
        while (a_.etiqueta_[v] < c && a_.hermano_[v] != 0)
            v = a_.hermano_[v];
        if (a_.etiqueta_[v] != c)
            return;
        u = v;
    }
}

template <bool kCortas>
void BuscadorClaves::Explorar(const unsigned char* texto, std::size_t largo, std::size_t inicios,
                              std::vector<int>& nuevas)
{
    const std::uint8_t* const filtro = a_.filtro_.data();
    const std::uint64_t* const pares = a_.pares_.data();
    const unsigned desplazamiento = a_.desplazamiento_;
    const auto pasa = [&](std::uint32_t w) {
        unsigned paso = filtro[Dispersion(w, desplazamiento)];
        if constexpr (kCortas)
            paso |= unsigned(Bit(pares, w & 0xFFFFu));
        return std::uint8_t(paso);
    };
    // Positions where four bytes can be read, 64 at a time: the filter of
    // each is independent of the others, and the few that pass are verified
    // after the block.
    const std::size_t rapidas = largo >= 4 ? std::min(inicios, largo - 3) : 0;
    std::size_t i = 0;
    for (; i + 64 <= rapidas; i += 64) {
        alignas(16) std::uint8_t paso[64];
#if defined(__GNUC__)
#pragma GCC unroll 16
#endif
        for (unsigned j = 0; j < 64; ++j)
            paso[j] = pasa(Ventana(texto + i + j));
        std::uint64_t candidatas = Mascara(paso);
        for (; candidatas != 0; candidatas &= candidatas - 1) {
            Verificar(texto, largo, i + unsigned(std::countr_zero(candidatas)), nuevas);
            if (pendientes_ == 0)
                return;
        }
        if constexpr (kCortas) {
            if (cortosPendientes_ == 0) {
                // The short keys are all found: the rest needs one table.
                Explorar<false>(texto + i + 64, largo - i - 64, inicios - i - 64, nuevas);
                return;
            }
        }
    }
    // The last positions, with the window padded by zeros: the verification
    // never reads past the text.
    for (; i < inicios; ++i) {
        unsigned char relleno[4] = {};
        std::memcpy(relleno, texto + i, std::min<std::size_t>(4, largo - i));
        if (pasa(Ventana(relleno))) {
            Verificar(texto, largo, i, nuevas);
            if (pendientes_ == 0)
                return;
        }
    }
}

void BuscadorClaves::Buscar(std::string_view trozo, std::vector<int>& nuevas)
{
    if (trozo.empty())
        return;
    for (std::uint32_t i = 0; i < a_.vacias_; ++i)
        if (const std::uint32_t k = a_.orden_[i]; !encontrada_[k]) {
            encontrada_[k] = 1;
            --pendientes_;
            nuevas.push_back(int(k));
        }
    if (pendientes_ == 0)
        return;
    const auto explorar = [&](std::string_view texto, std::size_t inicios) {
        const auto* p = reinterpret_cast<const unsigned char*>(texto.data());
        if (cortosPendientes_ > 0)
            Explorar<true>(p, texto.size(), inicios, nuevas);
        else
            Explorar<false>(p, texto.size(), inicios, nuevas);
    };
    // A key that starts in the previous pieces and ends in this one starts
    // in their last LargoMaximo() - 1 bytes and ends before as many of this.
    const std::size_t guarda = std::max<std::size_t>(a_.largoMaximo_, 1) - 1;
    if (!cola_.empty()) {
        junta_.assign(cola_);
        junta_.append(trozo.substr(0, guarda));
        explorar(junta_, cola_.size());
    }
    explorar(trozo, trozo.size());
    if (trozo.size() >= guarda) {
        cola_.assign(trozo.substr(trozo.size() - guarda));
    } else {
        cola_.append(trozo);
        if (cola_.size() > guarda)
            cola_.erase(0, cola_.size() - guarda);
    }
}
