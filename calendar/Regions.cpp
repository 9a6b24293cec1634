#include "calendar/Regions.h"

#include <climits>
#include <utility>

#include "calendar/Paques.h"
#include "commun/Texte.h"

namespace {

constexpr const char* Noms[NombreRegions] = {
    "Métropole",        "Alsace-Moselle", "Guadeloupe",         "Martinique",        "Guyane",
    "La Réunion",       "Mayotte",        "Belgique",           "Luxembourg",        "Monaco",
    "Canton de Genève", "Canton de Vaud", "Canton de Neuchâtel", "Canton du Jura",   "Canton de Fribourg",
    "Canton du Valais", "Québec"};

// Other names people give a region, folded as Plier does and without the
// words SansPrefixe drops.
constexpr std::pair<const char*, Region> AutresNoms[] = {
    {"france", Region::Metropole},     {"france metropolitaine", Region::Metropole},
    {"alsace", Region::AlsaceMoselle}, {"moselle", Region::AlsaceMoselle},
    {"bas rhin", Region::AlsaceMoselle}, {"haut rhin", Region::AlsaceMoselle}};

// Words that may come before a region's own name: articles, and what the
// region is ("canton de Vaud", "province de Québec").
constexpr const char* Prefixes[] = {"la ",          "le ",           "les ",            "l'",
                                    "canton de ",   "canton du ",    "canton d'",       "province de ",
                                    "province du ", "principaute de ", "grand duche de ", "departement de ",
                                    "departement du ", "region "};

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

// A folded name without the articles and kinds of place before it.
std::string_view SansPrefixe(std::string_view t)
{
    for (bool encore = true; encore;) {
        encore = false;
        for (std::string_view p : Prefixes)
            if (t.size() > p.size() && t.substr(0, p.size()) == p) {
                t.remove_prefix(p.size());
                encore = true;
            }
    }
    return t;
}

// One holiday rule of a neighbour. The day is fixed (jour, mois), or Easter
// Sunday plus `decalage` (mois 0), or the first `jourSemaine` (Monday 1 ..
// Sunday 7) on or after (jour, mois) plus `decalage`. It exists from `premiere`
// to `derniere`. When it falls on a Sunday, Report says what the law makes of it.
enum class Report { Aucun, Aussi, AuLieu }; // no move; the Monday too (bulleReport); the Monday instead
struct Regle {
    Region region;
    int jour, mois, jourSemaine, decalage;
    const char* bulle;
    int premiere = INT_MIN, derniere = INT_MAX;
    Report report = Report::Aucun;
    const char* bulleReport = nullptr;
};

constexpr const char *NouvelAn = " Nouvel An ", *JourAn = " Jour de l'An ", *Vendredi = " Vendredi saint ",
                 *Lundi = " Lundi de Pâques ", *Ascension = " Jeudi de l'Ascension ",
                 *Pentecote = " Lundi de Pentecôte ", *FeteDieu = " Fête-Dieu ", *Travail = " Fête du travail ",
                 *Nationale = " Fête nationale ", *Assomption = " Assomption ", *Toussaint = " Toussaint ",
                 *Immaculee = " Immaculée Conception ", *Noel = " Noël ", *Lendemain = " Lendemain du Nouvel An ";

using enum Region;
using enum Report;
constexpr int Suisse = 1994; // 1 August: federal holiday after the popular vote of 26 September 1993
constexpr int Jeune = 1832;  // Federal fast on the third Sunday of September: Diet's decision of 1832

// Moving days first in each region, so that a fixed day falling on one names it.
constexpr Regle Regles[] = {
    // Belgium: the ten days of the decree-law of 25 February 1947, kept by the law of 4 January 1974.
    {Belgique, 0, 0, 0, 1, Lundi, 1947}, {Belgique, 0, 0, 0, 39, Ascension, 1947},
    {Belgique, 0, 0, 0, 50, Pentecote, 1947}, {Belgique, 1, 1, 0, 0, JourAn, 1947},
    {Belgique, 1, 5, 0, 0, Travail, 1947}, {Belgique, 21, 7, 0, 0, Nationale, 1947},
    {Belgique, 15, 8, 0, 0, Assomption, 1947}, {Belgique, 1, 11, 0, 0, Toussaint, 1947},
    {Belgique, 11, 11, 0, 0, " Armistice 1918 ", 1947}, {Belgique, 25, 12, 0, 0, Noel, 1947},
    // Luxembourg: law of 10 April 1976 on legal public holidays; Europe Day by the law of 25 April 2019, from 2019.
    {Luxembourg, 0, 0, 0, 1, Lundi, 1976}, {Luxembourg, 0, 0, 0, 39, Ascension, 1976},
    {Luxembourg, 0, 0, 0, 50, Pentecote, 1976}, {Luxembourg, 1, 1, 0, 0, JourAn, 1976},
    {Luxembourg, 1, 5, 0, 0, Travail, 1976}, {Luxembourg, 9, 5, 0, 0, " Journée de l'Europe ", 2019},
    {Luxembourg, 23, 6, 0, 0, Nationale, 1976}, {Luxembourg, 15, 8, 0, 0, Assomption, 1976},
    {Luxembourg, 1, 11, 0, 0, Toussaint, 1976}, {Luxembourg, 25, 12, 0, 0, Noel, 1976},
    {Luxembourg, 26, 12, 0, 0, " Deuxième jour de Noël ", 1976},
    // Monaco: laws no. 798 and 800 of 18 February 1966; six of the days give the Monday too when on a Sunday.
    {Monaco, 0, 0, 0, 1, Lundi, 1966}, {Monaco, 0, 0, 0, 39, Ascension, 1966},
    {Monaco, 0, 0, 0, 50, Pentecote, 1966}, {Monaco, 0, 0, 0, 60, FeteDieu, 1966},
    {Monaco, 1, 1, 0, 0, JourAn, 1966, INT_MAX, Aussi, " Jour de l'An (reporté) "},
    {Monaco, 27, 1, 0, 0, " Sainte-Dévote ", 1966},
    {Monaco, 1, 5, 0, 0, Travail, 1966, INT_MAX, Aussi, " Fête du travail (reportée) "},
    {Monaco, 15, 8, 0, 0, Assomption, 1966, INT_MAX, Aussi, " Assomption (reportée) "},
    {Monaco, 1, 11, 0, 0, Toussaint, 1966, INT_MAX, Aussi, " Toussaint (reportée) "},
    {Monaco, 19, 11, 0, 0, " Fête du Prince ", 1966, INT_MAX, Aussi, " Fête du Prince (reportée) "},
    {Monaco, 8, 12, 0, 0, Immaculee, 1966},
    {Monaco, 25, 12, 0, 0, Noel, 1966, INT_MAX, Aussi, " Noël (reporté) "},
    // Swiss cantons: the Christian feasts their laws list are older than those laws, hence every year.
    // Geneva: law on public holidays (J 1 45); the Jeûne genevois a public holiday since 1966.
    {Geneve, 0, 0, 0, -2, Vendredi}, {Geneve, 0, 0, 0, 1, Lundi}, {Geneve, 0, 0, 0, 39, Ascension},
    {Geneve, 0, 0, 0, 50, Pentecote}, {Geneve, 1, 9, 7, 4, " Jeûne genevois ", 1966},
    {Geneve, 1, 1, 0, 0, NouvelAn}, {Geneve, 1, 8, 0, 0, Nationale, Suisse}, {Geneve, 25, 12, 0, 0, Noel},
    {Geneve, 31, 12, 0, 0, " Restauration de la République ", 1814}, // of 31 December 1813
    // Vaud: cantonal list of public holidays, with the Monday after the federal fast.
    {Vaud, 0, 0, 0, -2, Vendredi}, {Vaud, 0, 0, 0, 1, Lundi}, {Vaud, 0, 0, 0, 39, Ascension},
    {Vaud, 0, 0, 0, 50, Pentecote}, {Vaud, 15, 9, 7, 1, " Lundi du Jeûne fédéral ", Jeune},
    {Vaud, 1, 1, 0, 0, NouvelAn}, {Vaud, 2, 1, 0, 0, Lendemain}, {Vaud, 1, 8, 0, 0, Nationale, Suisse},
    {Vaud, 25, 12, 0, 0, Noel},
    // Neuchâtel: law on public rest days; 2 January and 26 December only after a Sunday 1 January and Christmas.
    {Neuchatel, 0, 0, 0, -2, Vendredi}, {Neuchatel, 0, 0, 0, 1, Lundi}, {Neuchatel, 0, 0, 0, 39, Ascension},
    {Neuchatel, 0, 0, 0, 50, Pentecote}, {Neuchatel, 15, 9, 7, 1, " Lundi du Jeûne fédéral ", Jeune},
    {Neuchatel, 1, 1, 0, 0, NouvelAn, INT_MIN, INT_MAX, Aussi, Lendemain},
    {Neuchatel, 1, 3, 0, 0, " Instauration de la République ", 1849}, // proclaimed on 1 March 1848
    {Neuchatel, 1, 5, 0, 0, Travail}, {Neuchatel, 1, 8, 0, 0, Nationale, Suisse},
    {Neuchatel, 25, 12, 0, 0, Noel, INT_MIN, INT_MAX, Aussi, " Lendemain de Noël "},
    // Jura: law on official holidays and Sunday rest (of 31 August 2022 today), the canton's since 1 January 1979.
    {Jura, 0, 0, 0, -2, Vendredi}, {Jura, 0, 0, 0, 1, Lundi}, {Jura, 0, 0, 0, 39, Ascension},
    {Jura, 0, 0, 0, 50, Pentecote}, {Jura, 0, 0, 0, 60, FeteDieu}, {Jura, 1, 1, 0, 0, NouvelAn},
    {Jura, 2, 1, 0, 0, Lendemain}, {Jura, 1, 5, 0, 0, Travail, 1979},
    {Jura, 23, 6, 0, 0, " Commémoration du plébiscite jurassien ", 1979}, {Jura, 1, 8, 0, 0, Nationale, Suisse},
    {Jura, 15, 8, 0, 0, Assomption}, {Jura, 1, 11, 0, 0, Toussaint}, {Jura, 25, 12, 0, 0, Noel},
    // Fribourg: the nine official days of the canton's Catholic part (its Reformed communes have others).
    {Fribourg, 0, 0, 0, -2, Vendredi}, {Fribourg, 0, 0, 0, 39, Ascension}, {Fribourg, 0, 0, 0, 60, FeteDieu},
    {Fribourg, 1, 1, 0, 0, NouvelAn},
    {Fribourg, 1, 8, 0, 0, Nationale, Suisse}, {Fribourg, 15, 8, 0, 0, Assomption},
    {Fribourg, 1, 11, 0, 0, Toussaint}, {Fribourg, 8, 12, 0, 0, Immaculee}, {Fribourg, 25, 12, 0, 0, Noel},
    // Valais: cantonal list of official holidays (no Good Friday, Easter Monday or Whit Monday).
    {Valais, 0, 0, 0, 39, Ascension}, {Valais, 0, 0, 0, 60, FeteDieu}, {Valais, 1, 1, 0, 0, NouvelAn},
    {Valais, 19, 3, 0, 0, " Saint-Joseph "}, {Valais, 1, 8, 0, 0, Nationale, Suisse},
    {Valais, 15, 8, 0, 0, Assomption}, {Valais, 1, 11, 0, 0, Toussaint}, {Valais, 8, 12, 0, 0, Immaculee},
    {Valais, 25, 12, 0, 0, Noel},
    // Québec: Interpretation Act and Act respecting labour standards, each day from its own act.
    {Quebec, 0, 0, 0, -2, Vendredi, 1867}, {Quebec, 0, 0, 0, 1, Lundi, 1867},
    {Quebec, 18, 5, 1, 0, " Fête de Dollard ", 1953, 2002}, // Monday before 25 May: federal act of 1952
    {Quebec, 18, 5, 1, 0, " Journée nationale des patriotes ", 2003}, // decree 1322-2002
    {Quebec, 1, 9, 1, 0, " Fête du Travail ", 1894},  // first Monday of September: federal act of 1894
    {Quebec, 8, 10, 1, 0, " Action de grâces ", 1957}, // second Monday of October: proclamation of 1957
    {Quebec, 1, 1, 0, 0, JourAn, 1867},
    {Quebec, 24, 6, 0, 0, " Saint-Jean-Baptiste ", 1925, 1977}, // Quebec act of 1925
    {Quebec, 24, 6, 0, 0, " Fête nationale du Québec ", 1978, INT_MAX, AuLieu}, // National Holiday Act, 1978
    {Quebec, 1, 7, 0, 0, " Fête du Dominion ", 1879, 1982, AuLieu}, // federal act of 1879, 2 July after a Sunday
    {Quebec, 1, 7, 0, 0, " Fête du Canada ", 1983, INT_MAX, AuLieu}, // renamed by the federal act of 1982
    {Quebec, 25, 12, 0, 0, Noel, 1867},
};

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

std::string NomsRegions()
{
    std::string r;
    for (const char* n : Noms)
        r += (r.empty() ? "" : ", ") + std::string(n);
    return r;
}

std::optional<Region> RegionDeTexte(std::string_view texte)
{
    const std::string plie = Plier(texte);
    const std::string_view nom = SansPrefixe(plie);
    for (int i = 0; i < NombreRegions; ++i)
        if (nom == SansPrefixe(Plier(Noms[i])))
            return RegionNumero(i);
    for (const auto& [autre, region] : AutresNoms)
        if (nom == autre)
            return region;
    return std::nullopt;
}

bool FeriesNationauxFrancais(Region r)
{
    return static_cast<int>(r) <= static_cast<int>(Region::Mayotte);
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
    case Region::Metropole: return {};
    default: break;
    }
    std::vector<FerieRegional> liste;
    for (const Regle& g : Regles) {
        if (g.region != r || annee < g.premiere || annee > g.derniere)
            continue;
        Date d{g.jour, g.mois, annee};
        if (g.mois == 0)
            d = AjouterJours(DimanchePaques(annee), g.decalage);
        else if (g.jourSemaine != 0)
            d = AjouterJours(d, (g.jourSemaine - JourDeLaSemaine(d) + 7) % 7 + g.decalage);
        const bool dimanche = g.report != Report::Aucun && JourDeLaSemaine(d) == 7;
        if (!(dimanche && g.report == Report::AuLieu))
            liste.push_back({d, g.bulle});
        if (dimanche)
            liste.push_back({AjouterJours(d, 1), g.bulleReport ? g.bulleReport : g.bulle});
    }
    return liste;
}
