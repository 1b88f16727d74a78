#include "window/ListaRecursos.h"

#include <QListWidget>
#include <QSignalBlocker>
#include <QVariant>

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
