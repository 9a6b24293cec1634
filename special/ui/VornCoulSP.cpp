// The special-colours window and its .Cal files.
#include "special/ui/VornCoulSP.h"

#include "colour/mdlVorn.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>

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
// The import button sits under the original controls, the window grown for it.
constexpr RectTwips R_Client{0, 0, 3735, 7290};
constexpr RectTwips R_vkFrame3{75, 60, 3615, 4755};
constexpr RectTwips R_ChoixCoul{75, 330, 3465, 435};
constexpr RectTwips R_label5{60, 780, 3465, 255};
constexpr RectTwips R_label4_0{150, 1080, 945, 495};
constexpr RectTwips R_ExempleA{1140, 1050, 525, 525};
constexpr RectTwips R_label4_1{2040, 1080, 855, 495};
constexpr RectTwips R_Exemple{2970, 1050, 525, 525};
constexpr RectTwips R_label6{210, 1770, 1515, 285};
constexpr RectTwips R_CoulEnCours{1770, 1620, 525, 525};
constexpr RectTwips R_ReinitCoulSP{75, 2220, 3465, 435};
constexpr RectTwips R_Label1_1{105, 2700, 3345, 1290};
constexpr RectTwips R_Label1_0{450, 3930, 2655, 750};
constexpr RectTwips R_Label2{90, 4860, 1725, 255};
constexpr RectTwips R_FichEnCours{90, 5160, 3585, 255};
constexpr RectTwips R_SauverCouleurs{75, 5490, 3615, 390};
constexpr RectTwips R_OuvrirCouleur{75, 5940, 3615, 390};
constexpr RectTwips R_FermerCoulSP{75, 6390, 3615, 390};
constexpr RectTwips R_ImporterCal{75, 6840, 3615, 390};
constexpr int DecalageGauche = 90; // from the main window's top-left corner
constexpr int DecalageHaut = 1000;
constexpr double FondFenetre = 0x00800000;

const QString Aucun = QStringLiteral("Aucun");
const QString FiltreCal = QStringLiteral("Fichiers autorisés (*.Cal)");
const QString TitreImport = QStringLiteral("Importer un calendrier");

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

VornCoulSP::VornCoulSP(QWidget* parent, mdlVorn& etat, const QString& dossierDocuments,
                       std::function<Date()> aujourdhui)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      m_etat(etat), m_dossierDocuments(dossierDocuments), m_aujourdhui(std::move(aujourdhui))
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

    connect(ChoixCoul, &QAbstractButton::clicked, this, [this] { ChoixCoul_Click(); });
    connect(Exemple, &Echantillon::clique, this, [this] { Exemple_Click(); });
    connect(ExempleA, &Echantillon::clique, this, [this] { ExempleA_Click(); });
    connect(RéinitCoulSP, &QAbstractButton::clicked, this, [this] { RéinitCoulSP_Click(); });
    connect(SauverCouleurs, &QAbstractButton::clicked, this, [this] { SauverCouleurs_Click(); });
    connect(OuvrirCouleur, &QAbstractButton::clicked, this, [this] { OuvrirCouleur_Click(); });
    connect(FermerCoulSP, &QAbstractButton::clicked, this, [this] { FermerCoulSP_Click(); });
    connect(ImporterCal, &QAbstractButton::clicked, this, [this] { ImporterCal_Click(); });

    // The names the tests find the controls by.
    Nommer({{vkFrame3, "vkFrame3"}, {ChoixCoul, "ChoixCoul"}, {label5, "label5"}, {ExempleA, "ExempleA"},
            {Exemple, "Exemple"}, {label6, "label6"}, {CoulEnCours, "CoulEnCours"}, {RéinitCoulSP, "RéinitCoulSP"},
            {Label2, "Label2"}, {FichEnCours, "FichEnCours"}, {SauverCouleurs, "SauverCouleurs"},
            {OuvrirCouleur, "OuvrirCouleur"}, {FermerCoulSP, "FermerCoulSP"}, {ImporterCal, "ImporterCal"}});
}

void VornCoulSP::MontrerAncienneCouleur(const QColor& avant)
{
    ExempleA->setTexte(DeQColor(avant));
}

void VornCoulSP::Ouvrir()
{
    if (!m_ouverte)
        Form_Load();
    show();
    raise();
    activateWindow();
}

void VornCoulSP::Form_Load()
{
    mdlVorn& etat = m_etat;
    if (parentWidget())
        move(parentWidget()->pos() + QPoint(TwipsVersPixels(DecalageGauche), TwipsVersPixels(DecalageHaut)));

    const double fond = etat.Couleurs.CoulJours;
    Exemple->setFond(fond);
    ExempleA->setFond(fond);
    CoulEnCours->setFond(fond);
    Exemple->setTexte(etat.CoulSPChoisie);

    etat.CoulTexteNormal = 0;
    ExempleA->setTexte(etat.CoulTexteNormal);
    // What a day click will apply: the colour chosen last, kept from an earlier opening.
    CoulEnCours->setTexte(etat.CoulSPChoisie);
    setFichierEnCours(QString());
    AnFichierCal.clear();

    etat.ModeCoulSP = Vrai;
    m_ouverte = true;
}

void VornCoulSP::setFichierEnCours(const QString& nom)
{
    m_fichierEnCours = nom;
    FichEnCours->setText(nom.isEmpty() ? Aucun : nom);
}

bool VornCoulSP::ChoixCoul_Click()
{
    mdlVorn& etat = m_etat;
    const std::optional<double> choisie =
        ChoisirCouleur(this, QStringLiteral("Choisir une couleur d'événement"), etat.CoulTexteNormal);
    if (!choisie)
        return false;
    Exemple->setTexte(*choisie);
    ExempleA->setTexte(etat.CoulTexteNormal);
    etat.CoulSPChoisie = *choisie;
    CoulEnCours->setTexte(*choisie);
    etat.ModeCoulSP = Vrai;
    return true;
}

void VornCoulSP::Exemple_Click()
{
    m_etat.CoulSPChoisie = Exemple->texte();
    CoulEnCours->setTexte(Exemple->texte());
}

void VornCoulSP::ExempleA_Click()
{
    m_etat.CoulSPChoisie = ExempleA->texte();
    CoulEnCours->setTexte(ExempleA->texte());
}

void VornCoulSP::RéinitCoulSP_Click()
{
    mdlVorn& etat = m_etat;
    etat.EffacerCouleursSpeciales();
    etat.CoulSPChoisie = 0;
    Exemple->setTexte(etat.CoulSPChoisie);
    ExempleA->setTexte(etat.CoulTexteNormal);
    CoulEnCours->setTexte(etat.CoulSPChoisie);
    emit couleursChargees();
    setFichierEnCours(QString());
    // Day clicks do nothing until a colour is chosen again.
    etat.ModeCoulSP = Faux;
}

QString VornCoulSP::nomPropose() const
{
    QString nom = m_fichierEnCours;
    if (nom.isEmpty()) {
        const Date d = m_aujourdhui();
        nom = QString::fromStdString(NomFichierCalParDefaut(d.jour, d.mois, d.annee));
    }
    return m_dossierDocuments + QLatin1Char('/') + nom;
}

void VornCoulSP::SauverCouleurs_Click()
{
    DialogueSauverCal dialogue(this, QStringLiteral("Sauver un Fichier de Couleurs spéciales"), QString(), FiltreCal);
    dialogue.selectFile(nomPropose());
    if (dialogue.exec() != QDialog::Accepted)
        return;
    const QStringList choix = dialogue.selectedFiles();
    if (choix.isEmpty() || choix.first().isEmpty())
        return;

    const mdlVorn& etat = m_etat;
    CurseurSablier();
    const bool ecrit = SauverCal(CheminFichier(choix.first()), etat.TableCoulSP, etat.AnChoisi);
    CurseurNormal();
    if (!ecrit)
        QMessageBox::warning(this, QStringLiteral("Sauver un Fichier de Couleurs spéciales"),
                             QStringLiteral("Les couleurs n'ont pas pu être enregistrées dans « %1 ».")
                                 .arg(QDir::toNativeSeparators(choix.first())));
    else // the file saved is the file in use, as after an opening
        setFichierEnCours(QFileInfo(choix.first()).fileName());
}

QString VornCoulSP::FichierAOuvrir(const QString& titre, const QString& dossier, const QString& filtre)
{
    QFileDialog dialogue(this, titre, dossier, filtre);
    dialogue.setOption(QFileDialog::DontUseNativeDialog);
    dialogue.setAcceptMode(QFileDialog::AcceptOpen);
    dialogue.setFileMode(QFileDialog::ExistingFile);
    if (dialogue.exec() != QDialog::Accepted || dialogue.selectedFiles().isEmpty())
        return {};
    return dialogue.selectedFiles().first();
}

void VornCoulSP::OuvrirCouleur_Click()
{
    AnFichierCal.clear();
    const QString fichier =
        FichierAOuvrir(QStringLiteral("Ouvrir un Fichier de Couleurs spéciales"), m_dossierDocuments, FiltreCal);
    if (!fichier.isEmpty())
        OuvrirFichierCal(fichier);
}

void VornCoulSP::OuvrirFichierCal(const QString& fichier)
{
    AnFichierCal.clear();
    mdlVorn& etat = m_etat;
    CurseurSablier();
    const LectureCal lecture = LireFichierCal(CheminFichier(fichier), etat.TableCoulSP);
    // A file the command line refuses changes nothing and does not become the
    // file in use, and the user is told why.
    if (const std::string motif = MotifRefusCal(lecture); !motif.empty()) {
        CurseurNormal();
        QMessageBox::warning(this, QStringLiteral("Ouvrir un Fichier de Couleurs spéciales"),
                             QStringLiteral("Le fichier « %1 » est refusé : %2.")
                                 .arg(QDir::toNativeSeparators(fichier), QString::fromStdString(motif)));
        return;
    }
    AnFichierCal = lecture.annee;
    setFichierEnCours(QFileInfo(fichier).fileName());

    if (!AnFichierCal.empty() && AnFichierCal != etat.AnChoisi) {
        etat.ModeCoulSP = Faux;
        etat.AnChoisi = AnFichierCal;
        // The build lets events run while it waits: this window must not be
        // closed or used in the middle of it.
        setEnabled(false);
        emit anneeDemandee(QString::fromStdString(AnFichierCal));
        setEnabled(true);
        etat.ModeCoulSP = Vrai;
    }
    emit couleursChargees();
    CurseurNormal();
}

bool VornCoulSP::CouleurPourImport()
{
    const mdlVorn& etat = m_etat;
    // The days take the colour a click would give. With clicks off (after
    // "Réinitialiser tout") or no colour chosen yet, the colour is asked first.
    return (etat.ModeCoulSP && CouleurEntiere(etat.CoulSPChoisie) != CouleurEntiere(etat.CoulTexteNormal))
           || ChoixCoul_Click();
}

void VornCoulSP::ImporterCal_Click()
{
    // Where the browser puts what it downloads, or the home folder.
    if (m_dossierIcs.isEmpty() || !QDir(m_dossierIcs).exists()) {
        m_dossierIcs = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        if (m_dossierIcs.isEmpty() || !QDir(m_dossierIcs).exists())
            m_dossierIcs = QDir::homePath();
    }
    const QString fichier = FichierAOuvrir(TitreImport, m_dossierIcs,
                                           QStringLiteral("Calendriers iCalendar (*.ics);;Tous les fichiers (*.*)"));
    if (fichier.isEmpty())
        return;
    m_dossierIcs = QFileInfo(fichier).absolutePath();
    ImporterFichierIcs(fichier, true);
}

void VornCoulSP::ImporterFichierIcs(const QString& fichier, bool demanderCouleur)
{
    mdlVorn& etat = m_etat;
    CurseurSablier();
    // The sheet's twelve months: a year, or a school year.
    const Periode periode = etat.PeriodeChoisie();
    const ImportIcs import = LireFichierIcs(CheminFichier(fichier), periode);
    CurseurNormal();
    const QString message = QString::fromStdString(MessageIcs(import));
    if (import.etat != EtatIcs::Ok) {
        QMessageBox boite(import.etat == EtatIcs::AucunEvenement ? QMessageBox::Information : QMessageBox::Warning,
                          TitreImport, message, QMessageBox::Ok, this);
        boite.exec();
        return;
    }
    // The colour is asked once the file is known to be read.
    if (demanderCouleur && !CouleurPourImport())
        return;
    QMessageBox resume(QMessageBox::Question, TitreImport, message, QMessageBox::NoButton, this);
    QPushButton* valider = resume.addButton(QStringLiteral("Valider"), QMessageBox::AcceptRole);
    resume.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
    resume.setDefaultButton(valider);
    resume.exec();
    if (resume.clickedButton() != valider)
        return;

    // The cells change as under clicks, and the sheet shows them at once.
    ColorerJours(import, etat.CoulSPChoisie, etat.TableCoulSP);
    emit joursColores();
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
    m_ouverte = false;
    emit fermee();
}
