#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "calendar/Date.h"

// The twelve months of a sheet: a calendar year, January to December, or a
// school year, September to the next August.

// The years the program lays out without a warning.
constexpr int AnneeMin = 1583;
constexpr int AnneeMax = 9999;

// The month school starts in, the first of a school year.
constexpr int MoisRentree = 9;

struct Periode {
    int annee = 2000;    // year of the first month
    int premierMois = 1; // 1, or MoisRentree for a school year
    bool scolaire() const { return premierMois != 1; }
    bool operator==(const Periode&) const = default;
};

// The period as the chosen calendar is written (the main window's AnChoisi,
// the .Cal files, the file names proposed): the year on four digits, "2027"
// or "0099", or the school year, "2026-2027".
std::string TextePeriode(const Periode& p);

// Two whole numbers joined by a hyphen, blanks allowed around each ("2026-2027",
// " 2026 - 2028 "): the two numbers (capped at 999 999 999), else nothing.
struct AnneesJointes {
    int64_t premiere = 0;
    int64_t seconde = 0;
    // Both years in AnneeMin..AnneeMax, the second following the first.
    bool anneeScolaire() const { return premiere >= AnneeMin && seconde <= AnneeMax && seconde == premiere + 1; }
};
std::optional<AnneesJointes> LireAnneesJointes(std::string_view texte);

// The period a text names, blanks around it ignored: digits alone are a year
// ("2027", "0099" is 99, no range check: the year box takes any year with a
// warning); two years joined by a hyphen are a school year when the second
// follows the first and both lie within AnneeMin..AnneeMax ("2026-2027",
// "1583 - 1584"). Nothing for any other text ("2026-2028", "9999-10000", "-1").
std::optional<Periode> PeriodeDeTexte(std::string_view texte);

// First day of the period, and its number of days (365 or 366).
Date PremierJour(const Periode& p);
int JoursDansPeriode(const Periode& p);

// The school year a day belongs to: the one that starts in the September of
// its year from August on (getting ready for it), else the one that started
// the September before. Kept within AnneeMin..AnneeMax.
Periode AnneeScolaireDu(const Date& jour);
