// The main window's side of the other windows: the buttons that open them,
// the modes they put it in and what they may ask of it.
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QTimer>
#include <QUrl>

#include "app/Reglages.h"
#include "app/Saisies.h"
#include "app/ui/Sorties.h"
#include "commun/Nombres.h"
#include "commun/Twips.h"
#include "app/Horloge.h"
#include "app/ui/Ardemo.h"
#include "commun/RaisonSysteme.h"
#include "calendar/Periode.h"
#include "commun/ui/BoiteImage.h"
#include "commun/ui/Controles.h"
#include "commun/ui/Couleur.h"
#include "commun/ui/Curseur.h"
#include "app/ui/VueFeuille.h"
#include "colour/ui/ArdemoCoul.h"
#include "output/Apercu.h"
#include "output/ui/ApercuForm.h"
#include "output/ui/DialogueMiseEnPage.h"
#include "output/ui/FichierSortie.h"
#include "output/ui/ImageFichier.h"
#include "output/ui/ImpressionNette.h"
#include "output/ui/ImpressionPage.h"
#include "output/ui/VornPrint.h"
#include "special/FichierCal.h"
#include "special/ui/VornCoulSP.h"
#include "special/ui/VornScolaire.h"
#include "special/ui/VornSelect.h"

void Ardemo::Montrer(Affichage affichage)
{
    // The command that had the keyboard gets it back with the panel (hiding
    // the panel hands it on to the sheet).
    QWidget* focus = focusWidget();
    if (affichage != Affichage::Commandes && FondCdes->isVisible())
        m_focusPanneau = focus && FondCdes->isAncestorOf(focus) ? focus : nullptr;
    FondCdes->setVisible(affichage == Affichage::Commandes);
    if (affichage == Affichage::Commandes && m_focusPanneau) {
        if (m_focusPanneau->isEnabled() && (!focusWidget() || focusWidget() == CalBase))
            m_focusPanneau->setFocus();
        m_focusPanneau = nullptr;
    }
    CalBase->setVisible(affichage != Affichage::Image);
    CalType->setText(affichage == Affichage::Image ? QStringLiteral("Image du Calendrier")
                                                   : QStringLiteral("Calendrier réel"));
}


void Ardemo::QuitterModeSpecial()
{
    // The image is drawn again from the sheet, so that it shows the special colours.
    CurseurSablier();
    Copier();
    Coller();
    CurseurNormal();
    m_modeCoulSP = false;
    Montrer(Affichage::Commandes);
}

void Ardemo::ChoisirAnnee(const QString& an)
{
    cAn->setEditText(an);
    m_doc.AnChoisi = an.toStdString();
}
void Ardemo::ecrireLargeur(const QString& mm) { Largeur->setText(mm); }

// The zone validated: the height follows the width through the zone's
// proportion. A width whose height would not fit is lowered to the largest that
// fits (its own change handling then sets both sizes); an out-of-range width is
// left to its box. Then the image again, and the commands.
void Ardemo::ZoneValidee(const ZoneMois& zone)
{
    Document& d = m_doc;
    d.Zone = zone;
    Hauteur->setEnabled(false);
    const std::string largeur = Largeur->text().toStdString();
    const ChangementLargeur c = CalculLargeur(largeur, true, zone.RatioZone);
    if (c.valide) {
        Hauteur->setText(QString::number(c.hauteur));
        d.LargeurTwips = c.largeurTwips;
        d.HauteurTwips = c.hauteurTwips;
    } else if (LargeurValide(ValeurTaille(largeur))) {
        int w = static_cast<int>(ValeurTaille(largeur));
        while (w > LargeurMin && !HauteurZone(w, zone.RatioZone))
            --w;
        Largeur->setText(QString::number(w));
    }
    Coller();
    Montrer(Affichage::Commandes);
}

// The zone cancelled: back to the sheet's proportion, through the height box's
// own change handling (it writes back the same width and shows the preview again).
void Ardemo::ZoneAnnulee()
{
    Document& v = m_doc;
    v.Zone.reset();
    Hauteur->setEnabled(true);
    Hauteur->setText(QString::number(HauteurPourLargeur(ValeurTaille(Largeur->text().toStdString()))));
    v.LargeurTwips = MmVersTwips(ValeurTaille(Largeur->text().toStdString()));
    v.HauteurTwips = MmVersTwips(ValeurTaille(Hauteur->text().toStdString()));
    Montrer(Affichage::Commandes);
}

CalendrierAEcrire Ardemo::calendrier()
{
    return CalendrierDuDocument(m_doc, ImageDeBoite(*Pict1), &m_feuille, PictSel->fond());
}

std::optional<PlanPage> Ardemo::planPage() const
{
    if (!m_doc.Page)
        return std::nullopt;
    return MettreEnPageFeuille(m_feuille, *m_doc.Page, m_doc.Speciales.etat.etiquettes);
}

void Ardemo::MiseEnPage_Click(QWidget* parent)
{
    const auto choix = DialogueMiseEnPage::ChoisirOuImage(parent, m_feuille, m_doc.Speciales.etat.etiquettes,
                                                         m_doc.Page.value_or(OptionsPage{}));
    if (!choix)
        return;
    m_doc.Page = *choix;
    m_doc.EnregistrerChoix();
}

// The colour dialog answers; this window keeps, writes, recolours and rebuilds.
void Ardemo::Couleurs_Click()
{
    ArdemoCoul dialogue(this, m_doc.Couleurs, m_doc.RegionFeries);
    if (dialogue.exec() != QDialog::Accepted)
        return;
    m_doc.Couleurs = dialogue.couleurs();
    m_doc.RegionFeries = dialogue.region();
    m_doc.EnregistrerCouleurs();
    BulleFeries();
    update();
    Coloration();
    if (m_calendrierFait)
        Fabrication();
}

void Ardemo::CalScolaire_Click()
{
    // The always-on-top preview would cover this modal window.
    if (apercuOuvert())
        FermerApercu();
    VornScolaire fenetre(this);
    switch (fenetre.exec()) {
    case VornScolaire::CouleursSpeciales:
        CoulSpéciale_Click();
        break;
    case VornScolaire::AnneeScolaireDemandee: {
        // The school year of today, built as by "Fabriquer le Calendrier".
        ChoisirAnnee(QString::fromStdString(TextePeriode(AnneeScolaireDu(m_horloge.Aujourdhui()))));
        Fabriquer_Click();
        break;
    }
    default:
        break;
    }
}

void Ardemo::CoulSpéciale_Click()
{
    Montrer(Affichage::Feuille);
    if (!vornCoulSP) {
        vornCoulSP = new VornCoulSP(this, m_doc.Speciales, *m_pile);
        connect(vornCoulSP, &VornCoulSP::couleurChoisie, this, [this](double couleur, bool clics) {
            m_doc.Speciales.choisie = couleur;
            if (clics)
                m_doc.Speciales.clics = true;
        });
        connect(vornCoulSP, &VornCoulSP::reinitialisation, this, [this] { ReinitialiserCouleursSP(); });
        connect(vornCoulSP, &VornCoulSP::etiquetteModifiee, this, [this](double couleur, const QString& nom) {
            ModifierCouleurs(QStringLiteral("nom de la couleur"),
                             AvecEtiquette(m_doc.EtatCouleurs(), couleur, nom.toStdString()));
        });
        connect(vornCoulSP, &VornCoulSP::sauvegardeDemandee, this, [this] { SauverCouleursSP(); });
        connect(vornCoulSP, &VornCoulSP::ouvertureDemandee, this, [this] { OuvrirCouleursSP(); });
        connect(vornCoulSP, &VornCoulSP::importDemande, this, [this] { ImporterIcsDemande(); });
        connect(vornCoulSP, &VornCoulSP::fermee, this, [this] { QuitterModeSpecial(); });
    }
    if (!m_modeCoulSP) {
        // Each opening: a second click gives the days back black; clicks are on.
        m_doc.Speciales.normale = 0;
        m_doc.Speciales.clics = true;
        m_modeCoulSP = true;
    }
    vornCoulSP->Ouvrir(m_doc.Couleurs.CoulJours);
}

namespace {
// The files of a drop that the window opens (.Cal and .ics, in any case), in their order.
QStringList FichiersOuvrables(const QMimeData* donnees)
{
    QStringList fichiers;
    for (const QUrl& url : donnees ? donnees->urls() : QList<QUrl>()) {
        if (url.isLocalFile() && TypeAOuvrir(url.toLocalFile().toStdString()) != FichierAOuvrir::Aucun)
            fichiers << url.toLocalFile();
    }
    return fichiers;
}
} // namespace

bool Ardemo::occupe() const { return !FeuRouge->isHidden(); }

void Ardemo::ouvrirFichier(const QString& chemin, std::optional<double> couleur)
{
    const FichierAOuvrir type = TypeAOuvrir(chemin.toStdString());
    if (type == FichierAOuvrir::Aucun) {
        QMessageBox::warning(this, QStringLiteral("Ouvrir un fichier"),
                             QStringLiteral("« %1 » n'est ni un fichier de couleurs spéciales (.Cal) ni un calendrier "
                                            "(.ics).")
                                 .arg(QDir::toNativeSeparators(chemin)));
        return;
    }
    // Not in the middle of a build: when it is over.
    if (PremierAffichage)
        Form_Activate();
    if (occupe()) {
        quandPret([this, chemin, couleur] { ouvrirFichier(chemin, couleur); });
        return;
    }
    // A zone selection in progress is left as it stands, as by its close box.
    if (vornSelect && vornSelect->isVisible())
        vornSelect->close();
    CoulSpéciale_Click();
    if (type == FichierAOuvrir::Cal) {
        if (ProposerEnregistrer())
            OuvrirFichierCal(chemin);
    } else {
        if (couleur) // the command line's colour: no picker
            m_doc.Speciales.choisie = *couleur;
        ImporterIcs(chemin, !couleur);
    }
    // The keyboard on that window, which the build of another year may have
    // let the main window take.
    if (vornCoulSP->isVisible())
        vornCoulSP->Ouvrir(m_doc.Couleurs.CoulJours);
}

void Ardemo::dragEnterEvent(QDragEnterEvent* e)
{
    if (!occupe() && !FichiersOuvrables(e->mimeData()).isEmpty())
        e->acceptProposedAction();
}

void Ardemo::dropEvent(QDropEvent* e)
{
    const QStringList fichiers = FichiersOuvrables(e->mimeData());
    if (fichiers.isEmpty() || occupe())
        return;
    e->acceptProposedAction();
    // Opened once the drop is over: the program that dragged them does not
    // wait for the questions the opening may ask.
    QTimer::singleShot(0, this, [this, fichiers] {
        for (const QString& f : fichiers)
            ouvrirFichier(f);
    });
}

void Ardemo::Sélection_Click()
{
    if (apercuOuvert())
        FermerApercu();
    if (!vornSelect) {
        vornSelect = new VornSelect(this, *Pict1, LargMois, HautMois);
        connect(vornSelect, &VornSelect::zoneTracee, this, [this] { Hauteur->setEnabled(false); });
        connect(vornSelect, &VornSelect::zoneValidee, this, [this](const ZoneMois& z) { ZoneValidee(z); });
        connect(vornSelect, &VornSelect::selectionAnnulee, this, [this] { ZoneAnnulee(); });
    }
    // The image alone, uncovered, under the selection's window.
    Coller();
    Montrer(Affichage::Image);
    vornSelect->Form_Load(m_doc.Zone);
}

void Ardemo::Apercu_Click()
{
    if (apercuOuvert())
        FermerApercu();
    else
        MontrerApercu();
}

void Ardemo::FermerApercu()
{
    if (ApercuForm* a = apercuForm) {
        apercuForm = nullptr;
        a->close();
    }
}

// Opens the preview, or opens it again on the present image and sizes. Not
// before the main window is on the screen (the width read from the settings at
// start-up changes the size boxes before that).
void Ardemo::MontrerApercu()
{
    if (apercuForm)
        FermerApercu();
    if (!isVisible())
        return;
    Document& v = m_doc;
    const bool zone = v.Zone.has_value();
    const double ratio = zone ? v.Zone->RatioZone : 0;
    // The height from the width: the height box gets it without echoing back
    // into the width box; a refused width (red) leaves the height box alone.
    if (!m_largeurRouge) {
        const double mm = HauteurBoiteApercu(ValeurTexte(Largeur->text().toStdString()), zone, ratio);
        ecrireTaille(Hauteur, VersEntier32(mm), HauteurParProgramme);
    }
    v.HauteurTwips = HauteurTwipsApercu(v.LargeurTwips, zone, ratio);

    apercuForm = new ApercuForm(this, ImageDeBoite(*Pict1), Pict1->x(), SortieDuDocument(v));
    connect(apercuForm, &ApercuForm::ferme, this, [this, a = apercuForm] {
        if (apercuForm == a)
            apercuForm = nullptr;
    });
    // Opened by a size being typed (or Enter in the width box), the preview
    // leaves the keyboard in the box.
    const QWidget* focus = isActiveWindow() ? focusWidget() : nullptr;
    apercuForm->setAttribute(Qt::WA_ShowWithoutActivating, focus == Largeur || focus == Hauteur);
    apercuForm->show();
}

// Saving: whatever happens in the dialog or on the disk, the ready state comes back.
void Ardemo::SauveFichier_Click()
{
    FRouge();
    QString chemin;
    {
        // In the folder and with the type used last.
        const QString dossier = NomFichier(m_doc.Choix.dossierImages);
        DialogueSauverImage dialogue(this,
                                     !dossier.isEmpty() && QDir(dossier).exists() ? dossier : dossierImages(),
                                     QString::fromStdString(m_doc.AnChoisi),
                                     FormatDuNom("x." + m_doc.Choix.typeImage));
        connect(&dialogue, &DialogueSauverImage::miseEnPageDemandee, this, [this, &dialogue] { MiseEnPage_Click(&dialogue); });
        chemin = dialogue.demander();
    }
    if (!chemin.isEmpty()) {
        m_doc.Choix.dossierImages = CheminFichier(QFileInfo(chemin).absolutePath()).string();
        m_doc.Choix.typeImage = ExtensionFormat(FormatDuNom(chemin.toStdString()));
        m_doc.EnregistrerChoix();
    }
    // The type follows the name's extension; PDF and SVG take the validated
    // zone, like the print.
    // With a page chosen, PDF, PNG and SVG are that page; the BMP stays the picture.
    CalendrierAEcrire ecrit = calendrier();
    if (FormatDuNom(chemin.toStdString()) != FormatSortie::Bmp)
        ecrit.page = planPage();
    if (!chemin.isEmpty() && !EcrireCalendrier(chemin, FormatDuNom(chemin.toStdString()), ecrit))
        // Nothing was written (the disk is full, the folder is read-only...):
        // the user must not believe the image is saved.
        QMessageBox::warning(this, QStringLiteral("Sauver l'image"),
                             QStringLiteral("L'image n'a pas pu être enregistrée dans « %1 » : %2.")
                                 .arg(QDir::toNativeSeparators(chemin), QString::fromStdString(RaisonSysteme(errno))));
    FVert();
}

// Copying: always the whole image, never the selected zone.
void Ardemo::SauvePPapier_Click()
{
    FRouge();
    CurseurSablier();
    CopierImagePressePapier(ImageDeBoite(*Pict1));
    CurseurNormal();
    FVert();
}

void Ardemo::Imprimer_Click()
{
    Document& v = m_doc;
    // What is printed: the whole image, or the zone copied unscaled with its
    // outline (kept in PictSel).
    const PlanImpression plan = PlanChoisi(SortieDuDocument(v), PictSel->fond());
    QImage image;
    QSizeF tailleTwips;
    if (v.Zone) {
        image = ImagePlan(Pict1->image(), plan);
        PictSel->resize(plan.taille);
        PictSel->setImage(image);
        tailleTwips = QSizeF(plan.taille.width() * TwipsParPixel, plan.taille.height() * TwipsParPixel);
    } else {
        image = Pict1->image();
        tailleTwips = QSizeF(Pict1->width() * TwipsParPixel, Pict1->height() * TwipsParPixel);
    }
    if (apercuOuvert())
        FermerApercu();

    // The place last chosen for this printer and size is offered again, and the one chosen kept.
    const int16_t L = v.LargeurTwips, T = v.HauteurTwips;
    VornPrint dialogue(
        this, image, tailleTwips, L, T, [&v] { return QString::fromStdString(v.QualiteEnregistree()); },
        [&v, L, T](const QString& nom) { return v.Reglages().LirePositionImpression(nom.toStdString(), L, T); });
    connect(&dialogue, &VornPrint::qualiteChoisie, this,
            [&v](const QString& code) { v.EnregistrerQualite(code.toStdString()); });
    connect(&dialogue, &VornPrint::miseEnPageDemandee, this, [this, &dialogue] { MiseEnPage_Click(&dialogue); });
    const std::optional<ChoixImpression> choix = dialogue.choisir();
    if (!choix || image.isNull())
        return; // no printer chosen, or no calendar image: nothing to print
    const auto dire = [this](const QString& message) { QMessageBox::warning(this, QStringLiteral("Imprimer"), message); };
    // A page chosen is printed at its paper size, the picture's place aside.
    if (const std::optional<PlanPage> page = planPage())
        return ImprimerChoixPage(this, *choix, m_feuille, *page, dire);
    v.Reglages().EcrirePositionImpression(choix->imprimante.nom.toStdString(), L, T,
                                          {choix->miseEnPage.ValeurH, choix->miseEnPage.ValeurV});
    // The sheet itself is drawn into the page, at the printer's resolution,
    // laid out exactly as the image. The user is told when the page is not on
    // its way; the calendar stays as it is, to print again.
    ImprimerChoix(
        this, *choix, [this, plan](QPainter& p, const QRectF& cible) { DessinerNet(p, cible, m_feuille, plan); }, L, T,
        dire);
}
