// The real desktop behind the window: Qt's dialogs and message boxes, its
// event loop, and the desktop's file opener.
#pragma once

#include "platform/Plataforma.h"

class PlataformaQt : public Plataforma {
public:
    std::optional<QString> ShowOpen(QWidget* dueno, const DialogoAbrir& dialogo) override;
    int MsgBox(QWidget* dueno, const QString& texto, int estilo, const QString& titulo) override;
    void DoEvents() override;
    void Shell(const QString& ruta, int estiloVentana) override;
    QString CarpetaAplicacion() override;
};
