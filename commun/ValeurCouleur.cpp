#include "commun/ValeurCouleur.h"

#include "commun/Nombres.h"

int32_t CouleurEntiere(double valeur) { return VersEntier32(valeur); }

Rvb VersRvb(double valeur)
{
    uint32_t v = static_cast<uint32_t>(CouleurEntiere(valeur));
    return Rvb{int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF)};
}
