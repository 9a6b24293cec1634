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
    m_etat.ModeCoulSP = Faux;
    Montrer(Affichage::Commandes);
}

void Ardemo::ChoisirAnnee(const QString& an) { cAn->setEditText(an); }
void Ardemo::ecrireLargeur(const QString& mm) { Largeur->setText(mm); }

// The zone validated: the height follows the width through the zone's
// proportion. A width whose height would not fit is lowered to the largest that
// fits (its own change handling then sets both sizes); an out-of-range width is
// left to its box. Then the image again, and the commands.
void Ardemo::ZoneValidee()
{
    mdlVorn& v = m_etat;
    const std::string largeur = Largeur->text().toStdString();
    const ChangementLargeur c = CalculLargeur(largeur, true, v.RatioZone);
    if (!v.ZoneChoisie) {
        // Nothing drawn: the sizes stay as they are.
    } else if (c.valide) {
        Hauteur->setText(QString::number(c.hauteur));
        v.LargeurTwips = c.largeurTwips;
        v.HauteurTwips = c.hauteurTwips;
    } else if (LargeurValide(ValeurTaille(largeur))) {
        int w = static_cast<int>(ValeurTaille(largeur));
        while (w > LargeurMin && !HauteurZone(w, v.RatioZone))
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
    mdlVorn& v = m_etat;
    Hauteur->setEnabled(true);
    Hauteur->setText(QString::number(HauteurPourLargeur(ValeurTaille(Largeur->text().toStdString()))));
    v.LargeurTwips = MmVersTwips(ValeurTaille(Largeur->text().toStdString()));
    v.HauteurTwips = MmVersTwips(ValeurTaille(Hauteur->text().toStdString()));
    Montrer(Affichage::Commandes);
}

CalendrierAEcrire Ardemo::calendrier()
{
    return CalendrierDeFenetre(m_etat, ImageDeBoite(*Pict1), &m_feuille, PictSel->fond());
}

// The colour dialog answers; this window keeps, writes, recolours and rebuilds.
void Ardemo::Couleurs_Click()
{
    ArdemoCoul dialogue(this, m_etat.Couleurs, m_etat.RegionFeries);
    if (dialogue.exec() != QDialog::Accepted)
        return;
    m_etat.Couleurs = dialogue.couleurs();
    EcrireCouleurs(m_etat.FichierIni, m_etat.Couleurs);
    // The region is written only when it changes: a file that never had one
    // keeps exactly its former content.
    if (dialogue.region() != m_etat.RegionFeries) {
        m_etat.RegionFeries = dialogue.region();
        EcrireRegion(m_etat.FichierIni, m_etat.RegionFeries);
    }
    BulleFeries();
    update();
    Coloration();
    if (m_etat.CalendrierFait)
        Fabrication();
}

void Ardemo::CalScolaire_Click()
{
    // The always-on-top preview would cover this modal window.
    if (etat().ApercuOuvert)
        FermerApercu();
    VornScolaire fenetre(this);
    switch (fenetre.exec()) {
    case VornScolaire::CouleursSpeciales:
        CoulSpéciale_Click();
        break;
    case VornScolaire::AnneeScolaireDemandee: {
        // The school year of today, built as by "Fabriquer le Calendrier".
        const std::string an = TextePeriode(AnneeScolaireDu(m_horloge.Aujourdhui()));
        m_etat.AnChoisi = an;
        cAn->setEditText(QString::fromStdString(an));
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
        vornCoulSP = new VornCoulSP(this, m_etat, dossierDocuments(), [this] { return m_horloge.Aujourdhui(); });
        connect(vornCoulSP, &VornCoulSP::couleursChargees, this, [this] { Coloriage(); });
        connect(vornCoulSP, &VornCoulSP::joursColores, this, [this] {
            AppliquerTable(m_feuille, m_etat.TableCoulSP);
            CalBase->update();
        });
        connect(vornCoulSP, &VornCoulSP::anneeDemandee, this, [this](const QString& an) {
            ChoisirAnnee(an);
            Fabrication();
        });
        connect(vornCoulSP, &VornCoulSP::fermee, this, [this] { QuitterModeSpecial(); });
    }
    vornCoulSP->Ouvrir();
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
    // Not in the middle of a build (its waits let events run): when it is over.
    if (occupe()) {
        QTimer::singleShot(100, this, [this, chemin, couleur] { ouvrirFichier(chemin, couleur); });
        return;
    }
    if (PremierAffichage)
        Form_Activate();
    // A zone selection in progress is left as it stands, as by its close box.
    if (vornSelect && vornSelect->isVisible())
        vornSelect->close();
    CoulSpéciale_Click();
    if (type == FichierAOuvrir::Cal)
        vornCoulSP->OuvrirFichierCal(chemin);
    else {
        if (couleur) // the command line's colour: no picker
            m_etat.CoulSPChoisie = *couleur;
        vornCoulSP->ImporterFichierIcs(chemin, !couleur);
    }
    // The keyboard on that window, which the build of another year may have
    // let the main window take.
    if (vornCoulSP->isVisible())
        vornCoulSP->Ouvrir();
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
    if (etat().ApercuOuvert)
        FermerApercu();
    if (!vornSelect) {
        vornSelect = new VornSelect(this, *Pict1, m_etat);
        connect(vornSelect, &VornSelect::zoneTracee, this, [this] { Hauteur->setEnabled(false); });
        connect(vornSelect, &VornSelect::selectionFermee, this,
                [this](bool validee) { validee ? ZoneValidee() : ZoneAnnulee(); });
    }
    // The image alone, uncovered, under the selection's window.
    Coller();
    Montrer(Affichage::Image);
    vornSelect->Form_Load();
}

void Ardemo::Apercu_Click()
{
    if (m_etat.ApercuOuvert)
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
    m_etat.ApercuOuvert = Faux;
}

// Opens the preview, or opens it again on the present image and sizes. Not
// before the main window is on the screen (the width read from the settings at
// start-up changes the size boxes before that).
void Ardemo::MontrerApercu()
{
    if (apercuForm || m_etat.ApercuOuvert)
        FermerApercu();
    if (!isVisible())
        return;
    mdlVorn& v = m_etat;
    const bool zone = v.ZoneChoisie;
    // The height from the width: the height box gets it without echoing back
    // into the width box; a refused width (red) leaves the height box alone.
    if (!m_largeurRouge) {
        const double mm = HauteurBoiteApercu(ValeurTexte(Largeur->text().toStdString()), zone, v.RatioZone);
        ecrireTaille(Hauteur, VersEntier32(mm), HauteurParProgramme);
    }
    v.HauteurTwips = HauteurTwipsApercu(v.LargeurTwips, zone, v.RatioZone);

    apercuForm = new ApercuForm(this, ImageDeBoite(*Pict1), Pict1->x(), m_etat);
    connect(apercuForm, &ApercuForm::ferme, this, [this, a = apercuForm] {
        if (apercuForm == a)
            apercuForm = nullptr;
        m_etat.ApercuOuvert = Faux;
    });
    // Opened by a size being typed (or Enter in the width box), the preview
    // leaves the keyboard in the box.
    const QWidget* focus = isActiveWindow() ? focusWidget() : nullptr;
    apercuForm->setAttribute(Qt::WA_ShowWithoutActivating, focus == Largeur || focus == Hauteur);
    apercuForm->show();
    v.ApercuOuvert = Vrai;
}

// Saving: whatever happens in the dialog or on the disk, the ready state comes back.
void Ardemo::SauveFichier_Click()
{
    FRouge();
    QString chemin;
    {
        DialogueSauverImage dialogue(this, dossierImages(), QString::fromStdString(etat().AnChoisi));
        chemin = dialogue.demander();
    }
    // The type follows the name's extension; PDF and SVG take the validated
    // zone, like the print.
    if (!chemin.isEmpty() && !EcrireCalendrier(chemin, FormatDuNom(chemin.toStdString()), calendrier()))
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
    mdlVorn& v = m_etat;
    // What is printed: the whole image, or the zone copied unscaled with its
    // outline (kept in PictSel).
    const PlanImpression plan = PlanChoisi(v, PictSel->fond());
    QImage image;
    QSizeF tailleTwips;
    if (v.ZoneChoisie) {
        image = ImagePlan(Pict1->image(), plan);
        PictSel->resize(plan.taille);
        PictSel->setImage(image);
        tailleTwips = QSizeF(plan.taille.width() * TwipsParPixel, plan.taille.height() * TwipsParPixel);
    } else {
        image = Pict1->image();
        tailleTwips = QSizeF(Pict1->width() * TwipsParPixel, Pict1->height() * TwipsParPixel);
    }
    if (v.ApercuOuvert)
        FermerApercu();

    VornPrint dialogue(this, image, tailleTwips, v.LargeurTwips, v.HauteurTwips,
                       [&v] { return QString::fromStdString(LireQualite(v.FichierIni)); });
    connect(&dialogue, &VornPrint::qualiteChoisie, this,
            [&v](const QString& code) { EcrireQualite(v.FichierIni, code.toStdString()); });
    dialogue.exec();
    if (!dialogue.ImpressionValidee || !dialogue.imprimante() || image.isNull())
        return; // no printer chosen, or no calendar image: nothing to print
    // The sheet itself is drawn into the page, at the printer's resolution,
    // laid out exactly as the image.
    QPrinter& imprimante = *dialogue.imprimante();
    const bool envoye = ImprimerPage(
        imprimante, [&](QPainter& p, const QRectF& cible) { DessinerNet(p, cible, m_feuille, plan); }, dialogue.mp,
        dialogue.page, v.LargeurTwips, v.HauteurTwips);
    // The user must not believe the page is on its way.
    if (!envoye || imprimante.printerState() == QPrinter::Error)
        QMessageBox::warning(this, QStringLiteral("Imprimer"),
                             QStringLiteral("L'impression n'a pas pu être envoyée à « %1 ».\nVérifiez que "
                                            "l'imprimante est en service, puis recommencez.")
                                 .arg(dialogue.nomImprimante()));
}
