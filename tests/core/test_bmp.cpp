#include <QtTest>

#include "output/Bmp.h"
#include "tests/core/Outils.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint32_t> Motif(int l, int h)
{
    std::vector<uint32_t> v(size_t(l) * size_t(h));
    uint32_t x = 0x12345678;
    for (auto& c : v)
        c = x = x * 1664525u + 1013904223u; // alpha varies too: it must not reach the file
    return v;
}

} // namespace

class TestBmp : public QObject {
    Q_OBJECT
private slots:
    void octetsDuFichier()
    {
        // 3 x 2: rows of 9 bytes padded to 12.
        const uint32_t px[6] = {0x00112233, 0xFF445566, 0x80778899, 0x00AABBCC, 0x00DDEEFF, 0x00010203};
        const std::string attendu("BM\x4E\0\0\0\0\0\0\0\x36\0\0\0"              // file size 78, pixels at 54
                                  "\x28\0\0\0\x03\0\0\0\x02\0\0\0\x01\0\x18\0"  // 40-byte header, 3 x 2, 24 bits
                                  "\0\0\0\0\x18\0\0\0\xC4\x0E\0\0\xC4\x0E\0\0"  // uncompressed, 24 bytes, 3780 px/m
                                  "\0\0\0\0\0\0\0\0"
                                  "\xCC\xBB\xAA\xFF\xEE\xDD\x03\x02\x01\0\0\0"  // bottom row first, blue green red
                                  "\x33\x22\x11\x66\x55\x44\x99\x88\x77\0\0\0",
                                  78);
        QCOMPARE(EncoderBmp24(3, 2, px), attendu);

        // The calendar image: 628 * 3 = 1884 bytes a row, no padding.
        const std::vector<uint32_t> fond(628 * 866, 0x00FBE9D2);
        const std::string cal = EncoderBmp24(628, 866, fond.data());
        QCOMPARE(cal.size(), size_t(54 + 1884 * 866));
        QCOMPARE(cal.substr(34, 4), std::string("\x38\xE5\x18\0", 4)); // 1884 * 866

        const uint32_t un = 0;
        QVERIFY(EncoderBmp24(0, 1, &un).empty());
        QVERIFY(EncoderBmp24(1, -1, &un).empty());
        QVERIFY(EncoderBmp24(1, 1, nullptr).empty());
        QVERIFY(EncoderBmp24(40000, 40000, &un).empty()); // over 4 GB: refused before reading
    }

    void allerRetour()
    {
        // Every row padding; pixels come back opaque.
        for (auto [l, h] : {std::pair{3, 5}, {1, 1}, {6, 2}, {628, 866}}) {
            const auto m = Motif(l, h);
            int l2 = 0, h2 = 0;
            std::vector<uint32_t> lu;
            QVERIFY(LireBmp24(EncoderBmp24(l, h, m.data()), l2, h2, lu));
            QCOMPARE(l2, l);
            QCOMPARE(h2, h);
            QVERIFY(std::equal(lu.begin(), lu.end(), m.begin(), m.end(),
                               [](uint32_t a, uint32_t b) { return a == (b | 0xFF000000u); }));
        }
    }

    void fichier()
    {
        QTemporaryDir tmp;
        const fs::path dossier = tmp.path().toStdString();
        const fs::path cible = dossier / "Calendrier 2027.bmp";
        const auto m = Motif(3, 3), m2 = Motif(5, 1);
        QVERIFY(EcrireBmp(cible, 3, 3, m.data()));
        QVERIFY(EcrireBmp(cible, 5, 1, m2.data())); // replaces
        const std::string ecrit = LireFichier(cible);
        QCOMPARE(ecrit, EncoderBmp24(5, 1, m2.data()));

        // Failures leave the earlier file whole and nothing else in the folder.
        QVERIFY(!EcrireBmp(cible, 0, 0, m.data()));
        QVERIFY(!EcrireBmp(dossier / "absent" / "x.bmp", 3, 3, m.data()));
        QVERIFY(!EcrireBmp(cible / "x.bmp", 3, 3, m.data())); // parent is a file
        QVERIFY(!EcrireBmp(dossier, 3, 3, m.data()));         // target is a folder
        QCOMPARE(LireFichier(cible), ecrit);
        QCOMPARE(std::distance(fs::directory_iterator(dossier), fs::directory_iterator()), 1);
    }

    void lectureMauvaisesDonnees()
    {
        const auto m = Motif(3, 2);
        const std::string bon = EncoderBmp24(3, 2, m.data());
        int l = -7, h = -7;
        std::vector<uint32_t> px{42};
        const auto refuse = [&](const std::string& d) {
            return !LireBmp24(d, l, h, px) && l == -7 && h == -7 && px.size() == 1; // outputs untouched
        };
        for (size_t n = 0; n < bon.size(); ++n)
            QVERIFY2(refuse(bon.substr(0, n)), qPrintable(QString::number(n)));

        const auto modifie = [&](size_t pos, uint32_t v, int octets = 4) {
            std::string d = bon;
            for (int i = 0; i < octets; ++i)
                d[pos + i] = char((v >> (8 * i)) & 0xFF);
            return d;
        };
        // Not "BM", 32 bits per pixel, compressed, old core header, pixel offset past the
        // end or inside the header, negative width, height that has no opposite, a huge width.
        const std::tuple<size_t, uint32_t, int> cas[] = {
            {0, 'X', 1}, {28, 32, 2}, {30, 1, 4}, {14, 12, 4}, {10, 0xFFFFFFF0, 4},
            {10, 20, 4}, {18, 0x80000000, 4}, {22, 0x80000000, 4}, {18, 0x7FFFFFFF, 4}};
        for (auto [pos, v, octets] : cas)
            QVERIFY2(refuse(modifie(pos, v, octets)), qPrintable(QString::number(pos)));

        // Top-down rows (negative height) come back the right way up.
        QVERIFY(LireBmp24(modifie(22, uint32_t(-2)), l, h, px));
        QCOMPARE(h, 2);
        QCOMPARE(px[0], m[3] | 0xFF000000u);
        // (Damaged data of every length: the fuzzing harness tests/fuzz/fuzz_bmp.cpp.)
    }
};

QTEST_APPLESS_MAIN(TestBmp)
#include "test_bmp.moc"
