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
inline std::uint32_t cuatroBytes(const unsigned char* p)
{
    std::uint32_t w;
    std::memcpy(&w, p, 4);
    if constexpr (std::endian::native == std::endian::big)
        w = (w >> 24) | ((w >> 8) & 0xFF00u) | ((w << 8) & 0xFF0000u) | (w << 24);
    return w;
}

// The two bytes at `p` as one number, the first one lowest: one load, where
// two bytes put together cost three more operations.
inline std::uint32_t dosBytes(const unsigned char* p)
{
    std::uint16_t w;
    std::memcpy(&w, p, 2);
    if constexpr (std::endian::native == std::endian::big)
        w = std::uint16_t((w >> 8) | (w << 8));
    return w;
}

// A window's first three bytes and the low three bits of its fourth: what
// the filter tells apart. Keys of three bytes stand for all eight fourths.
constexpr std::uint32_t kBitsVentana = 0x07FFFFFFu;

// The top `64 - desplazamiento` bits of a 64-bit product: both the filter
// and the exact table of prefixes index by them. A 32-bit product let
// through a third more of the data's frequent windows.
inline std::size_t dispersion(std::uint32_t ventana, unsigned desplazamiento)
{
    return std::size_t((std::uint64_t(ventana & kBitsVentana) * kMultiplicador) >> desplazamiento);
}

inline bool bit(const std::uint64_t* mapa, std::uint32_t i)
{
    return (mapa[i >> 6] >> (i & 63)) & 1;
}

// Bit j set where paso[j] is not zero.
inline std::uint64_t mascara(const std::uint8_t* paso)
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

unsigned log2Techo(std::size_t n)
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
        anadir(c);
}

AutomataClaves::AutomataClaves(const BloqueClaves& claves) : m_numClaves(claves.inicios.size() - 1)
{
    const std::string_view bloque = claves.texto;
    const std::vector<std::uint32_t>& inicios = claves.inicios;
    const auto numClaves = std::uint32_t(m_numClaves);
    const auto clave = [&](std::uint32_t k) { return bloque.substr(inicios[k], inicios[k + 1] - inicios[k]); };
    const auto byte = [](std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); };

    // The keys in byte order: equal keys side by side form one group, and
    // the trie comes out depth first with no tree built on the side.
    m_orden.resize(numClaves);
    std::iota(m_orden.begin(), m_orden.end(), 0u);
    std::sort(m_orden.begin(), m_orden.end(), [&](std::uint32_t a, std::uint32_t b) { return clave(a) < clave(b); });
    while (m_vacias < numClaves && clave(m_orden[m_vacias]).empty())
        ++m_vacias;
    std::vector<std::string_view> grupos;
    for (std::uint32_t i = m_vacias; i < numClaves; ++i) {
        const std::string_view k = clave(m_orden[i]);
        m_largoMaximo = std::max(m_largoMaximo, k.size());
        if (grupos.empty() || grupos.back() != k) {
            grupos.push_back(k);
            m_inicioGrupo.push_back(i);
        }
    }
    m_inicioGrupo.push_back(numClaves);
    m_ranuraGrupo.assign(grupos.size(), kNinguno);

    std::size_t numPrefijos = 0;
    for (std::size_t g = 0; g < grupos.size(); ++g)
        if (grupos[g].size() >= 3 && (g == 0 || grupos[g - 1].substr(0, 3) != grupos[g].substr(0, 3)))
            ++numPrefijos;
    const unsigned bitsPrefijos = std::max(4u, log2Techo(2 * numPrefijos));
    m_prefijo.assign(std::size_t(1) << bitsPrefijos, kNinguno);
    m_nodoPrefijo.assign(m_prefijo.size(), 0);
    m_mascaraPrefijos = std::uint32_t(m_prefijo.size() - 1);
    std::vector<std::uint32_t> entradas;  // the filter's windows
    for (const std::string_view k : grupos) {
        if (k.size() < 3)
            continue;
        const std::uint32_t p = byte(k, 0) | (std::uint32_t(byte(k, 1)) << 8) | (std::uint32_t(byte(k, 2)) << 16);
        for (std::uint32_t cuarto = 0; cuarto < 8; ++cuarto)
            if (k.size() == 3 || cuarto == (byte(k, 3) & 7u))
                entradas.push_back(p | (cuarto << 24));
    }
    m_pares3.assign(65536, 0);
    for (const std::string_view k : grupos) {
        if (k.size() < 3)
            continue;
        m_pares3[byte(k, 0) | (std::uint32_t(byte(k, 1)) << 8)] |= 1;
        m_pares3[byte(k, 1) | (std::uint32_t(byte(k, 2)) << 8)] |= 2;
    }
    std::sort(entradas.begin(), entradas.end());
    entradas.erase(std::unique(entradas.begin(), entradas.end()), entradas.end());
    // About one entry in thirty set, so that few positions with no key pass;
    // at most 256 KiB, to stay near the core.
    const unsigned bitsFiltro = std::clamp(log2Techo(32 * entradas.size()), 12u, 18u);
    m_filtro.assign(std::size_t(1) << bitsFiltro, 0);
    m_desplazamiento = 64 - bitsFiltro;
    for (const std::uint32_t v : entradas)
        m_filtro[dispersion(v, m_desplazamiento)] = 1;
    m_pares.assign(65536 / 64, 0);
    std::fill(std::begin(m_grupoUno), std::end(m_grupoUno), kNinguno);
    std::vector<std::pair<std::uint32_t, std::uint32_t>> dos;

    m_etiqueta.push_back(0);  // the root
    m_conHijos.push_back(0);
    m_hermano.push_back(0);
    m_grupoNodo.push_back(kNinguno);
    std::vector<std::uint32_t> camino{0};  // the previous key's nodes, by depth
    std::string_view anterior;
    std::uint32_t ranura = kNinguno;
    for (std::uint32_t g = 0; g < grupos.size(); ++g) {
        const std::string_view k = grupos[g];
        if (k.size() <= 2) {
            ++m_gruposCortos;
            if (k.size() == 1) {
                m_grupoUno[byte(k, 0)] = g;
                for (std::uint32_t b = 0; b < 256; ++b) {  // whatever byte follows, or none
                    const std::uint32_t par = byte(k, 0) | (b << 8);
                    m_pares[par >> 6] |= std::uint64_t(1) << (par & 63);
                }
            } else {
                const std::uint32_t par = byte(k, 0) | (std::uint32_t(byte(k, 1)) << 8);
                m_pares[par >> 6] |= std::uint64_t(1) << (par & 63);
                dos.emplace_back(par, g);
            }
            continue;
        }
        std::size_t comun = 0;
        while (comun < anterior.size() && anterior[comun] == k[comun])
            ++comun;
        camino.resize(std::max(camino.size(), k.size() + 1));
        for (std::size_t d = comun + 1; d <= k.size(); ++d) {
            const auto nodo = std::uint32_t(m_etiqueta.size());
            if (d == comun + 1 && anterior.size() > comun)
                m_hermano[camino[d]] = nodo;  // the previous key went down another byte
            else
                m_conHijos[camino[d - 1]] = 1;  // so the first child is the node after
            m_etiqueta.push_back(byte(k, d - 1));
            m_conHijos.push_back(0);
            m_hermano.push_back(0);
            m_grupoNodo.push_back(kNinguno);
            camino[d] = nodo;
        }
        m_grupoNodo[camino[k.size()]] = g;
        if (comun < 3) {  // a new prefix
            const std::uint32_t p = byte(k, 0) | (std::uint32_t(byte(k, 1)) << 8) | (std::uint32_t(byte(k, 2)) << 16);
            ranura = std::uint32_t(dispersion(p, 64 - bitsPrefijos));
            while (m_prefijo[ranura] != kNinguno)
                ranura = (ranura + 1) & m_mascaraPrefijos;
            m_prefijo[ranura] = p;
            m_nodoPrefijo[ranura] = camino[3];
        }
        m_ranuraGrupo[g] = ranura;
        anterior = k;
    }
    std::sort(dos.begin(), dos.end());
    for (const auto& [par, g] : dos) {
        m_dos.push_back(par);
        m_grupoDos.push_back(g);
    }
    m_gruposPorRanura.assign(m_prefijo.size(), 0);
    for (std::uint32_t r : m_ranuraGrupo)
        if (r != kNinguno)
            ++m_gruposPorRanura[r];
    // The trie grew a node at a time: give back what growing reserved.
    m_etiqueta.shrink_to_fit();
    m_conHijos.shrink_to_fit();
    m_hermano.shrink_to_fit();
    m_grupoNodo.shrink_to_fit();
    m_inicioGrupo.shrink_to_fit();
}

std::uint32_t AutomataClaves::ranura(std::uint32_t prefijo) const
{
    for (auto r = std::uint32_t(dispersion(prefijo, 64 - unsigned(std::countr_zero(m_prefijo.size()))));;
         r = (r + 1) & m_mascaraPrefijos) {
        if (m_prefijo[r] == prefijo)
            return r;
        if (m_prefijo[r] == kNinguno)
            return kNinguno;
    }
}

std::size_t AutomataClaves::bytes() const
{
    return m_filtro.capacity() + m_pares3.capacity() + m_prefijo.capacity() * 4 + m_nodoPrefijo.capacity() * 4
        + m_etiqueta.capacity() + m_conHijos.capacity() + m_hermano.capacity() * 4 + m_grupoNodo.capacity() * 4
        + m_pares.capacity() * 8 + sizeof m_grupoUno + m_dos.capacity() * 4 + m_grupoDos.capacity() * 4
        + m_orden.capacity() * 4 + m_inicioGrupo.capacity() * 4 + m_ranuraGrupo.capacity() * 4
        + m_gruposPorRanura.capacity() * 4;
}

BuscadorClaves::BuscadorClaves(const AutomataClaves& automata)
    : m_tablas(automata),
      m_encontrada(automata.numClaves(), 0),
      m_grupoHallado(automata.m_ranuraGrupo.size(), 0),
      m_pendientesRanura(automata.m_gruposPorRanura),
      m_pendientes(automata.numClaves()),
      m_cortosPendientes(automata.m_gruposCortos)
{
}

BuscadorClaves::BuscadorClaves(const std::vector<std::string>& claves)
    : m_propio(std::make_unique<AutomataClaves>(BloqueClaves(claves))),
      m_tablas(*m_propio),
      m_encontrada(m_tablas.numClaves(), 0),
      m_grupoHallado(m_tablas.m_ranuraGrupo.size(), 0),
      m_pendientesRanura(m_tablas.m_gruposPorRanura),
      m_pendientes(m_tablas.numClaves()),
      m_cortosPendientes(m_tablas.m_gruposCortos)
{
}

void BuscadorClaves::marcar(std::uint32_t grupo, std::vector<int>& nuevas)
{
    m_grupoHallado[grupo] = 1;
    for (std::uint32_t i = m_tablas.m_inicioGrupo[grupo]; i < m_tablas.m_inicioGrupo[grupo + 1]; ++i) {
        const std::uint32_t k = m_tablas.m_orden[i];
        m_encontrada[k] = 1;
        --m_pendientes;
        nuevas.push_back(int(k));
    }
    if (const std::uint32_t r = m_tablas.m_ranuraGrupo[grupo]; r != AutomataClaves::kNinguno)
        --m_pendientesRanura[r];
    else
        --m_cortosPendientes;
}

void BuscadorClaves::verificar(const unsigned char* texto, std::size_t largo, std::size_t i, std::vector<int>& nuevas)
{
    const unsigned char* s = texto + i;
    const std::size_t resto = largo - i;
    constexpr std::uint32_t ninguno = AutomataClaves::kNinguno;
    if (m_cortosPendientes > 0) {
        if (const std::uint32_t g = m_tablas.m_grupoUno[s[0]]; g != ninguno && !m_grupoHallado[g])
            marcar(g, nuevas);
        if (resto >= 2) {
            const std::uint32_t par = s[0] | (std::uint32_t(s[1]) << 8);
            const auto it = std::lower_bound(m_tablas.m_dos.begin(), m_tablas.m_dos.end(), par);
            if (it != m_tablas.m_dos.end() && *it == par) {
                const std::uint32_t g = m_tablas.m_grupoDos[std::size_t(it - m_tablas.m_dos.begin())];
                if (!m_grupoHallado[g])
                    marcar(g, nuevas);
            }
        }
    }
    if (resto < 3)
        return;
    const std::uint32_t r = m_tablas.ranura(s[0] | (std::uint32_t(s[1]) << 8) | (std::uint32_t(s[2]) << 16));
    if (r == ninguno || m_pendientesRanura[r] == 0)
        return;  // no key begins so, or all that do are found
    std::uint32_t u = m_tablas.m_nodoPrefijo[r];
    for (std::size_t d = 3;; ++d) {
        if (const std::uint32_t g = m_tablas.m_grupoNodo[u]; g != ninguno && !m_grupoHallado[g])
            marcar(g, nuevas);
        if (d >= resto || !m_tablas.m_conHijos[u])
            return;
        const unsigned char c = s[d];
        std::uint32_t v = u + 1;
        while (m_tablas.m_etiqueta[v] < c && m_tablas.m_hermano[v] != 0)
            v = m_tablas.m_hermano[v];
        if (m_tablas.m_etiqueta[v] != c)
            return;
        u = v;
    }
}

template <bool kCortas>
void BuscadorClaves::explorar(const unsigned char* texto, std::size_t largo, std::size_t inicios,
                              std::vector<int>& nuevas)
{
    const std::uint8_t* const filtro = m_tablas.m_filtro.data();
    const std::uint64_t* const pares = m_tablas.m_pares.data();
    const unsigned desplazamiento = m_tablas.m_desplazamiento;
    const auto pasa = [&](std::uint32_t w) {
        unsigned paso = filtro[dispersion(w, desplazamiento)];
        if constexpr (kCortas)
            paso |= unsigned(bit(pares, w & 0xFFFFu));
        return std::uint8_t(paso);
    };
    // Positions where four bytes can be read, 64 at a time: the filter of
    // each is independent of the others, and the few that pass are verified
    // after the block.
    const std::size_t rapidas = largo >= 4 ? std::min(inicios, largo - 3) : 0;
    std::size_t i = 0;
    if constexpr (!kCortas) {
        // With keys of three bytes or more alone, 128 positions at a time
        // cost the pairs at every other one, most of which no key has: the
        // pair at i + 1 holds the first two bytes of a key that starts there,
        // and the second and third of one that starts at i.
        const std::uint8_t* const pares3 = m_tablas.m_pares3.data();
        for (; i + 128 <= rapidas; i += 128) {
            alignas(16) std::uint8_t paso[64];
#if defined(__GNUC__)
#pragma GCC unroll 16
#endif
            for (unsigned j = 0; j < 64; ++j)
                paso[j] = pares3[dosBytes(texto + i + 2 * j + 1)];
            // The starts the pairs let through, gathered without a branch
            // each, then filtered as every position is below.
            std::uint32_t aProbar[128];
            unsigned cuantas = 0;
            for (std::uint64_t candidatas = mascara(paso); candidatas != 0; candidatas &= candidatas - 1) {
                const unsigned j = unsigned(std::countr_zero(candidatas));
                aProbar[cuantas] = 2 * j;
                cuantas += (paso[j] >> 1) & 1u;
                aProbar[cuantas] = 2 * j + 1;
                cuantas += paso[j] & 1u;
            }
            for (unsigned k = 0; k < cuantas; ++k) {
                const std::size_t inicio = i + aProbar[k];
                if (pasa(cuatroBytes(texto + inicio))) {
                    verificar(texto, largo, inicio, nuevas);
                    if (m_pendientes == 0)
                        return;
                }
            }
        }
    }
    for (; i + 64 <= rapidas; i += 64) {
        alignas(16) std::uint8_t paso[64];
#if defined(__GNUC__)
#pragma GCC unroll 16
#endif
        for (unsigned j = 0; j < 64; ++j)
            paso[j] = pasa(cuatroBytes(texto + i + j));
        std::uint64_t candidatas = mascara(paso);
        for (; candidatas != 0; candidatas &= candidatas - 1) {
            verificar(texto, largo, i + unsigned(std::countr_zero(candidatas)), nuevas);
            if (m_pendientes == 0)
                return;
        }
        if constexpr (kCortas) {
            if (m_cortosPendientes == 0) {
                // The short keys are all found: the rest needs one table.
                explorar<false>(texto + i + 64, largo - i - 64, inicios - i - 64, nuevas);
                return;
            }
        }
    }
    // The last positions, with the window padded by zeros: the verification
    // never reads past the text.
    for (; i < inicios; ++i) {
        unsigned char relleno[4] = {};
        std::memcpy(relleno, texto + i, std::min<std::size_t>(4, largo - i));
        if (pasa(cuatroBytes(relleno))) {
            verificar(texto, largo, i, nuevas);
            if (m_pendientes == 0)
                return;
        }
    }
}

void BuscadorClaves::buscar(std::string_view trozo, std::vector<int>& nuevas)
{
    if (trozo.empty())
        return;
    for (std::uint32_t i = 0; i < m_tablas.m_vacias; ++i)
        if (const std::uint32_t k = m_tablas.m_orden[i]; !m_encontrada[k]) {
            m_encontrada[k] = 1;
            --m_pendientes;
            nuevas.push_back(int(k));
        }
    if (m_pendientes == 0)
        return;
    const auto explorarTrozo = [&](std::string_view texto, std::size_t inicios) {
        const auto* p = reinterpret_cast<const unsigned char*>(texto.data());
        if (m_cortosPendientes > 0)
            explorar<true>(p, texto.size(), inicios, nuevas);
        else
            explorar<false>(p, texto.size(), inicios, nuevas);
    };
    // A key that starts in the previous pieces and ends in this one starts
    // in their last largoMaximo() - 1 bytes and ends before as many of this.
    const std::size_t guarda = std::max<std::size_t>(m_tablas.m_largoMaximo, 1) - 1;
    if (!m_cola.empty()) {
        m_junta.assign(m_cola);
        m_junta.append(trozo.substr(0, guarda));
        explorarTrozo(m_junta, m_cola.size());
    }
    explorarTrozo(trozo, trozo.size());
    if (trozo.size() >= guarda) {
        m_cola.assign(trozo.substr(trozo.size() - guarda));
    } else {
        m_cola.append(trozo);
        if (m_cola.size() > guarda)
            m_cola.erase(0, m_cola.size() - guarda);
    }
}
