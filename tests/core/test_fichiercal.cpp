#include <QtTest>

#include <cmath>
#include <functional>

#include "special/FichierCal.h"
#include "tests/core/Outils.h"
// (Damaged and random files: the fuzzing harness tests/fuzz/fuzz_cal.cpp.)

namespace {

using Table = double[13][43];
constexpr double Temoin = 4242; // value of a cell that was not read

LectureCal lire(std::string_view contenu, Table t)
{
    std::fill(&t[0][0], &t[0][0] + 13 * 43, Temoin);
    return LireCal(contenu, t);
}

std::string valeurType(int m, int k) { return std::to_string(m * 1000 + k); }

// A file whose cell k of month m holds `valeur(m, k)`.
std::string fichier(const std::string& ligneAn = "\"2027\"", const std::function<std::string(int, int)>& valeur = valeurType)
{
    std::string s;
    for (int m = 1; m <= 12; ++m) {
        s += std::to_string(m);
        for (int k = 0; k < 42; ++k)
            s += "," + valeur(m, k);
        s += "\r\n";
    }
    return s + ligneAn + "\r\n";
}

} // namespace

class TestFichierCal : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { verifierLocale(); }
    void ecritureEtRelecture()
    {
        // Cells 0.. of month 3 and their text; values that are no colour are written as 0.
        const std::pair<double, const char*> cas[] = {{255, "255"}, {16777215, "16777215"}, {0.5, "0.5"},
                                                      {-1, "0"},    {NAN, "0"},             {16777216, "0"}};
        Table t{};
        for (size_t k = 0; k < std::size(cas); ++k)
            t[3][k] = cas[k].first;
        t[0][0] = t[3][42] = 4321; // never written
        const std::string attendu = fichier("\"0099\"", [&](int m, int k) {
            return std::string(m == 3 && k < int(std::size(cas)) ? cas[k].second : "0");
        });
        QCOMPARE(EcrireCal(t, "0099"), attendu);
        QVERIFY(EcrireCal(t, "20\"2\r\n7").ends_with("\r\n\"2027\"\r\n")); // a year that would break the shape
        QCOMPARE(NomFichierCalParDefaut(15, 8, 999), std::string("CoulSP le 15,août,0999.Cal"));

        QTemporaryDir dossier;
        const std::filesystem::path p = dossier.filePath("a.Cal").toStdString();
        QVERIFY(SauverCal(p, t, "0099"));
        QVERIFY(!SauverCal(p.parent_path() / "absent" / "a.Cal", t, "2027"));
        Table lu;
        lire("", lu);
        const LectureCal r = LireFichierCal(p, lu);
        QVERIFY(r.ok && !r.refuse && !r.donneesEnTrop);
        QCOMPARE(r.annee, std::string("0099"));
        QCOMPARE(r.valeursLues, 504);
        QCOMPARE((std::array{lu[3][1], lu[3][2], lu[3][3], lu[0][0], lu[3][42]}),
                 (std::array{16777215.0, 0.5, 0.0, Temoin, Temoin})); // month 0 and cell 42 are not read
        // Over the size limit the file is refused whole; at the limit, read.
        EcrireFichier(p, fichier() + std::string(TailleMaxCal, ' '));
        QVERIFY(LireFichierCal(p, lu).refuse);
        std::filesystem::resize_file(p, TailleMaxCal);
        QVERIFY(LireFichierCal(p, lu).ok);
        lire("", lu);
        QVERIFY(LireFichierCal(p.parent_path() / "absent.Cal", lu).refuse);
        QVERIFY(LireFichierCal(p.parent_path(), lu).refuse);
        QCOMPARE(lu[1][0], Temoin);
    }

    void lectureParPosition()
    {
        // Values go by their place: month numbers are not used, line ends and
        // commas are the same, blank lines are skipped.
        std::string s = fichier();
        s.replace(0, 1, "7");
        for (size_t i; (i = s.find("\r\n")) != std::string::npos;)
            s.replace(i, 2, "\n\n  \t\n");
        Table t;
        LectureCal r = lire(s, t);
        QVERIFY(r.ok);
        QCOMPARE(r.annee, std::string("2027"));
        QCOMPARE((std::array{t[1][0], t[6][30], t[12][41]}), (std::array{1000.0, 6030.0, 12041.0}));
        // An extra field on line 1 moves everything after it by one place.
        s = fichier();
        s.insert(s.find("\r\n"), ",5");
        r = lire(s, t);
        QCOMPARE((std::array{t[1][41], t[2][0], t[12][41]}), (std::array{1041.0, 2.0, 12040.0}));
        QVERIFY(r.anneeRefusee && r.donneesEnTrop);
        // Cut after the last comma: the cells read so far hold their values, the last one is untouched.
        const std::string complet = fichier();
        r = lire(std::string_view(complet).substr(0, complet.rfind(',') + 1), t);
        QVERIFY(!r.ok && r.annee.empty());
        QCOMPARE((std::array{r.valeursLues, int(t[12][40]), int(t[12][41])}), (std::array{503, 12040, int(Temoin)}));
        // Several megabytes in one field, or of commas.
        QCOMPARE(lire(std::string(4 << 20, ','), t).champsLus, 516);
        QCOMPARE(lire(std::string(4 << 20, '9'), t).champsLus, 1);
    }

    void champsQuiNeSontPasDesCouleurs()
    {
        // Field of cell k of month 2, and the cell's value after reading.
        const std::pair<const char*, double> cas[] = {
            {"abc", Temoin}, {"", Temoin}, {"\"12\"", Temoin}, {"1-2", Temoin}, {"inf", Temoin},  {"0x10", Temoin},
            {"-3", 0},       {"1e999", 0}, {"-0", 0},          {" +7 ", 7},     {"2.5E3", 2500},
        };
        constexpr int n = std::size(cas);
        Table t;
        const LectureCal r = lire(fichier("\"2027\"", [&](int m, int k) {
            return m == 2 && k < n ? std::string(cas[k].first) : valeurType(m, k);
        }), t);
        QVERIFY(!r.ok); // (the fuzzing harness: only colours ever reach the table)
        QCOMPARE((std::array{r.champsLus, r.valeursLues, r.champsInvalides, r.couleursInvalides}),
                 (std::array{516, 504 - 6, 6, 2}));
        for (int k = 0; k < n; ++k) {
            QCOMPARE(t[2][k], cas[k].second);
            QVERIFY(!std::signbit(t[2][k]));
        }
    }

    void lAnnee()
    {
        // Line 13, the year read, whether it was refused; no year still reads the table.
        const std::tuple<const char*, const char*, bool> cas[] = {
            {"2027", "2027", false}, {"  \" 2027 \"  ", "2027", false}, {"\"2027\"x", "2027", false},
            {"\"99\"", "", true},    {"\"12345\"", "", true},           {"\"20a7\"", "", true},
            {"", "", false},         {"\"\"", "", false},
        };
        Table t;
        for (auto [ligne, annee, refusee] : cas) {
            const LectureCal r = lire(fichier(ligne), t);
            QCOMPARE(r.annee, std::string(annee));
            QCOMPARE(r.anneeRefusee, refusee);
            QVERIFY(r.ok && !r.donneesEnTrop);
        }
        QVERIFY(lire(fichier("\"2027\"\r\n\r\n1,2,3"), t).donneesEnTrop);
    }
};

QTEST_APPLESS_MAIN(TestFichierCal)
#include "test_fichiercal.moc"
