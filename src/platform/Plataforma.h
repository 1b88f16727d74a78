// What the window asks of the desktop: the open dialog, message boxes, the
// event pump, opening a file with its application or showing it in its
// folder, and the program's own folder. The program
// talks to the real desktop through PlataformaQt; the tests script every
// answer through a fake, so that no flow needs a person at the screen.
#pragma once

#include <QObject>
#include <QString>

#include <filesystem>
#include <optional>

class QWidget;

// Message-box styles and answers, as the numbers the window uses.
namespace Estilo {
inline constexpr int SiNo = 4;
inline constexpr int Critico = 16;
inline constexpr int Exclamacion = 48;
inline constexpr int Informacion = 64;
}  // namespace Estilo

namespace Respuesta {
inline constexpr int Aceptar = 1;
inline constexpr int Si = 6;
inline constexpr int No = 7;
}  // namespace Respuesta

// The open dialog's settings; the window keeps one, named "Dialogos".
class DialogoAbrir : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Whether a cancel is reported as such (elegirArchivo returns nothing) or, as
    // the dialog does when it is not, as an empty path.
    bool avisarCancelacion = false;
    QString extension;
    QString filtro;
};

class Plataforma {
public:
    virtual ~Plataforma();

    // The chosen file's full path. When the user cancels: nothing if the
    // dialog's avisarCancelacion is set, an empty path if not.
    virtual std::optional<QString> elegirArchivo(QWidget* dueno, const DialogoAbrir& dialogo) = 0;
    // A modal box; returns the pressed button (Respuesta).
    virtual int mostrarMensaje(QWidget* dueno, const QString& texto, int estilo, const QString& titulo) = 0;
    // Lets pending window events (repaints, clicks) be handled, then returns.
    virtual void atenderEventos() = 0;
    // Opens `archivo`, the native path of the file meant, with the
    // application associated with its type, and returns at once. The batch
    // file at `lote`, which holds the same command for whoever runs it by
    // hand, is named for the record and not run: the opener is never handed
    // a path read back from its text. The window style is recorded only: the
    // desktop's opener shows no console window to hide.
    virtual void abrirConSuAplicacion(const QString& lote, int estiloVentana, const std::filesystem::path& archivo) = 0;
    // Shows the folder that holds `archivo` (the file selected, where the
    // desktop can), and returns at once; the file itself is never run.
    virtual void mostrarEnSuCarpeta(const std::filesystem::path& archivo) = 0;
    // A folder where the program may write its own files.
    virtual QString carpetaPropia() = 0;
};
