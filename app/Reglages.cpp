#include "app/Reglages.h"

#include "app/FichierIni.h"
#include "app/Nombres.h"

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
        ok = EcrireIni(fichier, SectionCouleurs, CleCouleur[i], TexteNombreSigne(couleurs.slot(i))) && ok;
    return ok;
}

std::string LireLargeur(const std::filesystem::path& fichier) { return LireIni(fichier, SectionTaille, CleLargeur); }

bool EcrireLargeur(const std::filesystem::path& fichier, std::string_view texte)
{
    return EcrireIni(fichier, SectionTaille, CleLargeur, texte);
}

std::string LireQualite(const std::filesystem::path& fichier)
{
    return LireIni(fichier, SectionImpression, CleQualite);
}

bool EcrireQualite(const std::filesystem::path& fichier, std::string_view code)
{
    return EcrireIni(fichier, SectionImpression, CleQualite, code);
}
