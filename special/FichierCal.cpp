#include "special/FichierCal.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

#include "commun/EcritureAtomique.h"
#include "commun/LectureBornee.h"
#include "commun/Nombres.h"
#include "commun/Texte.h"
#include "calendar/Date.h"
#include "calendar/Mois.h"

namespace {

constexpr int MoisParFichier = 12;

bool estFinLigne(char c) { return c == '\r' || c == '\n'; }

struct Champ {
    std::string_view texte; // without the quotes of a quoted field
    bool entreGuillemets = false;
};

// Splits the text into fields the way the file is read back: a comma or a line
// end (CR LF, CR or LF) ends a field; a field starting with a double quote runs
// to the next double quote on the same line, anything after it up to the
// delimiter is dropped. Lines holding only blanks are skipped.
class LecteurChamps {
public:
    explicit LecteurChamps(std::string_view s) : s_(s) {}

    bool suivant(Champ& champ)
    {
        for (;;) {
            while (i_ < s_.size() && EstBlanc(s_[i_], BlancsLigne))
                ++i_;
            if (i_ >= s_.size())
                return false;
            if (estFinLigne(s_[i_])) {
                passerFinLigne();
                if (debutLigne_)
                    continue; // blank line
                // A comma right before the line end leaves an empty field.
                debutLigne_ = true;
                champ = Champ{};
                return true;
            }
            break;
        }

        champ = Champ{};
        if (s_[i_] == '"') {
            size_t debut = ++i_;
            while (i_ < s_.size() && s_[i_] != '"' && !estFinLigne(s_[i_]))
                ++i_;
            champ.texte = s_.substr(debut, i_ - debut);
            champ.entreGuillemets = true;
            while (i_ < s_.size() && s_[i_] != ',' && !estFinLigne(s_[i_]))
                ++i_;
        } else {
            size_t debut = i_;
            while (i_ < s_.size() && s_[i_] != ',' && !estFinLigne(s_[i_]))
                ++i_;
            champ.texte = SansBlancs(s_.substr(debut, i_ - debut), BlancsLigne);
        }

        if (i_ < s_.size() && s_[i_] == ',') {
            ++i_;
            debutLigne_ = false;
        } else {
            passerFinLigne();
            debutLigne_ = true;
        }
        return true;
    }

private:
    void passerFinLigne()
    {
        if (i_ < s_.size() && s_[i_] == '\r')
            ++i_;
        if (i_ < s_.size() && s_[i_] == '\n')
            ++i_;
    }

    std::string_view s_;
    size_t i_ = 0;
    bool debutLigne_ = true;
};

// A decimal number filling the whole field (optional sign, digits, optional
// decimal point and exponent). A number out of the range of a double still
// counts as a number and comes back as infinity.
bool lireNombre(const Champ& champ, double& valeur)
{
    if (champ.entreGuillemets)
        return false;
    std::string_view t = champ.texte;
    if (t.size() > 1 && t.front() == '+' && t[1] != '-' && t[1] != '+')
        t.remove_prefix(1);
    if (t.empty())
        return false;
    // Only plain decimal text: no "inf", "nan" or other words.
    for (char c : t)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return false;
    const char* fin = t.data() + t.size();
    auto r = std::from_chars(t.data(), fin, valeur);
    if (r.ptr != fin)
        return false;
    if (r.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: a number, but no colour.
        valeur = HUGE_VAL;
        return true;
    }
    return r.ec == std::errc{};
}

bool quatreChiffres(std::string_view t)
{
    if (t.size() != 4)
        return false;
    for (char c : t)
        if (c < '0' || c > '9')
            return false;
    return true;
}

} // namespace

bool EstCouleurValide(double valeur)
{
    return std::isfinite(valeur) && valeur >= 0 && valeur <= 16777215.0;
}

std::string EcrireCal(const double table[13][43], std::string_view annee)
{
    std::string texte;
    texte.reserve(MoisParFichier * (3 + CellulesParMois * 9) + 8);
    for (int m = 1; m <= MoisParFichier; ++m) {
        texte += std::to_string(m);
        for (int k = 0; k < CellulesParMois; ++k) {
            double v = table[m][k];
            texte += ',';
            texte += TexteNombre(EstCouleurValide(v) ? v : 0.0);
        }
        texte += "\r\n";
    }
    texte += '"';
    for (char c : annee)
        if (c != '"' && !estFinLigne(c))
            texte += c;
    texte += "\"\r\n";
    return texte;
}

bool SauverCal(const std::filesystem::path& chemin, const double table[13][43], std::string_view annee)
{
    return EcrireFichierAtomique(chemin, EcrireCal(table, annee));
}

LectureCal LireCal(std::string_view contenu, double table[13][43])
{
    LectureCal res;
    LecteurChamps lecteur(contenu);
    Champ champ;
    bool complet = true;

    for (int m = 1; m <= MoisParFichier; ++m) {
        // The month number: read and not used.
        if (!lecteur.suivant(champ))
            return res;
        ++res.champsLus;
        double v = 0;
        if (!lireNombre(champ, v))
            complet = false;

        for (int k = 0; k < CellulesParMois; ++k) {
            if (!lecteur.suivant(champ))
                return res;
            ++res.champsLus;
            if (!lireNombre(champ, v)) {
                ++res.champsInvalides;
                complet = false;
                continue;
            }
            if (!EstCouleurValide(v)) {
                ++res.couleursInvalides;
                v = 0;
            }
            table[m][k] = v + 0.0; // no negative zero
            ++res.valeursLues;
        }
    }
    res.ok = complet;

    if (!lecteur.suivant(champ))
        return res; // no year line
    std::string_view an = SansBlancs(champ.texte, BlancsLigne);
    if (quatreChiffres(an))
        res.annee = std::string(an);
    else if (!an.empty())
        res.anneeRefusee = true;

    res.donneesEnTrop = lecteur.suivant(champ);
    return res;
}

LectureCal LireFichierCal(const std::filesystem::path& chemin, double table[13][43])
{
    LectureCal refus;
    refus.refuse = true;

    std::string contenu;
    if (LireFichierBorne(chemin, TailleMaxCal, contenu) != EtatLecture::Lu)
        return refus;
    return LireCal(std::string_view(contenu), table);
}

std::string NomFichierCalParDefaut(int jour, int mois, int annee)
{
    const char* nomMois = (mois >= 1 && mois <= 12) ? NomMoisAbrege[mois - 1] : "";
    char buf[96];
    std::snprintf(buf, sizeof buf, "CoulSP le %02d,%s,%04d.Cal", jour, nomMois, annee);
    return buf;
}

std::string NomAvecExtensionCal(std::string_view nom)
{
    std::string resultat(nom);
    if (nom.empty() || nom.back() == '/')
        return resultat;
    if (nom.size() >= 4) {
        const std::string_view fin = nom.substr(nom.size() - 4);
        if (fin[0] == '.' && (fin[1] | 0x20) == 'c' && (fin[2] | 0x20) == 'a' && (fin[3] | 0x20) == 'l'
            && nom.size() > 4 && nom[nom.size() - 5] != '/')
            return resultat;
    }
    if (resultat.back() != '.')
        resultat += '.';
    return resultat + "Cal";
}
