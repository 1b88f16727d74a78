#include "platform/PlataformaQt.h"

#include "platform/Escritorio.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

using namespace Qt::StringLiterals;

std::optional<QString> PlataformaQt::elegirArchivo(QWidget* dueno, const DialogoAbrir& dialogo)
{
    QFileDialog caja(dueno);
    // Qt's own dialog looks and behaves the same on every desktop.
    caja.setOption(QFileDialog::DontUseNativeDialog, true);
    caja.setAcceptMode(QFileDialog::AcceptOpen);
    caja.setFileMode(QFileDialog::ExistingFile);
    caja.setNameFilter(dialogo.filtro);
    caja.setDefaultSuffix(dialogo.extension);
    caja.setDirectory(QDir::currentPath());
    if (caja.exec() != QDialog::Accepted || caja.selectedFiles().isEmpty()) {
        // Without avisarCancelacion a cancel is no error: the dialog just comes
        // back with no file name.
        if (dialogo.avisarCancelacion)
            return std::nullopt;
        return QString();
    }
    return QDir::toNativeSeparators(caja.selectedFiles().constFirst());
}

int PlataformaQt::mostrarMensaje(QWidget* dueno, const QString& texto, int estilo, const QString& titulo)
{
    QMessageBox caja(dueno);
    caja.setWindowTitle(titulo);
    caja.setText(QString(texto).replace(u"\r\n"_s, u"\n"_s));
    caja.setTextFormat(Qt::PlainText);
    switch (estilo & 0x70) {
    case Estilo::Critico:
        caja.setIcon(QMessageBox::Critical);
        break;
    case Estilo::Exclamacion:
        caja.setIcon(QMessageBox::Warning);
        break;
    case Estilo::Informacion:
        caja.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    if ((estilo & 0x7) == Estilo::SiNo) {
        caja.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        caja.setDefaultButton(QMessageBox::Yes);  // the first button, as always
        caja.setEscapeButton(QMessageBox::No);
        return caja.exec() == QMessageBox::Yes ? Respuesta::Si : Respuesta::No;
    }
    caja.setStandardButtons(QMessageBox::Ok);
    caja.exec();
    return Respuesta::Aceptar;
}

void PlataformaQt::atenderEventos()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void PlataformaQt::abrirConSuAplicacion(const QString& /*lote: for the record; nothing runs it*/,
                                        int /*estiloVentana: nothing shows a console here*/,
                                        const std::filesystem::path& archivo)
{
    QDesktopServices::openUrl(urlDeArchivo(archivo));
}

QString carpetaParaEscribir(const QString& propia, const QString& respaldo)
{
    QTemporaryFile prueba(propia + u"/mondrix-XXXXXX.tmp"_s);
    if (prueba.open())
        return QDir::toNativeSeparators(propia);
    if (!respaldo.isEmpty() && QDir().mkpath(respaldo))
        return QDir::toNativeSeparators(respaldo);
    return QDir::toNativeSeparators(propia);
}

QString PlataformaQt::carpetaPropia()
{
    // Installed under Program Files or system-wide, the program's folder
    // belongs to the system: then the user's own data folder.
    return carpetaParaEscribir(QCoreApplication::applicationDirPath(),
                               QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
}
