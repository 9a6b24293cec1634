#pragma once
// Shared by the window tests: a clock that runs instantly, the main window's
// controls and windows, and a fresh program state in a folder of its own.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "tests/Verifier.h"
#include "app/Horloge.h"
#include "app/ui/Ardemo.h"
#include "commun/ui/BoiteImage.h"
#include "app/ui/VueFeuille.h"
#include "commun/ui/Styles.h"
#include "commun/ui/Couleur.h"

// A clock whose pauses are over at once (or, `differer`, at the next turn of the event loop), on the day the
// test chooses.
class HorlogeTest : public Horloge {
public:
    int attentes = 0; // pauses begun
    bool differer = false;
    std::function<void()> pendantAttente;
    Date jour{15, 5, 2027}; // today

    Date Aujourdhui() override { return jour; }
    void Attendre(int, std::function<void()> ensuite) override
    {
        if (++attentes; pendantAttente)
            pendantAttente();
        differer ? QTimer::singleShot(0, QCoreApplication::instance(), std::move(ensuite)) : ensuite();
    }
};

// A control of `fenetre` by its name; the run stops at once, naming it, when there is none.
template <class T>
T* enfant(const QObject* fenetre, const char* nom)
{
    if (T* controle = fenetre ? fenetre->findChild<T*>(QString::fromUtf8(nom)) : nullptr)
        return controle;
    qFatal("no control named %s", nom);
}

// The main window's controls, found by their names as a screen reader finds them.
#define CTL(T, nom) T* nom = enfant<T>(f, #nom);
struct Controles {
    const QObject* f;
    CTL(QWidget, FondCdes) CTL(QCheckBox, chkFerie) CTL(QCheckBox, chkWeek) CTL(QComboBox, cAn) CTL(QLabel, FeuVert)
    CTL(QLabel, FeuRouge) CTL(QLabel, CalType) CTL(QScrollBar, VSCal) CTL(vkCommand, Couleurs) CTL(vkCommand, Quitter)
    CTL(vkCommand, CoulSpéciale) CTL(vkCommand, Fabriquer) CTL(vkCommand, Sélection) CTL(vkCommand, SauveFichier)
    CTL(vkCommand, SauvePPapier) CTL(vkCommand, CalScolaire) CTL(vkCommand, Apercu) CTL(vkCommand, Imprimer)
    CTL(QLineEdit, Largeur) CTL(QLineEdit, Hauteur) CTL(VueFeuille, CalBase) CTL(BoiteImage, Pict1)
    CTL(BoiteImage, PictSel)
    // Day cell k of block m: what the sheet shows, and a click on it.
    const CaseFeuille& jour(int m, int k) const { return CalBase->modele()->bloc(m).cases[size_t(k)]; }
    QColor fond(int m, int k) const { return VersQColor(CalBase->modele()->fond(jour(m, k))); }
    QColor chiffre(int m, int k) const { return VersQColor(jour(m, k).texte); }
    // Where the design puts cell k of block m: 28-pixel cells from the block's first.
    static QRect rect(int m, int k) { return {std::array{6, 216, 424}[(m - 1) % 3] + 28 * (k % 7),
                                              std::array{48, 264, 480, 696}[(m - 1) / 3] + 28 * (k / 7), 28, 28}; }
    void cliquer(int m, int k) const { QTest::mouseClick(CalBase, Qt::LeftButton, {}, rect(m, k).center()); }
};
#undef CTL
inline Controles C(const QObject& f) { return Controles{&f}; }

// A secondary window of the main window: the open one, else (unless `ouverte`) the last one made, or nullptr.
template <class T>
T* fenetreDe(const QObject& f, bool ouverte = false)
{
    const QList<T*> fenetres = f.findChildren<T*>(QString(), Qt::FindDirectChildrenOnly);
    const auto ouverteIci = std::find_if(fenetres.begin(), fenetres.end(), [](T* w) { return w->isVisible(); });
    return ouverteIci != fenetres.end() ? *ouverteIci : ouverte || fenetres.isEmpty() ? nullptr : fenetres.last();
}

// What a tool (pdfinfo, pdftotext) prints, or "échec de <tool>".
inline QString lancer(const QString& programme, const QStringList& arguments)
{
    QProcess p;
    p.start(programme, arguments);
    return p.waitForFinished(60000) && p.exitCode() == 0 ? QString::fromLocal8Bit(p.readAllStandardOutput()) : "échec de " + programme;
}
inline bool activer(QWidget* w) // shown and active, so that focus changes deliver their events
{
    w->show(), QApplication::setActiveWindow(w), w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

// The keyboard's mark is plain to see: giving `w` the keyboard (from `ailleurs`) changes the brightness of at least
// as many of its pixels as half its outline by 100 or more (of 255).
inline bool marqueVisible(QWidget* w, QWidget* ailleurs)
{
    const QImage sans = (ailleurs->setFocus(), w->grab().toImage()), avec = (w->setFocus(), w->grab().toImage());
    int vus = 0;
    for (int i = 0, l = avec.width(); i < l * avec.height(); ++i)
        vus += std::abs(qGray(avec.pixel(i % l, i / l)) - qGray(sans.pixel(i % l, i / l))) >= 100;
    return w->hasFocus() && vus >= w->width() + w->height();
}

// Until the build in progress (if any) is over.
inline void finir(Ardemo& f)
{
    for (int i = 0; i < 1000 && f.occupe(); ++i)
        QCoreApplication::processEvents();
}

struct Programme {
    QTemporaryDir dossier;
    Document etat;
    HorlogeTest horloge;
    std::unique_ptr<Ardemo> fenetre = std::make_unique<Ardemo>(etat, horloge, dossier.path());

    explicit Programme(bool construire = true)
    {
        if (construire) // the first showing builds
            fenetre->show(), QCoreApplication::processEvents(), finir(*fenetre);
    }
    Ardemo& f() { return *fenetre; }
    bool activer() { return ::activer(fenetre.get()); }
    Ardemo& annee(const char* an) { etat.AnChoisi = an; fenetre->Fabrication(); finir(*fenetre); return *fenetre; } // that year built
    TableCouleursSP& table() { return etat.Speciales.etat.table.v; }
};
