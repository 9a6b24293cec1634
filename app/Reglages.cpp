#include "app/Reglages.h"

#include "app/Emplacements.h"
#include "commun/FichierIni.h"
#include "commun/Nombres.h"
#include "commun/Texte.h"

#include <algorithm>
#include <charconv>
#include <chrono>

std::string FichierReglages::Lire(std::string_view section, std::string_view nom, std::string_view defaut)
{
    std::string texte = LireIni(m_fichier, section, nom);
    // A key the file does not have holds, for this copy, the value it uses instead:
    // writing that same value back is no change of this copy's.
    m_connues[{std::string(section), std::string(nom)}] = texte.empty() ? std::string(defaut) : texte;
    return texte;
}

// Every setting is written through here: the folder given to CreerDossier is
// created at the first write into it; any other missing folder makes the write
// fail. A file held by another program keeps the settings back (m_enAttente),
// written with the next write.
bool FichierReglages::Ecrire(const std::vector<Reglage>& reglages)
{
    for (const Reglage& r : reglages) {
        const auto meme = std::find_if(m_enAttente.begin(), m_enAttente.end(), [&](const Retenu& a) {
            return a.section == r.section && a.cle == r.cle;
        });
        if (meme != m_enAttente.end())
            meme->valeur = r.valeur;
        else
            m_enAttente.push_back({std::string(r.section), std::string(r.cle), r.valeur});
    }
    return Reessayer();
}

bool FichierReglages::Reessayer()
{
    if (m_enAttente.empty())
        return true;
    if (!m_dossierACreer.empty() && m_fichier.parent_path() == m_dossierACreer)
        CreerDossiers(m_dossierACreer);
    std::vector<EntreeIni> entrees;
    for (const Retenu& r : m_enAttente) {
        const auto connue = m_connues.find({r.section, r.cle});
        const bool inchangee = connue != m_connues.end() && connue->second == SansBlancs(r.valeur, BlancsIni);
        entrees.push_back({r.section, r.cle, r.valeur, inchangee});
    }
    // The window never waits for another program: it tries again later.
    const EcritureIni etat = EcrireIniAttente(m_fichier, entrees, std::chrono::milliseconds(0));
    if (etat == EcritureIni::Ecrit) {
        for (const Retenu& r : m_enAttente)
            m_connues[{r.section, r.cle}] = SansBlancs(r.valeur, BlancsIni);
        m_enAttente.clear();
        return true;
    }
    if (etat == EcritureIni::Occupe) {
        if (m_occupe)
            m_occupe();
        return false;
    }
    // Not to be written at all: the settings last until the program ends.
    m_enAttente.clear();
    // A file the user made read-only (no write permission for anyone) is meant to stay as it is.
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(m_fichier, ec);
    const bool lectureSeule =
        !ec && fs::is_regular_file(st)
        && (st.permissions() & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write))
               == fs::perms::none;
    if (!m_fichier.empty() && !lectureSeule && m_signaler) {
        auto signaler = std::move(m_signaler);
        m_signaler = nullptr;
        signaler(m_fichier.parent_path());
    }
    return false;
}

void FichierReglages::LireCouleurs(SchemaCouleurs& couleurs)
{
    for (int i = 0; i < SchemaCouleurs::Nombre; ++i) {
        const std::string avant = TexteNombreSigne(couleurs.slot(i));
        std::string texte = Lire(SectionCouleurs, CleCouleur[i], SansBlancs(avant, BlancsIni));
        if (!texte.empty())
            couleurs.slot(i) = ValeurTexte(texte);
    }
}

bool FichierReglages::EcrireCouleurs(const SchemaCouleurs& couleurs)
{
    std::vector<Reglage> reglages;
    for (int i = 0; i < SchemaCouleurs::Nombre; ++i)
        reglages.push_back({SectionCouleurs, CleCouleur[i], TexteNombreSigne(couleurs.slot(i))});
    return Ecrire(reglages);
}

std::string FichierReglages::LireLargeur() { return Lire(SectionTaille, CleLargeur, LargeurDefaut); }

bool FichierReglages::EcrireLargeur(std::string_view texte)
{
    return Ecrire({{SectionTaille, CleLargeur, std::string(texte)}});
}

std::string FichierReglages::LireQualite() { return Lire(SectionImpression, CleQualite, QualiteDefaut); }

bool FichierReglages::EcrireQualite(std::string_view code)
{
    return Ecrire({{SectionImpression, CleQualite, std::string(code)}});
}

namespace {
// The names are UTF-8 with no character beyond U+00FF: one byte each in the file.
std::string NomRegionIni(Region region)
{
    std::string texte;
    for (const char* p = NomRegion(region); *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if ((c == 0xC2 || c == 0xC3) && p[1])
            texte += static_cast<char>(((c & 0x1F) << 6) | (static_cast<unsigned char>(*++p) & 0x3F));
        else
            texte += *p;
    }
    return texte;
}
} // namespace

Region FichierReglages::LireRegion()
{
    return RegionDeTexte(Lire(SectionFeries, CleRegion, NomRegionIni(Region::Metropole))).value_or(Region::Metropole);
}

bool FichierReglages::EcrireRegion(Region region)
{
    return Ecrire({{SectionFeries, CleRegion, NomRegionIni(region)}});
}

std::string FichierReglages::LireChoix(std::string_view cle) { return Lire(SectionChoix, cle); }

bool FichierReglages::EcrireChoix(const std::vector<std::pair<std::string, std::string>>& valeurs)
{
    std::vector<Reglage> reglages;
    for (const auto& [cle, valeur] : valeurs)
        reglages.push_back({SectionChoix, cle, valeur});
    return Ecrire(reglages);
}

namespace {
// A key of its own per printer and size; the characters a key cannot hold become '_'.
std::string ClePosition(std::string_view imprimante, int16_t L, int16_t T)
{
    std::string cle = "Position ";
    for (const char c : imprimante)
        cle += (c == '=' || c == ';' || c == '[' || c == ']' || c == '\r' || c == '\n' || c == '\0') ? '_' : c;
    return cle + " " + std::to_string(L) + "x" + std::to_string(T);
}
} // namespace

std::optional<PositionBarres> FichierReglages::LirePositionImpression(std::string_view imprimante, int16_t L, int16_t T)
{
    const std::string texte = Lire(SectionChoix, ClePosition(imprimante, L, T));
    const auto virgule = texte.find(',');
    if (virgule == std::string::npos)
        return std::nullopt;
    const auto entier = [](std::string_view t) -> std::optional<int16_t> {
        t = SansBlancs(t, BlancsNombre);
        int16_t n = 0;
        const auto [fin, err] = std::from_chars(t.data(), t.data() + t.size(), n);
        return err == std::errc() && fin == t.data() + t.size() && !t.empty() ? std::optional(n) : std::nullopt;
    };
    const auto h = entier(std::string_view(texte).substr(0, virgule)), v = entier(std::string_view(texte).substr(virgule + 1));
    if (!h || !v)
        return std::nullopt;
    return PositionBarres{*h, *v};
}

bool FichierReglages::EcrirePositionImpression(std::string_view imprimante, int16_t L, int16_t T, PositionBarres position)
{
    const std::string cle = ClePosition(imprimante, L, T);
    return Ecrire({{SectionChoix, cle, std::to_string(position.h) + "," + std::to_string(position.v)}});
}
