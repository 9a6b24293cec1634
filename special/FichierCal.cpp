#include "special/FichierCal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <system_error>

#include "commun/EcritureAtomique.h"
#include "commun/LectureBornee.h"
#include "commun/Nombres.h"
#include "commun/NomsFichiers.h"
#include "commun/Texte.h"
#include "commun/TexteUtf8.h"
#include "calendar/Date.h"
#include "calendar/Mois.h"
#include "calendar/Periode.h"

namespace {

constexpr int MoisParFichier = 12;
// Month lines of a school year's file: twelve, then the eight of its second year.
constexpr int LignesMoisMax = MoisParFichier + MoisRentree - 1;

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
    return std::isfinite(valeur) && valeur >= 0 && valeur <= CouleurMax;
}

std::string EcrireCal(const TableCouleursSP& table, std::string_view annee)
{
    // A school year: the months of its first year in their lines, those before
    // September empty, the year, then the school year and the months of the second year.
    const std::optional<Periode> periode = PeriodeDeTexte(annee);
    const bool scolaire = periode && periode->scolaire();
    const int decalage = scolaire ? periode->premierMois - 1 : 0; // file line of block 1, less one
    std::string texte;
    texte.reserve((MoisParFichier + decalage) * (3 + CellulesParMois * 9) + 24);
    const auto ligne = [&](int m, int bloc) {
        texte += std::to_string(m);
        for (int k = 0; k < CellulesParMois; ++k) {
            const double v = bloc >= 1 && bloc <= MoisParFichier ? table[bloc][k] : 0.0;
            texte += ',';
            texte += TexteNombre(EstCouleurValide(v) ? v : 0.0);
        }
        texte += "\r\n";
    };
    for (int m = 1; m <= MoisParFichier; ++m)
        ligne(m, m - decalage);
    texte += '"';
    if (scolaire)
        texte += TextePeriode(Periode{periode->annee, 1});
    else
        for (char c : annee)
            if (c != '"' && !estFinLigne(c))
                texte += c;
    texte += "\"\r\n";
    if (scolaire) {
        texte += '"' + TextePeriode(*periode) + "\"\r\n";
        for (int m = 1; m <= decalage; ++m)
            ligne(m, MoisParFichier - decalage + m);
    }
    return texte;
}

bool SauverCal(const std::filesystem::path& chemin, const TableCouleursSP& table, std::string_view annee)
{
    return EcrireFichierAtomique(chemin, EcrireCal(table, annee));
}

namespace {

// The month lines of a file in their order, the year lines left out: the
// values read and whether each was.
struct LignesCal {
    double valeurs[LignesMoisMax][CellulesParMois] = {};
    bool lues[LignesMoisMax][CellulesParMois] = {};
};

// Reads the month lines debut..fin - 1 (from 0). False when the text ends first.
bool lireLignes(LecteurChamps& lecteur, LignesCal& lignes, int debut, int fin, LectureCal& res, bool& complet)
{
    Champ champ;
    double v = 0;
    for (int l = debut; l < fin; ++l) {
        // The month number: read and not used.
        if (!lecteur.suivant(champ))
            return false;
        ++res.champsLus;
        if (!lireNombre(champ, v))
            complet = false;

        for (int k = 0; k < CellulesParMois; ++k) {
            if (!lecteur.suivant(champ))
                return false;
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
            lignes.valeurs[l][k] = v + 0.0; // no negative zero
            lignes.lues[l][k] = true;
        }
    }
    return true;
}

// Block b takes file line b + decalage: the months of a school year start on
// the line of its first month.
void appliquer(const LignesCal& lignes, int decalage, TableCouleursSP& table, LectureCal& res)
{
    for (int b = 1; b <= MoisParFichier; ++b)
        for (int k = 0; k < CellulesParMois; ++k)
            if (lignes.lues[b - 1 + decalage][k]) {
                table[b][k] = lignes.valeurs[b - 1 + decalage][k];
                ++res.valeursLues;
            }
}

// Reads the month lines and the year (and, for a school year, its second
// year's months) into `lignes`; the shift of the first month's line in the
// table: 0 for a plain year, 8 for a school year.
int lireTout(LecteurChamps& lecteur, LignesCal& lignes, LectureCal& res)
{
    Champ champ;
    bool complet = true;
    if (!lireLignes(lecteur, lignes, 0, MoisParFichier, res, complet))
        return 0; // cut short
    res.ok = complet;
    if (!lecteur.suivant(champ))
        return 0; // no year line
    std::string_view an = SansBlancs(champ.texte, BlancsLigne);
    if (quatreChiffres(an))
        res.annee = std::string(an);
    else if (!an.empty())
        res.anneeRefusee = true;

    // A school year starting in the year of line 13 names itself on the next
    // line, before the months of its second year.
    res.donneesEnTrop = lecteur.suivant(champ);
    const std::optional<Periode> p = champ.entreGuillemets ? PeriodeDeTexte(champ.texte) : std::nullopt;
    // (The month lines read are bounded by LignesMoisMax: a school year starts in September.)
    if (!res.donneesEnTrop || res.annee.empty() || !p || !p->scolaire() || p->premierMois != MoisRentree
        || TextePeriode(Periode{p->annee, 1}) != res.annee)
        return 0;
    const int decalage = p->premierMois - 1;
    res.annee = TextePeriode(*p);
    if (lireLignes(lecteur, lignes, MoisParFichier, MoisParFichier + decalage, res, complet))
        res.donneesEnTrop = lecteur.suivant(champ);
    else
        res.donneesEnTrop = false, complet = false;
    res.ok = complet;
    return decalage;
}

} // namespace

namespace {
constexpr std::string_view DebutEtiquette = "Etiquette,";

// The text without its label lines (their line ends kept): the colours and the
// year are read from it, so that labels are no data after the year.
std::string SansLignesEtiquettes(std::string_view contenu)
{
    std::string reste;
    reste.reserve(contenu.size());
    for (size_t i = 0; i < contenu.size();) {
        const size_t fin = std::min(contenu.find_first_of("\r\n", i), contenu.size());
        const std::string_view ligne = contenu.substr(i, fin - i);
        if (SansBlancs(ligne, BlancsLigne).substr(0, DebutEtiquette.size()) != DebutEtiquette)
            reste.append(ligne);
        if (fin < contenu.size())
            reste += contenu[fin];
        i = fin + 1;
    }
    return reste;
}
} // namespace

LectureCal LireCal(std::string_view contenu, TableCouleursSP& table)
{
    LectureCal res;
    const std::string colonnes = SansLignesEtiquettes(contenu);
    LecteurChamps lecteur(colonnes);
    LignesCal lignes;
    const int decalage = lireTout(lecteur, lignes, res);
    appliquer(lignes, decalage, table, res);
    res.etiquettes = LireEtiquettes(contenu);
    return res;
}

std::string MotifRefusCal(const LectureCal& l)
{
    if (l.refuse)
        return "il n'a pas pu être lu";
    if (!l.ok)
        return "ses lignes de mois sont incomplètes ou ne sont pas des nombres";
    if (l.anneeRefusee)
        return "son année n'est pas de quatre chiffres";
    if (l.donneesEnTrop)
        return "des données suivent son année";
    const std::optional<Periode> p = PeriodeDeTexte(l.annee);
    if (!l.annee.empty() && (!p || p->annee < AnneeMin || p->annee > AnneeMax))
        return "son année " + l.annee + " n'est pas entre " + std::to_string(AnneeMin) + " et "
               + std::to_string(AnneeMax);
    return {};
}

LectureCal LireFichierCal(const std::filesystem::path& chemin, TableCouleursSP& table)
{
    LectureCal res;
    std::string contenu;
    if (LireFichierBorne(chemin, TailleMaxCal, contenu) != EtatLecture::Lu) {
        res.refuse = true;
        return res;
    }
    TableCouleursSP lue;
    std::copy(&table[0][0], &table[0][0] + std::size(lue) * std::size(lue[0]), &lue[0][0]);
    res = LireCal(std::string_view(contenu), lue);
    if (MotifRefusCal(res).empty())
        std::copy(&lue[0][0], &lue[0][0] + std::size(lue) * std::size(lue[0]), &table[0][0]);
    return res;
}

void PlacerCal(TableCouleursSP& table, const Periode& fichier, const Periode& feuille)
{
    if (fichier.scolaire() == feuille.scolaire())
        return;
    TableCouleursSP lue;
    std::copy(&table[0][0], &table[0][0] + std::size(lue) * std::size(lue[0]), &lue[0][0]);
    const auto rang = [](const Periode& p, int bloc) { return p.annee * 12 + p.premierMois + bloc - 2; };
    for (int b = 1; b <= MoisParFichier; ++b) {
        const int source = rang(feuille, b) - rang(fichier, 1) + 1;
        for (int k = 0; k < CellulesParMois; ++k)
            table[b][k] = source >= 1 && source <= MoisParFichier ? lue[source][k] : 0.0;
    }
}

std::string EtiquettePropre(std::string_view t)
{
    std::string e;
    for (char c : t)
        if (c != '"' && static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
            e += c;
    e = std::string(SansBlancs(e, BlancsLigne));
    CouperUtf8(e, LongueurEtiquetteMax);
    return e;
}

std::string LignesEtiquettes(const EtiquettesCouleurs& etiquettes)
{
    std::string texte;
    std::size_t n = 0;
    for (const auto& [couleur, etiquette] : etiquettes) {
        const std::string e = EtiquettePropre(etiquette);
        if (e.empty() || !EstCouleurValide(couleur) || ++n > EtiquettesMax)
            continue;
        texte.append(DebutEtiquette).append(std::to_string(couleur)).append(",\"").append(e).append("\"\r\n");
    }
    return texte;
}

EtiquettesCouleurs LireEtiquettes(std::string_view contenu)
{
    EtiquettesCouleurs etiquettes;
    for (size_t i = 0; i < contenu.size();) {
        size_t fin = contenu.find_first_of("\r\n", i);
        if (fin == std::string_view::npos)
            fin = contenu.size();
        std::string_view ligne = SansBlancs(contenu.substr(i, fin - i), BlancsLigne);
        i = fin + 1;
        if (ligne.substr(0, DebutEtiquette.size()) != DebutEtiquette)
            continue;
        ligne.remove_prefix(DebutEtiquette.size());
        const size_t virgule = ligne.find(',');
        int couleur = -1;
        const std::string_view nombre = ligne.substr(0, std::min(virgule, ligne.size()));
        if (virgule == std::string_view::npos || nombre.empty() || nombre.size() > 8
            || std::from_chars(nombre.data(), nombre.data() + nombre.size(), couleur).ptr != nombre.data() + nombre.size()
            || !EstCouleurValide(couleur))
            continue;
        std::string_view e = SansBlancs(ligne.substr(virgule + 1), BlancsLigne);
        if (e.size() < 2 || e.front() != '"' || e.back() != '"')
            continue;
        if (const std::string propre = EtiquettePropre(e.substr(1, e.size() - 2));
            !propre.empty() && (etiquettes.size() < EtiquettesMax || etiquettes.count(couleur)))
            etiquettes[couleur] = propre;
    }
    return etiquettes;
}

bool SauverCal(const std::filesystem::path& chemin, const TableCouleursSP& table, std::string_view annee,
               const EtiquettesCouleurs& etiquettes)
{
    return EcrireFichierAtomique(chemin, EcrireCal(table, annee) + LignesEtiquettes(etiquettes));
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
    return AvecExtension(nom, ".Cal");
}

FichierAOuvrir TypeAOuvrir(std::string_view nom)
{
    return AExtension(nom, ".cal")   ? FichierAOuvrir::Cal
           : AExtension(nom, ".ics") ? FichierAOuvrir::Ics
                                     : FichierAOuvrir::Aucun;
}
