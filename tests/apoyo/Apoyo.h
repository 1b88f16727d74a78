// Helpers for tests: real project folders on disk, the window with a
// scripted desktop, and clicks where a user would click.
#pragma once

#include "analysis/Recorrido.h"
#include "apoyo/PlataformaFalsa.h"
#include "apoyo/Referencia.h"
#include "platform/Archivos.h"
#include "window/Controles.h"
#include "window/Principal.h"

#include <QByteArray>
#include <QListWidget>
#include <QStringList>
#include <QTemporaryDir>

#include <QProcessEnvironment>

#include <filesystem>
#include <memory>
#include <optional>
#include <set>

class ProyectoPrueba {
public:
    ProyectoPrueba();
    QString Carpeta() const;  // with a final separator
    QString Ruta() const;     // the project file
    // Writes a file below the project (creating its folders); returns its full path.
    QString Escribir(const QString& relativa, const QByteArray& contenido = {});
    QString Recurso(const QString& carpeta, const QString& nombre, const QByteArray& contenido = {});
    QString Dato(const QString& nombre, const QByteArray& contenido);
    bool existe(const QString& relativa) const;

private:
    QTemporaryDir m_dir;
};

// The window's controls, found by their object names as assistive tools find them.
struct ControlesPorNombre {
    explicit ControlesPorNombre(const QWidget& ventana);
    DialogoAbrir* Dialogos;
    QLineEdit* Abierto;
    CajaEstado* Analizando;
    QListWidget* Recursos;
    Contorno *Shape5, *Shape4, *Shape3, *Shape2, *Shape1;
    BotonEtiqueta *Espacio, *Quitar, *Ejecutar, *Borrar, *Abrir;
    QLabel *Texto4, *TextoA, *Label1, *Texto3, *Texto2, *Texto1;
};

// The window with its commands, wired as the program wires them.
struct Ventana {
    PlataformaFalsa plataforma;
    ServicioArchivos archivos;
    std::unique_ptr<Principal> ventana;
    ControlesPorNombre controles;
    QStringList lineas;  // every text the status box showed, in order

    Ventana();
    // Opens the project through Abrir, as a user would, and waits for the end.
    void Analizar(const QString& rutaProyecto);
    QStringList Lista() const;
    int seleccion() const;             // selected row, -1 for none
    bool AccionesHabilitadas() const;  // all five (list and four actions), checked to agree
};

// Lays out one of the real projects under `destino`: its resources as empty
// files (only their names matter to the analysis) and its Data folder as a
// link to the real one. Returns the project file's path.
QString ProyectoReal(const std::filesystem::path& fuente, const std::filesystem::path& destino);
// The lines of a UTF-8 text file, as a set.
std::set<QString> LineasDe(const std::filesystem::path& archivo);

using Tomador = const std::function<void(std::string_view)>&;  // takes a file's pieces

// A data file whose reads the test scripts: `guion` gets where each begins and ends.
class DatoGuionado final : public DatoAbierto {
public:
    using Guion = std::function<void(std::uint64_t desde, std::uint64_t hasta, Tomador trozo)>;
    explicit DatoGuionado(Guion guion, std::uint64_t tamano = 0) : m_guion(std::move(guion)), m_tamano(tamano) {}
    std::uint64_t tamano() const override { return m_tamano; }
    void leer(std::uint64_t desde, std::uint64_t hasta, std::vector<char>&, Tomador trozo) const override
    {
        m_guion(desde, hasta, trozo);
    }
    const Guion m_guion;
    const std::uint64_t m_tamano;
};

// A data file held in memory (its own copy), read in pieces of a few bytes
// so that keys fall across them.
std::unique_ptr<DatoAbierto> DatoEnMemoria(std::string texto);

// The walk over texts in memory, driven as the scan drives it but without a
// window: keys from each item's name, the texts read by the readers as
// `reparto` shares them out. Items are "Folder/Sub/name.ext".
referencia::Resultado RecorrerEnMemoria(const std::vector<std::string>& lista, const std::vector<std::string>& datos,
                                        RepartoLectores reparto = {.hilos = 2});

// Runs test function `prueba` (or "function:row") of this program again in a
// child, as the ordinary user 65534 when root, whom permissions and limits do
// not bind. Its exit status and output; nothing when it could not run.
std::optional<std::pair<int, QByteArray>>
EnHijo(const QString& prueba, const QProcessEnvironment& entorno = QProcessEnvironment::systemEnvironment());

// A left click at the middle of `control`, delivered to whatever lies there.
void ClicEn(QWidget& ventana, QWidget* control);
// Selects a row of the list the way a click on it would.
void ClicEnFila(QListWidget* lista, int fila);
void DobleClicEnFila(QListWidget* lista, int fila);
QStringList Textos(const QListWidget* lista);

#ifdef Q_OS_WIN
// A batch file's bytes as cmd reads them: in the console's code page.
QString comoLeeCmd(const QByteArray& bytes);
#endif
