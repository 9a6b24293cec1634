#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "calendar/Periode.h"
#include "commun/Twips.h"

// Arithmetic of the year box and of the two size boxes of the main window.

// ---- Year box -------------------------------------------------------------

inline constexpr const char* TitreControleAnnee = "Contrôle de l'année";
inline constexpr const char* MessageControleAnnee = "L'année doit être comprise netre 1583 et 9999.";
inline constexpr const char* MessageAnneeScolaire =
    "Une année scolaire joint deux années qui se suivent, par exemple 2026-2027.";

// The year box's text is either a school year, two years joined by a hyphen
// with blanks allowed around it ("2026-2027", "2026 - 2027"), or a year: the
// number that starts the text, leading blanks, then digits up to the first
// other character ("2030." is 2030, "20 30" is 2030 as in the settings file).
// A text that starts with no digit has no year.

// The warning the text deserves on leaving the box, or an empty text:
// MessageControleAnnee for a year below 1583 or above 9999, for no number at its
// start, and for two years joined by a hyphen one of which is outside 1583..9999;
// MessageAnneeScolaire for two years that do not follow each other.
std::string_view AvertissementAnnee(std::string_view texte);

// The chosen calendar (AnChoisi): a school year as "2026-2027"; a year as the last
// four digits of its number, padded on the left with "0" (2015 -> "2015", 99 ->
// "0099", 12345 -> "2345"). nullopt when no number starts the text, or for two
// years joined by a hyphen that are no school year (the chosen calendar then
// stays as it was).
std::optional<std::string> AnneeChoisie(std::string_view texte);

// ---- Size boxes (millimetres) ---------------------------------------------

constexpr int LargeurMin = 30;
constexpr int LargeurMax = 200;
constexpr int HauteurMin = 30;
constexpr int HauteurMax = 290;

// Value of a size box's text: the number at its start, 0 when there is none.
double ValeurTaille(std::string_view texte);

// The value kept in TailleAvant when a size box gets the focus (16-bit, nearest).
int16_t TailleAvantDe(std::string_view texte);

// Width accepted by the width box: 30 to 200 mm.
bool LargeurValide(double mm);

// Height accepted by the height box: 30 to 290 mm.
bool HauteurValide(double mm);

// Millimetres to twips: mm x 56.7 to the nearest integer (halves to even),
// clamped into 16 bits; `ok` (when given) is false when it did not fit.
int16_t MmVersTwips(double mm, bool* ok = nullptr);

// Height in mm keeping the sheet's proportion: width x 1.415, nearest (90 -> 127).
int HauteurPourLargeur(double largeurMm);

// Width in mm keeping the sheet's proportion: height / 1.415, nearest (127 -> 90).
int LargeurPourHauteur(double hauteurMm);

// Height in mm of a selected zone: width x ratio, nearest; nullopt when the ratio
// is not a positive number or the height's twips would not fit in 16 bits.
std::optional<int> HauteurZone(double largeurMm, double ratioZone);

// What a change of the width text leads to.
struct ChangementLargeur {
    bool valide = false;      // false: the box turns red and nothing else changes
    int16_t largeurTwips = 0; // new LargeurTwips
    int hauteur = 0;          // text for the height box, in mm (zone or sheet proportion)
    int16_t hauteurTwips = 0; // twips of that height (zone mode sets HauteurTwips from it)
};

// Width change: range check (30..200, and in zone mode a height that fits), twips
// and the height that follows, from the zone's ratio when `zone` is set.
ChangementLargeur CalculLargeur(std::string_view texte, bool zone, double ratioZone);

// What a change of the height text leads to (outside zone mode).
struct ChangementHauteur {
    bool valide = false;       // false: the box turns red and nothing else changes
    int16_t hauteurTwips = 0;  // new HauteurTwips
    int largeur = 0;           // text for the width box, in mm (may itself be out of range)
};

// Height change: range check (30..290), twips and the width that follows.
ChangementHauteur CalculHauteur(std::string_view texte);

// What a key typed in a size box does.
enum class Touche { Refusee, Admise, AdmiseEtApercu };

// Key filter of the size boxes: digits and Backspace (8) pass; in the width box
// Enter (13) passes too and runs the preview button's action; the rest is refused.
Touche FiltreTouche(int caractere, bool boiteLargeur);

// ---- Scroll bar -----------------------------------------------------------

constexpr int DefilementMax = 16;

// Top edge in twips of the sheet and of the image for a scroll value (8 -> -3254.92).
double HautDefilement(int valeur);
