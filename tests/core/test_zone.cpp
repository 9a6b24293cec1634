#include <QtTest>

#include <array>
#include <limits>

#include "special/Zone.h"

namespace {
ZoneMois zone(double x1, double y1, double x2, double y2)
{
    TraceZone t;
    t.SelX1 = x1;
    t.SelY1 = y1;
    t.SelX2 = x2;
    t.SelY2 = y2;
    return CalculerZone(t);
}
using Coins = std::array<int, 4>;
Coins coins(const ZoneMois& z) { return {z.ZoneX1, z.ZoneY1, z.ZoneX2, z.ZoneY2}; }
} // namespace

class TestZone : public QObject {
    Q_OBJECT
private slots:
    void blocsEntiers()
    {
        // Press and release points, and the zone: first column and row, first past it.
        const std::pair<std::array<double, 4>, Coins> cas[] = {
            {{300, 500, 300, 500}, {209, 432, 418, 648}}, // a click: the block under it
            {{0, 0, 0, 0}, {0, 0, 209, 216}},
            {{10, 20, 500, 700}, {0, 0, 627, 864}},
            {{200, 100, 215, 104}, {0, 0, 418, 216}}, // a short drag over a boundary takes both blocks
            {{100, 210, 100, 220}, {0, 0, 209, 432}},
            {{1, 1, 626, 863}, {0, 0, 627, 864}},
            // A boundary begins the zone as a start, adds the block beginning there as an end.
            {{209, 216, 300, 300}, {209, 216, 418, 432}},
            {{100, 100, 209, 216}, {0, 0, 418, 432}},
            // Coordinates are first rounded, halves to even: 208.5 -> 208, 215.5 -> 216, 417.5 -> 418.
            {{208.5, 215.5, 208.5, 215.5}, {0, 216, 209, 432}},
            {{208.6, 0, 417.5, 0}, {209, 0, 627, 216}},
            // Released outside the image; left of and above it the division drops the
            // remainder towards zero, so -50 stays in the first block and -300 reaches back one.
            {{100, 100, 700, 900}, {0, 0, 4 * 209, 5 * 216}},
            {{100, 100, -300, -50}, {-209, 0, 209, 216}},
        };
        for (const auto& [p, attendu] : cas) {
            const ZoneMois z = zone(p[0], p[1], p[2], p[3]);
            QCOMPARE(coins(z), attendu);
            QCOMPARE(z.RatioZone, double(attendu[3] - attendu[1]) / (attendu[2] - attendu[0]));
            // Dragging in any direction gives the same zone.
            QCOMPARE(coins(zone(p[2], p[3], p[0], p[1])), attendu);
            QCOMPARE(coins(zone(p[2], p[1], p[0], p[3])), attendu);
        }
    }

    void valeursAberrantes()
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        ZoneMois z = zone(nan, -inf, inf, 1e300);
        QVERIFY(z.ZoneX2 > z.ZoneX1 && z.ZoneY2 > z.ZoneY1);
        QVERIFY(std::isfinite(z.RatioZone) && z.RatioZone > 0);
        TraceZone t;
        t.LargMois = 0;
        z = CalculerZone(t);
        QVERIFY(z.ZoneX1 == 0 && z.ZoneX2 == 0 && z.RatioZone == 0);
    }
};

QTEST_APPLESS_MAIN(TestZone)
#include "test_zone.moc"
