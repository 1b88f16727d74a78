#include "window/ListaRecursos.h"

#include "analysis/Rutas.h"

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
QVariant Guardar(const std::wstring& nativa)
{
    return QString::fromStdWString(nativa);
}
std::wstring Leer(const QVariant& v)
{
    return v.toString().toStdWString();
}
#else
QVariant Guardar(const std::string& nativa)
{
    return QByteArray(nativa.data(), qsizetype(nativa.size()));
}
std::string Leer(const QVariant& v)
{
    return v.toByteArray().toStdString();
}
#endif
}  // namespace

void AnadirRecursos(QListWidget& lista, const QString& carpeta, const std::vector<Archivo>& archivos)
{
    const int primera = lista.count();
    QStringList textos;
    textos.reserve(qsizetype(archivos.size()));
    for (const Archivo& archivo : archivos)
        textos.append(carpeta + QChar(kSeparador) + archivo.Name());
    // One insertion for all the texts; the paths are not shown, so the view
    // need not hear of them one by one.
    lista.addItems(textos);
    const QSignalBlocker silencio(lista.model());
    for (std::size_t i = 0; i < archivos.size(); ++i)
        lista.item(primera + int(i))->setData(kRolRuta, Guardar(archivos[i].NativaTexto()));
}

std::filesystem::path RutaDeRecurso(const QListWidgetItem& item)
{
    return Leer(item.data(kRolRuta));
}

BloqueClaves ClavesDeRecursos(const QListWidget& lista)
{
    BloqueClaves claves;
    claves.inicios.reserve(std::size_t(lista.count()) + 1);
    for (int i = 0; i < lista.count(); ++i) {
        const QVariant ruta = lista.item(i)->data(kRolRuta);
#ifdef _WIN32
        const QString texto = ruta.toString();
        // The last separator of either kind, with no regular expression built per entry.
        const QByteArray nombre = texto.mid(std::max(texto.lastIndexOf(u'\\'), texto.lastIndexOf(u'/')) + 1).toUtf8();
#else
        const QByteArray completa = ruta.toByteArray();
        const QByteArray nombre = completa.mid(completa.lastIndexOf('/') + 1);
#endif
        claves.Anadir(ClaveDeNombre(std::string_view(nombre.constData(), std::size_t(nombre.size()))));
    }
    return claves;
}

ListaEnPantalla::ListaEnPantalla(QListWidget& lista, int inicial)
    : lista_(lista), enPantalla_(static_cast<std::size_t>(inicial))
{
    std::iota(enPantalla_.begin(), enPantalla_.end(), 0);
}

void ListaEnPantalla::Sincronizar(const std::vector<char>& presente)
{
    // Each removed row shifts every row after it: a few struck entries go
    // one run at a time, many go in one rebuild of what is left, which costs
    // a fraction of their removal.
    std::vector<std::pair<int, int>> tramos;  // [inicio, fin) of struck rows, last first
    std::size_t tachadas = 0;
    for (int fin = int(enPantalla_.size()); fin > 0;) {
        if (presente[std::size_t(enPantalla_[std::size_t(fin - 1)])]) {
            --fin;
            continue;
        }
        int inicio = fin - 1;
        while (inicio > 0 && !presente[std::size_t(enPantalla_[std::size_t(inicio - 1)])])
            --inicio;
        tramos.emplace_back(inicio, fin);
        tachadas += std::size_t(fin - inicio);
        fin = inicio;
    }
    if (tramos.empty())
        return;
    if (tachadas * 8 <= enPantalla_.size()) {
        for (const auto& [inicio, fin] : tramos)
            lista_.model()->removeRows(inicio, fin - inicio);
    } else {
        QStringList textos;
        QList<QVariant> rutas;
        for (int fila = 0; fila < int(enPantalla_.size()); ++fila) {
            if (!presente[std::size_t(enPantalla_[std::size_t(fila)])])
                continue;
            const QListWidgetItem* item = lista_.item(fila);
            textos.append(item->text());
            rutas.append(item->data(kRolRuta));
        }
        lista_.clear();
        lista_.addItems(textos);
        const QSignalBlocker silencio(lista_.model());
        for (int fila = 0; fila < int(rutas.size()); ++fila)
            lista_.item(fila)->setData(kRolRuta, rutas[fila]);
    }
    std::erase_if(enPantalla_, [&](int i) { return !presente[std::size_t(i)]; });
}
