#include <QtTest>

#include "tests/Verifier.h"
#include "output/Apercu.h"

QRect R(const RectPixels& r) { return {r.x, r.y, r.l, r.h}; }
QRect R(const RectReel& r) { return {qRound(r.x), qRound(r.y), qRound(r.l), qRound(r.h)}; }

class TestApercu : public QObject {
    Q_OBJECT
private slots:
    void apercu()
    {
        // Heights at opening, twips and box: no zone (5103 x 1.415 = 7220.745, not 127 mm x 56.7 = 7201), February
        // and March (the zone's own proportion), a tall narrow zone at a large width (within 16 bits).
        QCOMPARE(int(HauteurTwipsApercu(5103, false, 0.7)), 7221);
        QCOMPARE(HauteurBoiteApercu(90, false, 0.7), 127.0);
        QCOMPARE(int(HauteurTwipsApercu(5103, true, 216.0 / 418)), 2637);
        QCOMPARE(HauteurBoiteApercu(90, true, 216.0 / 418), 47.0);
        QCOMPARE(int(HauteurTwipsApercu(11340, true, 4.0)), 32767);
        // The window on screens of 1280 x 1024 (at 0, 0) and 1024 x 768 (at 1280, 0), less a 30-pixel bar: 90 mm
        // fits as printed; 190 mm is scaled down to what fits (the frame and the button 885 twips high); the window
        // always lies inside the free area, moved there when the main window is low or to the right.
        for (auto [L, T, x, y, ecran, pourcent] :
             {std::tuple{5103, 7221, 0, 0, RectTwips{0, 0, 19200, 14910}, 100}, {10773, 15244, 0, 0, {0, 0, 19200, 14910}, 91},
              {10773, 15244, 19200, 9000, {19200, 0, 15360, 11070}, 66}, {5103, 7221, 33000, 9000, {19200, 0, 15360, 11070}, 100}}) {
            const ApercuAjuste a = AjusterApercu(x, y, 3000, int16_t(L), int16_t(T), ecran);
            const GeometrieApercu& g = a.g;
            VERIFIER(a.pourcent == pourcent, std::abs(double(a.T) / a.L - double(T) / L) < 0.001, g.gauche >= ecran.gauche, g.haut >= ecran.haut,
                     g.gauche + g.largeurFenetre <= ecran.gauche + ecran.largeur,
                     g.haut + g.hauteurFenetre <= ecran.haut + ecran.hauteur, g.boutonFermer.haut > a.T);
        }
        // Zone or none (the whole image, edge to edge), L x T; the image's part shown and where it goes. A zone
        // brings the 4 rows below it, cut at the image's bottom (last row) or left edge (one block before it).
        const std::tuple<bool, std::array<int, 4>, int, int, QRect, QRect> cas[] = {
            {false, {11, 22, 33, 44}, 5103, 7221, {0, 0, 628, 866}, {0, 0, 5103, 7221}},
            {true, {209, 0, 627, 216}, 5103, 2637, {209, 0, 418, 220}, {0, 0, 5103, 2637}},
            {true, {0, 648, 209, 864}, 5103, 1100, {0, 648, 209, 218}, {0, 0, 5103, 1090}},
            {true, {-209, 0, 209, 216}, 5016, 2000, {0, 0, 209, 220}, {2508, 0, 2508, 2000}}};
        for (const auto& [zone, z, L, T, source, destination] : cas) {
            const SourceApercu s = CalculSourceApercu(zone, z[0], z[1], z[2], z[3], L, T);
            QCOMPARE(R(s.source), source);
            QCOMPARE(R(s.destination), destination);
        }
        // The zone picture to print: 2 wider, 6 higher, outline inside it; the image ends at 628.
        ImageZone i = CalculImageZone(209, 0, 627, 216);
        QCOMPARE((std::tuple{i.largeur, i.largeurTwips, i.hauteurTwips, i.contourX2, i.contourY2, R(i.source)}),
                 (std::tuple{420, 6300, 3330, 417, 218, QRect(209, 0, 419, 222)}));
        i = CalculImageZone(-209, -216, 209, 216);
        QCOMPARE((std::tuple{i.source.l, i.source.h, i.destX, i.destY}), (std::tuple{211, 438 - 216, 209, 216}));
        // Every result stays inside the image.
        for (int x1 = -700; x1 <= 700; x1 += 175)
            for (int y1 = -900; y1 <= 900; y1 += 225)
                for (int d : {1, 209, 418, 1000}) {
                    const SourceApercu s = CalculSourceApercu(true, x1, y1, x1 + d, y1 + d, 5103, 3000);
                    i = CalculImageZone(x1, y1, x1 + d, y1 + d);
                    for (const RectPixels& r : {s.source, i.source})
                        VERIFIER(r.x >= 0, r.y >= 0, r.l >= 0, r.h >= 0, r.x + r.l <= 628, r.y + r.h <= 866);
                    VERIFIER(i.destX >= 0, i.destY >= 0, i.destX + i.source.l <= i.largeur, i.destY + i.source.h <= i.hauteur);
                }
        // Empty or absurd zones give nothing to paint.
        for (auto [x1, x2] : {std::pair{100, 100}, {700, 900}, {INT_MIN, INT_MAX}})
            QCOMPARE(CalculSourceApercu(true, x1, 0, x2, 216, 5103, 100).source.l, 0);
        VERIFIER(CalculImageZone(300, 0, 200, 216).largeur == 0, CalculImageZone(0, 0, INT_MAX, 216).largeur == 0);
    }
};

QTEST_APPLESS_MAIN(TestApercu)
#include "test_apercu.moc"
