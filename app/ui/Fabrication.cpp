// The build: month filling, then the image drawn from the sheet.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include "app/Horloge.h"
#include "commun/Nombres.h"
#include "app/ui/Ardemo.h"
#include "commun/ui/BoiteImage.h"
#include "commun/ui/Couleur.h"
#include "commun/ui/Curseur.h"
#include "app/ui/VueFeuille.h"
#include "colour/ui/PeintreFeuille.h"
#include "commun/ui/Styles.h"
#include "calendar/Mois.h"
#include "calendar/Periode.h"

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

// The picture of the sheet, drawn from its model: the same whether the sheet is
// scrolled, covered or off the screen.
void Ardemo::Copier()
{
    m_rendu = ImageFeuille(m_feuille);
}

void Ardemo::Coller()
{
    Pict1->effacer();
    if (!m_rendu.isNull())
        Pict1->setImage(m_rendu);
}

ReglagesFeuille Ardemo::reglagesFeuille() const
{
    ReglagesFeuille r;
    const Periode periode = m_etat.PeriodeChoisie();
    r.annee = periode.annee;
    r.premierMois = periode.premierMois;
    r.weekEnd = chkWeek->checkState() == Qt::Checked;
    r.feries = chkFerie->checkState() != Qt::Unchecked;
    r.region = m_etat.RegionFeries;
    return r;
}

void Ardemo::CalculDate(int mois)
{
    CalculEnCours = Vrai;
    const ReglagesFeuille reglages = reglagesFeuille();
    RemplirBloc(m_feuille, mois, reglages, this);
    CalBase->update();

    // Select the year in the list when it is there; the chosen year stays. A
    // school year is in no entry, and stays in the box as typed.
    for (int i = 0; reglages.premierMois == 1 && i < cAn->count(); ++i) {
        if (ValeurTexte(cAn->itemText(i).toStdString()) == reglages.annee) {
            const QSignalBlocker bloque(cAn);
            cAn->setCurrentIndex(i);
            break;
        }
    }
    CalculEnCours = Faux;
}

void Ardemo::cocherJours(bool weekEnd, bool feries)
{
    chkWeek->setChecked(weekEnd);
    chkFerie->setChecked(feries);
    Coloration();
}
