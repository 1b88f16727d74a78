// The usage scan: every resource whose key occurs in a data file leaves the
// list.
//
// The result is that of the plain walk (for each data file in order, every
// item still listed is searched for in that file's text and removed when
// found), but each file is read once and searched for all keys at a time.
// The list on screen follows at each pause, in one batch; the progress line
// and the final selection are those of the walk.
#include "window/Principal.h"

#include "analysis/Buscador.h"
#include "analysis/Progreso.h"
#include "analysis/Rutas.h"
#include "platform/Archivos.h"
#include "platform/Plataforma.h"
#include "window/Controles.h"
#include "window/ListaRecursos.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>

#include <algorithm>
#include <numeric>
#include <optional>
#include <string>

using namespace Qt::StringLiterals;

namespace {
// Pauses for window events at most this often: enough for a smooth window,
// few enough to cost nothing.
constexpr qint64 kMsEntrePausas = 16;

struct Interrumpido {};

// The list on screen, brought in line with the walk's list at each pause.
class ListaEnPantalla {
public:
    ListaEnPantalla(QListWidget& lista, int inicial) : lista_(lista), enPantalla_(static_cast<std::size_t>(inicial))
    {
        std::iota(enPantalla_.begin(), enPantalla_.end(), 0);
    }

    void Sincronizar(const std::vector<char>& presente)
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

private:
    QListWidget& lista_;
    std::vector<int> enPantalla_;  // catalogue index of each row on screen
};
}  // namespace

bool Principal::VerificarUso()
{
    const Carpeta datos = SistemaArchivos->GetFolder(CarpetaProyecto() + u"Data"_s);
    const std::vector<Archivo> archivos = datos.Files();
    const long total = long(archivos.size());
    Analizando->setText(QString::number(total));
    Analizando->repaint();

    // The keys, one block of bytes, only while the automaton is built. Each
    // comes from the file's own name, so a name that is not valid text is
    // searched for as the bytes it is.
    const int inicial = Recursos->count();
    std::optional<BuscadorClaves> buscador;
    {
        BloqueClaves claves;
        claves.inicios.reserve(std::size_t(inicial) + 1);
        for (int i = 0; i < inicial; ++i)
            claves.Anadir(ClaveNativa(RutaDeRecurso(*Recursos->item(i)).filename()));
        buscador.emplace(claves);
    }

    std::vector<int> restantes(static_cast<std::size_t>(inicial));  // the walk's list, by catalogue index
    std::iota(restantes.begin(), restantes.end(), 0);
    std::vector<char> presente(std::size_t(inicial), 1);
    std::vector<int> nuevas;
    int seleccion = -1;
    ListaEnPantalla pantalla(*Recursos, inicial);

    long hechos = 0;
    QElapsedTimer reloj;
    reloj.start();
    const auto pausa = [&](bool siempre) {
        if (!siempre && reloj.elapsed() < kMsEntrePausas)
            return;
        pantalla.Sincronizar(presente);
        // The selection runs through the list as the files go by.
        if (Recursos->count() > 0 && total > 0)
            Seleccionar(int((long long)(Recursos->count() - 1) * hechos / total));
        plataforma_.DoEvents();
        reloj.restart();
        if (cerrada_)
            throw Interrumpido{};
    };

    try {
        for (const Archivo& archivo : archivos) {
            ++hechos;
            Analizando->setText(LineaProgreso(hechos, total, inicial - long(restantes.size()), inicial));
            pausa(hechos == 1);

            nuevas.clear();
            buscador->Reiniciar();
            Temporal->LoadFile(archivo, [&](std::string_view trozo) {
                buscador->Buscar(trozo, nuevas);
                pausa(false);
            });
            if (restantes.empty())
                continue;  // nothing examined: the selection stays as it was
            // Each item is reported once, by the file that names it first:
            // all of this file's finds are still on the list.
            for (int item : nuevas)
                presente[std::size_t(item)] = 0;
            // The walk leaves the selection on the last item it examined, and
            // nothing selected when that item was removed.
            const bool ultimoQuitado = !presente[std::size_t(restantes.back())];
            if (!nuevas.empty())
                std::erase_if(restantes, [&](int item) { return !presente[std::size_t(item)]; });
            seleccion = ultimoQuitado ? -1 : int(restantes.size()) - 1;
        }
    } catch (const Interrumpido&) {
        return false;
    }

    pantalla.Sincronizar(presente);
    Seleccionar(seleccion);
    return true;
}
