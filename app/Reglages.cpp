#include "app/Reglages.h"

#include "app/Emplacements.h"
#include "commun/FichierIni.h"
#include "commun/Nombres.h"
#include "commun/Texte.h"

#include <charconv>
#include <map>
#include <tuple>
#include <vector>

namespace {

std::filesystem::path& DossierACreer()
{
    static std::filesystem::path dossier;
    return dossier;
}

std::function<void(const std::filesystem::path&)>& Signalement()
{
    static std::function<void(const std::filesystem::path&)> signaler;
    return signaler;
}

// The text of each key as this process last read or wrote it, by file, section and key.
using Cle = std::tuple<std::string, std::string, std::string>;
std::map<Cle, std::string>& Connues()
{
    static std::map<Cle, std::string> connues;
    return connues;
}

Cle cle(const std::filesystem::path& fichier, std::string_view section, std::string_view cle)
{
    return {fichier.native(), std::string(section), std::string(cle)};
}

std::string Lire(const std::filesystem::path& fichier, std::string_view section, std::string_view nom)
{
    std::string texte = LireIni(fichier, section, nom);
    Connues()[cle(fichier, section, nom)] = texte;
    return texte;
}

struct Reglage {
    std::string_view section, cle;
    std::string valeur;
};

// Every setting is written through here: the folder given to
// CreerDossierReglages is created at the first write into it; any other
// missing folder makes the write fail.
bool Ecrire(const std::filesystem::path& fichier, const std::vector<Reglage>& reglages)
{
    if (!DossierACreer().empty() && fichier.parent_path() == DossierACreer())
        CreerDossiers(DossierACreer());
    std::vector<EntreeIni> entrees;
    for (const Reglage& r : reglages) {
        const auto connue = Connues().find(cle(fichier, r.section, r.cle));
        const bool inchangee = connue != Connues().end() && connue->second == SansBlancs(r.valeur, BlancsIni);
        entrees.push_back({r.section, r.cle, r.valeur, inchangee});
    }
    if (EcrireIni(fichier, entrees)) {
        for (const Reglage& r : reglages)
            Connues()[cle(fichier, r.section, r.cle)] = SansBlancs(r.valeur, BlancsIni);
        return true;
    }
    // A file the user made read-only (no write permission for anyone) is meant to stay as it is.
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(fichier, ec);
    const bool lectureSeule =
        !ec && fs::is_regular_file(st)
        && (st.permissions() & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write))
               == fs::perms::none;
    if (!fichier.empty() && !lectureSeule && Signalement()) {
        auto signaler = std::move(Signalement());
        Signalement() = nullptr;
        signaler(fichier.parent_path());
    }
    return false;
}

bool Ecrire(const std::filesystem::path& fichier, std::string_view section, std::string_view nom,
            std::string_view valeur)
{
    return Ecrire(fichier, {{section, nom, std::string(valeur)}});
}

} // namespace

void CreerDossierReglages(const std::filesystem::path& dossier) { DossierACreer() = dossier; }

void SignalerEchecReglages(std::function<void(const std::filesystem::path& dossier)> signaler)
{
    Signalement() = std::move(signaler);
}

void LireCouleurs(const std::filesystem::path& fichier, SchemaCouleurs& couleurs)
{
    for (int i = 0; i < SchemaCouleurs::Nombre; ++i) {
        std::string texte = Lire(fichier, SectionCouleurs, CleCouleur[i]);
        if (!texte.empty())
            couleurs.slot(i) = ValeurTexte(texte);
    }
}

bool EcrireCouleurs(const std::filesystem::path& fichier, const SchemaCouleurs& couleurs)
{
    std::vector<Reglage> reglages;
    for (int i = 0; i < SchemaCouleurs::Nombre; ++i)
        reglages.push_back({SectionCouleurs, CleCouleur[i], TexteNombreSigne(couleurs.slot(i))});
    return Ecrire(fichier, reglages);
}

std::string LireLargeur(const std::filesystem::path& fichier) { return Lire(fichier, SectionTaille, CleLargeur); }

bool EcrireLargeur(const std::filesystem::path& fichier, std::string_view texte)
{
    return Ecrire(fichier, SectionTaille, CleLargeur, texte);
}

std::string LireQualite(const std::filesystem::path& fichier)
{
    return Lire(fichier, SectionImpression, CleQualite);
}

bool EcrireQualite(const std::filesystem::path& fichier, std::string_view code)
{
    return Ecrire(fichier, SectionImpression, CleQualite, code);
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

std::optional<PositionBarres> LirePositionImpression(const std::filesystem::path& fichier, std::string_view imprimante,
                                                     int16_t L, int16_t T)
{
    const std::string texte = Lire(fichier, SectionChoix, ClePosition(imprimante, L, T));
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

bool EcrirePositionImpression(const std::filesystem::path& fichier, std::string_view imprimante, int16_t L, int16_t T,
                              PositionBarres position)
{
    return Ecrire(fichier, SectionChoix, ClePosition(imprimante, L, T),
                  std::to_string(position.h) + "," + std::to_string(position.v));
}

Region LireRegion(const std::filesystem::path& fichier)
{
    return RegionDeTexte(Lire(fichier, SectionFeries, CleRegion)).value_or(Region::Metropole);
}

bool EcrireRegion(const std::filesystem::path& fichier, Region region)
{
    // The names are UTF-8 with no character beyond U+00FF: one byte each in the file.
    std::string texte;
    for (const char* p = NomRegion(region); *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if ((c == 0xC2 || c == 0xC3) && p[1])
            texte += static_cast<char>(((c & 0x1F) << 6) | (static_cast<unsigned char>(*++p) & 0x3F));
        else
            texte += *p;
    }
    return Ecrire(fichier, SectionFeries, CleRegion, texte);
}
