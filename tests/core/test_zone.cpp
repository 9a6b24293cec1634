#include <QtTest>

#include <array>
#include <limits>

#include "special/Zone.h"

namespace {
using Coins = std::array<int, 4>;
ZoneMois Zone(double x1, double y1, double x2, double y2)
{
    TraceZone t;
    std::tie(t.SelX1, t.SelY1, t.SelX2, t.SelY2) = std::tuple{x1, y1, x2, y2};
    return CalculerZone(t);
}
Coins Coins_(const ZoneMois& z) { return {z.ZoneX1, z.ZoneY1, z.ZoneX2, z.ZoneY2}; }
} // namespace

class TestZone : public QObject {
    Q_OBJECT
private slots:
    void blocsEntiers()
    {
        // Press and release points, and the zone: first column and row, first past it.
        const std::tuple<const char*, std::array<double, 4>, Coins> cas[] = {
            {"a click: the block under it", {300, 500, 300, 500}, {209, 432, 418, 648}},
            {"short drag over a boundary", {200, 100, 215, 104}, {0, 0, 418, 216}},
            {"inner corners", {1, 1, 626, 863}, {0, 0, 627, 864}},
            // A boundary begins the zone as a start, adds the block beginning there as an end.
            {"boundary as start", {209, 216, 300, 300}, {209, 216, 418, 432}},
            {"boundary as end", {100, 100, 209, 216}, {0, 0, 418, 432}},
            // Coordinates are first rounded, halves to even: 208.5 -> 208, 215.5 -> 216, 417.5 -> 418.
            {"halves", {208.5, 215.5, 417.5, 215.5}, {0, 216, 627, 432}},
            // Released outside the image; left of and above it the division drops the
            // remainder towards zero, so -50 stays in the first block and -300 reaches back one.
            {"past the image", {100, 100, 700, 900}, {0, 0, 4 * 209, 5 * 216}},
            {"before the image", {100, 100, -300, -50}, {-209, 0, 209, 216}},
        };
        for (const auto& [nom, p, attendu] : cas) {
            const auto [x1, y1, x2, y2] = p;
            const ZoneMois z = Zone(x1, y1, x2, y2);
            // Dragging in any direction gives the same zone.
            QVERIFY2(Coins_(z) == attendu && Coins_(Zone(x2, y2, x1, y1)) == attendu
                         && Coins_(Zone(x2, y1, x1, y2)) == attendu,
                     nom);
            QCOMPARE(z.RatioZone, double(attendu[3] - attendu[1]) / (attendu[2] - attendu[0]));
        }
    }

    void valeursAberrantes()
    {
        const double inf = std::numeric_limits<double>::infinity();
        const ZoneMois z = Zone(std::numeric_limits<double>::quiet_NaN(), -inf, inf, 1e300);
        QVERIFY(z.ZoneX2 > z.ZoneX1 && z.ZoneY2 > z.ZoneY1 && std::isfinite(z.RatioZone) && z.RatioZone > 0);
        TraceZone t;
        t.LargMois = 0;
        const ZoneMois vide = CalculerZone(t);
        QVERIFY(vide.ZoneX1 == 0 && vide.ZoneX2 == 0 && vide.RatioZone == 0.0);
    }
};

QTEST_APPLESS_MAIN(TestZone)
#include "test_zone.moc"
