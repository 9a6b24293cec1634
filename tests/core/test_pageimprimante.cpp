#include <QtTest>

#include <cmath>
#include <limits>

#include "output/Impression.h"

namespace {
bool Proche(double a, double b, double eps = 1e-6) { return std::abs(a - b) < eps; }
} // namespace

class TestPageImprimante : public QObject {
    Q_OBJECT
private slots:
    void pageDuPilote()
    {
        // A4 in points with a quarter inch the driver cannot print on each side.
        const PageImprimante p = PageDepuisPoints(595.2756, 841.8898, 18, 18, 18, 18);
        QCOMPARE(p.LargeurPapier, 11906);
        QCOMPARE(p.HauteurPapier, 16838);
        QCOMPARE(p.LargeurImprimable, 11186);
        QCOMPARE(p.HauteurImprimable, 16118);
        QVERIFY(Proche(*p.BordGauche, 360));
        QVERIFY(Proche(*p.BordHaut, 360));

        // Unequal margins: the printable area's own left and top edges.
        const PageImprimante q = PageDepuisPoints(612, 792, 12, 30, 24, 6);
        QCOMPARE(q.LargeurImprimable, 12240 - 720);
        QCOMPARE(q.HauteurImprimable, 15840 - 720);
        QVERIFY(Proche(*q.BordGauche, 240));
        QVERIFY(Proche(*q.BordHaut, 600));

        // Whole page printable, margins wider than the paper, nonsense values.
        const PageImprimante r = PageDepuisPoints(595, 842, 0, 0, 0, 0);
        QCOMPARE(r.LargeurImprimable, r.LargeurPapier);
        QCOMPARE(*r.BordGauche, 0.0);
        const PageImprimante s = PageDepuisPoints(100, 100, 80, 80, 80, 80);
        QCOMPARE(s.LargeurImprimable, 0);
        QVERIFY(*s.BordGauche <= s.LargeurPapier);
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const PageImprimante t = PageDepuisPoints(nan, -5, nan, -1, 0, 0);
        QCOMPARE(t.LargeurPapier, 0);
        QCOMPARE(t.HauteurPapier, 0);
        QCOMPARE(*t.BordHaut, 0.0);
    }

    void qualites()
    {
        // Nothing offered by the driver (or one odd value): fixed resolutions.
        // Offered resolutions: draft the lowest, high the highest, spread between.
        const std::vector<int> offertes{1200, 75, 300, 150, 600, 300, 0};
        for (auto [code, proposees, dpi] :
             {std::tuple{-1, std::vector<int>{}, 150}, {-2, {72}, 300}, {-3, {}, 600}, {-4, {1200}, 1200},
              {-1, offertes, 75}, {-2, offertes, 150}, {-3, offertes, 600}, {-4, offertes, 1200},
              {-2, {600, 300}, 300}, {-3, {600, 300}, 600}})
            QCOMPARE(ResolutionQualite(code, proposees), dpi);
        // Not a quality code: the printer keeps its resolution.
        for (int code : {0, 1, 4, -5, -32768})
            QCOMPARE(ResolutionQualite(code, offertes), 0);
    }

    void rectangleSurAppareil()
    {
        // 180 x 250 mm on A4 with quarter-inch margins, placed by the top-right arrow.
        const PageImprimante page = PageDepuisPoints(595.2756, 841.8898, 18, 18, 18, 18);
        MiseEnPage mp;
        ChoixImprimante(mp, page, 10206, 14175, 9450, 13020);
        AppliquerFleche(mp, 2);
        RectAppareil r = RectImpression(mp, page, 10206, 14175, 1440, 1440);
        QVERIFY(Proche(r.x, 360 + 1180.476, 0.01));
        QVERIFY(Proche(r.y, 360));
        QVERIFY(Proche(r.l, 10206));
        QVERIFY(Proche(r.h, 14175));
        // In the device's own units, from an origin the device sets elsewhere.
        r = RectImpression(mp, page, 10206, 14175, 600, 300, 18, 9);
        QVERIFY(Proche(r.x, 1180.476 * 600 / 1440, 0.01));
        QVERIFY(Proche(r.y, 180 * 300.0 / 1440));
        QVERIFY(Proche(r.l, 10206 * 600.0 / 1440));
        QVERIFY(Proche(r.h, 14175 * 300.0 / 1440));
    }
};

QTEST_APPLESS_MAIN(TestPageImprimante)
#include "test_pageimprimante.moc"
