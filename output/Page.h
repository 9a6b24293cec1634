#pragma once
// A page of paper holding a run of the sheet's months: paper size and
// orientation, margins, the months in a grid of square cells, a title, a legend,
// the list of the public holidays shown and the ISO week numbers. All lengths
// are in tenths of a millimetre of the paper (A4 portrait is 2100 x 2970), from
// its top-left corner. What is drawn where is computed here; the painter only
// draws it.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "colour/Couleurs.h"
#include "colour/ModeleFeuille.h"
#include "commun/Twips.h"

enum class Papier { A4, A3, A5, Lettre };

// The months across and down: 3 x 4 (three across, the sheet's order), 4 x 3,
// 6 x 2 (landscape).
enum class Disposition { Auto, G3x4, G4x3, G6x2 };

struct OptionsPage {
    Papier papier = Papier::A4;
    bool paysage = false;
    Disposition disposition = Disposition::Auto; // Auto: 3 x 4 upright, 4 x 3 landscape, or what fits a run
    int premierBloc = 1;  // the run of months: blocks premierBloc .. premierBloc + nombreMois - 1
    int nombreMois = BlocsParFeuille;
    std::optional<std::string> titre; // none: "Calendrier 2027" or "Année scolaire 2025-2026"
    bool legende = true;
    bool listeFeries = false;
    bool semaines = false;
    bool economieEncre = false;
    int margeMm = 10;
    bool operator==(const OptionsPage&) const = default;
};

// Unit of every length below: a tenth of a millimetre.
constexpr double UnitesParMm = 10.0;
using RectPage = RectPixels;

// Paper size in units, orientation applied.
struct TaillePage {
    int largeur = 0, hauteur = 0;
    bool operator==(const TaillePage&) const = default;
};
TaillePage TailleDuPapier(Papier papier, bool paysage);

// Names as the command line and the settings write them ("A4", "A3", "A5",
// "lettre"; "3x4", "4x3", "6x2"), read in any case; nothing for other texts.
std::optional<Papier> PapierDeTexte(std::string_view texte);
const char* TextePapier(Papier papier);
std::optional<Disposition> DispositionDeTexte(std::string_view texte);
const char* TexteDisposition(Disposition d);

// One month on the page: its title above, the weekday names, then six rows of
// seven square cells; the week numbers in a column left of the cells.
struct BlocPage {
    int bloc = 1;          // block of the sheet
    RectPage titre;
    RectPage nomsJours;    // the seven names, one cell wide each
    RectPage cases;        // 7 x 6 cells
    RectPage semaines;     // the week numbers' column (empty without them)
};

// One entry of the legend: a sample cell and its text.
struct EntreeLegende {
    enum class Sorte { WeekEnd, Ferie, Speciale } sorte = Sorte::WeekEnd;
    double couleur = 0; // the special colour, for Speciale
    std::string texte;
    RectPage echantillon;
    RectPage zoneTexte;
};

// One line of the holiday list: "29 mars 2027 : Lundi de Pâques".
struct LigneFerie {
    std::string texte;
    RectPage zone;
};

struct PlanPage {
    TaillePage taille;
    OptionsPage options;
    int cote = 0;               // side of a day cell
    std::string titre;
    RectPage zoneTitre;         // empty without a title
    int hauteurTitre = 0;       // its font height, smaller for a title too long for the width
    std::vector<BlocPage> blocs;
    std::vector<EntreeLegende> legende;
    int hauteurLegende = 0;     // font height of the legend's texts
    std::vector<LigneFerie> feries;
    int hauteurFeries = 0;      // font height of the holiday list
};

// The blocks showing months `premier` to `dernier` (1..12, in the order of the
// sheet, which starts with month `premierMoisFeuille`): the first block and the
// number of months; nothing when the run goes past the sheet's last month
// (December to January on a sheet from January).
std::optional<std::pair<int, int>> BlocsDesMois(int premierMoisFeuille, int premier, int dernier);

// The run of months kept within the sheet (at least one month).
OptionsPage OptionsBornees(OptionsPage options);

// The page title by default: "Calendrier 2027" for a sheet from January,
// "Année scolaire 2025-2026" for one from September.
std::string TitreParDefaut(const ModeleFeuille& feuille);

// Lays the page out. `etiquettes` names the special colours in the legend;
// a colour without a label reads "Couleur spéciale".
PlanPage MettreEnPageFeuille(const ModeleFeuille& feuille, const OptionsPage& options,
                             const EtiquettesCouleurs& etiquettes = {});

// Cell k (0..41, row k / 7, column k % 7) of a month on the page.
RectPage CasePage(const BlocPage& bloc, int cote, int k);
