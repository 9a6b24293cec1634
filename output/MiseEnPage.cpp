#include "output/MiseEnPage.h"

#include <algorithm>
#include <cmath>

#include "commun/Nombres.h"

namespace {

int16_t Borne(const int v, int16_t mini, int16_t maxi)
{
    return int16_t(std::clamp(v, int(mini), int(maxi)));
}

// Origin offset for a bar value: steps beyond home times the step, negated.
float Origine(int16_t valeur, double pas)
{
    const int16_t pas16 = int16_t(valeur - PositionDepart);
    if (pas16 == 0 || pas == 0)
        return 0.0f;
    return -float(pas16 * pas);
}

void Accueil(MiseEnPage& mp)
{
    mp.ValeurH = PositionDepart;
    mp.ValeurV = PositionDepart;
    mp.OrigineGauche = 0;
    mp.OrigineHaut = 0;
}

} // namespace

void AjusteImage(MiseEnPage& mp, int32_t largeurPapier, int16_t L, double largeurSource, double hauteurSource)
{
    mp.MinH = mp.MinV = PositionDepart;
    if (largeurPapier <= 0 || !(largeurSource > 0) || !(hauteurSource > 0) || !std::isfinite(largeurSource)
        || !std::isfinite(hauteurSource) || mp.W <= 0 || mp.H <= 0) {
        mp.Valide = false;
        mp.EchellePage = 0;
        mp.LargeurMP = mp.HauteurMP = 0;
        mp.MaxH = mp.MaxV = PositionDepart;
        mp.PasX = mp.PasY = 0;
        Accueil(mp);
        return;
    }
    mp.Valide = true;
    mp.EchellePage = double(mp.W) / largeurPapier;
    mp.LargeurMP = L * mp.EchellePage + 2;
    mp.HauteurMP = hauteurSource * mp.LargeurMP / largeurSource + 2;
    // No room left on the miniature page: the bar stays at home.
    mp.MaxH = std::max(VersEntier16(mp.W - mp.LargeurMP - 5), PositionDepart);
    mp.MaxV = std::max(VersEntier16(mp.H - mp.HauteurMP - 5), PositionDepart);
    HScroll1_Change(mp, mp.ValeurH);
    VScroll1_Change(mp, mp.ValeurV);
}

void AjustImprimante(MiseEnPage& mp, const PageImprimante& page, int16_t L, int16_t T)
{
    mp.MargeX = std::max<int16_t>(VersEntier16(double(page.LargeurPapier) - page.LargeurImprimable), 0);
    mp.MargeY = std::max<int16_t>(VersEntier16(double(page.HauteurPapier) - page.HauteurImprimable), 0);
    mp.PasX = mp.PasY = 0;
    if (mp.Valide && page.LargeurPapier > 0 && page.HauteurPapier > 0) {
        // Distance from home to where the picture's far edge meets the
        // paper's far edge. None (the picture already reaches past the paper
        // from home): the bar stays at home.
        const double reserveX = page.LargeurPapier - mp.MargeX / 2.0 - L;
        const double reserveY = page.HauteurPapier - mp.MargeY / 2.0 - T;
        if (reserveX > 0 && mp.MaxH > PositionDepart)
            mp.PasX = reserveX / mp.MaxH;
        else
            mp.MaxH = PositionDepart;
        if (reserveY > 0 && mp.MaxV > PositionDepart)
            mp.PasY = reserveY / (mp.MaxV - 1);
        else
            mp.MaxV = PositionDepart;
    } else {
        mp.MaxH = mp.MaxV = PositionDepart;
    }
    Accueil(mp);
}

void ChoixImprimante(MiseEnPage& mp, const PageImprimante& page, int16_t L, int16_t T, double largeurSource,
                     double hauteurSource)
{
    AjusteImage(mp, page.LargeurPapier, L, largeurSource, hauteurSource);
    AjustImprimante(mp, page, L, T);
}

int16_t HScroll1_Change(MiseEnPage& mp, int v)
{
    mp.ValeurH = Borne(v, mp.MinH, mp.MaxH);
    mp.OrigineGauche = Origine(mp.ValeurH, mp.PasX);
    return mp.ValeurH;
}

int16_t VScroll1_Change(MiseEnPage& mp, int v)
{
    mp.ValeurV = Borne(v, mp.MinV, mp.MaxV);
    mp.OrigineHaut = Origine(mp.ValeurV, mp.PasY);
    return mp.ValeurV;
}

void PlacerBarres(MiseEnPage& mp, PositionBarres p)
{
    HScroll1_Change(mp, p.h);
    VScroll1_Change(mp, p.v);
}

PositionMiniature PositionFleche(const MiseEnPage& mp, int index)
{
    const float W = float(mp.W), H = float(mp.H);
    const float w = float(mp.LargeurMP), h = float(mp.HauteurMP);
    PositionMiniature p{5.0f, 5.0f};
    if (index < 0 || index > 8)
        return p;
    switch (index % 3) {
    case 1: p.gauche = (W - w) / 2.0f + 1.0f; break;
    case 2: p.gauche = W - w - 5.0f; break;
    default: break;
    }
    switch (index / 3) {
    case 1: p.haut = (H - h) / 2.0f; break;
    case 2: p.haut = H - h - 7.0f; break;
    default: break;
    }
    return p;
}

void AppliquerFleche(MiseEnPage& mp, int index)
{
    if (index < 0 || index > 8)
        return;
    const PositionMiniature p = PositionFleche(mp, index);
    // Whole part towards minus infinity; far outside values are clamped anyway.
    const auto entier = [](float f) {
        return std::isnan(f) ? int(PositionDepart) : int(std::clamp(std::floor(f), -32768.0f, 32767.0f));
    };
    HScroll1_Change(mp, entier(p.gauche));
    VScroll1_Change(mp, entier(p.haut));
}

RectPixels RectMiniature(const MiseEnPage& mp)
{
    return {mp.ValeurH, mp.ValeurV, int(VersEntier32(mp.LargeurMP)), int(VersEntier32(mp.HauteurMP))};
}

PositionPapier PositionSurPapier(const MiseEnPage& mp, const PageImprimante& page)
{
    const double bordG = page.BordGauche.value_or(mp.MargeX / 2.0);
    const double bordH = page.BordHaut.value_or(mp.MargeY / 2.0);
    return {bordG - mp.OrigineGauche, bordH - mp.OrigineHaut};
}

GrillePage LignesGrille(int W, int H)
{
    const auto px = [](double v) { return int(VersEntier32(v)); };
    return {{px(W / 4.0 - 1), px(W / 2.0 - 2), px(3.0 * W / 4.0 - 1)}, {px(H / 4.0), px(H / 2.0), px(3.0 * H / 4.0)}};
}
