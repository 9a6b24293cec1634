// Painting the sheet from the colour scheme and the special text colours.
#include <QCheckBox>

#include "app/ui/Ardemo.h"
#include "commun/ui/BoiteImage.h"
#include "commun/ui/Couleur.h"
#include "app/ui/VueFeuille.h"
#include "special/ui/VornCoulSP.h"

void Ardemo::Coloration()
{
    const SchemaCouleurs& c = m_etat.Couleurs;
    Pict1->setFond(VersQColor(c.CoulBordure));
    FondWidget(chkFerie, VersQColor(c.CoulFerie));
    FondWidget(chkWeek, VersQColor(c.CoulWeekEnd));
    AppliquerSchema(m_feuille, c, m_etat.TableCoulSP);
    CalBase->update();
}

// Every cell's number in its special colour, the first cell of each block
// included (it shows the special colour a file or an import gave it).
void Ardemo::Coloriage()
{
    CalBase->setFocus(Qt::OtherFocusReason);
    AppliquerTable(m_feuille, m_etat.TableCoulSP);
    CalBase->update();
}

void Ardemo::BtnJour_Click(int mois, int index)
{
    if (m_etat.ModeCoulSP)
        Recolore(mois, index);
}

void Ardemo::Recolore(int mois, int index)
{
    CaseFeuille& cellule = m_feuille.bloc(mois).cases[static_cast<size_t>(index)];
    const QColor avant = VersQColor(cellule.texte);
    if (vornCoulSP)
        vornCoulSP->MontrerAncienneCouleur(avant);
    const double nouvelle = CouleurEntiere(DeQColor(avant)) != CouleurEntiere(m_etat.CoulSPChoisie)
                                ? m_etat.CoulSPChoisie
                                : m_etat.CoulTexteNormal;
    // The table keeps the colour as the cell shows it (24 bits).
    cellule.texte = DeQColor(VersQColor(nouvelle));
    m_etat.TableCoulSP[mois][index] = cellule.texte;
    CalBase->update();
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
