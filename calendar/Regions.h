#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/Date.h"

// The regions whose public holidays differ. In France: metropolitan France,
// where the national holidays alone apply, Alsace-Moselle (local law) and the
// five overseas departments (the commemoration of the abolition of slavery).
// Across the border, French-speaking neighbours with their own lists, where
// France's national days do not apply: Belgium, Luxembourg, Monaco, six Swiss
// cantons and Québec.

enum class Region {
    Metropole, AlsaceMoselle, Guadeloupe, Martinique, Guyane, LaReunion, Mayotte,
    Belgique, Luxembourg, Monaco, Geneve, Vaud, Neuchatel, Jura, Fribourg, Valais, Quebec
};

inline constexpr int NombreRegions = 17;

// The region of index 0..16, in the order above (the order of the list shown
// to the user).
Region RegionNumero(int i);

// The region's name as shown and stored: "Métropole", "Alsace-Moselle",
// "Guadeloupe", "Martinique", "Guyane", "La Réunion", "Mayotte", "Belgique",
// "Luxembourg", "Monaco", "Canton de Genève", "Canton de Vaud", "Canton de
// Neuchâtel", "Canton du Jura", "Canton de Fribourg", "Canton du Valais",
// "Québec" (UTF-8, no character beyond U+00FF).
const char* NomRegion(Region r);

// The names of every region, in the order of the list, joined by ", " (UTF-8).
std::string NomsRegions();

// The region a text names, whatever the case of its letters, with or without
// its accents, in UTF-8 or in the 8-bit Windows-1252 code page ("la reunion",
// "LA RÉUNION" and "La R\xE9union" all name La Réunion); blanks around it are
// ignored, and a blank stands for a hyphen ("alsace moselle"). The article and
// the "canton de" are optional ("reunion", "geneve", "jura"), and the shorter
// forms people use name their region ("alsace", "moselle", "france"). No value
// for any other text.
std::optional<Region> RegionDeTexte(std::string_view texte);

// True for the French regions, whose calendar is the national holidays plus
// FeriesRegionaux; false for the neighbours, whose FeriesRegionaux are all
// their holidays.
bool FeriesNationauxFrancais(Region r);

// One holiday of a region, with its tooltip.
struct FerieRegional {
    Date date;
    const char* bulle;
};

// The region's holidays of a year: for a French region its own days on top of
// the national ones (Good Friday and 26 December in Alsace-Moselle, the day of
// the abolition of slavery overseas, nothing for metropolitan France); for a
// neighbour every public holiday its law gives that year, each from the year
// it was created, moved days included. Where two fall on one day, the later
// in the list names it.
std::vector<FerieRegional> FeriesRegionaux(Region r, int annee);
