#include <QtTest>

#include <array>
#include <cmath>

#include "output/Apercu.h"

namespace {
using Rect = std::array<int, 4>;
Rect R(const RectPixels& r) { return {r.x, r.y, r.l, r.h}; }
constexpr int LargMois = 209, HautMois = 216;
} // namespace

class TestApercu : public QObject {
    Q_OBJECT
private slots:
    void sansZone90mm()
    {
        const int16_t T = HauteurTwipsApercu(5103, false, 0.7);
        QCOMPARE(int(T), 7221); // 5103 x 1.415 = 7220.745, not 127 mm x 56.7 = 7201
        QCOMPARE(HauteurBoiteApercu(90, false, 0.7), 127.0);
        // The whole image, edge to edge.
        const SourceApercu s = CalculSourceApercu(false, 11, 22, 33, 44, 5103, T);
        QCOMPARE(R(s.source), (Rect{0, 0, 628, 866}));
        QCOMPARE(s.destination.x + 1, 1.0);
        QCOMPARE(s.destination.y + 1, 1.0);
        QCOMPARE(s.destination.l, 5103.0);
        QCOMPARE(s.destination.h, 7221.0);
    }

    void deuxMoisCoteACote()
    {
        // February and March: second and third blocks of the first row.
        const int x1 = LargMois, y1 = 0, x2 = 3 * LargMois, y2 = HautMois;
        const double ratio = float(y2 - y1) / float(x2 - x1);
        const int16_t T = HauteurTwipsApercu(5103, true, ratio);
        QCOMPARE(int(T), 2637);
        QCOMPARE(HauteurBoiteApercu(90, true, ratio), 47.0);
        // Source: the zone plus 4 rows below, all inside the image.
        const SourceApercu s = CalculSourceApercu(true, x1, y1, x2, y2, 5103, T);
        QCOMPARE(R(s.source), (Rect{209, 0, 418, 220}));
        QCOMPARE(s.destination.l, 5103.0);
        QCOMPARE(s.destination.h, 2637.0);
        // The zone picture to print: 2 wider, 6 higher, outline inside it; the image ends at 628.
        const ImageZone z = CalculImageZone(x1, y1, x2, y2);
        QCOMPARE((Rect{z.largeur, z.hauteur, z.largeurTwips, z.hauteurTwips}),
                 (Rect{420, 222, 418 * 15 + 30, 216 * 15 + 90}));
        QCOMPARE(R(z.source), (Rect{209, 0, 419, 222}));
        QCOMPARE((Rect{z.destX, z.destY, z.contourX2, z.contourY2}), (Rect{0, 0, 417, 218}));
    }

    void zonesAuBord()
    {
        const int L = 5103;
        // Last row: the 4 extra rows would pass the image's bottom (864 + 4 > 866).
        SourceApercu s = CalculSourceApercu(true, 0, 648, 209, 864, L, 1000);
        QCOMPARE(R(s.source), (Rect{0, 648, 209, 218}));
        QCOMPARE(s.destination.h, 218.0 * 1000 / 220);
        ImageZone z = CalculImageZone(0, 648, 209, 864);
        QCOMPARE(z.hauteur, 222);
        QCOMPARE(z.source.h, 218);
        // A release past the right edge: the zone reaches x = 836.
        s = CalculSourceApercu(true, 418, 0, 836, 216, L, 2000);
        QCOMPARE(R(s.source), (Rect{418, 0, 210, 220}));
        QCOMPARE(s.destination.l, 210.0 * L / 418);
        // A release left of the image: the zone starts one block before it.
        s = CalculSourceApercu(true, -209, 0, 209, 216, L, 2000);
        QCOMPARE(R(s.source), (Rect{0, 0, 209, 220}));
        QCOMPARE(s.destination.x, 209.0 * L / 418);
        z = CalculImageZone(-209, -216, 209, 216);
        QCOMPARE(R(z.source), (Rect{0, 0, 211, 438 - 216})); // zone 432 high, picture 438
        QCOMPARE((std::pair{z.destX, z.destY}), (std::pair{209, 216}));

        // Every result stays inside the image.
        for (int x1 = -700; x1 <= 700; x1 += 175)
            for (int y1 = -900; y1 <= 900; y1 += 225)
                for (int d : {1, 209, 418, 1000}) {
                    s = CalculSourceApercu(true, x1, y1, x1 + d, y1 + d, L, 3000);
                    z = CalculImageZone(x1, y1, x1 + d, y1 + d);
                    for (const RectPixels& r : {s.source, z.source}) {
                        QVERIFY(r.x >= 0 && r.y >= 0 && r.l >= 0 && r.h >= 0);
                        QVERIFY(r.x + r.l <= 628 && r.y + r.h <= 866);
                    }
                    QVERIFY(z.destX >= 0 && z.destX + z.source.l <= z.largeur);
                    QVERIFY(z.destY >= 0 && z.destY + z.source.h <= z.hauteur);
                }
        // Empty or absurd zones give nothing to paint.
        QCOMPARE(CalculSourceApercu(true, 100, 100, 100, 200, L, 100).source.l, 0);
        QCOMPARE(CalculSourceApercu(true, 700, 0, 900, 216, L, 100).source.l, 0);
        QCOMPARE(CalculSourceApercu(true, INT_MIN, 0, INT_MAX, 216, L, 100).source.l, 0);
        QCOMPARE(CalculImageZone(300, 0, 200, 216).largeur, 0);
        QCOMPARE(CalculImageZone(0, 0, INT_MAX, 216).largeur, 0);
        // A tall narrow zone at a large width: kept within 16 bits.
        QCOMPARE(int(HauteurTwipsApercu(11340, true, 4.0)), 32767);
    }
};

QTEST_APPLESS_MAIN(TestApercu)
#include "test_apercu.moc"
