#pragma once
#include <QString>
#include <QWidget>
#include <optional>

class Echantillon;
struct CouleursSpeciales;
class QLabel;
class QLineEdit;
class QUndoStack;
class vkCommand;
class vkFrame;

// The special-colours window: while it is open a click on a day cell of the
// main window's sheet gives the day's number the chosen colour (or takes it
// away again); the colouring is saved to and read from .Cal files. Modeless and
// above the other windows; the main window's command panel is hidden meanwhile.
// It shows the special colours it is given and tells the main window what the
// user asks (signals); the main window edits them through its undo stack, which
// this window's two buttons and shortcuts also reach.
class VornCoulSP : public QWidget {
    Q_OBJECT
public:
    VornCoulSP(QWidget* parent, const CouleursSpeciales& speciales, QUndoStack& pile);

    // A day was clicked: the colour it had before, shown as the old colour.
    void MontrerAncienneCouleur(const QColor& avant);

    // Opens the window on a sheet whose days have the background `fondJours`
    // (a window already open is only brought to the front).
    void Ouvrir(double fondJours);
    // Shows the special colours as they now stand (the file in use, the colour in use).
    void Actualiser();

    // False when the picker was cancelled.
    bool ChoixCoul_Click();
    void Exemple_Click();
    void ExempleA_Click();
    void RéinitCoulSP_Click();
    void FermerCoulSP_Click();

    // The program's dialogs for .Cal files (Qt's own): the name to save under,
    // ".Cal" added to a name without it, proposed `propose` (a full path); the
    // file to open (or import), from `dossier`. Empty when cancelled.
    static QString FichierCalASauver(QWidget* parent, const QString& propose);
    static QString FichierAOuvrir(QWidget* parent, const QString& titre, const QString& dossier,
                                  const QString& filtre);

signals:
    // A colour was chosen with the picker (day clicks on again), or taken from a sample letter.
    void couleurChoisie(double couleur, bool activerClics);
    // "Réinitialiser tout".
    void reinitialisation();
    // "Sauver ces couleurs...", "Ouvrir un Fichier Couleurs...", "Importer un calendrier (.ics)...".
    void sauvegardeDemandee();
    void ouvertureDemandee();
    void importDemande();
    // The colour `couleur` was named (an empty name takes its name away).
    void etiquetteModifiee(double couleur, const QString& etiquette);
    // The window was closed: the image to draw again, the commands to show.
    void fermee();

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    // Controls, by their design names.
    vkFrame* vkFrame3 = nullptr;
    vkCommand* ChoixCoul = nullptr;
    QLabel* label5 = nullptr;
    QLabel* label4[2] = {};
    Echantillon* ExempleA = nullptr;
    Echantillon* Exemple = nullptr;
    QLabel* label6 = nullptr;
    Echantillon* CoulEnCours = nullptr;
    vkCommand* RéinitCoulSP = nullptr;
    QLabel* Label1[2] = {};
    QLabel* Label2 = nullptr;
    QLabel* FichEnCours = nullptr;
    vkCommand* SauverCouleurs = nullptr;
    vkCommand* OuvrirCouleur = nullptr;
    vkCommand* FermerCoulSP = nullptr;
    vkCommand* ImporterCal = nullptr;
    vkCommand* AnnulerModif = nullptr;
    vkCommand* RetablirModif = nullptr;
    QLabel* labelNom = nullptr;
    QLineEdit* NomCouleur = nullptr;

    void Form_Load(double fondJours);
    void Terminer();
    void validerNom();

    const CouleursSpeciales& m_speciales;
    QUndoStack& m_pile;
    bool m_ouverte = false;
    double m_couleurNom = 0; // the colour whose name the box shows
};
