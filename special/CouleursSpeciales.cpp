#include "special/CouleursSpeciales.h"

#include <algorithm>

#include "special/FichierCal.h"

bool TableSP::vide() const
{
    for (const auto& mois : v)
        for (double c : mois)
            if (c != 0)
                return false;
    return true;
}

bool CouleursSpeciales::Modifiees() const
{
    if (etat.fichier.empty())
        return !etat.table.vide() || !etat.etiquettes.empty();
    const auto f = contenus.find(etat.fichier);
    return f == contenus.end() || !(f->second == ContenuCal{etat.table, etat.etiquettes});
}

EtatCouleursSP AvecCouleur(EtatCouleursSP e, const std::vector<CaseSP>& cases, double couleur)
{
    for (const CaseSP& c : cases)
        if (c.mois >= 1 && c.mois <= 12 && c.cellule >= 0 && c.cellule < 42)
            e.table.v[c.mois][c.cellule] = couleur;
    return e;
}

EtatCouleursSP SansCouleurs(EtatCouleursSP e)
{
    e.table = {};
    e.fichier.clear();
    e.etiquettes.clear();
    return e;
}

EtatCouleursSP AvecEtiquette(EtatCouleursSP e, double couleur, std::string_view etiquette)
{
    const std::string propre = EtiquettePropre(etiquette);
    if (propre.empty())
        e.etiquettes.erase(CouleurEntiere(couleur));
    else
        e.etiquettes[CouleurEntiere(couleur)] = propre;
    return e;
}

ImportIcs SuiteDeJours(const Periode& periode, const Date& debut, const Date& fin)
{
    ImportIcs suite;
    suite.etat = EtatIcs::Ok;
    suite.periode = periode;
    suite.jours.assign(static_cast<size_t>(JoursDansPeriode(periode)), false);
    const int64_t premier = JoursDepuisEpoque(PremierJour(periode));
    int64_t a = JoursDepuisEpoque(debut) - premier, b = JoursDepuisEpoque(fin) - premier;
    if (a > b)
        std::swap(a, b);
    for (int64_t i = std::max<int64_t>(a, 0); i <= b && i < static_cast<int64_t>(suite.jours.size()); ++i) {
        suite.jours[static_cast<size_t>(i)] = true;
        ++suite.nombreJours;
    }
    return suite;
}
