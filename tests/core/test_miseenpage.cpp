#include <QtTest>

#include <cmath>
#include <limits>

#include "output/MiseEnPage.h"

namespace {

// A4 upright with 360 twips of unprintable border on each side.
PageImprimante A4(int32_t imprimableL = 11186) { return {11906, 16838, imprimableL, 16118, {}, {}}; }

// The whole calendar image as the main window reports it, twips.
constexpr double SourceL = 9450, SourceH = 13020;

bool Proche(double a, double b, double eps = 0.01) { return std::abs(a - b) < eps; }

// Every state keeps the miniature, the bars and the origin together.
bool Coherent(const MiseEnPage& mp)
{
    const RectPixels r = RectMiniature(mp);
    return mp.MinH == 5 && mp.MinV == 5 && mp.ValeurH >= 5 && mp.ValeurH <= mp.MaxH && mp.ValeurV >= 5
        && mp.ValeurV <= mp.MaxV && mp.PasX >= 0 && mp.PasY >= 0
        && Proche(mp.OrigineGauche, -(mp.ValeurH - 5) * mp.PasX)
        && Proche(mp.OrigineHaut, -(mp.ValeurV - 5) * mp.PasY) && r.x == mp.ValeurH && r.y == mp.ValeurV;
}

} // namespace

class TestMiseEnPage : public QObject {
    Q_OBJECT
private slots:
    void exempleA4()
    {
        // 180 x 250 mm on A4.
        const PageImprimante page = A4();
        MiseEnPage mp;
        ChoixImprimante(mp, page, 10206, 14175, SourceL, SourceH);
        QVERIFY(mp.Valide);
        QVERIFY(Proche(mp.EchellePage, 344.0 / 11906, 1e-12));
        QVERIFY(Proche(mp.LargeurMP, 296.88));
        QCOMPARE(int(mp.MargeX), 720);
        QCOMPARE(int(mp.MaxH), 42);
        QVERIFY(Proche(mp.PasX, 31.905, 0.001));
        // Vertically: the miniature keeps the on-screen aspect (411.04 pixels)
        // and the step divides by one less than the maximum.
        QVERIFY(Proche(mp.HauteurMP, 411.037));
        QCOMPARE(int(mp.MaxV), 70);
        QVERIFY(Proche(mp.PasY, (16838 - 360 - 14175) / 69.0, 1e-9));
        // Home right after the printer choice: the printable area's corner.
        QCOMPARE((std::pair{int(mp.ValeurH), int(mp.ValeurV)}), (std::pair{5, 5}));
        QVERIFY(Coherent(mp));
        PositionPapier p = PositionSurPapier(mp, page);
        QVERIFY(Proche(p.x, 360));
        QVERIFY(Proche(p.y, 360));

        AppliquerFleche(mp, 2);
        QCOMPARE(int(mp.ValeurH), 42);
        QVERIFY(Proche(mp.OrigineGauche, -1180.476));
        QVERIFY(Coherent(mp));

        // Centre: one pixel right of exact centre (24.56 -> 24), exact centre down (37.48 -> 37).
        AppliquerFleche(mp, 4);
        QCOMPARE((std::pair{int(mp.ValeurH), int(mp.ValeurV)}), (std::pair{24, 37}));
        p = PositionSurPapier(mp, page);
        QVERIFY(Proche(p.x, 360 + 19 * 1340.0 / 42));
        QVERIFY(Proche(p.y, 360 + 32 * 2303.0 / 69));

        // Bottom right: right column at the bar's maximum, bottom row 2 steps under it.
        AppliquerFleche(mp, 8);
        QCOMPARE((std::pair{int(mp.ValeurH), int(mp.ValeurV)}), (std::pair{42, 67}));
        p = PositionSurPapier(mp, page);
        QVERIFY(Proche(p.x, 360 + 1180.476));
        QVERIFY(Proche(p.y, 360 + 2069.362));
        QVERIFY(p.x + 10206 <= page.LargeurPapier);
        QVERIFY(p.y + 14175 <= page.HauteurPapier);
        // Printable area not centred on the paper: its real edges count.
        PageImprimante decale = page;
        decale.BordGauche = 200;
        decale.BordHaut = 100;
        p = PositionSurPapier(mp, decale);
        QVERIFY(Proche(p.x, 200 + 1180.476));
        QVERIFY(Proche(p.y, 100 + 2069.362));

        AppliquerFleche(mp, 0);
        QCOMPARE(mp.OrigineGauche, 0.0f);
        QCOMPARE(mp.OrigineHaut, 0.0f);
    }

    void barres()
    {
        MiseEnPage mp;
        ChoixImprimante(mp, A4(), 10206, 14175, SourceL, SourceH);
        QCOMPARE(HScroll1_Change(mp, 20), int16_t(20));
        QVERIFY(Proche(mp.OrigineGauche, -15 * 1340.0 / 42));
        // Below home is refused (no positive origin), and so is past the maximum.
        QCOMPARE(HScroll1_Change(mp, 0), int16_t(5));
        QCOMPARE(VScroll1_Change(mp, -3), int16_t(5));
        QCOMPARE(HScroll1_Change(mp, 500), int16_t(42));
        QCOMPARE(VScroll1_Change(mp, 500), int16_t(70));
        QVERIFY(Coherent(mp));

        // Another printer: everything recomputed, picture home again.
        PageImprimante lettre{12240, 15840, 11520, 15120, {}, {}};
        ChoixImprimante(mp, lettre, 10206, 14175, SourceL, SourceH);
        QCOMPARE((std::pair{int(mp.ValeurH), int(mp.ValeurV)}), (std::pair{5, 5}));
        QCOMPARE(mp.OrigineGauche, 0.0f);
        QVERIFY(Proche(mp.EchellePage, 344.0 / 12240, 1e-12));
        // A smaller room alone keeps the bars inside it.
        HScroll1_Change(mp, mp.MaxH);
        AjusteImage(mp, lettre.LargeurPapier, 11000, SourceL, SourceH);
        QVERIFY(Coherent(mp));
    }

    void taillesLimites()
    {
        MiseEnPage mp;
        const auto toutesLesFleches = [&] {
            for (int i = 0; i < 9; ++i) {
                AppliquerFleche(mp, i);
                if (!Coherent(mp))
                    return false;
            }
            return true;
        };
        // Print larger than the paper: no room, held at home whatever is asked.
        ChoixImprimante(mp, A4(), 12000, 16900, SourceL, SourceH);
        QVERIFY(mp.LargeurMP > 344 && mp.MaxH == 5 && mp.MaxV == 5);
        QVERIFY(toutesLesFleches() && mp.OrigineGauche == 0);
        // W - w = 10.4: the maximum is 5 but the centre arrow asks for 6.
        ChoixImprimante(mp, A4(), 11477, 14000, SourceL, SourceH);
        QVERIFY(mp.MaxH == 5 && PositionFleche(mp, 1).gauche > 6 && toutesLesFleches());
        // Maximum 6: one step of room.
        ChoixImprimante(mp, A4(), 11449, 14000, SourceL, SourceH);
        QCOMPARE(int(mp.MaxH), 6);
        QVERIFY(Proche(mp.PasX, (11906 - 360 - 11449) / 6.0, 1e-9));
        AppliquerFleche(mp, 1);
        QVERIFY(mp.ValeurH == 6 && toutesLesFleches());
        // Room on the miniature but the picture already reaches the paper's far
        // edge from home (wide unprintable border): no movement.
        ChoixImprimante(mp, A4(9906), 11000, 14000, SourceL, SourceH);
        QVERIFY(mp.MargeX == 2000 && mp.MaxH == 5 && toutesLesFleches());
        // A zone one block wide and four high: taller than the page, still movable sideways.
        ChoixImprimante(mp, A4(), 5103, 21100, 209 * 15 + 30, 864 * 15 + 90);
        QVERIFY(mp.HauteurMP > 486 && mp.MaxV == 5);
        AppliquerFleche(mp, 8);
        QVERIFY(mp.ValeurV == 5 && mp.ValeurH > 5 && Coherent(mp));

        // Unusable sizes: picture at home, nothing divides by zero.
        for (auto [page, srcL, srcH] : {std::tuple{PageImprimante{}, SourceL, SourceH},
                                        {A4(), 0.0, SourceH},
                                        {A4(), SourceL, std::numeric_limits<double>::infinity()}}) {
            ChoixImprimante(mp, page, 10206, 14175, srcL, srcH);
            QVERIFY(!mp.Valide && toutesLesFleches() && mp.OrigineGauche == 0);
        }
        AppliquerFleche(mp, 99);
        AppliquerFleche(mp, -1);
        QVERIFY(Coherent(mp));
        // Printable area reported larger than the paper: no negative margin.
        ChoixImprimante(mp, A4(20000), 10206, 14175, SourceL, SourceH);
        QCOMPARE(int(mp.MargeX), 0);
    }

    void grille()
    {
        const GrillePage g = LignesGrille();
        QCOMPARE(g.x, (std::array<int, 3>{85, 170, 257}));
        QCOMPARE(g.y, (std::array<int, 3>{122, 243, 364})); // 121.5 and 364.5 to even
    }
};

QTEST_APPLESS_MAIN(TestMiseEnPage)
#include "test_miseenpage.moc"
