#include "app/Reglages.h"

#include "app/Emplacements.h"
#include "commun/FichierIni.h"
#include "commun/Nombres.h"

namespace {

std::filesystem::path& DossierACreer()
{
    static std::filesystem::path dossier;
    return dossier;
}

// Every setting is written through here: the folder given to
// CreerDossierReglages is created at the first write into it; any other
// missing folder makes the write fail.
bool Ecrire(const std::filesystem::path& fichier, std::string_view section, std::string_view cle,
            std::string_view valeur)
{
    if (!DossierACreer().empty() && fichier.parent_path() == DossierACreer())
        CreerDossiers(DossierACreer());
    return EcrireIni(fichier, section, cle, valeur);
}

} // namespace

void CreerDossierReglages(const std::filesystem::path& dossier) { DossierACreer() = dossier; }

void LireCouleurs(const std::filesystem::path& fichier, SchemaCouleurs& couleurs)
{
    for (int i = 0; i < SchemaCouleurs::Nombre; ++i) {
        std::string texte = LireIni(fichier, SectionCouleurs, CleCouleur[i]);
        if (!texte.empty())
            couleurs.slot(i) = ValeurTexte(texte);
    }
}

bool EcrireCouleurs(const std::filesystem::path& fichier, const SchemaCouleurs& couleurs)
{
    bool ok = true;
    for (int i = 0; i < SchemaCouleurs::Nombre; ++i)
        ok = Ecrire(fichier, SectionCouleurs, CleCouleur[i], TexteNombreSigne(couleurs.slot(i))) && ok;
    return ok;
}

std::string LireLargeur(const std::filesystem::path& fichier) { return LireIni(fichier, SectionTaille, CleLargeur); }

bool EcrireLargeur(const std::filesystem::path& fichier, std::string_view texte)
{
    return Ecrire(fichier, SectionTaille, CleLargeur, texte);
}

std::string LireQualite(const std::filesystem::path& fichier)
{
    return LireIni(fichier, SectionImpression, CleQualite);
}

bool EcrireQualite(const std::filesystem::path& fichier, std::string_view code)
{
    return Ecrire(fichier, SectionImpression, CleQualite, code);
}

Region LireRegion(const std::filesystem::path& fichier)
{
    return RegionDeTexte(LireIni(fichier, SectionFeries, CleRegion)).value_or(Region::Metropole);
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
