// The program's one window. It carries every control the commands read and
// write and routes each click to its command. What the commands share lives
// in those controls (the project path, the list, the space shown); beside
// them the window keeps only the desktop it talks through, the file service
// SistemaArchivos, and two flags: whether an analysis is running, and whether
// the window has been closed, which a running analysis reads to give up.
#pragma once

#include <QWidget>

#include <memory>

class BotonEtiqueta;
class CajaEstado;
class CargadorDatos;
class Contorno;
class DialogoAbrir;
class Plataforma;
class QLabel;
class QLineEdit;
class QListWidget;
class ServicioArchivos;

class Principal : public QWidget {
    Q_OBJECT
public:
    explicit Principal(Plataforma& plataforma, QWidget* padre = nullptr);
    ~Principal() override;

    static const QString kDireccionWeb;
    static const QString kExplicacion;

    // What follows the last `Caracter` of `Path` (all of it when there is none).
    QString Extraer2(const QString& Path, QChar Caracter) const;

    // The commands, one per user action.
    void Abrir_Click();
    void Analizando_Click();
    void Borrar_Click();
    void Ejecutar_Click();
    void Espacio_Click();
    void Quitar_Click();
    void Recursos_DblClick();

    // The one switch for the list and the four actions on it.
    void HabilitarAcciones(bool habilitar);
    bool AnalisisEnCurso() const { return analizando_; }

    // The controls, by name, in the window's order.
    CargadorDatos* Temporal;
    DialogoAbrir* Dialogos;
    QLineEdit* Abierto;
    CajaEstado* Analizando;
    QListWidget* Recursos;
    Contorno* Shape5;
    BotonEtiqueta* Espacio;
    Contorno* Shape4;
    BotonEtiqueta* Quitar;
    Contorno* Shape3;
    BotonEtiqueta* Ejecutar;
    Contorno* Shape2;
    BotonEtiqueta* Borrar;
    Contorno* Shape1;
    BotonEtiqueta* Abrir;
    QLabel* Texto4;
    QLabel* TextoA;
    QLabel* Label1;
    QLabel* Texto3;
    QLabel* Texto2;
    QLabel* Texto1;

protected:
    void closeEvent(QCloseEvent* evento) override;

private:
    void CrearControles();
    void AplicarDisposicion();
    void Form_Load();

    void ListarCarpeta(const QString& carpeta);
    bool VerificarUso();
    void AbrirSeleccionado();

    QString CarpetaProyecto() const;
    int IndiceSeleccionado() const;
    void Seleccionar(int indice);

    Plataforma& plataforma_;
    std::unique_ptr<ServicioArchivos> SistemaArchivos;
    bool analizando_ = false;
    bool cerrada_ = false;
};
