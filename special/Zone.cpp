#include "special/Zone.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "commun/Nombres.h"

namespace {

constexpr double LimiteCoordonnee = 1000000;

// Nearest whole number, halves to even; NaN counts as 0.
int entier(double x)
{
    if (std::isnan(x))
        return 0;
    return static_cast<int>(ArrondiPair(std::clamp(x, -LimiteCoordonnee, LimiteCoordonnee)));
}

// Start of the block holding pixel p (integer division towards zero).
int debutBloc(int p, int taille) { return (p / taille) * taille; }

} // namespace

ZoneMois CalculerZone(const TraceZone& t)
{
    ZoneMois z;
    if (t.LargMois < 1 || t.HautMois < 1)
        return z;

    double x1 = t.SelX1, y1 = t.SelY1, x2 = t.SelX2, y2 = t.SelY2;
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);

    z.ZoneX1 = debutBloc(entier(x1), t.LargMois);
    z.ZoneY1 = debutBloc(entier(y1), t.HautMois);
    z.ZoneX2 = debutBloc(entier(x2), t.LargMois) + t.LargMois;
    z.ZoneY2 = debutBloc(entier(y2), t.HautMois) + t.HautMois;
    z.RatioZone = (double(z.ZoneY2) - z.ZoneY1) / (double(z.ZoneX2) - z.ZoneX1);
    return z;
}
