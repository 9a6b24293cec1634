#include "calendar/Periode.h"

#include <algorithm>
#include <cstdio>

#include "commun/Texte.h"

namespace {

constexpr int64_t NombreMax = 999999999;

// Digits from `i` on: their value (capped), `i` moved past them; false when none.
bool lireNombre(std::string_view t, size_t& i, int64_t& valeur)
{
    const size_t debut = i;
    valeur = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
        valeur = std::min(valeur * 10 + (t[i] - '0'), NombreMax);
    return i > debut;
}

void passerBlancs(std::string_view t, size_t& i)
{
    while (i < t.size() && EstBlanc(t[i], BlancsLigne))
        ++i;
}

} // namespace

std::string TextePeriode(const Periode& p)
{
    char tampon[32];
    if (p.scolaire())
        std::snprintf(tampon, sizeof tampon, "%04d-%04d", p.annee, p.annee + 1);
    else
        std::snprintf(tampon, sizeof tampon, "%04d", p.annee);
    return tampon;
}

std::optional<AnneesJointes> LireAnneesJointes(std::string_view texte)
{
    AnneesJointes a;
    size_t i = 0;
    passerBlancs(texte, i);
    if (!lireNombre(texte, i, a.premiere))
        return std::nullopt;
    passerBlancs(texte, i);
    if (i >= texte.size() || texte[i] != '-')
        return std::nullopt;
    ++i;
    passerBlancs(texte, i);
    if (!lireNombre(texte, i, a.seconde))
        return std::nullopt;
    passerBlancs(texte, i);
    if (i != texte.size())
        return std::nullopt;
    return a;
}

std::optional<Periode> PeriodeDeTexte(std::string_view texte)
{
    if (const std::optional<AnneesJointes> a = LireAnneesJointes(texte))
        return a->anneeScolaire() ? std::optional(Periode{int(a->premiere), MoisRentree}) : std::nullopt;
    const std::string_view t = SansBlancs(texte, BlancsLigne);
    size_t i = 0;
    int64_t annee = 0;
    if (!lireNombre(t, i, annee) || i != t.size() || i > 9)
        return std::nullopt;
    return Periode{int(annee), 1};
}

Date PremierJour(const Periode& p) { return Date{1, p.premierMois, p.annee}; }

int JoursDansPeriode(const Periode& p)
{
    return int(JoursDepuisEpoque(Date{1, p.premierMois + 12, p.annee}) - JoursDepuisEpoque(PremierJour(p)));
}

Periode AnneeScolaireDu(const Date& jour)
{
    const int annee = jour.mois >= MoisRentree - 1 ? jour.annee : jour.annee - 1;
    return Periode{std::clamp(annee, AnneeMin, AnneeMax - 1), MoisRentree};
}
