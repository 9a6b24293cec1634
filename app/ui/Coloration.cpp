// Painting the sheet from the colour scheme and the special text colours.
#include <QCheckBox>
#include <QToolTip>

#include "app/ui/Ardemo.h"
#include "commun/ui/BoiteImage.h"
#include "commun/ui/Couleur.h"
#include "app/ui/VueFeuille.h"
#include "special/CouleursSpeciales.h"
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
    else if (m_modeCoulSP)
        SansCouleurChoisie(CalBase->rectCase({mois, index}));
}

// A click that would change nothing says why, beside the day (no message box).
void Ardemo::SansCouleurChoisie(const QRect& jour)
{
    CalBase->montrerAide(QStringLiteral("Aucune couleur choisie : cliquez d'abord sur « Choisir la couleur des "
                                        "chiffres » dans la fenêtre « Couleurs spéciales »."),
                         jour);
}

// A run of days (a drag, Shift+click, Shift+arrows then Space) takes the colour
// in use, every day of it, in one step of the undo stack.
void Ardemo::ColorierSuite(const Date& debut, const Date& fin)
{
    if (!m_modeCoulSP)
        return;
    const CouleursSpeciales& sp = m_doc.Speciales;
    const std::optional<PositionCase> ici = CaseDuJour(m_feuille, fin);
    if (!sp.clics || CouleurEntiere(sp.choisie) == CouleurEntiere(sp.normale)) {
        SansCouleurChoisie(ici ? CalBase->rectCase(*ici) : QRect());
        return;
    }
    const ImportIcs suite = SuiteDeJours(m_doc.PeriodeChoisie(), debut, fin);
    ModifierCouleurs(QStringLiteral("couleur de %1 jours").arg(suite.nombreJours),
                     m_doc.Importer(suite, DeQColor(VersQColor(sp.choisie))));
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
    if (CouleurEntiere(nouvelle) == CouleurEntiere(DeQColor(avant))) {
        SansCouleurChoisie(CalBase->rectCase({mois, index}));
        return;
    }
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
