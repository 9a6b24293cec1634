#include "calendar/Regions.h"

#include "calendar/Paques.h"
#include "commun/Texte.h"

namespace {

constexpr const char* Noms[NombreRegions] = {"Métropole", "Alsace-Moselle", "Guadeloupe", "Martinique",
                                             "Guyane",    "La Réunion",     "Mayotte"};

constexpr const char* BulleAbolition = " Abolition de l'esclavage ";

// Base letters of U+00C0..U+00FF (Latin-1 and Windows-1252 agree there); '\0'
// where the character is no letter.
constexpr char SansAccent[65] = "aaaaaaaceeeeiiiidnooooo\0ouuuuyts"
                                "aaaaaaaceeeeiiiidnooooo\0ouuuuyty";

// The text folded for comparison: ASCII lower case, accents dropped, blanks
// and hyphens made one blank, blanks around removed. Bytes that are neither
// become '\1', which no name contains.
std::string Plier(std::string_view t)
{
    std::string r;
    for (size_t i = 0; i < t.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(t[i]);
        if (c == 0xC3 && i + 1 < t.size() && (static_cast<unsigned char>(t[i + 1]) & 0xC0) == 0x80)
            c = static_cast<unsigned char>(0xC0 + (static_cast<unsigned char>(t[++i]) & 0x3F)); // UTF-8 U+00C0..U+00FF
        char p = '\1';
        if (const char m = MinusculeAscii(static_cast<char>(c)); (m >= 'a' && m <= 'z') || m == '\'')
            p = m;
        else if (c == ' ' || c == '-' || c == '\t')
            p = ' ';
        else if (c >= 0xC0 && SansAccent[c - 0xC0] != '\0')
            p = SansAccent[c - 0xC0];
        if (p == ' ' && (r.empty() || r.back() == ' '))
            continue;
        r += p;
    }
    if (!r.empty() && r.back() == ' ')
        r.pop_back();
    return r;
}

} // namespace

Region RegionNumero(int i)
{
    return i >= 0 && i < NombreRegions ? static_cast<Region>(i) : Region::Metropole;
}

const char* NomRegion(Region r)
{
    const int i = static_cast<int>(r);
    return i >= 0 && i < NombreRegions ? Noms[i] : Noms[0];
}

std::optional<Region> RegionDeTexte(std::string_view texte)
{
    const std::string plie = Plier(texte);
    for (int i = 0; i < NombreRegions; ++i)
        if (plie == Plier(Noms[i]))
            return RegionNumero(i);
    return std::nullopt;
}

std::vector<FerieRegional> FeriesRegionaux(Region r, int annee)
{
    switch (r) {
    case Region::AlsaceMoselle:
        return {{AjouterJours(DimanchePaques(annee), -2), " Vendredi saint "}, {{26, 12, annee}, " Saint-Étienne "}};
    case Region::Guadeloupe: return {{{27, 5, annee}, BulleAbolition}};
    case Region::Martinique: return {{{22, 5, annee}, BulleAbolition}};
    case Region::Guyane: return {{{10, 6, annee}, BulleAbolition}};
    case Region::LaReunion: return {{{20, 12, annee}, BulleAbolition}};
    case Region::Mayotte: return {{{27, 4, annee}, BulleAbolition}};
    case Region::Metropole: break;
    }
    return {};
}
