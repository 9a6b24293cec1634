#pragma once
// Shared by the window tests: a clock that runs instantly, and a fresh program
// state with its main window in a folder of its own.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>
#include <utility>

#include "app/Horloge.h"
#include "app/mdlVorn.h"
#include "app/ui/Ardemo.h"
#include "app/ui/BoiteImage.h"
#include "app/ui/Controles.h"
#include "app/ui/Feuille.h"
#include "app/ui/Styles.h"

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

// The main window's controls, found by their names as a screen reader finds them.
struct Controles {
    const QObject* f;
    QWidget* FondCdes = enfant<QWidget>(f, "FondCdes");
    QCheckBox* chkFerie = enfant<QCheckBox>(f, "chkFerie");
    QCheckBox* chkWeek = enfant<QCheckBox>(f, "chkWeek");
    QComboBox* cAn = enfant<QComboBox>(f, "cAn");
    QLabel* FeuVert = enfant<QLabel>(f, "FeuVert");
    QLabel* FeuRouge = enfant<QLabel>(f, "FeuRouge");
    vkCommand* Couleurs = enfant<vkCommand>(f, "Couleurs");
    vkCommand* CoulSpéciale = enfant<vkCommand>(f, "CoulSpéciale");
    vkCommand* Fabriquer = enfant<vkCommand>(f, "Fabriquer");
    vkCommand* Sélection = enfant<vkCommand>(f, "Sélection");
    vkCommand* SauveFichier = enfant<vkCommand>(f, "SauveFichier");
    vkCommand* SauvePPapier = enfant<vkCommand>(f, "SauvePPapier");
    QLineEdit* Largeur = enfant<QLineEdit>(f, "Largeur");
    QLineEdit* Hauteur = enfant<QLineEdit>(f, "Hauteur");
    vkCommand* CalScolaire = enfant<vkCommand>(f, "CalScolaire");
    vkCommand* Apercu = enfant<vkCommand>(f, "Apercu");
    vkCommand* Imprimer = enfant<vkCommand>(f, "Imprimer");
    vkCommand* Quitter = enfant<vkCommand>(f, "Quitter");
    QLabel* CalType = enfant<QLabel>(f, "CalType");
    QScrollBar* VSCal = enfant<QScrollBar>(f, "VSCal");
    FeuilleCalendrier* CalBase = enfant<FeuilleCalendrier>(f, "CalBase");
    BoiteImage* Pict1 = enfant<BoiteImage>(f, "Pict1");
    BoiteImage* PictSel = enfant<BoiteImage>(f, "PictSel");
};
inline Controles C(const QObject& f) { return Controles{&f}; }
// A secondary window of the main window: the open one, else (unless `ouverte`)
// the last one made, or nullptr.
template <class T>
T* fenetreDe(const QObject& f, bool ouverte = false)
{
    T* derniere = nullptr;
    for (T* w : f.findChildren<T*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (w->isVisible())
            return w;
        derniere = w;
    }
    return ouverte ? nullptr : derniere;
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
