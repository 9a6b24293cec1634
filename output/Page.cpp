#include "output/Page.h"

#include <algorithm>
#include <cmath>

#include "calendar/Periode.h"
#include "commun/Texte.h"

namespace {

struct Format {
    Papier papier;
    const char* nom;
    int largeur, hauteur; // upright, tenths of a millimetre
};
constexpr Format Formats[] = {
    {Papier::A4, "A4", 2100, 2970},
    {Papier::A3, "A3", 2970, 4200},
    {Papier::A5, "A5", 1480, 2100},
    {Papier::Lettre, "lettre", 2159, 2794},
};

struct Grille {
    Disposition d;
    const char* nom;
    int colonnes;
};
constexpr Grille Grilles[] = {
    {Disposition::G3x4, "3x4", 3},
    {Disposition::G4x3, "4x3", 4},
    {Disposition::G6x2, "6x2", 6},
};

// A month in cells: its title, the weekday names, six rows; the week numbers'
// column; the gaps between months across and down.
constexpr double TitreMoisCases = 0.9, NomsCases = 0.6, SemainesCases = 0.8;
constexpr double EcartXCases = 0.7, EcartYCases = 0.5;

int arrondi(double v) { return int(std::lround(v)); }

// Characters of a UTF-8 text.
int caracteres(std::string_view t)
{
    return int(std::count_if(t.begin(), t.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A text's width at a font height, estimated from the average width of the
// sans-serif letters (a little over half the height).
int largeurTexte(std::string_view t, int hauteur) { return arrondi(0.58 * hauteur * caracteres(t)); }

bool egal(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return MinusculeAscii(x) == MinusculeAscii(y);
           });
}

// The largest cell side for c months across and r down in l x h.
int coteMax(int c, int r, bool semaines, int l, int h)
{
    const double bl = 7 + (semaines ? SemainesCases : 0), bh = TitreMoisCases + NomsCases + 6;
    return int(std::floor(std::min(l / (c * bl + (c - 1) * EcartXCases), h / (r * bh + (r - 1) * EcartYCases))));
}

} // namespace

TaillePage TailleDuPapier(Papier papier, bool paysage)
{
    for (const Format& f : Formats)
        if (f.papier == papier)
            return paysage ? TaillePage{f.hauteur, f.largeur} : TaillePage{f.largeur, f.hauteur};
    return {};
}

std::optional<Papier> PapierDeTexte(std::string_view texte)
{
    texte = SansBlancs(texte, BlancsNombre);
    for (const Format& f : Formats)
        if (egal(texte, f.nom))
            return f.papier;
    if (egal(texte, "letter"))
        return Papier::Lettre;
    return std::nullopt;
}

const char* TextePapier(Papier papier)
{
    for (const Format& f : Formats)
        if (f.papier == papier)
            return f.nom;
    return "";
}

std::optional<Disposition> DispositionDeTexte(std::string_view texte)
{
    texte = SansBlancs(texte, BlancsNombre);
    for (const Grille& g : Grilles)
        if (egal(texte, g.nom))
            return g.d;
    return std::nullopt;
}

const char* TexteDisposition(Disposition d)
{
    for (const Grille& g : Grilles)
        if (g.d == d)
            return g.nom;
    return "";
}

std::optional<std::pair<int, int>> BlocsDesMois(int premierMoisFeuille, int premier, int dernier)
{
    const auto bloc = [premierMoisFeuille](int mois) { return ((mois - premierMoisFeuille) % 12 + 12) % 12 + 1; };
    if (premier < 1 || premier > 12 || dernier < 1 || dernier > 12 || bloc(dernier) < bloc(premier))
        return std::nullopt;
    return std::pair{bloc(premier), bloc(dernier) - bloc(premier) + 1};
}

OptionsPage OptionsBornees(OptionsPage o)
{
    o.premierBloc = std::clamp(o.premierBloc, 1, BlocsParFeuille);
    o.nombreMois = std::clamp(o.nombreMois, 1, BlocsParFeuille - o.premierBloc + 1);
    o.margeMm = std::clamp(o.margeMm, 0, 40);
    return o;
}

std::string TitreParDefaut(const ModeleFeuille& feuille)
{
    const BlocFeuille& premier = feuille.bloc(1);
    const Periode p{premier.annee, premier.mois};
    return (p.scolaire() ? "Année scolaire " : "Calendrier ") + TextePeriode(p);
}

RectPage CasePage(const BlocPage& b, int cote, int k)
{
    return {b.cases.x + (k % 7) * cote, b.cases.y + (k / 7) * cote, cote, cote};
}

PlanPage MettreEnPageFeuille(const ModeleFeuille& feuille, const OptionsPage& options,
                             const EtiquettesCouleurs& etiquettes)
{
    PlanPage plan;
    plan.options = OptionsBornees(options);
    const OptionsPage& o = plan.options;
    plan.taille = TailleDuPapier(o.papier, o.paysage);
    const int marge = arrondi(o.margeMm * UnitesParMm);
    const int x0 = marge, y0 = marge;
    const int l = plan.taille.largeur - 2 * marge, h = plan.taille.hauteur - 2 * marge;
    const int ecart = arrondi(0.012 * h);
    const int dernierBloc = o.premierBloc + o.nombreMois - 1;

    // The title band at the top.
    plan.titre = o.titre ? *o.titre : TitreParDefaut(feuille);
    int haut = y0;
    if (!plan.titre.empty()) {
        plan.zoneTitre = {x0, y0, l, arrondi(0.055 * h)};
        plan.hauteurTitre = std::max(1, std::min(arrondi(0.75 * plan.zoneTitre.h), arrondi(l / (0.62 * caracteres(plan.titre)))));
        haut += plan.zoneTitre.h + ecart;
    }

    // What the legend and the holiday list hold: the days of the months shown.
    bool weekEnd = false, ferie = false;
    std::vector<double> speciales;
    std::vector<std::string> feries;
    for (int b = o.premierBloc; b <= dernierBloc; ++b)
        for (const CaseFeuille& c : feuille.bloc(b).cases) {
            if (c.Tag != 0)
                continue;
            weekEnd = weekEnd || c.fond == Fond::WeekEnd;
            ferie = ferie || c.fond == Fond::Ferie;
            if (c.texte != 0 && std::find(speciales.begin(), speciales.end(), c.texte) == speciales.end())
                speciales.push_back(c.texte);
            if (const std::string_view nom = SansBlancs(c.ferie, BlancsNombre); !nom.empty())
                feries.push_back(std::to_string(c.date.jour) + " " + NomMois[c.date.mois - 1] + " "
                                 + std::to_string(c.date.annee) + " : " + std::string(nom));
        }

    int bas = y0 + h; // the bands at the bottom go up from here
    const int police = std::max(18, arrondi(0.018 * std::min(l, h)));

    // The holiday list, in columns at the bottom, small print.
    if (o.listeFeries && !feries.empty()) {
        plan.hauteurFeries = std::max(15, arrondi(police * 0.8));
        const int ligne = arrondi(plan.hauteurFeries * 1.5);
        int plusLarge = 0;
        for (const std::string& f : feries)
            plusLarge = std::max(plusLarge, largeurTexte(f, plan.hauteurFeries) + 2 * plan.hauteurFeries);
        const int colonnes = std::clamp(l / std::max(plusLarge, 1), 1, 4);
        const int rangees = (int(feries.size()) + colonnes - 1) / colonnes;
        bas -= rangees * ligne;
        const int largeurColonne = l / colonnes;
        for (size_t i = 0; i < feries.size(); ++i) {
            // Down the first column, then the next.
            const int c = int(i) / rangees, r = int(i) % rangees;
            plan.feries.push_back({feries[i], {x0 + c * largeurColonne, bas + r * ligne, largeurColonne, ligne}});
        }
        bas -= ecart;
    }

    // The legend: sample cells and their texts, in lines centred above.
    if (o.legende) {
        std::vector<EntreeLegende> entrees;
        if (weekEnd)
            entrees.push_back({EntreeLegende::Sorte::WeekEnd, 0, "Week-ends", {}, {}});
        if (ferie)
            entrees.push_back({EntreeLegende::Sorte::Ferie, 0, "Jours fériés", {}, {}});
        for (double c : speciales) {
            const auto e = etiquettes.find(int(c));
            entrees.push_back({EntreeLegende::Sorte::Speciale, c,
                               e != etiquettes.end() && !e->second.empty() ? e->second : "Couleur spéciale", {}, {}});
        }
        if (!entrees.empty()) {
            plan.hauteurLegende = police;
            const int echantillon = arrondi(police * 1.4), ligne = echantillon + police / 2;
            const auto largeur = [&](const EntreeLegende& e) {
                return echantillon + police / 2 + largeurTexte(e.texte, police) + 2 * police;
            };
            // Entries into lines that fit the width.
            std::vector<std::vector<EntreeLegende>> lignes(1);
            int pris = 0;
            for (EntreeLegende& e : entrees) {
                if (!lignes.back().empty() && pris + largeur(e) > l) {
                    lignes.emplace_back();
                    pris = 0;
                }
                pris += largeur(e);
                lignes.back().push_back(std::move(e));
            }
            bas -= int(lignes.size()) * ligne;
            for (size_t r = 0; r < lignes.size(); ++r) {
                int total = 0;
                for (const EntreeLegende& e : lignes[r])
                    total += largeur(e);
                int x = x0 + std::max(0, (l - total) / 2);
                const int y = bas + int(r) * ligne;
                for (EntreeLegende& e : lignes[r]) {
                    e.echantillon = {x, y, echantillon, echantillon};
                    e.zoneTexte = {x + echantillon + police / 2, y, largeur(e) - echantillon - police / 2,
                                   echantillon};
                    x += largeur(e);
                    plan.legende.push_back(std::move(e));
                }
            }
            bas -= ecart;
        }
    }

    // The months: the grid asked for, or the one with the largest cells.
    const int n = o.nombreMois, hauteurGrille = std::max(0, bas - haut);
    int colonnes = 0;
    if (o.disposition != Disposition::Auto) {
        for (const Grille& g : Grilles)
            if (g.d == o.disposition)
                colonnes = std::min(g.colonnes, n);
    } else if (n == BlocsParFeuille) {
        colonnes = o.paysage ? 4 : 3;
    } else {
        for (int c = 1, meilleur = -1; c <= n; ++c)
            if (const int s = coteMax(c, (n + c - 1) / c, o.semaines, l, hauteurGrille); s > meilleur)
                meilleur = s, colonnes = c;
    }
    const int rangees = (n + colonnes - 1) / colonnes;
    int s = std::max(1, coteMax(colonnes, rangees, o.semaines, l, hauteurGrille));
    int hTitre = 0, hNoms = 0, lSemaines = 0, ex = 0, ey = 0, lBloc = 0, hBloc = 0, lTout = 0, hTout = 0;
    for (;; --s) {
        hTitre = arrondi(TitreMoisCases * s), hNoms = arrondi(NomsCases * s);
        lSemaines = o.semaines ? arrondi(SemainesCases * s) : 0;
        ex = arrondi(EcartXCases * s), ey = arrondi(EcartYCases * s);
        lBloc = lSemaines + 7 * s, hBloc = hTitre + hNoms + 6 * s;
        lTout = colonnes * lBloc + (colonnes - 1) * ex, hTout = rangees * hBloc + (rangees - 1) * ey;
        if (s <= 1 || (lTout <= l && hTout <= hauteurGrille))
            break;
    }
    plan.cote = s;
    const int gx = x0 + (l - lTout) / 2, gy = haut + (hauteurGrille - hTout) / 2;
    for (int i = 0; i < n; ++i) {
        const int bx = gx + (i % colonnes) * (lBloc + ex), by = gy + (i / colonnes) * (hBloc + ey);
        BlocPage b;
        b.bloc = o.premierBloc + i;
        b.titre = {bx + lSemaines, by, 7 * s, hTitre};
        b.nomsJours = {bx + lSemaines, by + hTitre, 7 * s, hNoms};
        b.cases = {bx + lSemaines, by + hTitre + hNoms, 7 * s, 6 * s};
        b.semaines = {bx, b.cases.y, lSemaines, o.semaines ? 6 * s : 0};
        plan.blocs.push_back(b);
    }
    return plan;
}
