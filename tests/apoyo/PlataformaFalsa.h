// A scripted desktop: answers dialogs and boxes from queues, and records
// everything the window asked of it.
#pragma once

#include "platform/Plataforma.h"

#include <QCoreApplication>
#include <QString>

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

class PlataformaFalsa : public Plataforma {
public:
    struct Caja {
        QString texto;
        int estilo;
        QString titulo;
    };
    struct Dialogo {
        bool cancelError;
        QString defaultExt;
        QString filter;
    };

    std::deque<std::optional<QString>> eleccionesAbrir;  // nullopt: the user cancels
    std::deque<int> respuestas;                          // empty: OK, or No to a question
    std::vector<Caja> cajas;
    std::vector<Dialogo> dialogos;
    struct Programa {
        QString ruta;
        int estilo;
        std::filesystem::path archivo;  // what the opener was handed
    };
    std::vector<Programa> programas;
    std::vector<std::filesystem::path> mostrados;  // shown in their folders
    QString carpetaAplicacion;
    int bombeos = 0;
    bool procesarEventos = false;        // also let Qt handle its events
    std::function<void(int)> alBombear;  // runs inside the n-th pump (1-based)
    std::function<void(const Caja&)> alMostrarCaja;

    std::optional<QString> elegirArchivo(QWidget*, const DialogoAbrir& d) override
    {
        dialogos.push_back({d.avisarCancelacion, d.extension, d.filtro});
        std::optional<QString> eleccion;
        if (!eleccionesAbrir.empty()) {
            eleccion = eleccionesAbrir.front();
            eleccionesAbrir.pop_front();
        }
        // A cancel, as the real dialog answers it.
        if (!eleccion && !d.avisarCancelacion)
            return QString();
        return eleccion;
    }

    int mostrarMensaje(QWidget*, const QString& texto, int estilo, const QString& titulo) override
    {
        cajas.push_back({texto, estilo, titulo});
        if (alMostrarCaja)
            alMostrarCaja(cajas.back());
        if (!respuestas.empty()) {
            const int r = respuestas.front();
            respuestas.pop_front();
            return r;
        }
        return (estilo & 7) == Estilo::SiNo ? Respuesta::No : Respuesta::Aceptar;
    }

    void atenderEventos() override
    {
        ++bombeos;
        if (procesarEventos)
            QCoreApplication::processEvents();
        if (alBombear)
            alBombear(bombeos);
    }

    void abrirConSuAplicacion(const QString& ruta, int estilo, const std::filesystem::path& archivo) override
    {
        programas.push_back({ruta, estilo, archivo});
    }

    void mostrarEnSuCarpeta(const std::filesystem::path& archivo) override { mostrados.push_back(archivo); }

    QString carpetaPropia() override { return carpetaAplicacion; }
};
