#pragma once
#include <QColor>
#include <QString>
#include <functional>

#include "app/mdlVorn.h"

class QWidget;
class BoiteImage;

// What the main window shows on its right: the command panel with the sheet,
// the sheet alone (special colours) or the calendar image alone (zone).
enum class Affichage { Commandes, Feuille, Image };

// What the other windows may ask of the main window. They never reach its
// controls: the main window keeps its panel, sheet and size boxes to itself.
class Principal {
public:
    virtual ~Principal() = default;

    // Parent and place of the other windows.
    virtual QWidget* fenetre() = 0;
    virtual mdlVorn& etat() = 0;
    virtual QString dossierDocuments() const = 0;
    // The calendar image (its mouse, its overlay and its pixels).
    virtual BoiteImage& image() = 0;

    virtual void Fabrication() = 0;
    virtual void Coloration() = 0;
    virtual void Coloriage() = 0;
    // One day's text colour from TableCoulSP.
    virtual void ColorerCase(int mois, int cellule) = 0;
    // The image drawn again from the sheet (Copier then Coller), or shown as last drawn.
    virtual void RafraichirImage() = 0;
    virtual void MontrerImage() = 0;
    // The holiday box's tooltip follows RegionFeries.
    virtual void BulleFeries() = 0;
    // The year box shows `an` (already in AnChoisi).
    virtual void ChoisirAnnee(const QString& an) = 0;

    // Special colours: the sheet alone, day clicks recolour. Left by
    // QuitterModeSpecial, which draws the image again.
    virtual void EntrerModeSpecial() = 0;
    virtual void QuitterModeSpecial() = 0;
    virtual void OuvrirCouleursSpeciales() = 0;
    // Called with a clicked day's colour before it changes.
    virtual void SurRecolore(std::function<void(const QColor&)> f) = 0;

    // Zone selection: the image alone, then back to the commands.
    virtual void EntrerModeZone() = 0;
    virtual void QuitterModeZone() = 0;
    // The size boxes, in millimetres as typed.
    virtual QString texteLargeur() const = 0;
    virtual QString texteHauteur() const = 0;
    virtual void ecrireLargeur(const QString& mm) = 0;
    virtual void ecrireHauteur(const QString& mm) = 0;
    virtual void activerHauteur(bool oui) = 0;
};
