#include "calendar/Feries.h"

#include <string>

#include "commun/Texte.h"

namespace {

// Marks cell i: holiday colour when it is a day of the month; the tooltip
// always, the holiday's name and its ISO week ("Lundi de Pâques, semaine 13").
void Marquer(BlocMois& bloc, int i, const char* texte)
{
    CelluleJour& c = bloc.cellules[i];
    if (c.gras)
        c.fond = Fond::Ferie;
    c.ferie = texte;
    const std::string_view nom = SansBlancs(texte, BlancsNombre);
    const Date jour = DateDeJours(JoursDepuisEpoque(Date{c.legende, bloc.mois + c.Tag, bloc.annee}));
    c.infoBulle.assign(nom).append(", semaine ").append(std::to_string(WOY(jour)));
}

// First cell among 0..dernier with this Tag showing this day, or -1.
int Chercher(const BlocMois& bloc, int tag, int jour, int dernier)
{
    for (int i = 0; i <= dernier; ++i) {
        const CelluleJour& c = bloc.cellules[i];
        if (c.Tag == tag && c.legende == jour)
            return i;
    }
    return -1;
}

// Tag under which a day of month `moisJour` appears in the block of month `M`
// (same year), or false when the block cannot show it.
bool TagPourMois(int moisJour, int M, int& tag)
{
    if (moisJour == M)
        tag = 0;
    else if (moisJour == M - 1)
        tag = -1;
    else if (moisJour == M + 1)
        tag = 1;
    else
        return false;
    return true;
}

// A holiday relative to Easter: marks it when its month is the block's or a
// neighbour of it.
int MarquerMobile(BlocMois& bloc, const Date& d, int dernier, const char* texte)
{
    int tag = 0;
    if (!TagPourMois(d.mois, bloc.mois, tag))
        return -1;
    const int i = Chercher(bloc, tag, d.jour, dernier);
    if (i >= 0)
        Marquer(bloc, i, texte);
    return i;
}

// A fixed holiday: searched in the block of its own month (Tag 0) and, when
// given, in one neighbouring block that can show it (`moisVoisin`, `tagVoisin`).
void MarquerFixe(BlocMois& bloc, int jour, int mois, int moisVoisin, int tagVoisin, const char* texte)
{
    int tag = 0;
    if (bloc.mois == mois)
        tag = 0;
    else if (moisVoisin != 0 && bloc.mois == moisVoisin)
        tag = tagVoisin;
    else
        return;
    const int i = Chercher(bloc, tag, jour, CellulesParMois - 1);
    if (i >= 0)
        Marquer(bloc, i, texte);
}

// A holiday given by its full date: marked when it falls in the block's month
// or in one of the two neighbouring months (of the year before or after too).
void MarquerDate(BlocMois& bloc, const Date& d, const char* texte)
{
    const int ecart = (d.annee - bloc.annee) * 12 + d.mois - bloc.mois;
    if (ecart < -1 || ecart > 1)
        return;
    const int i = Chercher(bloc, ecart, d.jour, CellulesParMois - 1);
    if (i >= 0)
        Marquer(bloc, i, texte);
}

// The region's own days of the block's year and of the years around it.
void MarquerRegion(BlocMois& bloc, Region region)
{
    for (int annee = bloc.annee - 1; annee <= bloc.annee + 1; ++annee)
        for (const FerieRegional& f : FeriesRegionaux(region, annee))
            MarquerDate(bloc, f.date, f.bulle);
}

} // namespace

void CouleurFerie(BlocMois& bloc, AffichageFeries affichage, RapportPaques* rapport)
{
    if (affichage.weekEnd) {
        for (int i = 5; i <= 40; i += 7) {
            if (bloc.cellules[i].gras)
                bloc.cellules[i].fond = Fond::WeekEnd;
            if (bloc.cellules[i + 1].gras)
                bloc.cellules[i + 1].fond = Fond::WeekEnd;
        }
    }
    if (!affichage.feries)
        return;
    if (!FeriesNationauxFrancais(affichage.region)) {
        MarquerRegion(bloc, affichage.region);
        return;
    }

    const Date paques = DimanchePaques(bloc.annee, rapport);
    const int64_t jp = JoursDepuisEpoque(paques);
    const Date ascension = DateDeJours(jp + 39);
    const Date pentecote = DateDeJours(jp + 50);

    // Easter Sunday is searched up to cell 40 only, so that Easter Monday,
    // in the next cell, stays inside the block.
    const int i = MarquerMobile(bloc, paques, CellulesParMois - 2, "Dimanche de Pâques");
    if (i >= 0)
        Marquer(bloc, i + 1, " Lundi de Pâques ");
    MarquerMobile(bloc, ascension, CellulesParMois - 1, " Jeudi de l'Ascension ");
    MarquerMobile(bloc, pentecote, CellulesParMois - 1, " Lundi de Pentecôte ");

    MarquerFixe(bloc, 1, 1, 12, 1, " Jour de l'An ");
    MarquerFixe(bloc, 1, 5, 4, 1, " Fête du travail ");
    MarquerFixe(bloc, 8, 5, 4, 1, " Armistice 8 mai 1945 ");
    MarquerFixe(bloc, 14, 7, 0, 0, " Fête nationnale ");
    MarquerFixe(bloc, 15, 8, 0, 0, " Assomption ");
    MarquerFixe(bloc, 1, 11, 10, 1, " Toussaint ");
    MarquerFixe(bloc, 11, 11, 0, 0, " Armistice 11 Novembre 1918 ");
    MarquerFixe(bloc, 25, 12, 1, -1, " Noël ");

    if (affichage.region != Region::Metropole)
        MarquerRegion(bloc, affichage.region);
}
