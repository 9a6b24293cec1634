#include <QtTest>

#include "tests/Verifier.h"
#include "special/Zone.h"

using Coins = std::tuple<int, int, int, int>;
Coins C(const ZoneMois& z) { return {z.ZoneX1, z.ZoneY1, z.ZoneX2, z.ZoneY2}; }

class TestZone : public QObject {
    Q_OBJECT
private slots:
    void blocsEntiers()
    {
        // Press and release points, and the zone (first column and row, first past it), dragged in any direction.
        const std::tuple<const char*, std::array<double, 4>, Coins> cas[] = {
            {"a click: the block under it", {300, 500, 300, 500}, {209, 432, 418, 648}},
            {"inner corners", {1, 1, 626, 863}, {0, 0, 627, 864}},
            // A boundary begins the zone as a start, adds the block beginning there as an end.
            {"boundary as start", {209, 216, 300, 300}, {209, 216, 418, 432}},
            {"boundary as end", {100, 100, 209, 216}, {0, 0, 418, 432}},
            {"rounded first, halves to even: 208, 216, 418", {208.5, 215.5, 417.5, 215.5}, {0, 216, 627, 432}},
            // Released outside the image; left of and above it the division drops the remainder towards zero.
            {"past the image", {100, 100, 700, 900}, {0, 0, 4 * 209, 5 * 216}},
            {"before the image: -50 in the first block, -300 one back", {100, 100, -300, -50}, {-209, 0, 209, 216}},
        };
        for (const auto& [nom, p, attendu] : cas) {
            const auto [x1, y1, x2, y2] = p;
            const ZoneMois z = CalculerZone({x1, y1, x2, y2});
            QVERIFY2(C(z) == attendu && C(CalculerZone({x2, y2, x1, y1})) == attendu
                         && C(CalculerZone({x2, y1, x1, y2})) == attendu, nom);
            QCOMPARE(z.RatioZone, double(z.ZoneY2 - z.ZoneY1) / (z.ZoneX2 - z.ZoneX1));
        }
        // Not-a-number and infinities still give a zone; blocks of no size give none.
        const ZoneMois z = CalculerZone({NAN, -INFINITY, INFINITY, 1e300});
        VERIFIER(z.ZoneX2 > z.ZoneX1, z.ZoneY2 > z.ZoneY1, std::isfinite(z.RatioZone), z.RatioZone > 0);
        QCOMPARE(C(CalculerZone({0, 0, 100, 100, 0})), Coins{});
    }
};

QTEST_APPLESS_MAIN(TestZone)
#include "test_zone.moc"
