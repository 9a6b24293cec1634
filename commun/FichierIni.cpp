#include "commun/FichierIni.h"

#include "commun/EcritureAtomique.h"
#include "commun/LectureBornee.h"
#include "commun/Texte.h"
#include "commun/Verrou.h"

#include <optional>

namespace fs = std::filesystem;

namespace {

// Lower case of a Windows-1252 byte: ASCII letters, the accented capitals
// 0xC0-0xDE (except the multiplication sign 0xD7), and the four capitals of the
// 0x80-0x9F block (Š, Œ, Ž, Ÿ).
unsigned char minuscule(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 32);
    if (c == 0x8A || c == 0x8C || c == 0x8E)
        return static_cast<unsigned char>(c + 0x10);
    if (c == 0x9F)
        return 0xFF;
    return c;
}

bool memeNom(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (minuscule(static_cast<unsigned char>(a[i])) != minuscule(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// One line of the file: its text [debut, fin) without the line end, and the
// offset just after its line end (== fin for a last line without one).
struct Ligne {
    size_t debut, fin, suivante;
};

// Calls f(ligne) for each line that is not blank, in order, until f returns
// false, without keeping the lines. Lines end at '\n'; a '\r' just before it belongs to the
// line end. A UTF-8 byte order mark at the very start is not part of the first
// line's text.
template <typename F>
void pourChaqueLigne(std::string_view texte, F&& f)
{
    size_t i = 0;
    if (texte.substr(0, 3) == "\xEF\xBB\xBF")
        i = 3;
    while (i < texte.size()) {
        // Lines of blanks only are neither sections nor keys: passed quickly.
        size_t j = i;
        while (j < texte.size() && EstBlanc(texte[j], BlancsIni))
            ++j;
        if (j < texte.size() && texte[j] == '\n') {
            i = j + 1;
            continue;
        }
        size_t nl = texte.find('\n', j);
        size_t fin = nl == std::string_view::npos ? texte.size() : nl;
        size_t suivante = nl == std::string_view::npos ? texte.size() : nl + 1;
        if (nl != std::string_view::npos && fin > i && texte[fin - 1] == '\r')
            --fin;
        if (!f(Ligne{i, fin, suivante}))
            return;
        i = suivante;
    }
}

enum class Sorte { Autre, Section, Cle };

struct Analyse {
    Sorte sorte = Sorte::Autre;
    std::string_view nom;    // section or key name, blanks removed
    std::string_view valeur; // key value, blanks removed
};

// A section line is '[' name ']' (text after ']' ignored); a '[' without ']'
// opens nothing. A key line is name '=' value with a non-empty name; lines
// without '=' and comments (';') are neither.
Analyse analyser(std::string_view ligne)
{
    Analyse a;
    std::string_view t = SansBlancs(ligne, BlancsIni);
    if (t.empty() || t.front() == ';')
        return a;
    if (t.front() == '[') {
        size_t ferme = t.find(']');
        if (ferme != std::string_view::npos) {
            a.sorte = Sorte::Section;
            a.nom = SansBlancs(t.substr(1, ferme - 1), BlancsIni);
        }
        return a;
    }
    size_t egal = t.find('=');
    if (egal == std::string_view::npos)
        return a;
    a.nom = SansBlancs(t.substr(0, egal), BlancsIni);
    if (a.nom.empty())
        return a;
    a.sorte = Sorte::Cle;
    a.valeur = SansBlancs(t.substr(egal + 1), BlancsIni);
    return a;
}

bool contientUnDe(std::string_view s, std::string_view interdits)
{
    return s.find_first_of(interdits) != std::string_view::npos;
}

const std::string_view FinDeLigneOuNul("\r\n\0", 3);

} // namespace

std::string LireIni(const fs::path& fichier, std::string_view section, std::string_view cle,
                    std::string_view defaut, size_t taille)
{
    const size_t max = taille == 0 ? 0 : taille - 1;
    std::string_view resultat = defaut;
    std::string contenu;
    section = SansBlancs(section, BlancsIni);
    cle = SansBlancs(cle, BlancsIni);
    if (!cle.empty() && LireFichierBorne(fichier, TailleMaxIni, contenu) == EtatLecture::Lu) {
        const std::string_view texte = contenu;
        bool dansSection = false, sectionVue = false;
        pourChaqueLigne(texte, [&](const Ligne& l) {
            Analyse a = analyser(texte.substr(l.debut, l.fin - l.debut));
            if (a.sorte == Sorte::Section) {
                if (sectionVue)
                    return false; // only the first section of that name counts
                dansSection = memeNom(a.nom, section);
                sectionVue = dansSection;
            } else if (dansSection && a.sorte == Sorte::Cle && memeNom(a.nom, cle)) {
                std::string_view v = a.valeur;
                v = v.substr(0, v.find('\0'));
                if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
                    v = v.substr(1, v.size() - 2);
                resultat = v;
                return false;
            }
            return true;
        });
    }
    return std::string(resultat.substr(0, max));
}

namespace {

// Names and value must stay on their line and keep their meaning there.
bool ecrivable(std::string_view section, std::string_view cle, std::string_view valeur)
{
    return !(cle.empty() || cle.front() == '[' || cle.front() == ';' || contientUnDe(cle, "=")
             || contientUnDe(cle, FinDeLigneOuNul) || contientUnDe(section, "]")
             || contientUnDe(section, FinDeLigneOuNul) || contientUnDe(valeur, FinDeLigneOuNul));
}

// Sets one key in the text of the file (see EcrireIni).
void appliquer(std::string& contenu, const EntreeIni& e)
{
    const std::string_view section = SansBlancs(e.section, BlancsIni), cle = SansBlancs(e.cle, BlancsIni);
    const std::string nouvelle = std::string(cle) + "=" + std::string(e.valeur) + "\r\n";
    const std::string_view texte = contenu;
    std::string resultat;

    bool dansSection = false, trouvee = false;
    std::optional<Ligne> apres; // line after which a new key goes
    std::optional<Ligne> remplacee;
    std::string cleExistante;
    pourChaqueLigne(texte, [&](const Ligne& l) {
        Analyse a = analyser(texte.substr(l.debut, l.fin - l.debut));
        if (a.sorte == Sorte::Section) {
            if (trouvee)
                return false;
            dansSection = memeNom(a.nom, section);
            if (dansSection) {
                trouvee = true;
                apres = l;
            }
        } else if (dansSection && a.sorte == Sorte::Cle) {
            apres = l;
            if (memeNom(a.nom, cle)) {
                remplacee = l;
                cleExistante = a.nom; // the file keeps its own spelling of the name
                return false;
            }
        }
        return true;
    });

    if (remplacee) {
        if (e.siAbsente)
            return;
        resultat.reserve(contenu.size() + nouvelle.size());
        resultat.append(texte.substr(0, remplacee->debut));
        resultat.append(cleExistante).append("=").append(e.valeur).append("\r\n");
        resultat.append(texte.substr(remplacee->suivante));
    } else if (apres) {
        resultat.reserve(contenu.size() + nouvelle.size() + 2);
        resultat.append(texte.substr(0, apres->suivante));
        if (apres->suivante == apres->fin) // last line of the file, without a line end
            resultat.append(texte.back() == '\r' ? "\n" : "\r\n");
        resultat.append(nouvelle);
        resultat.append(texte.substr(apres->suivante));
    } else {
        resultat = contenu;
        if (!resultat.empty() && resultat.back() != '\n')
            resultat.append(resultat.back() == '\r' ? "\n" : "\r\n");
        resultat.append("[").append(section).append("]\r\n").append(nouvelle);
    }
    contenu = std::move(resultat);
}

} // namespace

EtatLecture ExaminerIni(const fs::path& fichier)
{
    std::string contenu;
    return LireFichierBorne(fichier, TailleMaxIni, contenu);
}

EcritureIni EcrireIniAttente(const fs::path& fichier, std::span<const EntreeIni> entrees,
                             std::chrono::milliseconds attente)
{
    for (const EntreeIni& e : entrees)
        if (!ecrivable(SansBlancs(e.section, BlancsIni), SansBlancs(e.cle, BlancsIni), e.valeur))
            return EcritureIni::Refusee;

    // Read, changed and replaced by one copy of the program at a time.
    const VerrouFichier verrou(fichier, attente);
    if (verrou.etat() == EtatVerrou::Occupe)
        return EcritureIni::Occupe;
    // A symbolic link is read through; whether it may be written through is
    // the atomic writer's rule (the link and its target must be ours).
    std::string contenu;
    switch (LireFichierBorne(fichier, TailleMaxIni, contenu)) {
    case EtatLecture::TropGros:
        return EcritureIni::TropGros;
    case EtatLecture::Illisible:
        return EcritureIni::Refusee;
    default:
        break;
    }
    std::string resultat = contenu;
    for (const EntreeIni& e : entrees)
        appliquer(resultat, e);

    if (resultat == contenu)
        return EcritureIni::Ecrit; // already so
    if (resultat.size() > TailleMaxIni)
        return EcritureIni::TropGros;
    return EcrireFichierAtomique(fichier, resultat) ? EcritureIni::Ecrit : EcritureIni::Refusee;
}

std::string MotifEcritureIni(EcritureIni etat)
{
    switch (etat) {
    case EcritureIni::Ecrit: return {};
    case EcritureIni::Occupe: return "un autre programme tient le fichier de réglages";
    case EcritureIni::TropGros:
        return "le fichier de réglages dépasse " + std::to_string(TailleMaxIni / (1024 * 1024)) + " Mo";
    case EcritureIni::Refusee: break;
    }
    return "le fichier de réglages ne peut pas être écrit";
}

bool EcrireIni(const fs::path& fichier, std::span<const EntreeIni> entrees)
{
    return EcrireIniAttente(fichier, entrees, AttenteVerrou) == EcritureIni::Ecrit;
}

bool EcrireIni(const fs::path& fichier, std::string_view section, std::string_view cle, std::string_view valeur)
{
    const EntreeIni e{section, cle, valeur};
    return EcrireIni(fichier, std::span(&e, 1));
}
