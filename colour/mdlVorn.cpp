#include "colour/mdlVorn.h"

#include "commun/Nombres.h"

void mdlVorn::EffacerCouleursSpeciales()
{
    for (auto& mois : TableCoulSP)
        for (double& c : mois)
            c = 0;
}

Periode mdlVorn::PeriodeChoisie() const
{
    return PeriodeDeTexte(AnChoisi).value_or(Periode{static_cast<int>(ValeurTexte(AnChoisi)), 1});
}
