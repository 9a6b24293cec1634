#pragma once
// The calendar sheet as data: what every output draws (the screen, the image,
// the print, the PDF and the SVG), computed from the year, the display boxes,
// the region, the colour scheme and the special text colours. No drawing here.
#include <array>
#include <optional>
#include <string>

#include "calendar/Date.h"
#include "calendar/Mois.h"
#include "calendar/Paques.h"
#include "calendar/Regions.h"
#include "commun/Twips.h"
#include "colour/Couleurs.h"

// ------------------------------------------------------------------ layout

// The sheet measures 630 x 868 pixels (9450 x 13020 twips); the calendar image
// is its top-left 628 x 866 pixels.
inline constexpr int LargeurFeuille = 630;
inline constexpr int HauteurFeuille = 868;
inline constexpr int BlocsParFeuille = 12;

// Where the elements of block b (1..12, three across and four down) lie.
RectPixels RectTitre(int bloc);
RectPixels RectNomJour(int bloc, int k);  // k = 0 (Lun) .. 6 (Dim)
RectPixels RectCase(int bloc, int k);     // k = 0 .. 41, row k / 7, column k % 7

// The day cell under a point of the sheet, if any: {block, cell}.
struct PositionCase {
    int bloc = 1;
    int cellule = 0;
    bool operator==(const PositionCase&) const = default;
};
std::optional<PositionCase> CaseEn(int x, int y);

// "Lun" ... "Dim".
extern const char* const NomsJoursSemaine[7];

// ------------------------------------------------------------------ contents

// One day cell: what Parts of the build give it.
struct CaseFeuille {
    int legende = 0;        // day number shown
    int Tag = 0;            // -1 previous month, 0 the month, 1 next month
    bool gras = false;      // exactly the days of the month
    Fond fond = Fond::Jours; // background slot of the colour scheme
    double texte = 0;       // text colour (the special colour, black by default)
    std::string infoBulle;  // week number or holiday name
    std::string ferie;      // the public holiday's name (empty: none)
    Date date{1, 1, 2000};  // the day the cell shows
    bool operator==(const CaseFeuille&) const = default;
};

struct BlocFeuille {
    int mois = 9;    // the month the block shows, 1..12
    int annee = 2007;
    std::string titre = "Septembre 2007"; // before the first fill
    std::array<CaseFeuille, CellulesParMois> cases{};
    bool operator==(const BlocFeuille&) const = default;
};

struct ModeleFeuille {
    std::array<BlocFeuille, BlocsParFeuille> blocs{}; // block 1 is blocs[0]
    SchemaCouleurs couleurs;
    EtiquettesCouleurs etiquettes; // what the special colours stand for

    BlocFeuille& bloc(int b) { return blocs[static_cast<size_t>(b - 1)]; }
    const BlocFeuille& bloc(int b) const { return blocs[static_cast<size_t>(b - 1)]; }
    const CaseFeuille& cellule(PositionCase p) const { return bloc(p.bloc).cases[static_cast<size_t>(p.cellule)]; }
    // The background colour of a cell, from its slot.
    double fond(const CaseFeuille& c) const;
};

// What the sheet is built from.
struct ReglagesFeuille {
    int annee = 2000;        // year of the first block
    int premierMois = 1;     // month of the first block (9: a school year)
    bool weekEnd = true;     // "WeekEnd" box ticked
    bool feries = true;      // "Jours fériés" box ticked
    Region region = Region::Metropole;
};

// Fills block b for its month (the first block's month, b - 1 months on): day
// numbers, grey neighbouring days, weekends, holidays, tooltips and title. The
// cells' text colours are left as they are.
void RemplirBloc(ModeleFeuille& feuille, int bloc, const ReglagesFeuille& reglages, RapportPaques* rapport = nullptr);

// The colour scheme applied to the whole sheet: every cell on the day colour
// until its block is filled again, and each cell's text in its special colour.
void AppliquerSchema(ModeleFeuille& feuille, const SchemaCouleurs& couleurs, const TableCouleursSP& table);

// Each cell's text in its special colour, cell 0 included.
void AppliquerTable(ModeleFeuille& feuille, const TableCouleursSP& table);

// The whole sheet at once.
ModeleFeuille ConstruireFeuille(const ReglagesFeuille& reglages, const SchemaCouleurs& couleurs,
                                const TableCouleursSP& table, RapportPaques* rapport = nullptr);

// What a screen reader says of a cell: its date in full, then its tooltip
// ("lundi 29 mars 2027, Lundi de Pâques, semaine 13").
std::string NomAccessible(const CaseFeuille& c);

// A cell's tooltip followed by the label of its special colour, if it has one
// ("Semaine  9, Anniversaires").
std::string BulleCase(const ModeleFeuille& feuille, const CaseFeuille& c);

// NomAccessible with that label.
std::string NomAccessible(const ModeleFeuille& feuille, const CaseFeuille& c);

// The cell of the sheet showing `d` as a day of its own month, if any.
std::optional<PositionCase> CaseDuJour(const ModeleFeuille& feuille, const Date& d);
