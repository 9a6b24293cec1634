#include "colour/mdlVorn.h"

void mdlVorn::EffacerCouleursSpeciales()
{
    for (auto& mois : TableCoulSP)
        for (double& c : mois)
            c = 0;
}
