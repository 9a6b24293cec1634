#include "colour/ModeleFeuille.h"

#include "calendar/Feries.h"
#include "commun/Texte.h"
#include "commun/Twips.h"

namespace {
// Designed positions, in twips, of each block's title, first weekday name and
// first day cell, by column and by row; the elements of a block follow on
// without gaps.
constexpr int GaucheTitre[3] = {360, 3510, 6630};
constexpr int GaucheJour[3] = {105, 3255, 6375};
constexpr int GaucheCellule[3] = {90, 3240, 6360};
constexpr int HautTitre[4] = {30, 3270, 6510, 9750};
constexpr int HautJour[4] = {435, 3675, 6915, 10155};
constexpr int HautCellule[4] = {720, 3960, 7200, 10440};
constexpr RectTwips TailleTitre{0, 0, 2430, 390};
constexpr RectTwips TailleJour{0, 0, 420, 300};
constexpr RectTwips TailleCellule{0, 0, 420, 420};

int colonne(int bloc) { return (bloc - 1) % 3; }
int rangee(int bloc) { return (bloc - 1) / 3; }

RectPixels rect(int gaucheTwips, int hautTwips, const RectTwips& taille)
{
    return VersPixels({gaucheTwips, hautTwips, taille.largeur, taille.hauteur});
}

} // namespace

const char* const NomsJoursSemaine[7] = {"Lun", "Mar", "Mer", "Jeu", "Ven", "Sam", "Dim"};

RectPixels RectTitre(int bloc)
{
    return rect(GaucheTitre[colonne(bloc)], HautTitre[rangee(bloc)], TailleTitre);
}

RectPixels RectNomJour(int bloc, int k)
{
    RectPixels r = rect(GaucheJour[colonne(bloc)], HautJour[rangee(bloc)], TailleJour);
    r.x += k * r.l;
    return r;
}

RectPixels RectCase(int bloc, int k)
{
    RectPixels r = rect(GaucheCellule[colonne(bloc)], HautCellule[rangee(bloc)], TailleCellule);
    r.x += (k % 7) * r.l;
    r.y += (k / 7) * r.h;
    return r;
}

std::optional<PositionCase> CaseEn(int x, int y)
{
    for (int b = 1; b <= BlocsParFeuille; ++b) {
        const RectPixels premiere = RectCase(b, 0);
        const RectPixels grille{premiere.x, premiere.y, 7 * premiere.l, 6 * premiere.h};
        if (grille.contient(x, y))
            return PositionCase{b, (y - grille.y) / premiere.h * 7 + (x - grille.x) / premiere.l};
    }
    return std::nullopt;
}

double ModeleFeuille::fond(const CaseFeuille& c) const
{
    switch (c.fond) {
    case Fond::Gris: return couleurs.CoulGris;
    case Fond::WeekEnd: return couleurs.CoulWeekEnd;
    case Fond::Ferie: return couleurs.CoulFerie;
    case Fond::Jours: break;
    }
    return couleurs.CoulJours;
}

void RemplirBloc(ModeleFeuille& feuille, int b, const ReglagesFeuille& r, RapportPaques* rapport)
{
    BlocMois mois = RemplirMois(r.annee, r.premierMois + b - 1);
    CouleurFerie(mois, AffichageFeries{r.weekEnd, r.feries, r.region}, rapport);

    BlocFeuille& bloc = feuille.bloc(b);
    bloc.mois = mois.mois;
    bloc.annee = mois.annee;
    bloc.titre = std::move(mois.titre);
    for (size_t k = 0; k < bloc.cases.size(); ++k) {
        const CelluleJour& source = mois.cellules[k];
        CaseFeuille& c = bloc.cases[k];
        c.legende = source.legende;
        c.Tag = source.Tag;
        c.gras = source.gras;
        c.fond = source.fond;
        c.infoBulle = source.infoBulle;
        c.ferie = source.ferie;
        c.date = DateDeJours(JoursDepuisEpoque(Date{source.legende, mois.mois + source.Tag, mois.annee}));
    }
}

void AppliquerSchema(ModeleFeuille& feuille, const SchemaCouleurs& couleurs, const TableCouleursSP& table)
{
    feuille.couleurs = couleurs;
    for (BlocFeuille& bloc : feuille.blocs)
        for (CaseFeuille& c : bloc.cases)
            c.fond = Fond::Jours;
    AppliquerTable(feuille, table);
}

void AppliquerTable(ModeleFeuille& feuille, const TableCouleursSP& table)
{
    for (int b = 1; b <= BlocsParFeuille; ++b)
        for (int k = 0; k < CellulesParMois; ++k)
            feuille.bloc(b).cases[static_cast<size_t>(k)].texte = table[b][k];
}

ModeleFeuille ConstruireFeuille(const ReglagesFeuille& reglages, const SchemaCouleurs& couleurs,
                                const TableCouleursSP& table, RapportPaques* rapport)
{
    ModeleFeuille feuille;
    AppliquerSchema(feuille, couleurs, table);
    for (int b = 1; b <= BlocsParFeuille; ++b)
        RemplirBloc(feuille, b, reglages, rapport);
    return feuille;
}

std::string NomAccessible(const CaseFeuille& c)
{
    std::string nom = DateEnLettres(c.date);
    if (const std::string bulle = std::string(SansBlancs(c.infoBulle, BlancsNombre)); !bulle.empty())
        nom += ", " + bulle;
    return nom;
}

std::string BulleCase(const ModeleFeuille& feuille, const CaseFeuille& c)
{
    const auto e = c.texte != 0 ? feuille.etiquettes.find(static_cast<int>(c.texte)) : feuille.etiquettes.end();
    return e == feuille.etiquettes.end() || e->second.empty() ? c.infoBulle : c.infoBulle + ", " + e->second;
}

std::string NomAccessible(const ModeleFeuille& feuille, const CaseFeuille& c)
{
    CaseFeuille avecEtiquette = c;
    avecEtiquette.infoBulle = BulleCase(feuille, c);
    return NomAccessible(avecEtiquette);
}

std::optional<PositionCase> CaseDuJour(const ModeleFeuille& feuille, const Date& d)
{
    for (int b = 1; b <= BlocsParFeuille; ++b) {
        const BlocFeuille& bloc = feuille.bloc(b);
        if (bloc.mois != d.mois || bloc.annee != d.annee)
            continue;
        for (int k = 0; k < CellulesParMois; ++k)
            if (bloc.cases[static_cast<size_t>(k)].Tag == 0 && bloc.cases[static_cast<size_t>(k)].legende == d.jour)
                return PositionCase{b, k};
    }
    return std::nullopt;
}
