#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "calendar/Regions.h"
#include "colour/Couleurs.h"
#include "output/MiseEnPage.h"

// The program's entries in Pelvado.ini. Reads give "" for a missing or empty
// entry; writes return false when the file could not be written (the program
// goes on: the setting then lasts until it ends).
//
// Several copies of the program may run at once with the same file. Each
// write is one locked read-modify-write of the file (EcrireIni), and a key is
// written only when its value changed: this process remembers the text it last
// read or wrote for each key, and a value equal to it is written only where the
// file has no such key, so that a value another copy wrote since is kept.

inline constexpr std::string_view SectionCouleurs = "Couleurs";
inline constexpr std::string_view SectionTaille = "Taille";
inline constexpr std::string_view CleLargeur = "Largeur";
inline constexpr std::string_view SectionImpression = "Impression";
inline constexpr std::string_view CleQualite = "Qualit\xE9";
inline constexpr std::string_view SectionFeries = "F\xE9ri\xE9s";
inline constexpr std::string_view CleRegion = "R\xE9gion";
// The user's last choices in the dialogs, a section older copies do not read.
inline constexpr std::string_view SectionChoix = "Choix";

// The settings folder that the first write creates when it is missing (the
// user's configuration folder, chosen at start-up); empty: none.
void CreerDossierReglages(const std::filesystem::path& dossier);

// Called when a write fails because the settings cannot be stored (the folder
// cannot be created or written, full disk...), at the first such failure only
// after each call; not for a settings file the user made read-only, nor when
// there is no settings file (an empty name). Empty: nothing is called.
void SignalerEchecReglages(std::function<void(const std::filesystem::path& dossier)> signaler);

// Reads the eight colour keys in file order: an empty or missing value keeps the
// slot as it is, any other text gives its numeric value (0 when not a number).
void LireCouleurs(const std::filesystem::path& fichier, SchemaCouleurs& couleurs);

// Writes the eight slots in file order, each as a signed number (" 8388736"),
// in one rewrite of the file.
bool EcrireCouleurs(const std::filesystem::path& fichier, const SchemaCouleurs& couleurs);

// "Taille"/"Largeur": the text of the width box, stored unchanged.
std::string LireLargeur(const std::filesystem::path& fichier);
bool EcrireLargeur(const std::filesystem::path& fichier, std::string_view texte);

// "Impression"/"Qualité": the print quality code as text ("-1" to "-4").
std::string LireQualite(const std::filesystem::path& fichier);
bool EcrireQualite(const std::filesystem::path& fichier, std::string_view code);

// "Choix"/"Position <printer> <L>x<T>": the place of the picture last chosen on
// that printer for a print of L x T twips, as the two bar values ("42,5").
// Nothing for a missing or unreadable entry.
std::optional<PositionBarres> LirePositionImpression(const std::filesystem::path& fichier, std::string_view imprimante,
                                                     int16_t L, int16_t T);
bool EcrirePositionImpression(const std::filesystem::path& fichier, std::string_view imprimante, int16_t L, int16_t T,
                              PositionBarres position);

// "Fériés"/"Région": whose public holidays are marked, by the region's name in
// Windows-1252 ("La R\xE9union"). Read whatever the case and the accents; a
// missing or unknown name is metropolitan France.
Region LireRegion(const std::filesystem::path& fichier);
bool EcrireRegion(const std::filesystem::path& fichier, Region region);
