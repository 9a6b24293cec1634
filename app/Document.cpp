#include "app/Document.h"

#include "app/Saisies.h"
#include "commun/Nombres.h"
#include "special/FichierCal.h"

namespace {
// The keys of the remembered choices, in their order in the file.
constexpr const char* CleDossierImages = "DossierImages";
constexpr const char* CleDossierCal = "DossierCal";
constexpr const char* CleDossierIcs = "DossierIcs";
constexpr const char* CleTypeImage = "TypeImage";
} // namespace

Document::Document(std::filesystem::path fichierIni) : m_reglages(std::move(fichierIni))
{
    PrendreLargeur(Largeur);
}

Periode Document::PeriodeChoisie() const
{
    return PeriodeDeTexte(AnChoisi).value_or(Periode{static_cast<int>(ValeurTexte(AnChoisi)), 1});
}

ReglagesFeuille Document::Parametres() const
{
    ReglagesFeuille r;
    const Periode p = PeriodeChoisie();
    r.annee = p.annee;
    r.premierMois = p.premierMois;
    r.weekEnd = WeekEnd;
    r.feries = Feries;
    r.region = RegionFeries;
    return r;
}

ModeleFeuille Document::Feuille(RapportPaques* rapport) const
{
    return ConstruireFeuille(Parametres(), Couleurs, Speciales.etat.table.v, rapport);
}

void Document::PrendreLargeur(std::string_view texte)
{
    Largeur = std::string(texte);
    ChangementLargeur c = CalculLargeur(texte, false, 0);
    if (!c.valide)
        c = CalculLargeur(LargeurDefaut, false, 0);
    LargeurTwips = c.largeurTwips;
    HauteurTwips = c.hauteurTwips;
}

void Document::ChargerReglages()
{
    m_reglages.LireCouleurs(Couleurs);
    if (const std::string largeur = m_reglages.LireLargeur(); !largeur.empty())
        PrendreLargeur(largeur);
    m_regionEcrite = RegionFeries = m_reglages.LireRegion();
    Choix.dossierImages = m_reglages.LireChoix(CleDossierImages);
    Choix.dossierCal = m_reglages.LireChoix(CleDossierCal);
    Choix.dossierIcs = m_reglages.LireChoix(CleDossierIcs);
    Choix.typeImage = m_reglages.LireChoix(CleTypeImage);
    m_choixEcrits = Choix;
}

bool Document::EnregistrerCouleurs()
{
    bool ok = m_reglages.EcrireCouleurs(Couleurs);
    // The region is written only when it changes: a file that never had one
    // keeps exactly its former content.
    if (RegionFeries != m_regionEcrite && m_reglages.EcrireRegion(RegionFeries))
        m_regionEcrite = RegionFeries;
    else if (RegionFeries != m_regionEcrite)
        ok = false;
    return ok;
}

bool Document::EnregistrerChoix()
{
    std::vector<std::pair<std::string, std::string>> valeurs;
    const auto ajouter = [&](const char* cle, const std::string& valeur, const std::string& ecrite) {
        if (valeur != ecrite)
            valeurs.emplace_back(cle, valeur);
    };
    ajouter(CleDossierImages, Choix.dossierImages, m_choixEcrits.dossierImages);
    ajouter(CleDossierCal, Choix.dossierCal, m_choixEcrits.dossierCal);
    ajouter(CleDossierIcs, Choix.dossierIcs, m_choixEcrits.dossierIcs);
    ajouter(CleTypeImage, Choix.typeImage, m_choixEcrits.typeImage);
    if (valeurs.empty())
        return true;
    if (!m_reglages.EcrireChoix(valeurs))
        return false;
    m_choixEcrits = Choix;
    return true;
}

EtatCouleursSP Document::EtatCouleurs() const
{
    EtatCouleursSP e = Speciales.etat;
    e.anChoisi = AnChoisi;
    return e;
}

bool Document::Appliquer(const EtatCouleursSP& e, bool avecAnnee)
{
    const bool autreAnnee = avecAnnee && e.anChoisi != AnChoisi;
    Speciales.etat.table = e.table;
    Speciales.etat.fichier = e.fichier;
    Speciales.etat.etiquettes = e.etiquettes;
    if (avecAnnee)
        AnChoisi = e.anChoisi;
    Speciales.etat.anChoisi = AnChoisi;
    return autreAnnee;
}

Document::LectureFichierCal Document::LireCal(const std::filesystem::path& chemin) const
{
    LectureFichierCal r;
    EtatCouleursSP e = EtatCouleurs();
    const LectureCal lecture = LireFichierCal(chemin, e.table.v);
    if (r.refus = MotifRefusCal(lecture); !r.refus.empty())
        return r;
    e.fichier = chemin.string();
    e.etiquettes = lecture.etiquettes;
    if (!lecture.annee.empty())
        e.anChoisi = lecture.annee;
    r.etat = e;
    return r;
}

bool Document::EnregistrerCal(const std::filesystem::path& chemin)
{
    if (!SauverCal(chemin, Speciales.etat.table.v, AnChoisi, Speciales.etat.etiquettes))
        return false;
    Speciales.etat.fichier = chemin.string();
    NoterContenu(Speciales.etat.fichier, {Speciales.etat.table, Speciales.etat.etiquettes});
    return true;
}

EtatCouleursSP Document::Importer(const ImportIcs& import, double couleur, std::string_view nomFichier) const
{
    EtatCouleursSP e = EtatCouleurs();
    ColorerJours(import, couleur, e.table.v);
    if (!e.etiquettes.contains(CouleurEntiere(couleur)))
        e = AvecEtiquette(std::move(e), couleur, EtiquetteIcs(import, nomFichier));
    return e;
}
