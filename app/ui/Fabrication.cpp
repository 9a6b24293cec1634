// The build: month filling, then the image drawn from the sheet.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPointer>

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

// A new calendar starts without special colours: colours that would be lost
// are offered to be saved first, and clearing them is a step of the undo stack.
void Ardemo::Fabriquer_Click()
{
    if (apercuOuvert())
        FermerApercu();
    if (!ProposerEnregistrer())
        return;
    EtatCouleursSP vide = m_doc.EtatCouleurs();
    vide.table = {};
    if (!(vide == m_doc.EtatCouleurs()))
        ModifierCouleurs(QStringLiteral("Fabriquer le Calendrier"), vide);
    Fabrication();
}

// The months are filled at once; the image is made once the build's pause of
// a second is over, without holding up the window (the commands that could
// start another build or use the image stay disabled meanwhile). A build
// started during the pause of another takes its place.
void Ardemo::Fabrication()
{
    if (m_modeCoulSP)
        return;
    FRouge();
    CurseurSablier();
    if (apercuOuvert())
        FermerApercu();
    Coloriage();
    for (int m = 1; m <= 12; ++m)
        CalculDate(m);
    const int numero = ++m_fabrication;
    m_horloge.Attendre(1, [fenetre = QPointer<Ardemo>(this), numero] {
        if (fenetre)
            fenetre->finFabrication(numero);
    });
}

void Ardemo::finFabrication(int numero)
{
    if (numero != m_fabrication)
        return;
    Copier();
    Coller();
    CurseurNormal();
    FVert();
    m_calendrierFait = true;
    // What waited for the build, in its order (an action may start another build).
    std::vector<std::function<void()>> actions;
    actions.swap(m_quandPret);
    for (auto& action : actions) {
        if (m_occupe)
            m_quandPret.push_back(std::move(action));
        else
            action();
    }
}

void Ardemo::quandPret(std::function<void()> action)
{
    if (m_occupe || PremierAffichage)
        m_quandPret.push_back(std::move(action));
    else
        action();
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
    m_occupe = true;
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
    m_occupe = false;
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

void Ardemo::CalculDate(int mois)
{
    m_doc.WeekEnd = chkWeek->checkState() == Qt::Checked;
    m_doc.Feries = chkFerie->checkState() != Qt::Unchecked;
    const ReglagesFeuille reglages = m_doc.Parametres();
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
}

void Ardemo::cocherJours(bool weekEnd, bool feries)
{
    chkWeek->setChecked(weekEnd);
    chkFerie->setChecked(feries);
    Coloration();
}
