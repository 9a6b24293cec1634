#pragma once
// Shared by the window tests: a clock that runs instantly, and a fresh program
// state with its main window in a folder of its own.
#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>
#include <utility>

#include "app/Horloge.h"
#include "app/mdlVorn.h"
#include "app/ui/Ardemo.h"

class HorlogeTest : public Horloge {
public:
    double t = 36000.2, pas = 0.25; // 10:00:00.2; seconds per look at the clock
    int attentes = 0;               // LaisserPasserEvenements calls
    std::function<void()> pendantAttente;

    double SecondesDepuisMinuit() override { return std::exchange(t, t + pas >= 86400 ? t + pas - 86400 : t + pas); }
    void LaisserPasserEvenements() override
    {
        ++attentes;
        if (pendantAttente)
            pendantAttente();
        QCoreApplication::processEvents();
    }
};

// A control of `fenetre` by its name; the run stops at once, naming it, when there is none.
template <class T>
T* enfant(const QObject* fenetre, const char* nom)
{
    T* controle = fenetre ? fenetre->findChild<T*>(QString::fromUtf8(nom)) : nullptr;
    if (!controle)
        qFatal("no control named %s", nom);
    return controle;
}

struct Programme {
    QTemporaryDir dossier;
    mdlVorn etat;
    HorlogeTest horloge;
    std::unique_ptr<Ardemo> fenetre = std::make_unique<Ardemo>(etat, horloge, dossier.path());

    explicit Programme(bool construire = true)
    {
        if (construire) {
            fenetre->show();
            QCoreApplication::processEvents(); // first showing builds
            QCoreApplication::processEvents();
        }
    }
    Ardemo& f() { return *fenetre; }

    // Shown and active, so that focus changes deliver their events.
    bool activer()
    {
        fenetre->show();
        QApplication::setActiveWindow(fenetre.get());
        fenetre->activateWindow();
        return QTest::qWaitForWindowActive(fenetre.get());
    }
};
