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

bool ToutesLesFleches(MiseEnPage& mp)
{
    for (int i = -1; i < 10; ++i) {
        AppliquerFleche(mp, i);
        if (!Coherent(mp))
            return false;
    }
    return true;
}

} // namespace

class TestMiseEnPage : public QObject {
    Q_OBJECT
private slots:
    void fleches()
    {
        // 180 x 250 mm on A4: 1340 twips of room across in 42 - 5 steps (the step
        // divides by the maximum), 2303 down in 70 - 5 (it divides by one less).
        const PageImprimante page = A4();
        MiseEnPage mp;
        ChoixImprimante(mp, page, 10206, 14175, SourceL, SourceH);
        QVERIFY(mp.Valide && mp.ValeurH == 5 && mp.ValeurV == 5);
        QCOMPARE((std::pair{int(mp.MaxH), int(mp.MaxV)}), (std::pair{42, 70}));
        // Arrow, bar values, picture's corner on the paper. The centre is one
        // pixel right of the exact one (24.56 -> 24); the bottom row two steps
        // above the bar's maximum.
        const std::tuple<int, int, int, double, double> cas[] = {
            {2, 42, 5, 360 + 37 * 1340.0 / 42, 360}, {4, 24, 37, 360 + 19 * 1340.0 / 42, 360 + 32 * 2303.0 / 69},
            {8, 42, 67, 360 + 37 * 1340.0 / 42, 360 + 62 * 2303.0 / 69}, {0, 5, 5, 360, 360}};
        for (auto [fleche, h, v, x, y] : cas) {
            AppliquerFleche(mp, fleche);
            const PositionPapier p = PositionSurPapier(mp, page);
            QCOMPARE((std::array{int(mp.ValeurH), int(mp.ValeurV)}), (std::array{h, v}));
            QVERIFY2(Proche(p.x, x) && Proche(p.y, y) && Coherent(mp), qPrintable(QString::number(fleche)));
        }
        // Printable area not centred on the paper: its real edges count.
        AppliquerFleche(mp, 8);
        const PositionPapier p = PositionSurPapier(mp, {11906, 16838, 11186, 16118, 200, 100});
        QVERIFY(Proche(p.x, 200 + 37 * 1340.0 / 42) && Proche(p.y, 100 + 62 * 2303.0 / 69));

        // Bars: below home and past the maximum are refused.
        QCOMPARE(HScroll1_Change(mp, 0), int16_t(5));
        QCOMPARE(VScroll1_Change(mp, 500), int16_t(70));
        QVERIFY(Coherent(mp));
        // Another printer: everything recomputed, picture home again.
        ChoixImprimante(mp, {12240, 15840, 11520, 15120, {}, {}}, 10206, 14175, SourceL, SourceH);
        QVERIFY(mp.ValeurH == 5 && mp.ValeurV == 5 && mp.OrigineHaut == 0.0f && mp.MaxH != 42);
        // A smaller room alone keeps the bars inside it.
        HScroll1_Change(mp, mp.MaxH);
        AjusteImage(mp, 12240, 11000, SourceL, SourceH);
        QVERIFY(Coherent(mp));
    }

    void taillesLimites()
    {
        // Page, print size, source size; valid, bar maxima (0: above home). Every
        // arrow keeps the state coherent.
        const double inf = std::numeric_limits<double>::infinity(), zoneL = 209 * 15 + 30, zoneH = 864 * 15 + 90;
        const std::tuple<const char*, PageImprimante, int, int, double, double, bool, int, int> cas[] = {
            {"larger than the paper", A4(), 12000, 16900, SourceL, SourceH, true, 5, 5},
            {"W - w = 10.4: the centre arrow asks for 6", A4(), 11477, 14000, SourceL, SourceH, true, 5, 0},
            {"one step of room", A4(), 11449, 14000, SourceL, SourceH, true, 6, 0},
            {"wide border: the far edge reached from home", A4(9906), 11000, 14000, SourceL, SourceH, true, 5, 0},
            {"one block wide, four high", A4(), 5103, 21100, zoneL, zoneH, true, 0, 5},
            {"no paper", {}, 10206, 14175, SourceL, SourceH, false, 5, 5},
            {"no source", A4(), 10206, 14175, 0, SourceH, false, 5, 5},
            {"infinite source", A4(), 10206, 14175, SourceL, inf, false, 5, 5}};
        for (const auto& [nom, page, L, T, srcL, srcH, valide, maxH, maxV] : cas) {
            MiseEnPage mp;
            ChoixImprimante(mp, page, int16_t(L), int16_t(T), srcL, srcH);
            QVERIFY2(mp.Valide == valide && ToutesLesFleches(mp), nom);
            QVERIFY2(maxH ? mp.MaxH == maxH : mp.MaxH > 5, nom);
            QVERIFY2(maxV ? mp.MaxV == maxV : mp.MaxV > 5, nom);
        }
        // Printable area reported larger than the paper: no negative margin.
        MiseEnPage mp;
        ChoixImprimante(mp, A4(20000), 10206, 14175, SourceL, SourceH);
        QCOMPARE(int(mp.MargeX), 0);
        // Quarter lines of the miniature, halves to even (121.5 and 364.5).
        QCOMPARE(LignesGrille().y, (std::array<int, 3>{122, 243, 364}));
    }
};

QTEST_APPLESS_MAIN(TestMiseEnPage)
#include "test_miseenpage.moc"
