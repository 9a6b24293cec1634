#include <QtTest>

#include <array>
#include <cmath>

#include "output/Apercu.h"

namespace {
using Rect = std::array<int, 4>;
Rect R(const RectPixels& r) { return {r.x, r.y, r.l, r.h}; }
Rect R(const SourceApercu& s)
{
    const auto n = [](double v) { return int(std::lround(v)); };
    return {n(s.destination.x), n(s.destination.y), n(s.destination.l), n(s.destination.h)};
}
} // namespace

class TestApercu : public QObject {
    Q_OBJECT
private slots:
    void tailles()
    {
        // No zone: 5103 x 1.415 = 7220.745, not 127 mm x 56.7 = 7201; the whole image, edge to edge.
        QCOMPARE(int(HauteurTwipsApercu(5103, false, 0.7)), 7221);
        QCOMPARE(HauteurBoiteApercu(90, false, 0.7), 127.0);
        SourceApercu s = CalculSourceApercu(false, 11, 22, 33, 44, 5103, 7221);
        QCOMPARE(R(s.source), (Rect{0, 0, 628, 866}));
        QCOMPARE(R(s), (Rect{0, 0, 5103, 7221}));
        // February and March: the zone plus 4 rows below for the source.
        QCOMPARE(int(HauteurTwipsApercu(5103, true, 216.0 / 418)), 2637);
        QCOMPARE(HauteurBoiteApercu(90, true, 216.0 / 418), 47.0);
        s = CalculSourceApercu(true, 209, 0, 627, 216, 5103, 2637);
        QCOMPARE(R(s.source), (Rect{209, 0, 418, 220}));
        QCOMPARE(R(s), (Rect{0, 0, 5103, 2637}));
        // The zone picture to print: 2 wider, 6 higher, outline inside it; the image ends at 628.
        const ImageZone z = CalculImageZone(209, 0, 627, 216);
        QCOMPARE((Rect{z.largeur, z.hauteur, z.largeurTwips, z.hauteurTwips}), (Rect{420, 222, 6300, 3330}));
        QCOMPARE(R(z.source), (Rect{209, 0, 419, 222}));
        QCOMPARE((Rect{z.destX, z.destY, z.contourX2, z.contourY2}), (Rect{0, 0, 417, 218}));
        // A tall narrow zone at a large width: kept within 16 bits.
        QCOMPARE(int(HauteurTwipsApercu(11340, true, 4.0)), 32767);
    }

    void zonesAuBord()
    {
        // Last row: the 4 extra rows would pass the image's bottom. One block before the left edge.
        SourceApercu s = CalculSourceApercu(true, 0, 648, 209, 864, 5103, 1100);
        QCOMPARE(R(s.source), (Rect{0, 648, 209, 218}));
        QCOMPARE(R(s), (Rect{0, 0, 5103, 1090}));
        s = CalculSourceApercu(true, -209, 0, 209, 216, 5016, 2000);
        QCOMPARE(R(s.source), (Rect{0, 0, 209, 220}));
        QCOMPARE(R(s), (Rect{2508, 0, 2508, 2000}));
        const ImageZone z = CalculImageZone(-209, -216, 209, 216);
        QCOMPARE((Rect{z.source.l, z.source.h, z.destX, z.destY}), (Rect{211, 438 - 216, 209, 216}));
        // Every result stays inside the image.
        for (int x1 = -700; x1 <= 700; x1 += 175)
            for (int y1 = -900; y1 <= 900; y1 += 225)
                for (int d : {1, 209, 418, 1000}) {
                    s = CalculSourceApercu(true, x1, y1, x1 + d, y1 + d, 5103, 3000);
                    const ImageZone i = CalculImageZone(x1, y1, x1 + d, y1 + d);
                    for (const RectPixels& r : {s.source, i.source})
                        QVERIFY(r.x >= 0 && r.y >= 0 && r.l >= 0 && r.h >= 0 && r.x + r.l <= 628 && r.y + r.h <= 866);
                    QVERIFY(i.destX >= 0 && i.destX + i.source.l <= i.largeur);
                    QVERIFY(i.destY >= 0 && i.destY + i.source.h <= i.hauteur);
                }
        // Empty or absurd zones give nothing to paint.
        for (Rect r : {Rect{100, 100, 100, 200}, {700, 0, 900, 216}, {INT_MIN, 0, INT_MAX, 216}})
            QCOMPARE(CalculSourceApercu(true, r[0], r[1], r[2], r[3], 5103, 100).source.l, 0);
        QVERIFY(CalculImageZone(300, 0, 200, 216).largeur == 0 && CalculImageZone(0, 0, INT_MAX, 216).largeur == 0);
    }
};

QTEST_APPLESS_MAIN(TestApercu)
#include "test_apercu.moc"
