#include "output/Apercu.h"

#include <algorithm>

#include "commun/Nombres.h"

namespace {

// Zone coordinates come from mouse positions around the image; anything
// farther out than this is nonsense and yields an empty result.
constexpr int LimiteCoordonnee = 1 << 20;

bool CoordonneeSensee(int v) { return v >= -LimiteCoordonnee && v <= LimiteCoordonnee; }

// Intersection of (x, y, l, h) with the image.
RectPixels DansImage(int x, int y, int l, int h)
{
    const int x1 = std::clamp(x, 0, LargeurImage), y1 = std::clamp(y, 0, HauteurImage);
    const int x2 = std::clamp(x + l, 0, LargeurImage), y2 = std::clamp(y + h, 0, HauteurImage);
    if (x2 <= x1 || y2 <= y1)
        return {0, 0, 0, 0};
    return {x1, y1, x2 - x1, y2 - y1};
}

} // namespace

double ProportionSortie(bool zoneChoisie, double ratioZone)
{
    return zoneChoisie ? ratioZone : ProportionFeuille;
}

int16_t HauteurTwipsApercu(int16_t largeurTwips, bool zoneChoisie, double ratioZone)
{
    return VersEntier16(largeurTwips * ProportionSortie(zoneChoisie, ratioZone));
}

double HauteurBoiteApercu(double largeurMm, bool zoneChoisie, double ratioZone)
{
    return ArrondiPair(largeurMm * ProportionSortie(zoneChoisie, ratioZone));
}

GeometrieApercu CalculGeometrieApercu(int gaucheFenetre, int hautFenetre, int gauchePict1, int16_t L, int16_t T)
{
    GeometrieApercu g{};
    g.gauche = gaucheFenetre + gauchePict1 + 200;
    g.haut = hautFenetre + 510;
    g.image = {0, 0, L, T};
    g.hauteurFenetre = T + 390 + HauteurFermeApercu + 120;
    g.largeurFenetre = L + 90;
    g.boutonFermer = {g.largeurFenetre / 2 - LargeurFermeApercu / 2 - 30, T + 60, LargeurFermeApercu,
                      HauteurFermeApercu};
    g.contourX2 = L - TwipsParPixel;
    g.contourY2 = T - TwipsParPixel;
    return g;
}

ApercuAjuste AjusterApercu(int gaucheFenetre, int hautFenetre, int gauchePict1, int16_t L, int16_t T,
                           const RectTwips& ecran)
{
    ApercuAjuste a{CalculGeometrieApercu(gaucheFenetre, hautFenetre, gauchePict1, L, T), L, T, 100};
    const int autourL = a.g.largeurFenetre - L, autourH = a.g.hauteurFenetre - T; // frame, margins, button
    if (L > 0 && T > 0 && (a.g.largeurFenetre > ecran.largeur || a.g.hauteurFenetre > ecran.hauteur)) {
        const double echelle = std::min(double(ecran.largeur - autourL) / L, double(ecran.hauteur - autourH) / T);
        a.L = int16_t(std::clamp(int(L * echelle), TwipsParPixel, int(L)));
        a.T = int16_t(std::clamp(int(T * echelle), TwipsParPixel, int(T)));
        a.pourcent = std::max(1, a.L * 100 / L);
        a.g = CalculGeometrieApercu(gaucheFenetre, hautFenetre, gauchePict1, a.L, a.T);
    }
    a.g.gauche = std::max(ecran.gauche, std::min(a.g.gauche, ecran.gauche + ecran.largeur - a.g.largeurFenetre));
    a.g.haut = std::max(ecran.haut, std::min(a.g.haut, ecran.haut + ecran.hauteur - a.g.hauteurFenetre));
    return a;
}

SourceApercu CalculSourceApercu(bool zoneChoisie, int zoneX1, int zoneY1, int zoneX2, int zoneY2, int L, int T)
{
    SourceApercu s{};
    int x = 0, y = 0, l = LargeurImage, h = HauteurImage;
    if (zoneChoisie) {
        if (!CoordonneeSensee(zoneX1) || !CoordonneeSensee(zoneY1) || !CoordonneeSensee(zoneX2)
            || !CoordonneeSensee(zoneY2) || zoneX2 <= zoneX1 || zoneY2 <= zoneY1) {
            s.source = {0, 0, 0, 0};
            return s;
        }
        x = zoneX1;
        y = zoneY1;
        l = zoneX2 - zoneX1;
        h = zoneY2 - zoneY1 + 60 / TwipsParPixel;
    }
    s.source = DansImage(x, y, l, h);
    if (s.source.l == 0)
        return s;
    const double echX = double(L) / l, echY = double(T) / h;
    s.destination = {(s.source.x - x) * echX, (s.source.y - y) * echY, s.source.l * echX, s.source.h * echY};
    return s;
}

ImageZone CalculImageZone(int zoneX1, int zoneY1, int zoneX2, int zoneY2)
{
    ImageZone z{};
    if (!CoordonneeSensee(zoneX1) || !CoordonneeSensee(zoneY1) || !CoordonneeSensee(zoneX2)
        || !CoordonneeSensee(zoneY2) || zoneX2 <= zoneX1 || zoneY2 <= zoneY1)
        return z;
    const int dx = zoneX2 - zoneX1, dy = zoneY2 - zoneY1;
    z.largeurTwips = dx * TwipsParPixel + 30;
    z.hauteurTwips = dy * TwipsParPixel + 90;
    z.largeur = z.largeurTwips / TwipsParPixel;
    z.hauteur = z.hauteurTwips / TwipsParPixel;
    z.source = DansImage(zoneX1, zoneY1, z.largeur, z.hauteur);
    if (z.source.l > 0) {
        z.destX = z.source.x - zoneX1;
        z.destY = z.source.y - zoneY1;
    }
    z.contourX2 = dx - 1;
    z.contourY2 = dy + 2;
    return z;
}
