// What the program sets up around its window before showing it: Qt's own
// texts in Spanish, a stand-in for the label-buttons' face where the system
// lacks it, and the window's place on the screen. Kept apart from the window
// itself, which the tests build many times without any of this.
#pragma once

class QWidget;

// Qt's own texts (dialog and message-box buttons) in Spanish, like the rest.
void instalarTraducciones();
// "Comic Sans MS" where the system has it, a comic face of its kind where not.
void prepararFuentes();
// Centres a top-level window on its screen.
void centrarEnPantalla(QWidget& ventana);
