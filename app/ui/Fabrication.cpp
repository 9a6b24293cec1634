// The build: month filling, then the image drawn from the sheet.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include "app/Horloge.h"
#include "commun/Nombres.h"
#include "app/ui/Ardemo.h"
#include "app/ui/BoiteImage.h"
#include "app/ui/Couleur.h"
#include "app/ui/Curseur.h"
#include "app/ui/Feuille.h"
#include "app/ui/Styles.h"
#include "calendar/Mois.h"

void Ardemo::Fabriquer_Click()
{
    if (m_etat.ApercuOuvert)
        FermerApercu();
    m_etat.EffacerCouleursSpeciales();
    Fabrication();
}

void Ardemo::Fabrication()
{
    if (m_etat.ModeCoulSP)
        return;
    FRouge();
    CurseurSablier();
    if (m_etat.ApercuOuvert)
        FermerApercu();
    Coloriage();
    if (!CalculEnCours) {
        for (int m = 1; m <= 12; ++m)
            CalculDate(m);
        AttenteMinutee(m_horloge, 1);
    }
    Copier();
    Coller();
    CurseurNormal();
    FVert();
    m_etat.CalendrierFait = Vrai;
}

void Ardemo::FRouge()
{
    // The control that has the keyboard gets it back when the build is over:
    // the build parks the focus on the panel while the commands are disabled
    // (it would otherwise jump on to the next enabled control, the width box),
    // then on the sheet to end the edits in progress.
    QWidget* focus = focusWidget();
    m_focusAvantFabrication = focus;
    for (QWidget* w : {static_cast<QWidget*>(Fabriquer), static_cast<QWidget*>(SauveFichier),
                       static_cast<QWidget*>(SauvePPapier), static_cast<QWidget*>(Apercu),
                       static_cast<QWidget*>(Imprimer), static_cast<QWidget*>(cAn), static_cast<QWidget*>(chkFerie),
                       static_cast<QWidget*>(chkWeek), static_cast<QWidget*>(Sélection)})
        if (focus && (focus == w || w->isAncestorOf(focus)))
            FondCdes->setFocus();
    FeuVert->hide();
    FeuRouge->show();
    Fabriquer->setEnabled(false);
    SauveFichier->setEnabled(false);
    SauvePPapier->setEnabled(false);
    Apercu->setEnabled(false);
    Imprimer->setEnabled(false);
    cAn->setEnabled(false);
    chkFerie->setEnabled(false);
    chkWeek->setEnabled(false);
    Sélection->setEnabled(false);
}

void Ardemo::FVert()
{
    FeuRouge->hide();
    FeuVert->show();
    Fabriquer->setEnabled(true);
    CoulSpéciale->setEnabled(true);
    SauveFichier->setEnabled(true);
    SauvePPapier->setEnabled(true);
    Apercu->setEnabled(true);
    Imprimer->setEnabled(true);
    cAn->setEnabled(true);
    chkFerie->setEnabled(true);
    chkWeek->setEnabled(true);
    Sélection->setEnabled(true);
    if (m_focusAvantFabrication && (focusWidget() == FondCdes || focusWidget() == CalBase)
        && m_focusAvantFabrication != CalBase && m_focusAvantFabrication->isEnabled())
        m_focusAvantFabrication->setFocus();
    m_focusAvantFabrication = nullptr;
}

// The picture of the sheet, drawn directly: the same whether the sheet is
// scrolled, covered or off the screen.
void Ardemo::Copier()
{
    m_rendu = CalBase->rendre(Pict1->tailleInterieure());
}

void Ardemo::Coller()
{
    Pict1->effacer();
    if (!m_rendu.isNull())
        Pict1->setImage(m_rendu);
}

void Ardemo::CalculDate(int mois)
{
    CalculEnCours = Vrai;
    const int annee = static_cast<int>(ValeurTexte(m_etat.AnChoisi));

    BlocMois bloc = RemplirMois(annee, mois);
    AffichageFeries affichage;
    affichage.weekEnd = chkWeek->checkState() == Qt::Checked;
    affichage.feries = chkFerie->checkState() != Qt::Unchecked;
    affichage.region = m_etat.RegionFeries;
    CouleurFerie(bloc, affichage, this);

    const SchemaCouleurs& c = m_etat.Couleurs;
    for (int k = 0; k < 42; ++k) {
        const CelluleJour& cellule = bloc.cellules[k];
        CaseJour* b = CalBase->BtnJour[mois][k];
        b->legende = QString::number(cellule.legende);
        b->Tag = cellule.Tag;
        b->gras = cellule.gras;
        double fond = c.CoulJours;
        switch (cellule.fond) {
        case Fond::Jours: fond = c.CoulJours; break;
        case Fond::Gris: fond = c.CoulGris; break;
        case Fond::WeekEnd: fond = c.CoulWeekEnd; break;
        case Fond::Ferie: fond = c.CoulFerie; break;
        }
        b->fond = VersQColor(fond);
        b->setToolTip(QString::fromStdString(cellule.infoBulle));
        // Its full date, and what the tooltip says.
        QString nom = QString::fromStdString(DateEnLettres({cellule.legende, mois + cellule.Tag, annee}));
        if (!QString::fromStdString(cellule.infoBulle).trimmed().isEmpty())
            nom += QStringLiteral(", ") + QString::fromStdString(cellule.infoBulle).trimmed();
        b->setAccessibleName(nom);
        b->update();
    }

    // Select the year in the list when it is there; the chosen year stays.
    for (int i = 0; i < cAn->count(); ++i) {
        if (ValeurTexte(cAn->itemText(i).toStdString()) == annee) {
            const QSignalBlocker bloque(cAn);
            cAn->setCurrentIndex(i);
            break;
        }
    }
    CalBase->lblDate[mois]->setLegende(QString::fromStdString(bloc.titre));
    CalculEnCours = Faux;
}

void Ardemo::cocherJours(bool weekEnd, bool feries)
{
    chkWeek->setChecked(weekEnd);
    chkFerie->setChecked(feries);
    Coloration();
}

void Ardemo::construireSansAttente(bool image)
{
    Coloriage();
    for (int mois = 1; mois <= 12; ++mois)
        CalculDate(mois);
    if (image) {
        Copier();
        Coller();
    }
}
