#include "window/ListaRecursos.h"

#include "analysis/Rutas.h"

#include <QListWidget>
#include <QSignalBlocker>
#include <QVariant>

#include <numeric>

namespace {
constexpr int kRolRuta = Qt::UserRole + 1;
}  // namespace

Q_DECLARE_METATYPE(std::filesystem::path)

void AnadirRecursos(QListWidget& lista, const QStringList& textos, const std::vector<std::filesystem::path>& rutas)
{
    const int primera = lista.count();
    // One insertion for all the texts; the paths are not shown, so the view
    // need not hear of them one by one.
    lista.addItems(textos);
    const QSignalBlocker silencio(lista.model());
    for (int i = 0; i < int(textos.size()); ++i)
        lista.item(primera + i)->setData(kRolRuta, QVariant::fromValue(rutas[std::size_t(i)]));
}

std::filesystem::path RutaDeRecurso(const QListWidgetItem& item)
{
    return item.data(kRolRuta).value<std::filesystem::path>();
}

BloqueClaves ClavesDeRecursos(const QListWidget& lista)
{
    BloqueClaves claves;
    claves.inicios.reserve(std::size_t(lista.count()) + 1);
    for (int i = 0; i < lista.count(); ++i)
        claves.Anadir(ClaveNativa(RutaDeRecurso(*lista.item(i)).filename()));
    return claves;
}

ListaEnPantalla::ListaEnPantalla(QListWidget& lista, int inicial)
    : lista_(lista), enPantalla_(static_cast<std::size_t>(inicial))
{
    std::iota(enPantalla_.begin(), enPantalla_.end(), 0);
}

void ListaEnPantalla::Sincronizar(const std::vector<char>& presente)
{
    auto* modelo = lista_.model();
    int fin = int(enPantalla_.size());
    while (fin > 0) {
        if (presente[std::size_t(enPantalla_[std::size_t(fin - 1)])]) {
            --fin;
            continue;
        }
        int inicio = fin - 1;
        while (inicio > 0 && !presente[std::size_t(enPantalla_[std::size_t(inicio - 1)])])
            --inicio;
        modelo->removeRows(inicio, fin - inicio);
        fin = inicio;
    }
    std::erase_if(enPantalla_, [&](int i) { return !presente[std::size_t(i)]; });
}
