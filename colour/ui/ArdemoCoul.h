#pragma once
#include <QDialog>
#include <QWidget>

#include "calendar/Regions.h"
#include "colour/Couleurs.h"

class QComboBox;
class QLabel;
class Echantillon;
class vkCommand;
class vkFrame;

// The grid sample's frame: a rectangle outline three pixels wide, drawn inside
// its bounds; clicks go through to the sample beneath.
class FormeCadre : public QWidget {
public:
    explicit FormeCadre(QWidget* parent);
    void setCouleurBord(double couleur);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    double m_couleur = 0x0000C0;
};

// The colour scheme dialog: one sample per colour slot, a click on a sample
// edits its slot at once; "Valider" closes it accepted, with the scheme and
// the region chosen (couleurs(), region()); "Annuler" (and the title bar's close
// box, Escape) closes it rejected. The list "Jours fériés de :" chooses whose
// public holidays the calendar shows. The caller keeps, writes and applies.
class ArdemoCoul : public QDialog {
    Q_OBJECT
public:
    // Opens on `couleurs` and `region`, placed below the top-left corner of `parent`.
    ArdemoCoul(QWidget* parent, const SchemaCouleurs& couleurs, Region region);

    const SchemaCouleurs& couleurs() const { return m_couleurs; }
    Region region() const;

    // A click on the sample of colour slot `slot` (file order: 0 CoulTxtEntete
    // ... 6 CoulGrille, for Grille and Cadre alike, 7 CoulBordure).
    void ModifierCouleur(int slot);
    void RestoreCoul_Click();
    void Annuler_Click();
    void Valider_Click();

private:
    void Form_Load();
    void AfficherCouleurs(bool fondsGrille);
    double couleurEchantillon(int slot) const;

    vkFrame* vkFrame3 = nullptr;
    Echantillon* CEntete = nullptr;
    Echantillon* Grille = nullptr;
    FormeCadre* ShapeCadre = nullptr;
    Echantillon* Cadre = nullptr;
    Echantillon* CNJour = nullptr;
    Echantillon* CBordure = nullptr;
    vkCommand* CJour = nullptr;
    Echantillon* CFerie = nullptr;
    Echantillon* CWeekEnd = nullptr;
    Echantillon* CJoursHorsMois = nullptr;
    QLabel* lblRegion = nullptr;
    QComboBox* cRegion = nullptr;
    vkCommand* RestoreCoul = nullptr;
    vkCommand* Annuler = nullptr;
    vkCommand* Valider = nullptr;
    // The scheme as edited; the caller's stays as it was until it takes this one.
    SchemaCouleurs m_couleurs;
};
