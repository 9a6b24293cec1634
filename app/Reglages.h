#pragma once
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calendar/Regions.h"
#include "colour/Couleurs.h"
#include "output/MiseEnPage.h"

// The program's entries in Pelvado.ini, read and written through one object per
// settings file. Reads give "" for a missing or empty entry; writes return
// false when the file could not be written (the program goes on: the setting
// then lasts until it ends).
//
// Several copies of the program may run at once with the same file. Each
// write is one locked read-modify-write of the file (EcrireIni), and a key is
// written only when this copy changed it: the object remembers, for each key,
// the text it last read or wrote (for a key the file did not have, the text of
// the value this copy then used), and a value equal to it is written only where
// the file has no such key, so that a value another copy wrote since is kept.

inline constexpr std::string_view SectionCouleurs = "Couleurs";
inline constexpr std::string_view SectionTaille = "Taille";
inline constexpr std::string_view CleLargeur = "Largeur";
inline constexpr std::string_view SectionImpression = "Impression";
inline constexpr std::string_view CleQualite = "Qualit\xE9";
inline constexpr std::string_view SectionFeries = "F\xE9ri\xE9s";
inline constexpr std::string_view CleRegion = "R\xE9gion";
// The choices the dialogs remember (folders, the image type): a section that
// older copies never read.
inline constexpr std::string_view SectionChoix = "Choix";

// The width box's design text, taken when the file has no width.
inline constexpr std::string_view LargeurDefaut = "90";
// The print quality used when the file has none ("Haute").
inline constexpr std::string_view QualiteDefaut = "-4";

class FichierReglages {
public:
    explicit FichierReglages(std::filesystem::path fichier = {}) : m_fichier(std::move(fichier)) {}

    const std::filesystem::path& fichier() const { return m_fichier; }

    // The settings folder that the first write creates when it is missing (the
    // user's configuration folder, chosen at start-up); empty: none.
    void CreerDossier(std::filesystem::path dossier) { m_dossierACreer = std::move(dossier); }

    // Called when a write fails because the settings cannot be stored (the folder
    // cannot be created or written, full disk...), at the first such failure only
    // after each call; not for a settings file the user made read-only, nor when
    // there is no settings file (an empty name). Empty: nothing is called.
    void SignalerEchec(std::function<void(const std::filesystem::path& dossier)> signaler)
    {
        m_signaler = std::move(signaler);
    }

    // Reads the eight colour keys in file order: an empty or missing value keeps the
    // slot as it is, any other text gives its numeric value (0 when not a number).
    void LireCouleurs(SchemaCouleurs& couleurs);
    // Writes the eight slots in file order, each as a signed number (" 8388736"),
    // in one rewrite of the file.
    bool EcrireCouleurs(const SchemaCouleurs& couleurs);

    // "Taille"/"Largeur": the text of the width box, stored unchanged.
    std::string LireLargeur();
    bool EcrireLargeur(std::string_view texte);

    // "Impression"/"Qualité": the print quality code as text ("-1" to "-4").
    std::string LireQualite();
    bool EcrireQualite(std::string_view code);

    // "Fériés"/"Région": whose public holidays are marked, by the region's name in
    // Windows-1252 ("La R\xE9union"). Read whatever the case and the accents; a
    // missing or unknown name is metropolitan France.
    Region LireRegion();
    bool EcrireRegion(Region region);

    // "Choix"/"Position <printer> <L>x<T>": the place of the picture last chosen on
    // that printer for a print of L x T twips, as the two bar values ("42,5").
    // Nothing for a missing or unreadable entry.
    std::optional<PositionBarres> LirePositionImpression(std::string_view imprimante, int16_t L, int16_t T);
    bool EcrirePositionImpression(std::string_view imprimante, int16_t L, int16_t T, PositionBarres position);

    // A write finding the file held by another program (its lock) does not
    // wait: what it had to write is kept and written by the next write, or by
    // Reessayer; `occupe` (when set) is called each time this happens, so
    // that the caller tries again a little later.
    void SignalerOccupe(std::function<void()> occupe) { m_occupe = std::move(occupe); }
    // Writes what a held file kept back. True when nothing is left to write.
    bool Reessayer();
    // Settings kept back for a held file.
    bool EnAttente() const { return !m_enAttente.empty(); }

    // Any key of the "Choix" section (raw bytes), and several written at once.
    std::string LireChoix(std::string_view cle);
    bool EcrireChoix(const std::vector<std::pair<std::string, std::string>>& valeurs);

private:
    struct Reglage {
        std::string_view section, cle;
        std::string valeur;
    };
    std::string Lire(std::string_view section, std::string_view cle, std::string_view defaut = {});
    bool Ecrire(const std::vector<Reglage>& reglages);

    std::filesystem::path m_fichier;
    std::filesystem::path m_dossierACreer;
    std::function<void(const std::filesystem::path&)> m_signaler;
    std::function<void()> m_occupe;
    struct Retenu {
        std::string section, cle, valeur;
    };
    std::vector<Retenu> m_enAttente; // kept back while another program held the file
    // The text of each key as this copy last read, used or wrote it, by section and key.
    std::map<std::pair<std::string, std::string>, std::string> m_connues;
};
