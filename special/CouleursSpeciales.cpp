#include "special/CouleursSpeciales.h"

bool TableSP::vide() const
{
    for (const auto& mois : v)
        for (double c : mois)
            if (c != 0)
                return false;
    return true;
}

bool CouleursSpeciales::Modifiees() const
{
    if (etat.fichier.empty())
        return !etat.table.vide();
    const auto f = contenus.find(etat.fichier);
    return f == contenus.end() || !(f->second == etat.table);
}

EtatCouleursSP AvecCouleur(EtatCouleursSP e, const std::vector<CaseSP>& cases, double couleur)
{
    for (const CaseSP& c : cases)
        if (c.mois >= 1 && c.mois <= 12 && c.cellule >= 0 && c.cellule < 42)
            e.table.v[c.mois][c.cellule] = couleur;
    return e;
}

EtatCouleursSP SansCouleurs(EtatCouleursSP e)
{
    e.table = {};
    e.fichier.clear();
    return e;
}
