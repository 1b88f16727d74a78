// The program's one window: the three steps (choose a project, review the
// list, confirm the deletion), the status line and the resource list. It
// owns its controls and offers the commands (src/commands) the few
// operations they act through. It says what the user did, one signal to an
// action, and leaves what that means to whoever puts the program together:
// the window knows no command, so it can be built and tried without them.
// Each control keeps its object name, which is also its accessible
// description: that is how assistive tools and the tests find it.
#pragma once

#include "platform/Archivos.h"
#include "window/ListaRecursos.h"

#include <QWidget>

#include <filesystem>
#include <span>
#include <vector>

class BotonEtiqueta;
class CajaEstado;
class Contorno;
class DialogoAbrir;
class Plataforma;
class QLabel;
class QLineEdit;
class QListWidget;

class Principal : public QWidget {
    Q_OBJECT
public:
    explicit Principal(Plataforma& plataforma, QWidget* padre = nullptr);
    ~Principal() override;

    // The project: the file the user chose, and the folder that holds it,
    // with its final separator.
    void mostrarProyecto(const QString& rutaProyecto);
    QString carpetaProyecto() const;
    // The open dialog's settings.
    DialogoAbrir& dialogoAbrir() const { return *m_dialogoAbrir; }

    // The resource list. Each entry shows a path relative to the project
    // folder and carries the native path of the file it stands for.
    void vaciarLista();
    void anadirRecursos(const QString& carpeta, std::span<const Archivo> archivos);
    // Takes off the entries added since the list was emptied whose flag in
    // `presentes` (one per entry, in the order they were added) is clear.
    void mostrarPresentes(const std::vector<char>& presentes);
    void quitarRecurso(int fila);
    int numRecursos() const;
    QString textoRecurso(int fila) const;
    std::filesystem::path rutaRecurso(int fila) const;
    // -1: none.
    int filaSeleccionada() const;
    void seleccionarFila(int fila);

    // The status line; `pintarYa` paints it before returning.
    void mostrarEstado(const QString& linea, bool pintarYa = false);
    // "Espacio ahorrado: …" beside the actions.
    void mostrarEspacio(const QString& texto);
    // The one switch for the list and the four actions on it.
    void habilitarAcciones(bool habilitar);

    // Set while a project is opened and analysed: the events let through
    // meanwhile must not start another analysis.
    bool analisisEnCurso() const { return m_analisisEnCurso; }
    void ponerAnalisisEnCurso(bool enCurso) { m_analisisEnCurso = enCurso; }
    // Whether the window has been closed; a running analysis then gives up.
    bool cerrada() const { return m_cerrada; }

signals:
    // What the user did with an enabled control, emitted as the click is
    // handled: what is connected runs at once, and a click let through while
    // it pumps events is emitted again inside it, so it must guard itself.
    void abrirPulsado();
    void borrarPulsado();
    void quitarPulsado();
    void espacioPulsado();
    // "Abrir Archivo", the control named "Ejecutar".
    void ejecutarPulsado();
    void recursoDobleClicado();

protected:
    void closeEvent(QCloseEvent* evento) override;

private:
    void crearControles();
    void aplicarDisposicion();
    void mostrarExplicacion();
    void mostrarNovedades();

    Plataforma& m_plataforma;
    bool m_analisisEnCurso = false;
    bool m_cerrada = false;

    DialogoAbrir* m_dialogoAbrir = nullptr;
    QLineEdit* m_rutaProyecto = nullptr;  // hidden
    CajaEstado* m_estado = nullptr;
    QListWidget* m_lista = nullptr;
    EntradasLista m_entradas;
    Contorno* m_contornoEspacio = nullptr;
    BotonEtiqueta* m_botonEspacio = nullptr;
    Contorno* m_contornoQuitar = nullptr;
    BotonEtiqueta* m_botonQuitar = nullptr;
    Contorno* m_contornoAbrirArchivo = nullptr;
    BotonEtiqueta* m_botonAbrirArchivo = nullptr;
    Contorno* m_contornoBorrar = nullptr;
    BotonEtiqueta* m_botonBorrar = nullptr;
    Contorno* m_contornoAbrir = nullptr;
    BotonEtiqueta* m_botonAbrir = nullptr;
    QLabel* m_avisoCopia = nullptr;
    QLabel* m_espacioAhorrado = nullptr;
    QLabel* m_paso3 = nullptr;
    QLabel* m_explicacion = nullptr;
    QLabel* m_paso2 = nullptr;
    QLabel* m_paso1 = nullptr;
};
