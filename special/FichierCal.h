#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "calendar/Periode.h"
#include "colour/Couleurs.h"

// Special-colours files (.Cal).
//
// Plain text, one byte per character, every line ended by CR LF:
//   lines 1 to 12: the month number m, then the 42 text colours of the cells
//                  0..41 of month m, 43 comma-separated numbers without blanks
//                  (shortest decimal text, full stop as decimal separator);
//   line 13:       the calendar year, four digits between double quotes.
// A school year's file goes on (September 2026 to August 2027 here):
//   lines 1 to 12: as above, the months of its first year, those before
//                  September all zeros;
//   line 14:       the school year between double quotes, "2026-2027";
//   lines 15 to 22: months 1 to 8 of its second year, as lines 1 to 8.
// A reader that stops after line 13 sees the first year, with the colours of
// its autumn on their days.
// The table is indexed [block 1..12][cell 0..42] (block 1: the sheet's first
// month, January or September); block 0 and cell 42 are never stored.

// A colour value is usable when it lies in 0..CouleurMax (it may carry a fraction;
// the control rounds it).
bool EstCouleurValide(double valeur);

// The whole text of a .Cal file for the chosen calendar `annee`, a year or a
// school year as AnChoisi holds it ("2027", "2026-2027"). A value that is not
// a valid colour is written as 0. Double quotes and line ends are left out of
// the year so that the file keeps its shape whatever `annee` holds.
std::string EcrireCal(const TableCouleursSP& table, std::string_view annee);

// Writes the file through a temporary file and a rename; false on failure (the
// old file, if any, is left as it was).
bool SauverCal(const std::filesystem::path& chemin, const TableCouleursSP& table, std::string_view annee);

// Labels of the special colours, after every line above, one line each:
//   Etiquette,<colour value>,"<label>"
// (the label in UTF-8, without double quotes nor line ends, at most
// LongueurEtiquetteMax bytes). A file without labels has none of these lines,
// and a reader that stops after its year (or school year) lines sees the same
// colours.
constexpr std::size_t LongueurEtiquetteMax = 100;
constexpr std::size_t EtiquettesMax = 256;

// A label as it is written: no double quotes, no control characters, blanks
// around it dropped, cut on a whole UTF-8 character to LongueurEtiquetteMax bytes.
std::string EtiquettePropre(std::string_view t);

// The label lines of `etiquettes` (valid colours with a label only), CR LF ended.
std::string LignesEtiquettes(const EtiquettesCouleurs& etiquettes);

// The labels of a file's text: every well-formed label line, wherever it is
// (the last one wins for a colour); others are ignored.
EtiquettesCouleurs LireEtiquettes(std::string_view contenu);

// SauverCal with the label lines after the colours.
bool SauverCal(const std::filesystem::path& chemin, const TableCouleursSP& table, std::string_view annee,
               const EtiquettesCouleurs& etiquettes);

struct LectureCal {
    // The month lines were complete: 516 fields (860 for a school year), all numbers.
    bool ok = false;
    // The year of line 13 when it is exactly four digits (quotes removed,
    // blanks around ignored); empty when the file has no year, an empty one
    // or one that is not four digits. For a school year's file, the school
    // year of line 14 ("2026-2027").
    std::string annee;
    // A year field was there but was not four digits (and was ignored).
    bool anneeRefusee = false;
    // Fields taken from the month lines (month numbers included), 0 to 860.
    int champsLus = 0;
    // Cells of the table that received a value (0 to 504).
    int valeursLues = 0;
    // Fields in the place of a cell that were not numbers: their cells kept
    // their values.
    int champsInvalides = 0;
    // Numbers that were not valid colours and were stored as 0.
    int couleursInvalides = 0;
    // Something other than blanks follows the year.
    bool donneesEnTrop = false;
    // The labels of its special colours (LireEtiquettes).
    EtiquettesCouleurs etiquettes;
    // Path version only: the file could not be opened or read, was not a
    // regular file or was larger than TailleMaxCal; nothing was read.
    bool refuse = false;
};

// Larger files are refused outright (a full file is a few kilobytes).
constexpr std::size_t TailleMaxCal = 1024 * 1024;

// Reads the fields one after the other, as they come, whatever the lines: for
// each month m = 1..12 one field (the month number, not used) and the 42 values
// of table[m][0..41]; then the year. When a quoted school year starting in that
// year follows, then eight more months: the table's blocks are then the file's
// months 9 to 12 and these eight. Values are placed by their position in the
// file, not by the month number they follow. Commas and line ends both end a
// field; lines holding only blanks are skipped. Cells whose field is missing or
// is not a number keep their value; a number that is not a valid colour is
// stored as 0.
LectureCal LireCal(std::string_view contenu, TableCouleursSP& table);

// Why a file read cannot be used, in French (UTF-8), to follow "refusé : "; empty
// when it can. The command line and the window refuse the same files with the
// same words: a file that could not be read (`refuse`), month lines cut short
// or holding something other than numbers (`ok` false), a year line that is
// not four digits, data after the year (a school year that does not follow
// it), a year outside AnneeMin..AnneeMax.
std::string MotifRefusCal(const LectureCal& lecture);

// LireCal on a file's bytes, all or nothing: the table takes the file's values
// only when MotifRefusCal finds nothing to refuse, and is otherwise untouched
// (files over TailleMaxCal bytes are not even read).
LectureCal LireFichierCal(const std::filesystem::path& chemin, TableCouleursSP& table);

// The colours of a file of the period `fichier` (its year line) shown on the
// sheet of `feuille`. When both are years or both school years, block b stays
// block b (a file reopened for another year keeps its cells). When one is a
// year and the other a school year, each month's block goes to the block of the
// same month of the same year, and the sheet's other months get no special
// colour: each mark stays on its date.
void PlacerCal(TableCouleursSP& table, const Periode& fichier, const Periode& feuille);

// The name a file is saved under: ".Cal" is added to a name that does not end
// in ".Cal" (in any case), so that the file shows among the .Cal files of the
// open dialog ("vacances" -> "vacances.Cal", "a." -> "a.Cal", "a.txt" ->
// "a.txt.Cal", "a.cal" unchanged). A folder's name (ending in '/') is left alone.
std::string NomAvecExtensionCal(std::string_view nom);

// The files the window opens when they are given from outside (command line,
// desktop, drop), told apart by their extension in any case.
enum class FichierAOuvrir { Aucun, Cal, Ics };
FichierAOuvrir TypeAOuvrir(std::string_view nom);

// Name proposed for a new file, "CoulSP le dd,mmm,yyyy.Cal" with the French
// abbreviated month (UTF-8), e.g. "CoulSP le 06,déc.,2026.Cal".
std::string NomFichierCalParDefaut(int jour, int mois, int annee);
