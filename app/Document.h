#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/Reglages.h"
#include "calendar/Periode.h"
#include "calendar/Regions.h"
#include "colour/Couleurs.h"
#include "colour/ModeleFeuille.h"
#include "commun/ZoneMois.h"
#include "output/Page.h"
#include "special/CouleursSpeciales.h"
#include "special/ImportIcs.h"

// The choices the dialogs remember from one use to the next (raw bytes, as the
// system names the folders); empty: none yet.
struct Souvenirs {
    std::string dossierImages; // the image save dialog
    std::string dossierCal;    // the .Cal save and open dialogs
    std::string dossierIcs;    // the calendar import
    std::string typeImage;     // extension of the image type chosen last: "bmp", "png", "pdf", "svg"
    bool operator==(const Souvenirs&) const = default;
};

// What the user edits, owned by one object: the calendar (period, region, the
// two display boxes, the colour scheme, the special colours), the printed
// size and the zone, and the remembered choices; with the settings file they
// are kept in. The window and the command line each build one and draw the
// sheet from it the same way (Feuille). Plain data: a test builds a fresh one.
class Document {
public:
    Document() : Document(std::filesystem::path()) {}
    explicit Document(std::filesystem::path fichierIni);

    // ---- What the sheet shows.
    std::string AnChoisi = "0000"; // a year ("2027", "0099") or a school year ("2026-2027")
    Region RegionFeries = Region::Metropole;
    bool WeekEnd = true; // "WeekEnd" ticked
    bool Feries = true;  // "Jours fériés" ticked
    SchemaCouleurs Couleurs;
    CouleursSpeciales Speciales;

    // The calendar AnChoisi names; a text that is no period gives the year its number starts with.
    Periode PeriodeChoisie() const;
    void ChoisirPeriode(const Periode& p) { AnChoisi = TextePeriode(p); }
    ReglagesFeuille Parametres() const;
    // The sheet: a function of the document alone.
    ModeleFeuille Feuille(RapportPaques* rapport = nullptr) const;
    // The title of the documents written: "Calendrier 2027", "Calendrier 2026-2027".
    std::string Titre() const { return "Calendrier " + AnChoisi; }

    // ---- The printed size (millimetres as the width box holds them, and
    // twips) and the zone of months.
    std::string Largeur{LargeurDefaut};
    int16_t LargeurTwips = 0, HauteurTwips = 0;
    std::optional<ZoneMois> Zone;
    // The width `texte`, as the width box takes it at start-up: the size
    // follows from it, or from the default width when it is refused.
    void PrendreLargeur(std::string_view texte);

    // ---- The settings file: read once at start-up, each setting written when
    // it changes, only the keys this copy changed.
    FichierReglages& Reglages() { return m_reglages; }
    const std::filesystem::path& FichierIni() const { return m_reglages.fichier(); }
    // The colours, the width, the region and the remembered choices.
    void ChargerReglages();
    // The eight colours, and the region when it is not the one read or written last.
    bool EnregistrerCouleurs();
    bool EnregistrerLargeur() { return m_reglages.EcrireLargeur(Largeur); }
    std::string QualiteEnregistree() { return m_reglages.LireQualite(); }
    bool EnregistrerQualite(std::string_view code) { return m_reglages.EcrireQualite(code); }
    Souvenirs Choix;
    // The page chosen in "Mise en page" for the print and the PDF, PNG and SVG
    // files; none: the picture alone, as ever. Remembered with the choices.
    std::optional<OptionsPage> Page;
    // The remembered choices that changed since read or written.
    bool EnregistrerChoix();

    // ---- Special colours. An edit is computed as the state it gives, then
    // made the document's by Appliquer (which an undo stack calls both ways).
    // The present state (its calendar: AnChoisi).
    EtatCouleursSP EtatCouleurs() const;
    // Makes `e` the special colours; with `avecAnnee`, its calendar too.
    // True when the calendar changed (the sheet is to be built again).
    bool Appliquer(const EtatCouleursSP& e, bool avecAnnee);

    // A .Cal file read: the state it gives (its colours, the file in use, its
    // year when it has one: the calendar then changes to it), or why it is refused.
    struct LectureFichierCal {
        std::optional<EtatCouleursSP> etat;
        std::string refus; // French, one line
    };
    LectureFichierCal LireCal(const std::filesystem::path& chemin) const;
    // The colours the file holds are now known (they become "not modified").
    void NoterContenu(const std::string& fichier, const ContenuCal& contenu) { Speciales.contenus[fichier] = contenu; }

    // Saves the special colours as a .Cal file with the calendar's year; the
    // file becomes the file in use. False, nothing changed, when it cannot be written.
    bool EnregistrerCal(const std::filesystem::path& chemin);

    // The days an import covers, in `couleur`, over the present colours; a
    // colour without a label takes the import's (its events' names, else `nomFichier`'s).
    EtatCouleursSP Importer(const ImportIcs& import, double couleur, std::string_view nomFichier = {}) const;

private:
    FichierReglages m_reglages;
    Region m_regionEcrite = Region::Metropole; // as read or written last
    Souvenirs m_choixEcrits;
    std::optional<OptionsPage> m_pageEcrite;
};
