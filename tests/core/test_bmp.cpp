#include <QtTest>

#include "output/Bmp.h"
#include "tests/core/Outils.h"
// (Damaged data of every length: the fuzzing harness tests/fuzz/fuzz_bmp.cpp.)

namespace fs = std::filesystem;

static std::vector<uint32_t> Motif(int l, int h)
{
    std::vector<uint32_t> v(size_t(l) * size_t(h));
    uint32_t x = 0x12345678;
    for (auto& c : v)
        c = x = x * 1664525u + 1013904223u; // alpha varies too: it must not reach the file
    return v;
}

class TestBmp : public QObject {
    Q_OBJECT
private slots:
    void octetsEtAllerRetour()
    {
        // 3 x 2: rows of 9 bytes padded to 12, bottom row first, blue green red.
        const uint32_t px[6] = {0x00112233, 0xFF445566, 0x80778899, 0x00AABBCC, 0x00DDEEFF, 0x00010203};
        QCOMPARE(EncoderBmp24(3, 2, px), std::string("BM\x4E\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x03\0\0\0\x02\0\0\0\x01\0\x18\0"
                                                     "\0\0\0\0\x18\0\0\0\xC4\x0E\0\0\xC4\x0E\0\0\0\0\0\0\0\0\0\0"
                                                     "\xCC\xBB\xAA\xFF\xEE\xDD\x03\x02\x01\0\0\0"
                                                     "\x33\x22\x11\x66\x55\x44\x99\x88\x77\0\0\0", 78));
        const uint32_t un = 0;
        for (auto [l, h, p] : {std::tuple{0, 1, &un}, {1, -1, &un}, {1, 1, nullptr}, {40000, 40000, &un}}) // 40000²: over 4 GB
            QVERIFY2(EncoderBmp24(l, h, p).empty(), qPrintable(QString::number(l)));
        // Every row padding; pixels come back opaque.
        for (auto [l, h] : {std::pair{3, 5}, {1, 1}, {6, 2}, {4, 3}}) {
            const auto m = Motif(l, h);
            int l2 = 0, h2 = 0;
            std::vector<uint32_t> lu;
            QVERIFY(LireBmp24(EncoderBmp24(l, h, m.data()), l2, h2, lu));
            QCOMPARE(std::pair(l2, h2), std::pair(l, h));
            for (size_t i = 0; i < m.size(); ++i)
                QCOMPARE(lu[i], m[i] | 0xFF000000u);
        }
    }

    void fichier()
    {
        QTemporaryDir tmp;
        const fs::path dossier = tmp.path().toStdString(), cible = dossier / "Calendrier 2027.bmp";
        const auto m = Motif(3, 3), m2 = Motif(5, 1);
        QVERIFY(EcrireBmp(cible, 3, 3, m.data()) && EcrireBmp(cible, 5, 1, m2.data()));
        const std::string ecrit = LireFichier(cible);
        QCOMPARE(ecrit, EncoderBmp24(5, 1, m2.data()));
        // Failures (no size, no folder, a file as folder, a folder as file) leave the
        // earlier file whole and nothing else in the folder.
        for (auto [p, l] : {std::pair{cible, 0}, {dossier / "absent" / "x.bmp", 3}, {cible / "x.bmp", 3}, {dossier, 3}})
            QVERIFY2(!EcrireBmp(p, l, l, m.data()), p.c_str());
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
        const std::tuple<size_t, uint32_t, int> cas[] = {{0, 'X', 1},  {28, 32, 2},         {30, 1, 4},
                                                         {14, 12, 4},  {10, 0xFFFFFFF0, 4}, {10, 20, 4},
                                                         {18, 0x80000000, 4}, {22, 0x80000000, 4}, {18, 0x7FFFFFFF, 4}};
        for (auto [pos, v, octets] : cas)
            QVERIFY2(refuse(modifie(pos, v, octets)), qPrintable(QString::number(pos)));
        // Top-down rows (negative height) come back the right way up.
        QVERIFY(LireBmp24(modifie(22, uint32_t(-2)), l, h, px));
        QCOMPARE(std::pair(h, px[0]), std::pair(2, m[3] | 0xFF000000u));
    }
};

QTEST_APPLESS_MAIN(TestBmp)
#include "test_bmp.moc"
