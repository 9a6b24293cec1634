#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/Date.h"

// The regions whose public holidays differ: metropolitan France, where the
// national holidays alone apply, Alsace-Moselle (local law) and the five
// overseas departments (the commemoration of the abolition of slavery).

enum class Region { Metropole, AlsaceMoselle, Guadeloupe, Martinique, Guyane, LaReunion, Mayotte };

inline constexpr int NombreRegions = 7;

// The region of index 0..6, in the order above (the order of the list shown
// to the user).
Region RegionNumero(int i);

// The region's name as shown and stored: "Métropole", "Alsace-Moselle",
// "Guadeloupe", "Martinique", "Guyane", "La Réunion", "Mayotte" (UTF-8).
const char* NomRegion(Region r);

// The region a text names, whatever the case of its letters, with or without
// its accents, in UTF-8 or in the 8-bit Windows-1252 code page ("la reunion",
// "LA RÉUNION" and "La R\xE9union" all name La Réunion); blanks around it are
// ignored, and a blank stands for a hyphen ("alsace moselle"). No value for
// any other text.
std::optional<Region> RegionDeTexte(std::string_view texte);

// One holiday of a region on top of the national ones, with its tooltip.
struct FerieRegional {
    Date date;
    const char* bulle;
};

// The region's own holidays of a year, by date: Good Friday and 26 December
// in Alsace-Moselle, the day of the abolition of slavery overseas, nothing
// for metropolitan France.
std::vector<FerieRegional> FeriesRegionaux(Region r, int annee);
