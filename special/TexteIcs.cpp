#include "special/TexteIcs.h"

#include "commun/Texte.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

// The properties the import reads: libical needs no other to find the days
// the events cover.
bool proprieteLue(std::string_view nom)
{
    static constexpr std::string_view lues[] = {"BEGIN",         "END",      "METHOD", "UID",          "DTSTART",
                                                "DTEND",         "DURATION", "RRULE",  "RDATE",        "EXDATE",
                                                "RECURRENCE-ID", "STATUS",   "TZID",   "TZOFFSETFROM", "TZOFFSETTO"};
    return std::find(std::begin(lues), std::end(lues), nom) != std::end(lues);
}

// libical's blanks (isspace in the C locale).
bool blanc(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Longer names and the values of BEGIN and END beyond this are compared by
// their start only: no name the import looks for is that long.
constexpr std::size_t NomMax = 64;

// One content line, its continuation lines joined, read character by character.
class LigneContenu {
public:
    void ajouter(std::string_view morceau)
    {
        m_longueur += morceau.size();
        for (char c : morceau) {
            // Over every ';' and ',' of the line, whatever quotes surround them:
            // an upper bound of the parameters and of the values of a list.
            m_pointsVirgules += c == ';';
            m_valeurs += c == ',';
            if (m_etape == Etape::Nom) {
                if (c == ';' || c == ':')
                    m_etape = c == ':' ? Etape::Valeur : Etape::Parametres;
                else if (m_nom.size() < NomMax)
                    m_nom += MajusculeAscii(c);
                else if (!blanc(c))
                    m_nomLong = true;
            } else if (m_etape == Etape::Parametres) {
                if (c == ':')
                    m_etape = Etape::Valeur;
            } else if (m_valeur.size() < NomMax) {
                m_valeur += MajusculeAscii(c);
            }
        }
    }

    // The property name as libical takes it, in upper case; "" when too long
    // to be one the import reads.
    std::string_view nom() const
    {
        if (m_nomLong)
            return {};
        std::string_view n = m_nom;
        while (!n.empty() && blanc(n.back()))
            n.remove_suffix(1);
        return n;
    }

    // The start of the value, blanks around removed (the component of BEGIN and END).
    std::string valeur() const
    {
        std::string_view v = m_valeur;
        while (!v.empty() && blanc(v.front()))
            v.remove_prefix(1);
        while (!v.empty() && blanc(v.back()))
            v.remove_suffix(1);
        return std::string(v);
    }

    std::size_t longueur() const { return m_longueur; }
    int pointsVirgules() const { return m_pointsVirgules; }
    long valeurs() const { return m_valeurs; }

private:
    enum class Etape { Nom, Parametres, Valeur };
    Etape m_etape = Etape::Nom;
    std::string m_nom, m_valeur;
    bool m_nomLong = false;
    std::size_t m_longueur = 0;
    int m_pointsVirgules = 0;
    long m_valeurs = 1;
};

// The structure and the bounds, one content line after the other.
class Verification {
public:
    explicit Verification(std::string& lu) : m_lu(lu) {}

    // `texte`: the line's bytes in the file, continuation lines and line ends included.
    EtatIcs ligne(const LigneContenu& l, std::string_view texte)
    {
        const std::string_view nom = l.nom();
        const bool debut = nom == "BEGIN", fin = nom == "END";
        if (m_premiere) {
            if (!debut || l.pointsVirgules() != 0 || l.valeur() != "VCALENDAR")
                return EtatIcs::PasIcal;
            m_premiere = false;
        }
        if (debut) {
            if (m_pile.empty() && l.valeur() != "VCALENDAR")
                return EtatIcs::PasIcal;
            if (m_pile.size() >= ProfondeurMaxIcs || ++m_composants > ComposantsMaxIcs)
                return EtatIcs::TropComplexe;
            m_pile.push_back({l.valeur(), 0});
        } else if (fin) {
            if (m_pile.empty() || m_pile.back().nom != l.valeur())
                return EtatIcs::Tronque;
            m_pile.pop_back();
        } else if (m_pile.empty()) {
            return EtatIcs::PasIcal; // something after the calendar's end
        }
        // An event's name, for the summary and the label: kept when short,
        // left out otherwise (never a reason to refuse the file).
        if (nom == "SUMMARY") {
            if (l.longueur() <= ResumeMaxIcs && l.pointsVirgules() <= PointsVirgulesMaxIcs)
                m_lu.append(texte);
            return EtatIcs::Ok;
        }
        if (!proprieteLue(nom))
            return EtatIcs::Ok; // left out
        if (l.longueur() > LigneMaxIcs || l.pointsVirgules() > PointsVirgulesMaxIcs
            || (m_pointsVirgules += l.pointsVirgules()) > PointsVirgulesMaxFichierIcs)
            return EtatIcs::TropComplexe;
        if (!debut && !fin
            && ((m_pile.back().valeurs += l.valeurs()) > ValeursMaxParComposant
                || (m_valeurs += l.valeurs()) > ValeursMaxIcs || (nom == "RRULE" && ++m_regles > ReglesMaxIcs)))
            return EtatIcs::TropComplexe;
        m_lu.append(texte);
        return EtatIcs::Ok;
    }

    EtatIcs fin() const
    {
        if (m_premiere)
            return EtatIcs::PasIcal;
        return m_pile.empty() ? EtatIcs::Ok : EtatIcs::Tronque;
    }

private:
    struct Composant {
        std::string nom;
        long valeurs;
    };
    std::string& m_lu;
    std::vector<Composant> m_pile;
    bool m_premiere = true;
    long m_composants = 0, m_valeurs = 0, m_regles = 0, m_pointsVirgules = 0;
};

} // namespace

EtatIcs PreparerTexteIcs(std::string_view s, std::string& lu)
{
    lu.clear();
    if (s.find('\0') != std::string_view::npos)
        return EtatIcs::PasIcal;
    if (s.substr(0, 3) == "\xEF\xBB\xBF")
        s.remove_prefix(3);

    Verification verification(lu);
    LigneContenu courante;
    std::size_t debutCourante = std::string_view::npos; // where the line being read starts
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t nl = s.find('\n', i);
        const std::size_t suivante = nl == std::string_view::npos ? s.size() : nl + 1;
        std::string_view ligne = s.substr(i, suivante - i);
        if (!ligne.empty() && ligne.back() == '\n')
            ligne.remove_suffix(1);
        if (!ligne.empty() && ligne.back() == '\r')
            ligne.remove_suffix(1);
        if (!ligne.empty() && (ligne.front() == ' ' || ligne.front() == '\t')) {
            if (debutCourante == std::string_view::npos)
                return EtatIcs::PasIcal; // continues nothing
            courante.ajouter(ligne.substr(1));
        } else {
            if (debutCourante != std::string_view::npos) {
                const EtatIcs e = verification.ligne(courante, s.substr(debutCourante, i - debutCourante));
                if (e != EtatIcs::Ok)
                    return e;
                debutCourante = std::string_view::npos;
            }
            if (!ligne.empty()) { // an empty line ends the one before and starts none
                courante = LigneContenu();
                courante.ajouter(ligne);
                debutCourante = i;
            }
        }
        i = suivante;
    }
    if (debutCourante != std::string_view::npos) {
        const EtatIcs e = verification.ligne(courante, s.substr(debutCourante));
        if (e != EtatIcs::Ok)
            return e;
    }
    return verification.fin();
}
