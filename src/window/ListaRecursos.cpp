#include "window/ListaRecursos.h"

#include <QListWidget>
#include <QSignalBlocker>
#include <QVariant>

#include <algorithm>
#include <numeric>

namespace {
constexpr int kRolRuta = Qt::UserRole + 1;

// The native path in a QVariant as one shared string: bytes here, UTF-16
// code units (lone surrogates and all) on Windows.
#ifdef _WIN32
QVariant guardar(const std::wstring& nativa)
{
    return QString::fromStdWString(nativa);
}
std::wstring leer(const QVariant& v)
{
    return v.toString().toStdWString();
}
#else
QVariant guardar(const std::string& nativa)
{
    return QByteArray(nativa.data(), qsizetype(nativa.size()));
}
std::string leer(const QVariant& v)
{
    return v.toByteArray().toStdString();
}
#endif
}  // namespace

void anadirEntradas(QListWidget& lista, const QString& carpeta, std::span<const Archivo> archivos)
{
    const int primera = lista.count();
    QStringList textos;
    textos.reserve(qsizetype(archivos.size()));
    for (const Archivo& archivo : archivos)
        textos.append(carpeta + QChar(kSeparador) + archivo.nombre());
    // One insertion for all the texts; the paths are not shown, so the view
    // need not hear of them one by one.
    lista.addItems(textos);
    const QSignalBlocker silencio(lista.model());
    for (std::size_t i = 0; i < archivos.size(); ++i)
        lista.item(primera + int(i))->setData(kRolRuta, guardar(archivos[i].nativaTexto()));
}

std::filesystem::path rutaDeRecurso(const QListWidgetItem& item)
{
    return leer(item.data(kRolRuta));
}

void ListaEnPantalla::anadidas(int cuantas)
{
    const std::size_t primera = m_enPantalla.size();
    m_enPantalla.resize(primera + std::size_t(cuantas));
    std::iota(m_enPantalla.begin() + std::ptrdiff_t(primera), m_enPantalla.end(), m_anadidas);
    m_anadidas += cuantas;
}

void ListaEnPantalla::quitada(int fila)
{
    if (fila >= 0 && fila < int(m_enPantalla.size()))
        m_enPantalla.erase(m_enPantalla.begin() + fila);
}

void ListaEnPantalla::sincronizar(QListWidget& lista, const std::vector<char>& presente)
{
    // Each removed row shifts every row after it: a few struck entries go
    // one run at a time, many go in one rebuild of what is left, which costs
    // a fraction of their removal.
    std::vector<std::pair<int, int>> tramos;  // [inicio, fin) of struck rows, last first
    std::size_t tachadas = 0;
    for (int fin = int(m_enPantalla.size()); fin > 0;) {
        if (presente[std::size_t(m_enPantalla[std::size_t(fin - 1)])]) {
            --fin;
            continue;
        }
        int inicio = fin - 1;
        while (inicio > 0 && !presente[std::size_t(m_enPantalla[std::size_t(inicio - 1)])])
            --inicio;
        tramos.emplace_back(inicio, fin);
        tachadas += std::size_t(fin - inicio);
        fin = inicio;
    }
    if (tramos.empty())
        return;
    if (tachadas * 8 <= m_enPantalla.size()) {
        for (const auto& [inicio, fin] : tramos)
            lista.model()->removeRows(inicio, fin - inicio);
    } else {
        QStringList textos;
        QList<QVariant> rutas;
        for (int fila = 0; fila < int(m_enPantalla.size()); ++fila) {
            if (!presente[std::size_t(m_enPantalla[std::size_t(fila)])])
                continue;
            const QListWidgetItem* item = lista.item(fila);
            textos.append(item->text());
            rutas.append(item->data(kRolRuta));
        }
        lista.clear();
        lista.addItems(textos);
        const QSignalBlocker silencio(lista.model());
        for (int fila = 0; fila < int(rutas.size()); ++fila)
            lista.item(fila)->setData(kRolRuta, rutas[fila]);
    }
    std::erase_if(m_enPantalla, [&](int i) { return !presente[std::size_t(i)]; });
}
