#include "tests/Verifier.h"
#include "output/Bmp.h"
#include "tests/core/Outils.h"
// (Size, padding and read-back of every size, damaged data of every length: tests/fuzz/fuzz_bmp.cpp.)

class TestBmp : public QObject {
    Q_OBJECT
    // 3 x 2: rows of 9 bytes padded to 12, bottom row first, blue green red; alpha never reaches the file.
    const uint32_t px[6] = {0x00112233, 0xFF445566, 0x80778899, 0x00AABBCC, 0x00DDEEFF, 0x00010203};
    const std::string bon{"BM\x4E\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x03\0\0\0\x02\0\0\0\x01\0\x18\0"
                          "\0\0\0\0\x18\0\0\0\xC4\x0E\0\0\xC4\x0E\0\0\0\0\0\0\0\0\0\0"
                          "\xCC\xBB\xAA\xFF\xEE\xDD\x03\x02\x01\0\0\0\x33\x22\x11\x66\x55\x44\x99\x88\x77\0\0\0", 78};

private slots:
    void ecritureEtLecture()
    {
        QCOMPARE(EncoderBmp24(3, 2, px), bon);
        QCOMPARE(EncoderBmp24(4, 1, px).size(), size_t(54 + 12)); // four pixels fill a row: no padding
        for (auto [l, h, p] : {std::tuple{0, 1, px}, {1, -1, px}, {1, 1, nullptr}, {40000, 40000, px}}) // 40000²: over 4 GB
            QVERIFY2(EncoderBmp24(l, h, p).empty(), qPrintable(QString::number(l)));
        QTemporaryDir tmp;
        const std::filesystem::path dossier = tmp.path().toStdString(), cible = dossier / "Calendrier 2027.bmp";
        VERIFIER(EcrireBmp(cible, 1, 1, px), EcrireBmp(cible, 3, 2, px));
        // Failures (no size, no folder, a file as folder, a folder as file) leave the
        // earlier file whole and nothing else in the folder.
        for (auto [p, l] : {std::pair{cible, 0}, {dossier / "absent" / "x.bmp", 2}, {cible / "x.bmp", 2}, {dossier, 2}})
            QVERIFY2(!EcrireBmp(p, l, l, px), p.c_str());
        QCOMPARE(LireFichier(cible), bon);
        QCOMPARE(std::distance(std::filesystem::directory_iterator(dossier), std::filesystem::directory_iterator()), 1);

        int l = -7, h = -7;
        std::vector<uint32_t> lu{42};
        // Refused, and the outputs untouched: every cut of a good file, and damaged headers.
        const auto refuse = [&](auto d) { return !LireBmp24(d, l, h, lu) && l == -7 && h == -7 && lu.size() == 1; };
        for (size_t n = 0; n < bon.size(); ++n) QVERIFY2(refuse(bon.substr(0, n)), qPrintable(QString::number(n)));
        const auto modifie = [&](size_t pos, uint32_t v, int octets = 4) {
            std::string d = bon;
            for (int i = 0; i < octets; ++i, v >>= 8) d[pos + i] = char(v);
            return d;
        };
        // Not "BM", 32 bits per pixel, compressed, old core header, pixel offset past the end or inside
        // the header, negative width, height that has no opposite, a huge width.
        for (auto [pos, v, octets] : {std::tuple{0, 'X' + 0u, 1}, {28, 32u, 2}, {30, 1, 4}, {14, 12, 4}, {10, 0xFFFFFFF0, 4},
                                      {10, 20, 4}, {18, 0x80000000, 4}, {22, 0x80000000, 4}, {18, 0x7FFFFFFF, 4}})
            QVERIFY2(refuse(modifie(pos, v, octets)), qPrintable(QString::number(pos)));
        // Pixels come back opaque, bottom-up rows or top-down ones (negative height) the right way up.
        for (auto [d, bas] : {std::pair{bon, 0}, {modifie(22, uint32_t(-2)), 3}}) {
            VERIFIER(LireBmp24(d, l, h, lu), l == 3, h == 2);
            for (int i = 0; i < 6; ++i) QCOMPARE(lu[i], px[(i + bas) % 6] | 0xFF000000u);
        }
    }
};

QTEST_APPLESS_MAIN(TestBmp)
#include "test_bmp.moc"
