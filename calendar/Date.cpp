#include "calendar/Date.h"

#include "commun/Nombres.h"

namespace {

// Days from 1 March of year 0 to 1 January 1970.
constexpr int64_t DecalageEpoque = 719468;

// Beyond this many days either way, the year no longer fits in an int.
constexpr int64_t JoursLimite = int64_t(1) << 39;

// Days since the epoch of day `jour` of month `mois` (1..12) of `annee`.
int64_t JoursNormalises(int64_t annee, int mois, int64_t jour)
{
    // Years counted from March, so that the leap day ends the year.
    const int64_t a = annee - (mois <= 2 ? 1 : 0);
    const int64_t ere = DivBas(a, 400);
    const int64_t anDansEre = a - ere * 400;                      // 0..399
    const int mp = (mois + 9) % 12;                               // March = 0
    const int64_t jourDansAn = (153 * mp + 2) / 5;                // first day of the month
    const int64_t jourDansEre = anDansEre * 365 + anDansEre / 4 - anDansEre / 100 + jourDansAn;
    return ere * 146097 + jourDansEre - DecalageEpoque + (jour - 1);
}

bool Bissextile(int64_t a)
{
    return ModBas(a, 4) == 0 && (ModBas(a, 100) != 0 || ModBas(a, 400) == 0);
}

// Days before the first of each month in a common year.
constexpr int JoursAvantMois[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// Week count of a valid date (`jours` its day number): Monday first, week 1
// being the first week with at least four days in the year. Days before week 1
// take the previous year's last week; late December keeps counting on (53
// where the week is in fact the next year's week 1).
int SemaineComptee(const Date& d, int64_t jours)
{
    // With r the day of the year (1 for 1 January) and j its weekday, the
    // week's Monday is day r - j + 1. Week 1 starts on the Monday on or before
    // 4 January, day -2 to 4, so the count is (r - j + 10) / 7, and 0 for the
    // days before week 1.
    int r = JoursAvantMois[d.mois - 1] + d.jour + (d.mois > 2 && Bissextile(d.annee) ? 1 : 0);
    const int j = JourDeLaSemaineJours(jours);
    if (r - j + 10 < 7)
        r += Bissextile(int64_t(d.annee) - 1) ? 366 : 365; // counted in the previous year
    return (r - j + 10) / 7;
}

bool EstValide(const Date& d)
{
    return d.mois >= 1 && d.mois <= 12 && d.jour >= 1 && d.jour <= JoursDansMois(d.annee, d.mois);
}

} // namespace

int64_t JoursDepuisEpoque(const Date& d)
{
    if (d.mois >= 1 && d.mois <= 12)
        return JoursNormalises(d.annee, d.mois, d.jour);
    const int64_t m0 = int64_t(d.mois) - 1;
    const int64_t annee = int64_t(d.annee) + DivBas(m0, 12);
    const int mois = int(ModBas(m0, 12)) + 1;
    return JoursNormalises(annee, mois, d.jour);
}

Date DateDeJours(int64_t jours)
{
    if (jours > JoursLimite)
        jours = JoursLimite;
    if (jours < -JoursLimite)
        jours = -JoursLimite;
    const int64_t z = jours + DecalageEpoque;
    const int64_t ere = DivBas(z, 146097);
    const int64_t jourDansEre = z - ere * 146097;                                   // 0..146096
    const int64_t anDansEre =
        (jourDansEre - jourDansEre / 1460 + jourDansEre / 36524 - jourDansEre / 146096) / 365; // 0..399
    const int64_t jourDansAn = jourDansEre - (365 * anDansEre + anDansEre / 4 - anDansEre / 100); // 0..365
    const int64_t mp = (5 * jourDansAn + 2) / 153;                                   // March = 0
    const int jour = int(jourDansAn - (153 * mp + 2) / 5 + 1);
    const int mois = int(mp < 10 ? mp + 3 : mp - 9);
    const int64_t annee = anDansEre + ere * 400 + (mois <= 2 ? 1 : 0);
    return Date{jour, mois, int(annee)};
}

Date AjouterJours(const Date& d, int jours)
{
    return DateDeJours(JoursDepuisEpoque(d) + jours);
}

int JoursDansMois(int annee, int mois)
{
    const int64_t m0 = int64_t(mois) - 1;
    const int64_t a = int64_t(annee) + DivBas(m0, 12);
    switch (int(ModBas(m0, 12)) + 1) {
    case 2:
        return Bissextile(a) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    default:
        return 31;
    }
}

int JourDeLaSemaineJours(int64_t jours)
{
    // 1 January 1970 was a Thursday.
    return int(ModBas(jours + 3, 7)) + 1;
}

int JourDeLaSemaine(const Date& d)
{
    return JourDeLaSemaineJours(JoursDepuisEpoque(d));
}

int WOY(const Date& d)
{
    const int64_t jours = JoursDepuisEpoque(d);
    const Date jour = EstValide(d) ? d : DateDeJours(jours);
    const int q = SemaineComptee(jour, jours);
    // The plain count gives 53 to the last days of December that in fact start
    // the next year's week 1; seven days later that count reads 2.
    if (q > 52 && SemaineComptee(DateDeJours(jours + 7), jours + 7) == 2)
        return 1;
    return q;
}

std::string DateEnLettres(const Date& d)
{
    static const char* const NomJour[7] = {"lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi", "dimanche"};
    const Date j = DateDeJours(JoursDepuisEpoque(d));
    return std::string(NomJour[JourDeLaSemaine(j) - 1]) + " " + std::to_string(j.jour) + " " + NomMois[j.mois - 1]
           + " " + std::to_string(j.annee);
}

const char* const NomMois[12] = {
    "janvier", "février", "mars", "avril", "mai", "juin",
    "juillet", "août", "septembre", "octobre", "novembre", "décembre",
};

const char* const NomMoisAbrege[12] = {
    "janv.", "févr.", "mars", "avr.", "mai", "juin",
    "juil.", "août", "sept.", "oct.", "nov.", "déc.",
};
