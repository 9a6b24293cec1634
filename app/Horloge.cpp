#include "app/Horloge.h"

#include "commun/Nombres.h"

void AttenteMinutee(Horloge& horloge, int secondes)
{
    constexpr double Jour = 86400.0;
    double precedent = horloge.SecondesDepuisMinuit();
    const double debut = ArrondiPair(precedent);
    const double fin = debut + secondes;
    double decalage = 0; // a day added each time the clock goes back past midnight
    for (;;) {
        double t = horloge.SecondesDepuisMinuit();
        if (t < precedent - Jour / 2)
            decalage += Jour;
        precedent = t;
        if (t + decalage >= fin)
            break;
        horloge.LaisserPasserEvenements();
    }
}
