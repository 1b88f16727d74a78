// The real desktop behind the window: Qt's dialogs and message boxes, its
// event loop, and the desktop's file opener and folder view.
#pragma once

#include "platform/Plataforma.h"

// The folder for the program's own files: `propia` when a file can really be
// written there (asking is not enough: on Windows Qt calls every folder
// writable), else `respaldo`, made if need be; `propia` when neither works.
QString carpetaParaEscribir(const QString& propia, const QString& respaldo);

class PlataformaQt : public Plataforma {
public:
    std::optional<QString> elegirArchivo(QWidget* dueno, const DialogoAbrir& dialogo) override;
    int mostrarMensaje(QWidget* dueno, const QString& texto, int estilo, const QString& titulo) override;
    void atenderEventos() override;
    void abrirConSuAplicacion(const QString& lote, int estiloVentana, const std::filesystem::path& archivo) override;
    // Each system's own, beside its answer to seEjecutariaAlAbrir.
    void mostrarEnSuCarpeta(const std::filesystem::path& archivo) override;
    QString carpetaPropia() override;
};
