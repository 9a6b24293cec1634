#include <QtTest>

#include <array>
#include <limits>

#include "special/Zone.h"

namespace {
using Coins = std::array<int, 4>;
using Points = std::array<double, 4>;
Coins zone(double x1, double y1, double x2, double y2, double* ratio = nullptr)
{
    TraceZone t;
    t.SelX1 = x1;
    t.SelY1 = y1;
    t.SelX2 = x2;
    t.SelY2 = y2;
    const ZoneMois z = CalculerZone(t);
    if (ratio)
        *ratio = z.RatioZone;
    return {z.ZoneX1, z.ZoneY1, z.ZoneX2, z.ZoneY2};
}
} // namespace

Q_DECLARE_METATYPE(Coins)
Q_DECLARE_METATYPE(Points)

class TestZone : public QObject {
    Q_OBJECT
private slots:
    void blocsEntiers_data()
    {
        // Press and release points, and the zone: first column and row, first past it.
        QTest::addColumn<Points>("points");
        QTest::addColumn<Coins>("attendu");
        const std::tuple<const char*, Points, Coins> cas[] = {
            {"a click: the block under it", {300, 500, 300, 500}, {209, 432, 418, 648}},
            {"origin", {0, 0, 0, 0}, {0, 0, 209, 216}},
            {"whole image", {10, 20, 500, 700}, {0, 0, 627, 864}},
            {"short drag over a boundary", {200, 100, 215, 104}, {0, 0, 418, 216}},
            {"short drag down", {100, 210, 100, 220}, {0, 0, 209, 432}},
            {"inner corners", {1, 1, 626, 863}, {0, 0, 627, 864}},
            // A boundary begins the zone as a start, adds the block beginning there as an end.
            {"boundary as start", {209, 216, 300, 300}, {209, 216, 418, 432}},
            {"boundary as end", {100, 100, 209, 216}, {0, 0, 418, 432}},
            // Coordinates are first rounded, halves to even: 208.5 -> 208, 215.5 -> 216, 417.5 -> 418.
            {"halves", {208.5, 215.5, 208.5, 215.5}, {0, 216, 209, 432}},
            {"halves 2", {208.6, 0, 417.5, 0}, {209, 0, 627, 216}},
            // Released outside the image; left of and above it the division drops the
            // remainder towards zero, so -50 stays in the first block and -300 reaches back one.
            {"past the image", {100, 100, 700, 900}, {0, 0, 4 * 209, 5 * 216}},
            {"before the image", {100, 100, -300, -50}, {-209, 0, 209, 216}},
        };
        for (const auto& [nom, p, attendu] : cas)
            QTest::newRow(nom) << p << attendu;
    }
    void blocsEntiers()
    {
        QFETCH(Points, points);
        QFETCH(Coins, attendu);
        const auto [x1, y1, x2, y2] = points;
        double ratio = 0;
        QCOMPARE(zone(x1, y1, x2, y2, &ratio), attendu);
        QCOMPARE(ratio, double(attendu[3] - attendu[1]) / (attendu[2] - attendu[0]));
        // Dragging in any direction gives the same zone.
        QCOMPARE(zone(x2, y2, x1, y1), attendu);
        QCOMPARE(zone(x2, y1, x1, y2), attendu);
    }

    void valeursAberrantes()
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        double ratio = 0;
        const Coins z = zone(nan, -inf, inf, 1e300, &ratio);
        QVERIFY(z[2] > z[0]);
        QVERIFY(z[3] > z[1]);
        QVERIFY(std::isfinite(ratio));
        QVERIFY(ratio > 0);
        TraceZone t;
        t.LargMois = 0;
        const ZoneMois vide = CalculerZone(t);
        QCOMPARE((Coins{vide.ZoneX1, vide.ZoneX2}), (Coins{0, 0}));
        QCOMPARE(vide.RatioZone, 0.0);
    }
};

QTEST_APPLESS_MAIN(TestZone)
#include "test_zone.moc"
