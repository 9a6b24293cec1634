#include "output/Impression.h"

#include <algorithm>
#include <cmath>

#include "commun/Nombres.h"

namespace {
double Positif(double v) { return std::isfinite(v) && v > 0 ? v : 0.0; }
} // namespace

PageImprimante PageDepuisPoints(double largeurPt, double hauteurPt, double gauchePt, double hautPt,
                                double droitePt, double basPt)
{
    const double l = Positif(largeurPt) * TwipsParPoint, h = Positif(hauteurPt) * TwipsParPoint;
    const double g = Positif(gauchePt) * TwipsParPoint, d = Positif(droitePt) * TwipsParPoint;
    const double hh = Positif(hautPt) * TwipsParPoint, b = Positif(basPt) * TwipsParPoint;
    PageImprimante p;
    p.LargeurPapier = VersEntier32(l);
    p.HauteurPapier = VersEntier32(h);
    p.LargeurImprimable = VersEntier32(std::max(0.0, l - g - d));
    p.HauteurImprimable = VersEntier32(std::max(0.0, h - hh - b));
    p.BordGauche = std::min(g, l);
    p.BordHaut = std::min(hh, h);
    return p;
}

int ResolutionQualite(int code, std::vector<int> offertes)
{
    if (code < -4 || code > -1)
        return 0;
    const int rang = -code - 1; // 0 draft .. 3 high
    std::erase_if(offertes, [](int r) { return r <= 0; });
    std::sort(offertes.begin(), offertes.end());
    offertes.erase(std::unique(offertes.begin(), offertes.end()), offertes.end());
    if (offertes.size() < 2) {
        constexpr int table[] = {150, 300, 600, 1200};
        return table[rang];
    }
    const double dernier = double(offertes.size() - 1);
    return offertes[size_t(std::lround(rang * dernier / 3.0))];
}

RectAppareil RectImpression(const MiseEnPage& mp, const PageImprimante& page, int16_t L, int16_t T, double dpiX,
                            double dpiY, double origineX, double origineY)
{
    const PositionPapier p = PositionSurPapier(mp, page);
    const double kx = dpiX / 1440.0, ky = dpiY / 1440.0;
    return {(p.x - origineX * TwipsParPoint) * kx, (p.y - origineY * TwipsParPoint) * ky, L * kx, T * ky};
}
