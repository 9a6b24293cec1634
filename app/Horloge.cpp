#include "app/Horloge.h"

#include <ctime>

#include "commun/Nombres.h"

Date Horloge::Aujourdhui()
{
    const std::time_t maintenant = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&maintenant, &local))
        return Date{1, 1, 1970};
    return Date{local.tm_mday, local.tm_mon + 1, local.tm_year + 1900};
}

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
