#include "colour/Couleurs.h"

const char* const CleCouleur[SchemaCouleurs::Nombre] = {
    "CoulTxtEntete", "CoulNoms", "CoulJours", "CoulGris",
    "CoulF\xE9ri\xE9", "CoulWeekEnd", "Grille", "Bordure",
};

double& SchemaCouleurs::slot(int i)
{
    switch (i) {
    case 0: return CoulTxtEntete;
    case 1: return CoulNoms;
    case 2: return CoulJours;
    case 3: return CoulGris;
    case 4: return CoulFerie;
    case 5: return CoulWeekEnd;
    case 6: return CoulGrille;
    default: return CoulBordure;
    }
}

double SchemaCouleurs::slot(int i) const { return const_cast<SchemaCouleurs*>(this)->slot(i); }

std::array<double, SchemaCouleurs::Nombre> SchemaCouleurs::valeurs() const
{
    std::array<double, Nombre> v{};
    for (int i = 0; i < Nombre; ++i)
        v[i] = slot(i);
    return v;
}

void SchemaCouleurs::affecter(const std::array<double, Nombre>& v)
{
    for (int i = 0; i < Nombre; ++i)
        slot(i) = v[i];
}
