#include "calendar/Mois.h"

#include <cstdio>

#include "calendar/Date.h"

namespace {

void Neutre(CelluleJour& c, int legende, int tag)
{
    c.legende = legende;
    c.Tag = tag;
    c.gras = false;
    c.fond = Fond::Gris;
    c.infoBulle.clear();
    c.ferie.clear();
}

// "Semaine " then the week number with its leading blank: "Semaine  7".
void TexteSemaine(std::string& texte, int semaine)
{
    texte.assign("Semaine  ");
    if (semaine >= 10)
        texte.push_back(char('0' + semaine / 10 % 10));
    texte.push_back(char('0' + semaine % 10));
}

} // namespace

std::string TitreMois(int annee, int mois)
{
    const int m = ((mois - 1) % 12 + 12) % 12;
    char tampon[32];
    const int n = std::snprintf(tampon, sizeof tampon, " %04d", annee);
    return std::string(NomMois[m]) + std::string(tampon, n > 0 ? size_t(n) : 0);
}

void RemplirMois(BlocMois& bloc, int annee, int mois)
{
    // Bring the month into 1..12, carrying into the year.
    const Date premier = DateDeJours(JoursDepuisEpoque(Date{1, mois, annee}));
    bloc.mois = premier.mois;
    bloc.annee = premier.annee;

    const int64_t j1 = JoursDepuisEpoque(premier);

    // The day before the first: its number and its weekday (Monday = 1).
    const Date veille = DateDeJours(j1 - 1);
    const int nP = veille.jour;
    const int w = JourDeLaSemaineJours(j1 - 1);

    for (int k = w - 1; k >= 0; --k)
        Neutre(bloc.cellules[k], nP - (w - 1 - k), -1);

    const int n = JoursDansMois(bloc.annee, bloc.mois);
    for (int d = 1; d <= n; ++d) {
        CelluleJour& c = bloc.cellules[w + d - 1];
        c.legende = d;
        c.Tag = 0;
        c.gras = true;
        c.fond = Fond::Jours;
        c.ferie.clear();
        TexteSemaine(c.infoBulle, WOY(Date{d, bloc.mois, bloc.annee}));
    }

    for (int k = w + n; k < CellulesParMois; ++k)
        Neutre(bloc.cellules[k], k - (w + n) + 1, 1);

    bloc.titre = TitreMois(bloc.annee, bloc.mois);
}

BlocMois RemplirMois(int annee, int mois)
{
    BlocMois bloc;
    RemplirMois(bloc, annee, mois);
    return bloc;
}
