#pragma once
#include <QColor>
#include <QImage>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>
#include <QWidget>
#include <vector>

#include "app/Document.h"
#include "app/Emplacements.h"
#include "commun/ui/Chemin.h"
#include "calendar/Feries.h"
#include "colour/ModeleFeuille.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollBar;
class QTimer;
class QUndoStack;
class BoiteImage;
class VueFeuille;
class Horloge;
class vkCommand;
class vkFrame;
class ArdemoCoul;
class VornCoulSP;
class VornSelect;
class VornScolaire;
class ApercuForm;
struct CalendrierAEcrire;
class VornPrint;

// What the main window shows on its right: the command panel with the sheet,
// the sheet alone (special colours) or the calendar image alone (zone).
enum class Affichage { Commandes, Feuille, Image };

// The main window: the command panel on the left, the calendar sheet and the
// calendar image on the right. It shows the document and turns the user's
// actions into edits of it; it owns the other windows, which answer it
// (results, signals); it alone writes the settings, paints and builds. The
// edits of the special colours go through its undo stack.
class Ardemo : public QWidget, private RapportPaques {
    Q_OBJECT
public:
    // `fichierIni`: the settings file to use instead of the usual one (empty: the usual one).
    Ardemo(Document& document, Horloge& horloge, const QString& dossierProgramme, const QString& fichierIni = {});
    ~Ardemo() override;

    Document& document() { return m_doc; }
    QUndoStack& pile() { return *m_pile; }
    // A calendar was built since start-up; the special-colours window or the preview is open.
    bool calendrierFait() const { return m_calendrierFait; }
    bool modeCouleursSpeciales() const { return m_modeCoulSP; }
    bool apercuOuvert() const { return apercuForm != nullptr; }
    // Chosen at start-up: the program's folder when it is the user's to write,
    // else the user's configuration, pictures and documents folders.
    QString dossierImages() const { return NomFichier(m_emplacements.dossierImages); }
    QString dossierDocuments() const { return NomFichier(m_emplacements.dossierDocuments); }

    // The build (refused while the special colours are open). The sheet is
    // filled at once, the image made after the build's pause of a second.
    void Fabrication();
    // Runs `action` once no build is running and the first build is over: at
    // once, or at the end of the build.
    void quandPret(std::function<void()> action);
    // The "Jours fériés" box's tooltip names the region whose holidays are shown.
    void BulleFeries();
    // The year box shows `an` and the document takes it (the command line's year).
    void ChoisirAnnee(const QString& an);
    // The width box gets `mm`, as if typed (the command line's width).
    void ecrireLargeur(const QString& mm);
    // The calendar as the save and the command line write it.
    CalendrierAEcrire calendrier();

    // The size boxes are shown red while their text is refused.
    bool largeurRouge() const { return m_largeurRouge; }
    bool hauteurRouge() const { return m_hauteurRouge; }

    // The command line's "--sans-weekend" and "--sans-feries", before the first build.
    void cocherJours(bool weekEnd, bool feries);

    // When the special colours differ from their file: "Enregistrer les couleurs
    // spéciales ?" with Enregistrer (the save dialog, then on), Ne pas enregistrer
    // and Annuler. True to go on.
    bool ProposerEnregistrer();
    // "Sauver ces couleurs...": the save dialog, then the file. True when written.
    bool SauverCouleursSP();

    // The last image rendered from the sheet (what Coller shows).
    const QImage& imageRendue() const { return m_rendu; }

    // Opens a file given from outside the window (the command line, the
    // desktop, a drop): a .Cal file as "Ouvrir un Fichier Couleurs..." does,
    // an .ics file as "Importer un calendrier (.ics)..." does, both in the
    // special-colours window, opened for it. Any other file is refused with a
    // message. The calendar is built first if it was not yet. An .ics given a
    // `couleur` (the command line's) takes it without the colour picker.
    void ouvrirFichier(const QString& chemin, std::optional<double> couleur = {});
    // A build is running (red light).
    bool occupe() const;

signals:
    // The main window was closed and no other window of the program is left.
    void programFinished();

protected:
    void closeEvent(QCloseEvent*) override;
    bool eventFilter(QObject* objet, QEvent* e) override;
    void showEvent(QShowEvent*) override;
    void changeEvent(QEvent*) override;
    // .Cal and .ics files dropped on the window are opened as by ouvrirFichier.
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    // Command panel.
    QWidget* FondCdes = nullptr;
    vkFrame* ChoixAffichage = nullptr;
    QCheckBox* chkFerie = nullptr;
    QCheckBox* chkWeek = nullptr;
    vkFrame* vkFrame1 = nullptr;
    QComboBox* cAn = nullptr;
    QLabel* FeuVert = nullptr;
    QLabel* FeuRouge = nullptr;
    vkFrame* vkFrame2 = nullptr;
    vkCommand* Couleurs = nullptr;
    vkCommand* CoulSpéciale = nullptr;
    vkCommand* Fabriquer = nullptr;
    vkCommand* Sélection = nullptr;
    vkCommand* SauveFichier = nullptr;
    vkCommand* SauvePPapier = nullptr;
    vkFrame* Ajuster = nullptr;
    QLineEdit* Largeur = nullptr;
    QLineEdit* Hauteur = nullptr;
    QLabel* Label1[2] = {};
    QLabel* Label2[4] = {};
    vkCommand* CalScolaire = nullptr;
    vkCommand* Apercu = nullptr;
    vkCommand* Imprimer = nullptr;
    vkCommand* Quitter = nullptr;
    // Outside the panel.
    QLabel* Image1 = nullptr;
    QLabel* CalType = nullptr;
    QScrollBar* VSCal = nullptr;
    VueFeuille* CalBase = nullptr;
    BoiteImage* Pict1 = nullptr;
    BoiteImage* Pictx = nullptr;
    BoiteImage* PictSel = nullptr;

    // Build pipeline.
    void Fabriquer_Click();
    void finFabrication(int numero);
    void FRouge();
    void FVert();
    void Copier();
    void Coller();
    void CalculDate(int mois);

    // Painting.
    void Coloration();
    void Coloriage();
    void Recolore(int mois, int index);
    // The special colours' edits, each one step of the undo stack.
    void ModifierCouleurs(const QString& texte, const EtatCouleursSP& apres);
    void AppliquerCouleurs(const EtatCouleursSP& e, bool avecAnnee);
    void ReinitialiserCouleursSP();
    void OuvrirCouleursSP();
    void OuvrirFichierCal(const QString& chemin);
    void ImporterIcs(const QString& chemin, bool demanderCouleur);
    void ImporterIcsDemande();
    bool CouleurPourImport();
    void actualiserCouleursSP();
    QWidget* parentCouleursSP();
    QString nomCalPropose() const;
    void chkFerie_Click();
    void chkWeek_Click();
    void BtnJour_Click(int mois, int index);
    void SansCouleurChoisie(const QRect& jour);
    void ColorierSuite(const Date& debut, const Date& fin);

    // Start-up and the panel's other buttons.
    void Form_Activate();
    void Quitter_Click();
    void Couleurs_Click();
    void CoulSpéciale_Click();
    void CalScolaire_Click();
    void Sélection_Click();
    void SauveFichier_Click();
    void SauvePPapier_Click();
    void Apercu_Click();
    void Imprimer_Click();
    // "Mise en page..." of the print or save dialog `parent`: the page chosen
    // (or the picture alone) becomes the document's and is remembered.
    void MiseEnPage_Click(QWidget* parent);
    // The page laid out from the document's options; none without them.
    std::optional<PlanPage> planPage() const;

    // Year box, size boxes and scrolling.
    void cAn_Click();
    void cAn_LostFocus();
    void Largeur_GotFocus();
    void Hauteur_GotFocus();
    void Largeur_Change();
    void Hauteur_Change();
    void Largeur_LostFocus();
    void Hauteur_LostFocus();
    void VSCal_Change();

    // The preview window: closed by builds, size changes and the zone selection,
    // shown again by accepted size changes.
    void FermerApercu();
    void MontrerApercu();

    // Modeless secondary windows, created when first needed (owned by this window).
    VornCoulSP* vornCoulSP = nullptr;
    VornSelect* vornSelect = nullptr;
    ApercuForm* apercuForm = nullptr;

    // A window of the program was hidden (ends the program after the main
    // window was closed, when it was the last one).
    void fenetreCachee();

    // The one place that shows or hides the command panel, the sheet and the image.
    void Montrer(Affichage affichage);
    // The special colours closed: the image drawn again from the sheet, the commands back.
    void QuitterModeSpecial();
    // The zone selection closed, by "Valider" or by "Annuler la Sélection".
    void ZoneValidee(const ZoneMois& zone);
    void ZoneAnnulee();
    void Form_Load();
    void LireReglages();
    void creerActionsAnnulation();
    // Settings kept back while another program holds the file: tried again
    // every quarter of a second, then said, then every two seconds.
    void reessayerReglages();
    QTimer* m_reessai = nullptr;
    int m_essais = 0;
    void creerCommandes();
    void connecterSaisies();
    void verifierFin();
    void ecrireTaille(QLineEdit* boite, int mm, bool& drapeau);
    void setRouge(QLineEdit* boite, bool rouge);
    void ecrireLargeurReglee();
    void ErreurPaques(const std::string& message) override;

    Document& m_doc;
    QUndoStack* m_pile = nullptr;
    bool m_calendrierFait = false;
    bool m_modeCoulSP = false;  // the special-colours window is open
    bool m_occupe = false;      // a build is running (red light)
    int m_fabrication = 0;      // number of the last build started
    std::vector<std::function<void()>> m_quandPret;
    int16_t LargMois = 209, HautMois = 216; // one month block of the image
    Horloge& m_horloge;
    QString m_dossier;
    QString m_iniImpose;
    Emplacements m_emplacements;
    ModeleFeuille m_feuille; // what the sheet shows
    QImage m_rendu;
    bool m_fermee = false; // closed with its close box
    bool m_largeurRouge = false;
    bool m_hauteurRouge = false;
    QObject* m_focusDedans = nullptr; // the year or size box that has the focus
    QPointer<QWidget> m_focusAvantFabrication; // had the keyboard when the build began
    QPointer<QWidget> m_focusPanneau;          // had it when the panel was hidden
    bool PremierAffichage = true; // the first activation builds
    // Guards of the size boxes: a size written by the program does not echo
    // back into the other box; the size a box had when it got the keyboard.
    bool HauteurParProgramme = false;
    bool LargeurParProgramme = false;
    int16_t TailleAvant = 0;
};
