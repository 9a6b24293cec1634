#include <QtTest>

#include <cmath>
#include <limits>

#include "output/Impression.h"

class TestPageImprimante : public QObject {
    Q_OBJECT
private slots:
    void pageDuPilote()
    {
        // Points (paper, then left, top, right, bottom margins) to twips: paper,
        // printable size, the printable area's left and top edges. Unequal
        // margins, none, wider than the paper, nonsense values.
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const std::tuple<std::array<double, 6>, std::array<double, 6>> cas[] = {
            {{612, 792, 12, 30, 24, 6}, {12240, 15840, 11520, 15120, 240, 600}},
            {{595, 842, 0, 0, 0, 0}, {11900, 16840, 11900, 16840, 0, 0}},
            {{100, 100, 80, 80, 80, 80}, {2000, 2000, 0, 0, 1600, 1600}},
            {{nan, -5, nan, -1, 0, 0}, {0, 0, 0, 0, 0, 0}}};
        for (const auto& [pt, tw] : cas) {
            const PageImprimante p = PageDepuisPoints(pt[0], pt[1], pt[2], pt[3], pt[4], pt[5]);
            QCOMPARE((std::array<double, 6>{double(p.LargeurPapier), double(p.HauteurPapier),
                                            double(p.LargeurImprimable), double(p.HauteurImprimable),
                                            *p.BordGauche, *p.BordHaut}),
                     tw);
        }
    }

    void qualites()
    {
        // Nothing offered by the driver (or one odd value): fixed resolutions.
        // Offered resolutions: draft the lowest, high the highest, spread between.
        const std::vector<int> offertes{1200, 75, 300, 150, 600, 300, 0};
        for (auto [code, proposees, dpi] :
             {std::tuple{-1, std::vector<int>{}, 150}, {-2, {72}, 300}, {-4, {1200}, 1200}, {-1, offertes, 75},
              {-2, offertes, 150}, {-3, offertes, 600}, {-4, offertes, 1200}, {-2, {600, 300}, 300}})
            QCOMPARE(ResolutionQualite(code, proposees), dpi);
        // Not a quality code: the printer keeps its resolution.
        for (int code : {0, -5})
            QCOMPARE(ResolutionQualite(code, offertes), 0);
    }

    void rectangleSurAppareil()
    {
        // 180 x 250 mm on A4 with quarter-inch margins, placed by the top-right
        // arrow, in the device's own units, from an origin the device sets elsewhere.
        const PageImprimante page = PageDepuisPoints(595.2756, 841.8898, 18, 18, 18, 18);
        MiseEnPage mp;
        ChoixImprimante(mp, page, 10206, 14175, 9450, 13020);
        AppliquerFleche(mp, 2);
        const RectAppareil r = RectImpression(mp, page, 10206, 14175, 600, 300, 18, 9);
        const std::array<double, 4> attendu{1180.476 * 600 / 1440, 180 * 300.0 / 1440, 10206 * 600.0 / 1440,
                                            14175 * 300.0 / 1440};
        const std::array<double, 4> vu{r.x, r.y, r.l, r.h};
        for (int i = 0; i < 4; ++i)
            QVERIFY2(std::abs(vu[i] - attendu[i]) < 0.01, qPrintable(QString::number(i)));
    }
};

QTEST_APPLESS_MAIN(TestPageImprimante)
#include "test_pageimprimante.moc"
