#include "window/ListaRecursos.h"

#include <QListWidget>
#include <QStringList>

#include <algorithm>

void EntradasLista::vaciar(QListWidget& lista)
{
    lista.clear();
    m_filas.clear();
    m_anadidas = 0;
}

void EntradasLista::anadir(QListWidget& lista, const QString& carpeta, std::span<const Archivo> archivos)
{
    QStringList textos;
    textos.reserve(qsizetype(archivos.size()));
    m_filas.reserve(m_filas.size() + archivos.size());
    for (const Archivo& archivo : archivos) {
        textos.append(carpeta + QChar(kSeparador) + archivo.nombre());
        m_filas.push_back({m_anadidas++, textos.constLast(), archivo.nativaTexto()});
    }
    // One insertion for all the texts.
    lista.addItems(textos);
}

void EntradasLista::quitar(QListWidget& lista, int fila)
{
    delete lista.takeItem(fila);
    if (fila >= 0 && fila < int(m_filas.size()))
        m_filas.erase(m_filas.begin() + fila);
}

std::filesystem::path EntradasLista::ruta(int fila) const
{
    if (fila < 0 || fila >= int(m_filas.size()))
        return {};
    return m_filas[std::size_t(fila)].ruta;
}

void EntradasLista::sincronizar(QListWidget& lista, const std::vector<char>& presentes)
{
    const auto tachada = [&](const Fila& fila) { return !presentes[std::size_t(fila.entrada)]; };
    // Each removed row shifts every row after it: a few struck entries go
    // one run at a time, many go in one rebuild of what is left, which costs
    // a fraction of their removal.
    std::vector<std::pair<int, int>> tramos;  // [inicio, fin) of struck rows, last first
    std::size_t tachadas = 0;
    for (int fin = int(m_filas.size()); fin > 0;) {
        if (!tachada(m_filas[std::size_t(fin - 1)])) {
            --fin;
            continue;
        }
        int inicio = fin - 1;
        while (inicio > 0 && tachada(m_filas[std::size_t(inicio - 1)]))
            --inicio;
        tramos.emplace_back(inicio, fin);
        tachadas += std::size_t(fin - inicio);
        fin = inicio;
    }
    if (tramos.empty())
        return;
    std::erase_if(m_filas, tachada);
    if (tachadas * 8 <= m_filas.size() + tachadas) {
        for (const auto& [inicio, fin] : tramos)
            lista.model()->removeRows(inicio, fin - inicio);
    } else {
        QStringList textos;
        textos.reserve(qsizetype(m_filas.size()));
        for (const Fila& fila : m_filas)
            textos.append(fila.texto);
        lista.clear();
        lista.addItems(textos);
    }
}
