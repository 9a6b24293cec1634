#include <QtTest>

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

bool memeZone(const ZoneMois& a, const ZoneMois& b)
{
    return a.ZoneX1 == b.ZoneX1 && a.ZoneY1 == b.ZoneY1 && a.ZoneX2 == b.ZoneX2 && a.ZoneY2 == b.ZoneY2
           && a.RatioZone == b.RatioZone;
}
} // namespace

class TestZone : public QObject {
    Q_OBJECT
private slots:
    void clicSansMouvement()
    {
        // The block of the second column, third row.
        ZoneMois z = zone(300, 500, 300, 500);
        QCOMPARE(z.ZoneX1, 209);
        QCOMPARE(z.ZoneX2, 418);
        QCOMPARE(z.ZoneY1, 432);
        QCOMPARE(z.ZoneY2, 648);
        QCOMPARE(z.RatioZone, 216.0 / 209.0);
        // The first pixel of the image.
        z = zone(0, 0, 0, 0);
        QVERIFY(z.ZoneX1 == 0 && z.ZoneY1 == 0 && z.ZoneX2 == 209 && z.ZoneY2 == 216);
    }

    void glisserDansLesDeuxSens()
    {
        ZoneMois aller = zone(10, 20, 500, 700);
        QVERIFY(memeZone(aller, zone(500, 700, 10, 20)));
        QVERIFY(memeZone(aller, zone(500, 20, 10, 700)));
        QVERIFY(memeZone(aller, zone(10, 700, 500, 20)));
        QCOMPARE(aller.ZoneX1, 0);
        QCOMPARE(aller.ZoneX2, 627);
        QCOMPARE(aller.ZoneY1, 0);
        QCOMPARE(aller.ZoneY2, 864);
    }

    void blocsVoisinsEtFeuilleEntiere()
    {
        // A short drag across the boundary between two blocks takes both.
        ZoneMois z = zone(200, 100, 215, 104);
        QCOMPARE(z.ZoneX2 - z.ZoneX1, 2 * 209);
        QCOMPARE(z.ZoneY2 - z.ZoneY1, 216);
        z = zone(100, 210, 100, 220);
        QCOMPARE(z.ZoneY2 - z.ZoneY1, 2 * 216);

        z = zone(1, 1, 626, 863);
        QCOMPARE(z.ZoneX2 - z.ZoneX1, 3 * 209);
        QCOMPARE(z.ZoneY2 - z.ZoneY1, 4 * 216);
        QCOMPARE(z.RatioZone, (4.0 * 216) / (3.0 * 209));
    }

    void pointSurUneLimite()
    {
        // As a start, a boundary begins the zone there.
        ZoneMois z = zone(209, 216, 300, 300);
        QCOMPARE(z.ZoneX1, 209);
        QCOMPARE(z.ZoneY1, 216);
        // As an end, it adds the whole block that begins there.
        z = zone(100, 100, 209, 216);
        QCOMPARE(z.ZoneX2, 418);
        QCOMPARE(z.ZoneY2, 432);
        // Coordinates are first rounded, halves to even.
        z = zone(208.5, 215.5, 208.5, 215.5);
        QCOMPARE(z.ZoneX1, 0);   // 208.5 -> 208
        QCOMPARE(z.ZoneY1, 216); // 215.5 -> 216
        z = zone(208.6, 0, 417.5, 0);
        QCOMPARE(z.ZoneX1, 209); // 208.6 -> 209
        QCOMPARE(z.ZoneX2, 627); // 417.5 -> 418, third block
    }

    void relacheHorsImage()
    {
        ZoneMois z = zone(100, 100, 700, 900);
        QCOMPARE(z.ZoneX2, 4 * 209);
        QCOMPARE(z.ZoneY2, 5 * 216);
        // Left of and above the image: the division drops the remainder
        // towards zero, so -50 stays in the first block and -300 reaches back one.
        z = zone(100, 100, -300, -50);
        QCOMPARE(z.ZoneX1, -209);
        QCOMPARE(z.ZoneY1, 0);
        QCOMPARE(z.ZoneX2, 209);
        QCOMPARE(z.ZoneY2, 216);
        QCOMPARE(z.RatioZone, 216.0 / 418.0);
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

    void limiteALImage()
    {
        RectPixels r = LimiterZone(zone(300, 500, 300, 500));
        QVERIFY(r.x == 209 && r.y == 432 && r.l == 209 && r.h == 216);
        r = LimiterZone(zone(100, 100, 700, 900));
        QVERIFY(r.x == 0 && r.y == 0 && r.l == LargeurImage && r.h == HauteurImage);
        r = LimiterZone(zone(100, 100, -300, -50));
        QVERIFY(r.x == 0 && r.y == 0 && r.l == 209 && r.h == 216);
        // The last column of the image lies in a fourth, partial block.
        r = LimiterZone(zone(627, 865, 627, 865));
        QVERIFY(r.x == 627 && r.y == 864 && r.l == 1 && r.h == 2);
        // Nothing on the image.
        r = LimiterZone(zone(900, 100, 1000, 100));
        QVERIFY(r.l == 0 && r.h == 0);
    }
};

QTEST_APPLESS_MAIN(TestZone)
#include "test_zone.moc"
