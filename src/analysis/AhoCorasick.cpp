#include "analysis/AhoCorasick.h"

#include <algorithm>
#include <numeric>

namespace {
// Full transition rows for the states nearest the root, where a scan spends
// nearly all its time; deeper states keep their few children in a list.
constexpr std::size_t kBytesFilasDensas = std::size_t(256) << 10;
}  // namespace

AutomataAhoCorasick::AutomataAhoCorasick(const BloqueClaves& claves) : m_numClaves(claves.inicios.size() - 1)
{
    const std::string_view bloque = claves.texto;
    const std::vector<std::uint32_t>& inicios = claves.inicios;
    const auto numClaves = std::uint32_t(m_numClaves);
    const auto clave = [&](std::uint32_t k) { return bloque.substr(inicios[k], inicios[k + 1] - inicios[k]); };
    for (unsigned char b : bloque)
        m_clase[b] = 1;
    for (int b = 0; b < 256; ++b)
        if (m_clase[b])
            m_clase[b] = std::uint16_t(m_numClases++);

    // The keys in byte order: the trie's nodes at each depth then come out in
    // breadth-first order, each node's children together, with no trie built
    // on the side. Equal keys end up side by side and share their node.
    m_orden.resize(numClaves);
    std::iota(m_orden.begin(), m_orden.end(), 0u);
    std::sort(m_orden.begin(), m_orden.end(), [&](std::uint32_t a, std::uint32_t b) { return clave(a) < clave(b); });
    while (m_vacias < numClaves && clave(m_orden[m_vacias]).empty())
        ++m_vacias;
    std::vector<std::uint32_t> activas(numClaves - m_vacias);  // positions in m_orden
    std::iota(activas.begin(), activas.end(), m_vacias);
    std::size_t nodos = 1;
    for (std::size_t i = 0; i < activas.size(); ++i) {
        const std::string_view k = clave(m_orden[activas[i]]);
        std::size_t comun = 0;
        if (i > 0) {
            const std::string_view ant = clave(m_orden[activas[i - 1]]);
            while (comun < ant.size() && comun < k.size() && ant[comun] == k[comun])
                ++comun;
        }
        nodos += k.size() - comun;
    }
    m_terminal.reserve(activas.size());
    m_grupo.reserve(activas.size());
    m_cuantas.reserve(activas.size());
    m_fallo.reserve(nodos);
    m_primerHijo.reserve(nodos + 1);
    m_etiqueta.reserve(nodos);
    m_fallo.push_back(0);
    m_etiqueta.push_back(0);
    m_pendiente.assign((nodos + 63) / 64, 0);
    m_numDensos = std::uint32_t(std::min<std::size_t>(
        nodos, std::max<std::size_t>(1, kBytesFilasDensas / (m_numClases * sizeof(std::uint32_t)))));
    m_denso.assign(std::size_t(m_numDensos) * m_numClases, 0);
    std::uint32_t filasHechas = 0;  // dense rows are complete below this state

    const auto transicion = [&](std::uint32_t f, std::uint8_t etiqueta) {
        for (;;) {
            if (f < filasHechas)
                return m_denso[std::size_t(f) * m_numClases + etiqueta + 1u];
            if (const std::uint32_t h = hijo(f, etiqueta))
                return h;
            if (f == 0)
                return std::uint32_t(0);
            f = m_fallo[f];
        }
    };
    const auto llenarFilas = [&](std::uint32_t hasta) {
        for (std::uint32_t s = filasHechas; s < std::min(hasta, m_numDensos); ++s) {
            std::uint32_t* fila = &m_denso[std::size_t(s) * m_numClases];
            if (s != 0)
                std::copy_n(&m_denso[std::size_t(m_fallo[s]) * m_numClases], m_numClases, fila);
            for (std::uint32_t h = m_primerHijo[s]; h < finHijos(s); ++h)
                fila[m_etiqueta[h] + 1u] = h;
        }
        filasHechas = std::max(filasHechas, std::min(hasta, m_numDensos));
    };

    std::vector<std::uint32_t> nodoDe(numClaves, 0);  // each key's node at the current depth, by position
    std::uint32_t inicioNivel = 0, finNivel = 1;      // the nodes at the current depth
    for (std::size_t d = 0; !activas.empty(); ++d) {
        std::uint32_t padreSiguiente = inicioNivel;  // parents whose first child is not yet placed
        std::uint32_t anterior = 0, nuevoAnterior = 0;
        bool hayAnterior = false;
        for (std::uint32_t k : activas) {
            const std::string_view texto = clave(m_orden[k]);
            const auto byte = static_cast<unsigned char>(texto[d]);
            const std::uint32_t padre = nodoDe[k];
            std::uint32_t nodo;
            if (hayAnterior && nodoDe[anterior] == padre
                && static_cast<unsigned char>(clave(m_orden[anterior])[d]) == byte) {
                nodo = nuevoAnterior;
            } else {
                nodo = std::uint32_t(m_fallo.size());
                while (padreSiguiente <= padre)
                    m_primerHijo.push_back(nodo), ++padreSiguiente;
                const auto etiqueta = std::uint8_t(m_clase[byte] - 1);
                m_etiqueta.push_back(etiqueta);
                const std::uint32_t f = padre == 0 ? 0 : transicion(m_fallo[padre], etiqueta);
                m_fallo.push_back(f);
                if (pendiente(f))
                    m_pendiente[nodo >> 6] |= std::uint64_t(1) << (nodo & 63);
            }
            if (texto.size() == d + 1) {
                if (!m_terminal.empty() && m_terminal.back() == nodo) {
                    ++m_cuantas.back();  // the same key again
                } else {
                    m_terminal.push_back(nodo);
                    m_grupo.push_back(k);
                    m_cuantas.push_back(1);
                }
                m_pendiente[nodo >> 6] |= std::uint64_t(1) << (nodo & 63);
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
            m_primerHijo.push_back(std::uint32_t(m_fallo.size())), ++padreSiguiente;
        llenarFilas(finNivel);
        inicioNivel = finNivel;
        finNivel = std::uint32_t(m_fallo.size());
        std::erase_if(activas, [&](std::uint32_t k) { return clave(m_orden[k]).size() == d + 1; });
    }
    while (m_primerHijo.size() <= m_fallo.size())
        m_primerHijo.push_back(std::uint32_t(m_fallo.size()));
    llenarFilas(std::uint32_t(m_fallo.size()));
    m_numDensos = filasHechas;
    m_denso.resize(std::size_t(m_numDensos) * m_numClases);
    m_denso.shrink_to_fit();
    m_terminal.shrink_to_fit();
    m_grupo.shrink_to_fit();
    m_cuantas.shrink_to_fit();
}

BuscadorAhoCorasick::BuscadorAhoCorasick(const AutomataAhoCorasick& automata)
    : m_tablas(automata),
      m_pendiente(automata.m_pendiente),
      m_encontrada(automata.numClaves(), 0),
      m_pendientes(automata.numClaves())
{
}

BuscadorAhoCorasick::BuscadorAhoCorasick(const std::vector<std::string>& claves)
    : m_propio(std::make_unique<AutomataAhoCorasick>(BloqueClaves(claves))),
      m_tablas(*m_propio),
      m_pendiente(m_tablas.m_pendiente),
      m_encontrada(m_tablas.numClaves(), 0),
      m_pendientes(m_tablas.numClaves())
{
}

void BuscadorAhoCorasick::marcar(std::uint32_t desde, std::uint32_t cuantas, std::vector<int>& nuevas)
{
    for (std::uint32_t i = desde; i < desde + cuantas; ++i) {
        const std::uint32_t k = m_tablas.m_orden[i];
        if (!m_encontrada[k]) {
            m_encontrada[k] = 1;
            --m_pendientes;
            nuevas.push_back(int(k));
        }
    }
}

std::uint32_t AutomataAhoCorasick::finHijos(std::uint32_t estado) const
{
    // While the trie is built, the last node of a depth does not know yet
    // where its children end: at the last node made so far.
    return estado + 1 < m_primerHijo.size() ? m_primerHijo[estado + 1] : std::uint32_t(m_fallo.size());
}

std::uint32_t AutomataAhoCorasick::hijo(std::uint32_t estado, std::uint8_t etiqueta) const
{
    for (std::uint32_t h = m_primerHijo[estado], fin = finHijos(estado); h < fin; ++h)
        if (m_etiqueta[h] == etiqueta)
            return h;
    return 0;
}

void BuscadorAhoCorasick::emitir(std::uint32_t estado, std::vector<int>& nuevas)
{
    for (std::uint32_t u = estado; u != 0; u = m_tablas.m_fallo[u]) {
        if (!pendiente(u))
            break;  // nothing left to find from here down
        const auto it = std::lower_bound(m_tablas.m_terminal.begin(), m_tablas.m_terminal.end(), u);
        if (it != m_tablas.m_terminal.end() && *it == u) {
            const auto j = std::size_t(it - m_tablas.m_terminal.begin());
            marcar(m_tablas.m_grupo[j], m_tablas.m_cuantas[j], nuevas);
        }
    }
    // Every key ending on this chain is found now, for good.
    for (std::uint32_t u = estado; u != 0 && pendiente(u); u = m_tablas.m_fallo[u])
        m_pendiente[u >> 6] &= ~(std::uint64_t(1) << (u & 63));
}

void BuscadorAhoCorasick::buscar(std::string_view trozo, std::vector<int>& nuevas)
{
    if (trozo.empty())
        return;
    marcar(0, m_tablas.m_vacias, nuevas);
    if (m_pendientes == 0)
        return;

    std::uint32_t s = m_estado;
    const std::uint32_t* const denso = m_tablas.m_denso.data();
    const std::uint64_t* const pendiente = m_pendiente.data();
    const std::uint16_t* const clase = m_tablas.m_clase;
    const std::uint32_t nc = m_tablas.m_numClases, nd = m_tablas.m_numDensos;
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
            if (const std::uint32_t h = m_tablas.hijo(s, std::uint8_t(c - 1))) {
                s = h;
                break;
            }
            s = m_tablas.m_fallo[s];
        }
        if ((pendiente[s >> 6] >> (s & 63)) & 1) {
            emitir(s, nuevas);
            if (m_pendientes == 0)
                break;
        }
    }
    m_estado = s;
}

std::size_t AutomataAhoCorasick::bytes() const
{
    return m_denso.capacity() * 4 + m_fallo.capacity() * 4 + m_primerHijo.capacity() * 4 + m_etiqueta.capacity()
        + m_pendiente.capacity() * 8 + m_orden.capacity() * 4 + m_terminal.capacity() * 4 + m_grupo.capacity() * 4
        + m_cuantas.capacity() * 4;
}
