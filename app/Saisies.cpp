#include "app/Saisies.h"

#include "commun/Nombres.h"
#include "commun/Twips.h"
#include "commun/Texte.h"

#include <algorithm>
#include <cmath>

namespace {

// The digits of the number that starts the text: leading blanks skipped, then
// the digits up to the first other character, blanks between digits skipped as
// in the settings file's numbers ("2030." and "2015 " give 2030 and 2015). An
// empty result when no digit starts the text (a sign included).
std::string chiffresEnTete(std::string_view texte)
{
    std::string chiffres;
    std::size_t i = 0;
    while (i < texte.size() && EstBlanc(texte[i], BlancsLigne))
        ++i;
    for (; i < texte.size(); ++i) {
        if (texte[i] >= '0' && texte[i] <= '9')
            chiffres += texte[i];
        else if (!EstBlanc(texte[i], BlancsLigne))
            break;
    }
    return chiffres;
}

} // namespace

std::string_view AvertissementAnnee(std::string_view texte)
{
    if (const std::optional<AnneesJointes> a = LireAnneesJointes(texte)) {
        if (std::min(a->premiere, a->seconde) < AnneeMin || std::max(a->premiere, a->seconde) > AnneeMax)
            return MessageControleAnnee;
        return a->anneeScolaire() ? std::string_view() : MessageAnneeScolaire;
    }
    const std::string tete = chiffresEnTete(texte);
    std::string_view chiffres = tete;
    if (chiffres.empty())
        return MessageControleAnnee;
    while (chiffres.size() > 1 && chiffres.front() == '0')
        chiffres.remove_prefix(1);
    if (chiffres.size() > 4)
        return MessageControleAnnee;
    int annee = 0;
    for (char c : chiffres)
        annee = annee * 10 + (c - '0');
    return annee < AnneeMin || annee > AnneeMax ? MessageControleAnnee : std::string_view();
}

std::optional<std::string> AnneeChoisie(std::string_view texte)
{
    if (const std::optional<AnneesJointes> a = LireAnneesJointes(texte)) {
        if (!a->anneeScolaire())
            return std::nullopt;
        return TextePeriode(Periode{int(a->premiere), MoisRentree});
    }
    const std::string chiffres = chiffresEnTete(texte);
    if (chiffres.empty())
        return std::nullopt;
    // Leading zeros only pad, so the last four characters of "0000" + digits
    // are those of "0000" + the number.
    std::string t = "0000" + chiffres;
    return t.substr(t.size() - 4);
}

double ValeurTaille(std::string_view texte) { return ValeurTexte(texte); }

int16_t TailleAvantDe(std::string_view texte) { return VersEntier16(ValeurTaille(texte)); }

bool LargeurValide(double mm) { return mm >= LargeurMin && mm <= LargeurMax; }

bool HauteurValide(double mm) { return mm >= HauteurMin && mm <= HauteurMax; }

int16_t MmVersTwips(double mm, bool* ok) { return VersEntier16(mm * TwipsParMm, ok); }

int HauteurPourLargeur(double largeurMm) { return VersEntier32(largeurMm * ProportionFeuille); }

int LargeurPourHauteur(double hauteurMm) { return VersEntier32(hauteurMm / ProportionFeuille); }

std::optional<int> HauteurZone(double largeurMm, double ratioZone)
{
    if (!std::isfinite(ratioZone) || ratioZone <= 0)
        return std::nullopt;
    bool ok = false;
    int hauteur = VersEntier32(largeurMm * ratioZone, &ok);
    if (!ok)
        return std::nullopt;
    MmVersTwips(hauteur, &ok);
    if (!ok)
        return std::nullopt;
    return hauteur;
}

ChangementLargeur CalculLargeur(std::string_view texte, bool zone, double ratioZone)
{
    ChangementLargeur c;
    double w = ValeurTaille(texte);
    if (!LargeurValide(w))
        return c;
    if (zone) {
        std::optional<int> h = HauteurZone(w, ratioZone);
        if (!h)
            return c;
        c.hauteur = *h;
    } else {
        c.hauteur = HauteurPourLargeur(w);
    }
    c.valide = true;
    c.largeurTwips = MmVersTwips(w);
    c.hauteurTwips = MmVersTwips(c.hauteur);
    return c;
}

ChangementHauteur CalculHauteur(std::string_view texte)
{
    ChangementHauteur c;
    double h = ValeurTaille(texte);
    if (!HauteurValide(h))
        return c;
    c.valide = true;
    c.hauteurTwips = MmVersTwips(h);
    c.largeur = LargeurPourHauteur(h);
    return c;
}

Touche FiltreTouche(int caractere, bool boiteLargeur)
{
    if (caractere == 8 || (caractere >= '0' && caractere <= '9'))
        return Touche::Admise;
    if (boiteLargeur && caractere == 13)
        return Touche::AdmiseEtApercu;
    return Touche::Refusee;
}

double HautDefilement(int valeur) { return -valeur * 406.865; }
