#pragma once
#include <QDialog>
#include <QWidget>
#include <array>

#include "colour/Couleurs.h"

class Principal;
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
// edits its slot at once; "Valider" keeps the new scheme, "Annuler" (and the
// title bar's close box) brings back the colours of the opening. The list
// "Jours fériés de :" chooses whose public holidays the calendar shows, kept
// by "Valider" too.
class ArdemoCoul : public QDialog {
    Q_OBJECT
public:
    explicit ArdemoCoul(Principal& principal);

    // A click on the sample of colour slot `slot` (file order: 0 CoulTxtEntete
    // ... 6 CoulGrille, for Grille and Cadre alike, 7 CoulBordure).
    void ModifierCouleur(int slot);
    void RestoreCoul_Click();
    void Annuler_Click();
    void Valider_Click();

public slots:
    // Escape and the close box land here: the same as "Annuler".
    void reject() override;

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
    Principal& m_principal;
    // The scheme at the opening, brought back by "Annuler".
    std::array<double, SchemaCouleurs::Nombre> m_avant{};
};
