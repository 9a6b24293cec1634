#include <QtTest>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "output/Bmp.h"

namespace fs = std::filesystem;

namespace {

uint32_t U16(const std::string& s, size_t p) { return uint8_t(s[p]) | uint8_t(s[p + 1]) << 8; }
uint32_t U32(const std::string& s, size_t p) { return U16(s, p) | U16(s, p + 2) << 16; }

std::string LireTout(const fs::path& p)
{
    std::ifstream f(p, std::ios::binary);
    std::ostringstream o;
    o << f.rdbuf();
    return o.str();
}

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
    void entetesEtLignes()
    {
        // 3 x 2: rows of 9 bytes padded to 12.
        const uint32_t px[6] = {0x00112233, 0xFF445566, 0x80778899, 0x00AABBCC, 0x00DDEEFF, 0x00010203};
        const std::string s = EncoderBmp24(3, 2, px);
        QCOMPARE(s.size(), size_t(54 + 2 * 12));
        QCOMPARE(s.substr(0, 2), std::string("BM"));
        const std::pair<size_t, uint32_t> champs32[] = {
            {2, 78}, {6, 0}, {10, 54},                 // file size, reserved, pixel offset
            {14, 40}, {18, 3}, {22, 2}, {30, 0},       // header size, width, height (bottom-up), no compression
            {34, 24}, {38, 3780}, {42, 3780}, {46, 0}, {50, 0}};
        for (auto [pos, v] : champs32)
            QVERIFY2(U32(s, pos) == v, qPrintable(QString::number(pos)));
        QCOMPARE(U16(s, 26), uint32_t(1));  // planes
        QCOMPARE(U16(s, 28), uint32_t(24)); // bits per pixel
        // Bottom row first, blue green red, then three zero bytes.
        QCOMPARE(s.substr(54, 12), std::string("\xCC\xBB\xAA\xFF\xEE\xDD\x03\x02\x01\0\0\0", 12));
        QCOMPARE(s.substr(66, 12), std::string("\x33\x22\x11\x66\x55\x44\x99\x88\x77\0\0\0", 12));

        // The calendar image: 628 * 3 = 1884 bytes a row, no padding.
        const std::vector<uint32_t> fond(628 * 866, 0x00FBE9D2);
        const std::string cal = EncoderBmp24(628, 866, fond.data());
        QCOMPARE(cal.size(), size_t(54 + 1884 * 866));
        QCOMPARE(U32(cal, 34), uint32_t(1884 * 866));

        const uint32_t un = 0;
        QVERIFY(EncoderBmp24(0, 1, &un).empty());
        QVERIFY(EncoderBmp24(1, -1, &un).empty());
        QVERIFY(EncoderBmp24(1, 1, nullptr).empty());
        QVERIFY(EncoderBmp24(40000, 40000, &un).empty()); // over 4 GB: refused before reading
    }

    void allerRetour()
    {
        for (auto [l, h] : {std::pair{3, 5}, {1, 1}, {6, 2}, {628, 866}}) {
            const auto m = Motif(l, h);
            int l2 = 0, h2 = 0;
            std::vector<uint32_t> lu;
            QVERIFY(LireBmp24(EncoderBmp24(l, h, m.data()), l2, h2, lu));
            QCOMPARE(l2, l);
            QCOMPARE(h2, h);
            for (auto& c : lu)
                c &= 0x00FFFFFF;
            auto attendu = m;
            for (auto& c : attendu)
                c &= 0x00FFFFFF;
            QVERIFY(lu == attendu);
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
        const std::string ecrit = LireTout(cible);
        QCOMPARE(ecrit, EncoderBmp24(5, 1, m2.data()));

        // Failures leave the earlier file whole and nothing else in the folder.
        QVERIFY(!EcrireBmp(cible, 0, 0, m.data()));
        QVERIFY(!EcrireBmp(dossier / "absent" / "x.bmp", 3, 3, m.data()));
        QVERIFY(!EcrireBmp(cible / "x.bmp", 3, 3, m.data())); // parent is a file
        QVERIFY(!EcrireBmp(dossier, 3, 3, m.data()));         // target is a folder
        QCOMPARE(LireTout(cible), ecrit);
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
        QVERIFY(refuse(modifie(0, 'X', 1)));
        QVERIFY(refuse(modifie(28, 32, 2)));      // 32 bits per pixel
        QVERIFY(refuse(modifie(30, 1)));          // compressed
        QVERIFY(refuse(modifie(14, 12)));         // old core header
        QVERIFY(refuse(modifie(10, 0xFFFFFFF0))); // offset past the end
        QVERIFY(refuse(modifie(10, 20)));         // pixels inside the header
        QVERIFY(refuse(modifie(18, 0x80000000))); // negative width
        QVERIFY(refuse(modifie(22, 0x80000000))); // height that has no opposite
        QVERIFY(refuse(modifie(18, 0x7FFFFFFF))); // huge, data far too short

        // Top-down rows (negative height) come back the right way up.
        QVERIFY(LireBmp24(modifie(22, uint32_t(-2)), l, h, px));
        QCOMPARE(h, 2);
        QCOMPARE(px[0], m[3] | 0xFF000000u);

        // Damaged data of every length: no crash, and what is accepted is consistent.
        uint32_t x = 99;
        for (int essai = 0; essai < 2000; ++essai) {
            std::string d = bon;
            for (int k = 0; k < 4; ++k) {
                x = x * 1103515245u + 12345u;
                d[(x >> 8) % d.size()] = char(x >> 24);
            }
            d.resize((x >> 4) % (d.size() + 1));
            std::vector<uint32_t> sortie;
            int l3 = 0, h3 = 0;
            if (LireBmp24(d, l3, h3, sortie))
                QCOMPARE(sortie.size(), size_t(l3) * size_t(h3));
        }
    }
};

QTEST_APPLESS_MAIN(TestBmp)
#include "test_bmp.moc"
