#include "app/Document.h"

#include <algorithm>

#include "app/Saisies.h"
#include "commun/Nombres.h"
#include "special/FichierCal.h"

namespace {
// The keys of the remembered choices, in their order in the file.
constexpr const char* CleDossierImages = "DossierImages";
constexpr const char* CleDossierCal = "DossierCal";
constexpr const char* CleDossierIcs = "DossierIcs";
constexpr const char* CleTypeImage = "TypeImage";

// The page's keys and their texts; a title left at its default is written
// empty, so that it keeps following the year.
std::vector<std::pair<std::string, std::string>> ClesPage(const std::optional<OptionsPage>& page)
{
    const OptionsPage o = page.value_or(OptionsPage{});
    const auto oui = [](bool b) { return std::string(b ? "1" : "0"); };
    return {{"Page", oui(page.has_value())},
            {"PagePapier", TextePapier(o.papier)},
            {"PageOrientation", o.paysage ? "paysage" : "portrait"},
            {"PageDisposition", TexteDisposition(o.disposition)},
            {"PageMois", std::to_string(o.premierBloc) + "-" + std::to_string(o.nombreMois)},
            {"PageTitre", o.titre.value_or("")},
            {"PageLegende", oui(o.legende)},
            {"PageFeries", oui(o.listeFeries)},
            {"PageSemaines", oui(o.semaines)},
            {"PageEncre", oui(o.economieEncre)},
            {"PageMarge", std::to_string(o.margeMm)}};
}

// The page the keys read describe; a key missing or unreadable keeps its default.
std::optional<OptionsPage> PageLue(FichierReglages& r)
{
    if (r.LireChoix("Page") != "1")
        return std::nullopt;
    OptionsPage o;
    const auto oui = [&r](const char* cle, bool defaut) {
        const std::string t = r.LireChoix(cle);
        return t.empty() ? defaut : t == "1";
    };
    o.papier = PapierDeTexte(r.LireChoix("PagePapier")).value_or(o.papier);
    o.paysage = r.LireChoix("PageOrientation") == "paysage";
    o.disposition = DispositionDeTexte(r.LireChoix("PageDisposition")).value_or(Disposition::Auto);
    const std::string mois = r.LireChoix("PageMois");
    if (const size_t tiret = mois.find('-'); tiret != std::string::npos) {
        o.premierBloc = static_cast<int>(std::clamp(ValeurTexte(mois.substr(0, tiret)), 1.0, 12.0));
        o.nombreMois = static_cast<int>(std::clamp(ValeurTexte(mois.substr(tiret + 1)), 1.0, 12.0));
    }
    if (std::string titre = r.LireChoix("PageTitre"); !titre.empty())
        o.titre = std::move(titre);
    o.legende = oui("PageLegende", o.legende);
    o.listeFeries = oui("PageFeries", o.listeFeries);
    o.semaines = oui("PageSemaines", o.semaines);
    o.economieEncre = oui("PageEncre", o.economieEncre);
    if (const std::string marge = r.LireChoix("PageMarge"); !marge.empty())
        o.margeMm = static_cast<int>(std::clamp(ValeurTexte(marge), 0.0, 100.0));
    return OptionsBornees(o);
}
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
    m_pageEcrite = Page = PageLue(m_reglages);
}

bool Document::EnregistrerCouleurs()
{
    const bool couleurs = m_reglages.EcrireCouleurs(Couleurs);
    // The region is written only when it changes: a file that never had one
    // keeps exactly its former content.
    if (RegionFeries == m_regionEcrite)
        return couleurs;
    if (!m_reglages.EcrireRegion(RegionFeries))
        return false;
    m_regionEcrite = RegionFeries;
    return couleurs;
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
    const auto page = ClesPage(Page), pageEcrite = ClesPage(m_pageEcrite);
    for (size_t i = 0; i < page.size(); ++i)
        ajouter(page[i].first.c_str(), page[i].second, pageEcrite[i].second);
    if (valeurs.empty())
        return true;
    if (!m_reglages.EcrireChoix(valeurs))
        return false;
    m_choixEcrits = Choix;
    m_pageEcrite = Page;
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
    Speciales.etat = e;
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
