// Painting the sheet from the colour scheme and the special text colours.
#include <QCheckBox>

#include "app/ui/Ardemo.h"
#include "commun/ui/BoiteImage.h"
#include "commun/ui/Couleur.h"
#include "app/ui/VueFeuille.h"
#include "special/ui/VornCoulSP.h"

void Ardemo::Coloration()
{
    const SchemaCouleurs& c = m_doc.Couleurs;
    Pict1->setFond(VersQColor(c.CoulBordure));
    FondWidget(chkFerie, VersQColor(c.CoulFerie));
    FondWidget(chkWeek, VersQColor(c.CoulWeekEnd));
    AppliquerSchema(m_feuille, c, m_doc.Speciales.etat.table.v);
    CalBase->update();
}

// Every cell's number in its special colour, the first cell of each block
// included (it shows the special colour a file or an import gave it).
void Ardemo::Coloriage()
{
    CalBase->setFocus(Qt::OtherFocusReason);
    AppliquerTable(m_feuille, m_doc.Speciales.etat.table.v);
    CalBase->update();
}

void Ardemo::BtnJour_Click(int mois, int index)
{
    if (m_modeCoulSP && m_doc.Speciales.clics)
        Recolore(mois, index);
}

// A click toggles the day between the colour in use and the normal colour,
// one step of the undo stack.
void Ardemo::Recolore(int mois, int index)
{
    const CaseFeuille& cellule = m_feuille.bloc(mois).cases[static_cast<size_t>(index)];
    const QColor avant = VersQColor(cellule.texte);
    if (vornCoulSP)
        vornCoulSP->MontrerAncienneCouleur(avant);
    const CouleursSpeciales& sp = m_doc.Speciales;
    const double nouvelle =
        CouleurEntiere(DeQColor(avant)) != CouleurEntiere(sp.choisie) ? sp.choisie : sp.normale;
    // The table keeps the colour as the cell shows it (24 bits).
    const QString jour = QString::fromStdString(NomAccessible(cellule)).section(QLatin1Char(','), 0, 0);
    ModifierCouleurs(QStringLiteral("couleur du %1").arg(jour),
                     AvecCouleur(m_doc.EtatCouleurs(), {{mois, index}}, DeQColor(VersQColor(nouvelle))));
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
