#include <QtTest>

#include "output/Impression.h"

class TestPageImprimante : public QObject {
    Q_OBJECT
private slots:
    void pageEtQualite()
    {
        // Points (paper, then left, top, right, bottom margins) to twips: paper, printable size, the printable
        // area's left and top edges. Unequal margins, none, wider than the paper, nonsense values.
        const std::pair<std::array<double, 6>, std::tuple<int, int, int, int, double, double>> cas[] = {
            {{612, 792, 12, 30, 24, 6}, {12240, 15840, 11520, 15120, 240, 600}},
            {{595, 842, 0, 0, 0, 0}, {11900, 16840, 11900, 16840, 0, 0}},
            {{100, 100, 80, 80, 80, 80}, {2000, 2000, 0, 0, 1600, 1600}},
            {{NAN, -5, NAN, -1, 0, 0}, {0, 0, 0, 0, 0, 0}}};
        for (const auto& [pt, tw] : cas) {
            const PageImprimante p = PageDepuisPoints(pt[0], pt[1], pt[2], pt[3], pt[4], pt[5]);
            QCOMPARE(std::tuple(p.LargeurPapier, p.HauteurPapier, p.LargeurImprimable, p.HauteurImprimable,
                                *p.BordGauche, *p.BordHaut), tw);
        }
        // Nothing offered by the driver (or one odd value): fixed resolutions. Offered resolutions: draft the
        // lowest, high the highest, spread between. Not a quality code (0, -5): the printer keeps its own.
        const std::vector<int> offertes{1200, 75, 300, 150, 600, 300, 0};
        for (auto [code, proposees, dpi] :
             {std::tuple{-1, std::vector<int>{}, 150}, {-2, {72}, 300}, {-4, {1200}, 1200}, {-1, offertes, 75},
              {-2, offertes, 150}, {-3, offertes, 600}, {-4, offertes, 1200}, {-2, {600, 300}, 300}, {0, offertes, 0},
              {-5, offertes, 0}}) // code and number offered name the row
            QCOMPARE(std::tuple(code, proposees.size(), ResolutionQualite(code, proposees)),
                     std::tuple(code, proposees.size(), dpi));
        // 180 x 250 mm on A4, margins of 10 and 9 points left and top (26 and 27 right and bottom), by the top-right
        // arrow (x: 200 + 37 steps of 1340 / 42 - 360 twips), in thousandths of the device's units from its origin.
        const PageImprimante page = PageDepuisPoints(595.2756, 841.8898, 10, 9, 26, 27);
        MiseEnPage mp;
        ChoixImprimante(mp, page, 10206, 14175, 9450, 13020);
        AppliquerFleche(mp, 2);
        const RectAppareil r = RectImpression(mp, page, 10206, 14175, 600, 300, 18, 9);
        QCOMPARE((std::tuple{qRound(r.x * 1000), qRound(r.y * 1000), qRound(r.l * 1000), qRound(r.h * 1000)}),
                 (std::tuple{425198, 0, 4252500, 2953125})); // 600 and 300 dots per inch of 1440 twips
    }
};

QTEST_APPLESS_MAIN(TestPageImprimante)
#include "test_pageimprimante.moc"
