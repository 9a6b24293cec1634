#include "app/ui/Sorties.h"

ReglagesSortie SortieDuDocument(const Document& d)
{
    ReglagesSortie s;
    s.LargeurTwips = d.LargeurTwips;
    s.HauteurTwips = d.HauteurTwips;
    s.zone = d.Zone;
    s.CoulGrille = d.Couleurs.CoulGrille;
    return s;
}

CalendrierAEcrire CalendrierDuDocument(const Document& d, const QImage& image, const ModeleFeuille* feuille,
                                       const QColor& fondSelection)
{
    return CalendrierAvec(SortieDuDocument(d), image, feuille, fondSelection, QString::fromStdString(d.Titre()));
}
