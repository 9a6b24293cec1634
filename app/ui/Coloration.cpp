// Painting the sheet from the colour scheme and the special text colours.
#include <QCheckBox>

#include "app/ui/Ardemo.h"
#include "app/ui/BoiteImage.h"
#include "app/ui/Couleur.h"
#include "app/ui/Feuille.h"

void Ardemo::Coloration()
{
    const SchemaCouleurs& c = m_etat.Couleurs;
    Pict1->setFond(VersQColor(c.CoulBordure));
    CalBase->setFond(VersQColor(c.CoulBordure));
    FondWidget(chkFerie, VersQColor(c.CoulFerie));
    FondWidget(chkWeek, VersQColor(c.CoulWeekEnd));
    for (int m = 1; m <= 12; ++m)
        CalBase->lblDate[m]->setTexte(VersQColor(c.CoulTxtEntete));
    for (int k = 0; k <= 6; ++k)
        for (int m = 1; m <= 12; ++m)
            if (CalBase->lblJour[m][k])
                CalBase->lblJour[m][k]->setFond(VersQColor(c.CoulNoms));
    for (int k = 0; k <= 41; ++k)
        for (int m = 1; m <= 12; ++m)
            if (CaseJour* b = CalBase->BtnJour[m][k]) {
                b->setFond(VersQColor(c.CoulJours));
                b->setTexte(VersQColor(m_etat.TableCoulSP[m][k]));
            }
    CalBase->dessinerCadre(VersQColor(c.CoulGrille));
}

void Ardemo::Coloriage()
{
    CalBase->setFocus(Qt::OtherFocusReason);
    for (int m = 1; m <= 12; ++m)
        for (int k = 1; k <= 41; ++k)
            CalBase->BtnJour[m][k]->setTexte(VersQColor(m_etat.TableCoulSP[m][k]));
}

void Ardemo::ColorerCase(int mois, int cellule)
{
    CalBase->BtnJour[mois][cellule]->setTexte(VersQColor(m_etat.TableCoulSP[mois][cellule]));
}

void Ardemo::BtnJour_Click(int mois, int index)
{
    if (m_etat.ModeCoulSP)
        Recolore(mois, index);
}

void Ardemo::Recolore(int mois, int index)
{
    CaseJour* cellule = CalBase->BtnJour[mois][index];
    if (m_surRecolore)
        m_surRecolore(cellule->texte);
    const double avant = DeQColor(cellule->texte);
    const double nouvelle = CouleurEntiere(avant) != CouleurEntiere(m_etat.CoulSPChoisie) ? m_etat.CoulSPChoisie
                                                                                         : m_etat.CoulTexteNormal;
    cellule->setTexte(VersQColor(nouvelle));
    m_etat.TableCoulSP[mois][index] = DeQColor(cellule->texte);
}

void Ardemo::chkFerie_Click()
{
    Coloration();
    Fabrication();
}

void Ardemo::chkWeek_Click()
{
    Coloration();
    Fabrication();
}
