#pragma once
#include <optional>
#include <string_view>
#include <utility>

#include <vector>

#include "calendar/Periode.h"

// Values given on the command line: whole numbers written with digits only
// (no sign, no blank, no decimal part), within their range; a colour may also
// be written #RRGGBB.

// A year from 1583 to 9999.
std::optional<int> AnneeOption(std::string_view texte);

// The calendar of --annee: a year from 1583 to 9999, or a school year, two
// consecutive years of that range joined by a hyphen ("2026-2027").
std::optional<Periode> PeriodeOption(std::string_view texte);

// A printed width in millimetres, 30 to 200 (the width box's range).
std::optional<int> LargeurOption(std::string_view texte);

// A colour value, 0 to 16 777 215 (red + 256 x green + 65536 x blue), or
// "#RRGGBB": two hexadecimal digits (either case) each for red, green and blue.
std::optional<int> CouleurOption(std::string_view texte);

// A whole number from `min` to `max`, digits only.
std::optional<int> EntierOption(std::string_view texte, int min, int max);

// A month or a run of months, 1 to 12: "9-12" (September to December), "3",
// "11-2" (November to February, across the year's end): the first and the last.
std::optional<std::pair<int, int>> MoisOption(std::string_view texte);

// Edits that turn `a` into `b`: a letter added, removed or changed, or two
// neighbours swapped ("anee" -> "annee": 1; "sotrie" -> "sortie": 1).
int DistanceEdition(std::string_view a, std::string_view b);

// The name among `noms` nearest to `tape` when it is near enough to be a slip of
// the fingers: at most one edit for three letters typed, three at most (the first
// one in `noms` on a tie). Empty when none is.
std::string_view NomProche(std::string_view tape, const std::vector<std::string_view>& noms);
