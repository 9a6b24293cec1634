#pragma once
#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "calendar/Date.h"

class Echantillon;
struct mdlVorn;
class QLabel;
class vkCommand;
class vkFrame;

// The special-colours window: while it is open a click on a day cell of the
// main window's sheet gives the day's number the chosen colour (or takes it
// away again); the colouring is saved to and read from .Cal files. Modeless and
// above the other windows; the main window's command panel is hidden meanwhile.
// It keeps the special colours in the shared state (TableCoulSP, CoulSPChoisie,
// ModeCoulSP) and tells the main window, which paints and builds.
class VornCoulSP : public QWidget {
    Q_OBJECT
public:
    // `dossierDocuments`: where .Cal files are proposed; `aujourdhui`: the date
    // the proposed name carries.
    VornCoulSP(QWidget* parent, mdlVorn& etat, const QString& dossierDocuments, std::function<Date()> aujourdhui);

    // A day was clicked: the colour it had before, shown as the old colour.
    void MontrerAncienneCouleur(const QColor& avant);

    // Opens the window (a window already open is only brought to the front).
    void Ouvrir();

    // Year of the last .Cal file opened (empty when it had none).
    std::string AnFichierCal;

    // False when the picker was cancelled.
    bool ChoixCoul_Click();
    void Exemple_Click();
    void ExempleA_Click();
    void RéinitCoulSP_Click();
    void SauverCouleurs_Click();
    void OuvrirCouleur_Click();
    void FermerCoulSP_Click();
    // Colours the days of the year covered by the events of an iCalendar file.
    void ImporterCal_Click();

    // What the two buttons above do once their file is chosen: the .Cal file
    // opened (the year switched to its own, the colours shown, the file in
    // use), or the iCalendar file imported after its summary (the colour asked
    // first when `demanderCouleur` and none is chosen yet).
    void OuvrirFichierCal(const QString& fichier);
    void ImporterFichierIcs(const QString& fichier, bool demanderCouleur = true);

    // File name proposed by "Sauver ces couleurs..." (full path).
    QString nomPropose() const;

signals:
    // The whole table changed (reset, a file opened): the sheet's numbers to repaint.
    void couleursChargees();
    // Days were coloured by an import: the sheet's numbers to repaint.
    void joursColores();
    // A file of another year was opened: that year to build (AnChoisi already set).
    void anneeDemandee(const QString& annee);
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

    void Form_Load();
    // A colour for the import: the one a day click gives, else asked; false when the picker is cancelled.
    bool CouleurPourImport();
    void setFichierEnCours(const QString& nom);
    void Terminer();
    // The file chosen in an open dialog (empty when cancelled).
    QString FichierAOuvrir(const QString& titre, const QString& dossier, const QString& filtre);

    mdlVorn& m_etat;
    QString m_dossierDocuments;
    std::function<Date()> m_aujourdhui;
    bool m_ouverte = false;
    QString m_dossierIcs; // folder of the last calendar imported
    QString m_fichierEnCours; // the .Cal file in use, empty for none
};
