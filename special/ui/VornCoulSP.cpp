// The special-colours window and its .Cal files.
#include "special/ui/VornCoulSP.h"

#include "special/CouleursSpeciales.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QUndoStack>

#include "commun/Twips.h"
#include "commun/ui/Chemin.h"
#include "commun/ui/Controles.h"
#include "commun/ui/Couleur.h"
#include "commun/ui/Curseur.h"
#include "commun/ui/DialogueSauver.h"
#include "commun/ui/Styles.h"
#include "colour/ui/Echantillon.h"
#include "calendar/Periode.h"
#include "special/FichierCal.h"
#include "special/ImportIcs.h"

namespace {
// The import button, then the undo and redo buttons, sit under the original
// controls, and the name of the colour in use under its sample, the window
// grown for them.
constexpr RectTwips R_Client{0, 0, 3735, 8130};
constexpr RectTwips R_vkFrame3{75, 60, 3615, 5145};
constexpr RectTwips R_ChoixCoul{75, 330, 3465, 435};
constexpr RectTwips R_label5{60, 780, 3465, 255};
constexpr RectTwips R_label4_0{150, 1080, 945, 495};
constexpr RectTwips R_ExempleA{1140, 1050, 525, 525};
constexpr RectTwips R_label4_1{2040, 1080, 855, 495};
constexpr RectTwips R_Exemple{2970, 1050, 525, 525};
constexpr RectTwips R_label6{210, 1770, 1515, 285};
constexpr RectTwips R_CoulEnCours{1770, 1620, 525, 525};
constexpr RectTwips R_labelNom{150, 2250, 1515, 285};
constexpr RectTwips R_NomCouleur{1680, 2205, 1860, 345};
constexpr RectTwips R_ReinitCoulSP{75, 2610, 3465, 435};
constexpr RectTwips R_Label1_1{105, 3090, 3345, 1290};
constexpr RectTwips R_Label1_0{450, 4320, 2655, 750};
constexpr RectTwips R_Label2{90, 5250, 1725, 255};
constexpr RectTwips R_FichEnCours{90, 5550, 3585, 255};
constexpr RectTwips R_SauverCouleurs{75, 5880, 3615, 390};
constexpr RectTwips R_OuvrirCouleur{75, 6330, 3615, 390};
constexpr RectTwips R_FermerCoulSP{75, 6780, 3615, 390};
constexpr RectTwips R_ImporterCal{75, 7230, 3615, 390};
constexpr RectTwips R_AnnulerModif{75, 7680, 1770, 390};
constexpr RectTwips R_RetablirModif{1920, 7680, 1770, 390};
constexpr int DecalageGauche = 90; // from the main window's top-left corner
constexpr int DecalageHaut = 1000;
constexpr double FondFenetre = 0x00800000;

const QString Aucun = QStringLiteral("Aucun");
const QString FiltreCal = QStringLiteral("Fichiers autorisés (*.Cal)");

// A label on its container's background (transparent) or on a colour of its own.
QLabel* texte(QWidget* parent, const QString& t, const RectTwips& r, const QFont& police, double couleur,
              Qt::Alignment alignement = Qt::AlignLeft)
{
    auto* l = placer(new QLabel(t, parent), r);
    l->setFont(police);
    l->setAlignment(alignement | Qt::AlignTop);
    l->setWordWrap(true);
    TexteWidget(l, VersQColor(couleur));
    return l;
}

Echantillon* lettre(QWidget* parent, const RectTwips& r)
{
    auto* e = placer(new Echantillon(QStringLiteral("X"), parent), r);
    e->setFont(PoliceDessin(QStringLiteral("Arial"), 18, true));
    return e;
}

vkCommand* boutonTexte(QWidget* parent, const QString& legende, const RectTwips& r, double points, double couleurTexte,
                       double fond1, double fond2)
{
    auto* b = bouton(parent, legende, r);
    b->setFont(PoliceDessin(QStringLiteral("Arial"), points, true));
    b->setFonds(VersQColor(fond1), VersQColor(fond2));
    b->setCouleurTexte(VersQColor(couleurTexte));
    return b;
}

// The save dialog: a name typed without ".Cal" gets it (the open dialog shows
// only .Cal files).
class DialogueSauverCal : public DialogueSauver {
public:
    using DialogueSauver::DialogueSauver;

protected:
    std::string nomComplet(std::string_view choisi) const override { return NomAvecExtensionCal(choisi); }
};

} // namespace

VornCoulSP::VornCoulSP(QWidget* parent, const CouleursSpeciales& speciales, QUndoStack& pile)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      m_speciales(speciales), m_pile(pile)
{

    setWindowTitle(QStringLiteral("Couleurs spéciales"));
    setWindowIcon(QIcon(QStringLiteral(":/ardemo.png")));
    const RectPixels client = VersPixels(R_Client);
    setFixedSize(client.l, client.h);
    FondWidget(this, VersQColor(FondFenetre));

    const QFont arial975g = PoliceDessin(QStringLiteral("Arial"), 9.75, true);
    const QFont etroite975g = PoliceDessin(QStringLiteral("Arial Narrow"), 9.75, true);

    vkFrame3 = cadre(this, QStringLiteral("Jours à signaler par des couleurs"), R_vkFrame3, 0x00FF8080, 0x00400000,
                     0x00FFFFFF, 0x00FFFFC0);
    vkFrame3->setPoliceTitre(PoliceDessin(QStringLiteral("Arial"), 11.25, true));
    ChoixCoul = boutonTexte(vkFrame3, QStringLiteral("Choisir la couleur des chiffres"), R_ChoixCoul, 11.25,
                            0x00008000, 0x00FFFFFF, 0x00E0E0E0);
    label5 = etiquette(vkFrame3, QStringLiteral("ou cliquer dans une des cases ci-dessous"), R_label5, etroite975g, 0,
                       0x00F4F0DF, Qt::AlignHCenter);
    label4[0] = texte(vkFrame3, QStringLiteral("Ancienne couleur :"), R_label4_0, arial975g, 0);
    ExempleA = lettre(vkFrame3, R_ExempleA);
    label4[1] = texte(vkFrame3, QStringLiteral("Nouvelle couleur :"), R_label4_1, arial975g, 0);
    Exemple = lettre(vkFrame3, R_Exemple);
    label6 = texte(vkFrame3, QStringLiteral("Couleur en cours : "), R_label6, etroite975g, 0, Qt::AlignHCenter);
    CoulEnCours = lettre(vkFrame3, R_CoulEnCours);
    // What the colour in use stands for, shown in the days' tooltips and saved with the colours.
    labelNom = texte(vkFrame3, QStringLiteral("Nom de la couleur :"), R_labelNom, etroite975g, 0);
    NomCouleur = placer(new QLineEdit(vkFrame3), R_NomCouleur);
    NomCouleur->setFont(PoliceDessin(QStringLiteral("Arial"), 9.75, false));
    NomCouleur->setMaxLength(static_cast<int>(LongueurEtiquetteMax));
    NomCouleur->setPlaceholderText(QStringLiteral("Anniversaires..."));
    labelNom->setBuddy(NomCouleur);
    NomCouleur->setAccessibleName(QStringLiteral("Nom de la couleur"));
    // White to type in; light grey while no colour is in use (not the window's dark blue).
    NomCouleur->setStyleSheet(QStringLiteral("QLineEdit { background: white; color: black; border: 1px solid gray; }"
                                             "QLineEdit:disabled { background: #E0E0E0; }"));
    connect(NomCouleur, &QLineEdit::editingFinished, this, [this] { validerNom(); });
    RéinitCoulSP = boutonTexte(vkFrame3, QStringLiteral("Réinitialiser tout"), R_ReinitCoulSP, 11.25, 0x000000C0,
                               0x00FFFFFF, 0x00E0E0E0);
    Label1[1] = texte(vkFrame3,
                      QStringLiteral("Dans l'image de droite :  Cliquez sur les jours  dont les numéros prendront la "
                                     "couleur sélectionnée. Un nouveau clic dans la même case annule le choix "
                                     "précédent."),
                      R_Label1_1, arial975g, 0, Qt::AlignHCenter);
    Label1[0] = texte(vkFrame3, QStringLiteral("Vous pouvez placer où vous voulez toutes les couleurs que vous voulez."),
                      R_Label1_0, arial975g, 0x00800080, Qt::AlignHCenter);

    Label2 = etiquette(this, QStringLiteral("Fichier en cours :"), R_Label2, arial975g, 0x00FFFFFF, FondFenetre);
    FichEnCours = etiquette(this, Aucun, R_FichEnCours, arial975g, 0, 0x00FFFFC0);
    SauverCouleurs = boutonTexte(this, QStringLiteral("Sauver ces couleurs..."), R_SauverCouleurs, 12, 0x00FFFFFF,
                                 0x0000FF00, 0x00404000);
    OuvrirCouleur = boutonTexte(this, QStringLiteral("Ouvrir un Fichier Couleurs..."), R_OuvrirCouleur, 12,
                                0x00FFFFFF, 0x00C0C000, 0x00400000);
    FermerCoulSP = boutonTexte(this, QStringLiteral("Fermer cette fenêtre"), R_FermerCoulSP, 14.25, 0x00FFFFFF,
                               0x000000FF, 0x00000040);
    ImporterCal = boutonTexte(this, QStringLiteral("Importer un calendrier (.ics)..."), R_ImporterCal, 12, 0x00FFFFFF,
                              0x00FF8080, 0x00400000);
    // Undo and redo of the colours' changes, as Ctrl+Z and Ctrl+Maj+Z (or Ctrl+Y) do.
    AnnulerModif = boutonTexte(this, QStringLiteral("Annuler"), R_AnnulerModif, 11.25, 0, 0x00FFFFFF, 0x00E0E0E0);
    RetablirModif = boutonTexte(this, QStringLiteral("Rétablir"), R_RetablirModif, 11.25, 0, 0x00FFFFFF, 0x00E0E0E0);
    connect(AnnulerModif, &QAbstractButton::clicked, &m_pile, &QUndoStack::undo);
    connect(RetablirModif, &QAbstractButton::clicked, &m_pile, &QUndoStack::redo);
    const auto etatPile = [this] {
        AnnulerModif->setEnabled(m_pile.canUndo());
        RetablirModif->setEnabled(m_pile.canRedo());
        AnnulerModif->setToolTip(m_pile.canUndo() ? QStringLiteral("Annuler : ") + m_pile.undoText() : QString());
        RetablirModif->setToolTip(m_pile.canRedo() ? QStringLiteral("Rétablir : ") + m_pile.redoText() : QString());
    };
    connect(&m_pile, &QUndoStack::indexChanged, this, etatPile);
    connect(&m_pile, &QUndoStack::cleanChanged, this, etatPile);
    etatPile();
    auto* annuler = new QAction(this);
    annuler->setShortcut(QKeySequence::Undo);
    connect(annuler, &QAction::triggered, &m_pile, &QUndoStack::undo);
    auto* retablir = new QAction(this);
    retablir->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(retablir, &QAction::triggered, &m_pile, &QUndoStack::redo);
    addActions({annuler, retablir});

    connect(ChoixCoul, &QAbstractButton::clicked, this, [this] { ChoixCoul_Click(); });
    connect(Exemple, &Echantillon::clique, this, [this] { Exemple_Click(); });
    connect(ExempleA, &Echantillon::clique, this, [this] { ExempleA_Click(); });
    // A name being typed is kept before what the buttons do (they take no focus).
    connect(RéinitCoulSP, &QAbstractButton::clicked, this, [this] { validerNom(), RéinitCoulSP_Click(); });
    connect(SauverCouleurs, &QAbstractButton::clicked, this, [this] { validerNom(), emit sauvegardeDemandee(); });
    connect(OuvrirCouleur, &QAbstractButton::clicked, this, [this] { validerNom(), emit ouvertureDemandee(); });
    connect(FermerCoulSP, &QAbstractButton::clicked, this, [this] { FermerCoulSP_Click(); });
    connect(ImporterCal, &QAbstractButton::clicked, this, [this] { validerNom(), emit importDemande(); });

    // The names the tests find the controls by.
    Nommer({{vkFrame3, "vkFrame3"}, {ChoixCoul, "ChoixCoul"}, {label5, "label5"}, {ExempleA, "ExempleA"},
            {Exemple, "Exemple"}, {label6, "label6"}, {CoulEnCours, "CoulEnCours"}, {RéinitCoulSP, "RéinitCoulSP"},
            {Label2, "Label2"}, {FichEnCours, "FichEnCours"}, {SauverCouleurs, "SauverCouleurs"},
            {OuvrirCouleur, "OuvrirCouleur"}, {FermerCoulSP, "FermerCoulSP"}, {ImporterCal, "ImporterCal"},
            {AnnulerModif, "AnnulerModif"}, {RetablirModif, "RetablirModif"}, {NomCouleur, "NomCouleur"}});
}

void VornCoulSP::MontrerAncienneCouleur(const QColor& avant)
{
    ExempleA->setTexte(DeQColor(avant));
}

void VornCoulSP::Ouvrir(double fondJours)
{
    if (!m_ouverte)
        Form_Load(fondJours);
    show();
    raise();
    activateWindow();
}

void VornCoulSP::Form_Load(double fondJours)
{
    if (parentWidget())
        move(parentWidget()->pos() + QPoint(TwipsVersPixels(DecalageGauche), TwipsVersPixels(DecalageHaut)));
    Exemple->setFond(fondJours);
    ExempleA->setFond(fondJours);
    CoulEnCours->setFond(fondJours);
    Exemple->setTexte(m_speciales.choisie);
    ExempleA->setTexte(m_speciales.normale);
    m_ouverte = true;
    Actualiser();
}

// What a day click will apply: the colour chosen last, kept from an earlier
// opening; the file in use, kept too (it is the document's).
void VornCoulSP::Actualiser()
{
    CoulEnCours->setTexte(m_speciales.choisie);
    const QString fichier = QString::fromStdString(m_speciales.etat.fichier);
    FichEnCours->setText(fichier.isEmpty() ? Aucun : QFileInfo(fichier).fileName());
    FichEnCours->setToolTip(QDir::toNativeSeparators(fichier));
    // The name typed for another colour goes to that colour first.
    if (CouleurEntiere(m_speciales.choisie) != CouleurEntiere(m_couleurNom))
        validerNom();
    m_couleurNom = m_speciales.choisie;
    NomCouleur->setEnabled(CouleurEntiere(m_couleurNom) != CouleurEntiere(m_speciales.normale));
    if (!NomCouleur->isModified()) {
        const auto e = m_speciales.etat.etiquettes.find(CouleurEntiere(m_couleurNom));
        NomCouleur->setText(e == m_speciales.etat.etiquettes.end() ? QString() : QString::fromStdString(e->second));
    }
}

// One step of the undo stack per name finished (Enter, the keyboard leaving,
// a button, the window closed), none per key.
void VornCoulSP::validerNom()
{
    if (!NomCouleur || !NomCouleur->isModified())
        return;
    NomCouleur->setModified(false);
    emit etiquetteModifiee(m_couleurNom, NomCouleur->text());
}

bool VornCoulSP::ChoixCoul_Click()
{
    const std::optional<double> choisie =
        ChoisirCouleur(this, QStringLiteral("Choisir une couleur d'événement"), m_speciales.normale);
    if (!choisie)
        return false;
    Exemple->setTexte(*choisie);
    ExempleA->setTexte(m_speciales.normale);
    emit couleurChoisie(*choisie, true);
    Actualiser();
    return true;
}

void VornCoulSP::Exemple_Click()
{
    emit couleurChoisie(Exemple->texte(), false);
    Actualiser();
}

void VornCoulSP::ExempleA_Click()
{
    emit couleurChoisie(ExempleA->texte(), false);
    Actualiser();
}

void VornCoulSP::RéinitCoulSP_Click()
{
    emit reinitialisation();
    Exemple->setTexte(m_speciales.choisie);
    ExempleA->setTexte(m_speciales.normale);
    Actualiser();
}

QString VornCoulSP::FichierCalASauver(QWidget* parent, const QString& propose)
{
    DialogueSauverCal dialogue(parent, QStringLiteral("Sauver un Fichier de Couleurs spéciales"), QString(), FiltreCal);
    dialogue.selectFile(propose);
    if (dialogue.exec() != QDialog::Accepted)
        return {};
    const QStringList choix = dialogue.selectedFiles();
    return choix.isEmpty() ? QString() : choix.first();
}

QString VornCoulSP::FichierAOuvrir(QWidget* parent, const QString& titre, const QString& dossier,
                                   const QString& filtre)
{
    QFileDialog dialogue(parent, titre, dossier, filtre);
    dialogue.setOption(QFileDialog::DontUseNativeDialog);
    dialogue.setAcceptMode(QFileDialog::AcceptOpen);
    dialogue.setFileMode(QFileDialog::ExistingFile);
    if (dialogue.exec() != QDialog::Accepted || dialogue.selectedFiles().isEmpty())
        return {};
    return dialogue.selectedFiles().first();
}

void VornCoulSP::FermerCoulSP_Click()
{
    close();
}

// The close box does what "Fermer cette fenêtre" does.
void VornCoulSP::closeEvent(QCloseEvent* e)
{
    e->accept();
    if (!m_ouverte)
        return;
    hide();
    Terminer();
}

// Escape does what "Fermer cette fenêtre" does.
void VornCoulSP::keyPressEvent(QKeyEvent* e)
{
    if (e->key() != Qt::Key_Escape)
        return QWidget::keyPressEvent(e);
    e->accept();
    FermerCoulSP_Click();
}

void VornCoulSP::Terminer()
{
    validerNom();
    m_ouverte = false;
    emit fermee();
}
