#include <QtTest>

#include <ranges>

#include "tests/Verifier.h"
#include "output/MiseEnPage.h"

// A4 upright with 360 twips of unprintable border on each side; the whole calendar image in twips.
PageImprimante A4(int32_t imprimableL = 11186) { return {11906, 16838, imprimableL, 16118, {}, {}}; }
constexpr double SourceL = 9450, SourceH = 13020;

// Every arrow (and the present state) keeps the bars in range, the origin with them and the margins positive.
bool Coherent(MiseEnPage m)
{
    return std::ranges::all_of(std::views::iota(-1, 10), [&m](int fleche) {
        AppliquerFleche(m, fleche);
        return m.ValeurH >= 5 && m.ValeurH <= m.MaxH && m.ValeurV >= 5 && m.ValeurV <= m.MaxV && m.MargeX >= 0
            && m.MargeY >= 0 && std::abs(m.OrigineGauche + (m.ValeurH - 5) * m.PasX) < 0.01
            && std::abs(m.OrigineHaut + (m.ValeurV - 5) * m.PasY) < 0.01;
    });
}

class TestMiseEnPage : public QObject {
    Q_OBJECT
private slots:
    void flechesEtLimites()
    {
        // Page, print size, source size; valid, bar maxima (0: above home).
        const std::tuple<const char*, PageImprimante, int, int, double, double, bool, int, int> limites[] = {
            {"180 x 250 mm", A4(), 10206, 14175, SourceL, SourceH, true, 42, 70},
            {"larger than the paper", A4(), 12000, 16900, SourceL, SourceH, true, 5, 5},
            {"W - w = 10.4: the centre arrow asks for 6", A4(), 11477, 14000, SourceL, SourceH, true, 5, 0},
            {"one step of room", A4(), 11449, 14000, SourceL, SourceH, true, 6, 0},
            {"wide border: the far edge reached from home", A4(9906), 11000, 14000, SourceL, SourceH, true, 5, 0},
            {"printable area larger than the paper", A4(20000), 10206, 14175, SourceL, SourceH, true, 0, 0},
            {"one block wide, four high", A4(), 5103, 21100, 209 * 15 + 30, 864 * 15 + 90, true, 0, 5},
            {"no paper", {}, 10206, 14175, SourceL, SourceH, false, 5, 5},
            {"no source", A4(), 10206, 14175, 0, SourceH, false, 5, 5},
            {"infinite source", A4(), 10206, 14175, SourceL, INFINITY, false, 5, 5}};
        for (const auto& [nom, page, L, T, srcL, srcH, valide, maxH, maxV] : limites) {
            MiseEnPage m;
            ChoixImprimante(m, page, int16_t(L), int16_t(T), srcL, srcH);
            QVERIFY2(m.Valide == valide && Coherent(m) && (maxH ? m.MaxH == maxH : m.MaxH > 5)
                         && (maxV ? m.MaxV == maxV : m.MaxV > 5), nom);
        }
        // 180 x 250 mm: 1340 twips of room across in 42 - 5 steps (the step divides by the maximum), 2303 down in
        // 70 - 5 (by one less). Arrow, bars, the picture's corner on the paper (twips): the centre one pixel right
        // of the exact one (24.56 -> 24), the bottom row two steps above the bar's maximum.
        MiseEnPage mp;
        ChoixImprimante(mp, A4(), 10206, 14175, SourceL, SourceH);
        const std::tuple<int, int, int, double, double> fleches[] = {
            {2, 42, 5, 360 + 37 * 1340.0 / 42, 360}, {4, 24, 37, 360 + 19 * 1340.0 / 42, 360 + 32 * 2303.0 / 69},
            {8, 42, 67, 360 + 37 * 1340.0 / 42, 360 + 62 * 2303.0 / 69}, {0, 5, 5, 360, 360}};
        for (auto [fleche, h, v, x, y] : fleches) {
            AppliquerFleche(mp, fleche);
            const PositionPapier p = PositionSurPapier(mp, A4());
            QCOMPARE((std::tuple{fleche, int(mp.ValeurH), int(mp.ValeurV), qRound(p.x), qRound(p.y)}),
                     (std::tuple{fleche, h, v, qRound(x), qRound(y)}));
        }
        // Another printer: everything recomputed, picture home again. A smaller room alone keeps the bars inside.
        AppliquerFleche(mp, 8);
        ChoixImprimante(mp, {12240, 15840, 11520, 15120, {}, {}}, 10206, 14175, SourceL, SourceH);
        VERIFIER(mp.ValeurH == 5, mp.ValeurV == 5, mp.OrigineHaut == 0.0f, mp.MaxH != 42, Coherent(mp));
        HScroll1_Change(mp, mp.MaxH);
        AjusteImage(mp, 12240, 11000, SourceL, SourceH);
        QVERIFY(Coherent(mp));
        QCOMPARE(LignesGrille().y, (std::array<int, 3>{122, 243, 364})); // quarters, halves to even: 121.5, 364.5
    }
};

QTEST_APPLESS_MAIN(TestMiseEnPage)
#include "test_miseenpage.moc"
