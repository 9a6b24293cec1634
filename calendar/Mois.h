#pragma once
#include <array>
#include <string>

// One month block of the sheet: a title and 42 day cells in six rows of seven,
// cell k in row k / 7 and column k % 7, Monday in column 0.

constexpr int CellulesParMois = 42;

// Background slot of a cell; the colour scheme turns it into a colour.
enum class Fond { Jours, Gris, WeekEnd, Ferie };

struct CelluleJour {
    int legende = 0;          // day of the month shown
    int Tag = 0;              // -1 previous month, 0 the month, 1 next month
    bool gras = false;        // true exactly for the days of the month
    Fond fond = Fond::Gris;
    std::string infoBulle;    // tooltip
    std::string ferie;        // the public holiday's name, blanks around it (empty: none)
};

struct BlocMois {
    int mois = 1;
    int annee = 0;
    std::array<CelluleJour, CellulesParMois> cellules{};
    std::string titre;        // "janvier 2027"
};

// Fills the 42 cells and the title of a month block. The days before the
// first of the month (at least one, so a month starting on a Monday starts on
// the second row) and after its last day show the neighbouring months' days
// in grey; each day of the month carries its ISO week number as a tooltip.
// A month outside 1..12 carries into the year (13/2015 is January 2016).
BlocMois RemplirMois(int annee, int mois);

// Same, into an existing block (reuses its strings).
void RemplirMois(BlocMois& bloc, int annee, int mois);

// Title of a month block: month name, a blank, the year in four digits.
std::string TitreMois(int annee, int mois);
