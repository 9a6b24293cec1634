#include <QtTest>

#include <cmath>
#include <functional>
#include <string>

#include "special/FichierCal.h"
#include "tests/core/Outils.h"

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
std::string fichier(const std::string& ligneAn = "\"2027\"",
                    const std::function<std::string(int, int)>& valeur = valeurType)
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

// Month 0 and cell 42 are never touched, every other cell holds a colour or the
// untouched marker; returns the number of cells read.
int cellesLues(const Table t)
{
    int n = 0;
    for (int m = 0; m < 13; ++m)
        for (int k = 0; k < 43; ++k) {
            if ((m == 0 || k == 42) ? t[m][k] != Temoin : (t[m][k] != Temoin && !EstCouleurValide(t[m][k])))
                return -1;
            n += m != 0 && k != 42 && t[m][k] != Temoin;
        }
    return n;
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
        // A year that would break the file's shape.
        QVERIFY(EcrireCal(t, "20\"2\r\n7").ends_with("\r\n\"2027\"\r\n"));
        QCOMPARE(NomFichierCalParDefaut(6, 12, 2026), std::string("CoulSP le 06,déc.,2026.Cal"));
        QCOMPARE(NomFichierCalParDefaut(15, 8, 999), std::string("CoulSP le 15,août,0999.Cal"));

        QTemporaryDir dossier;
        std::filesystem::path p = dossier.filePath("a.Cal").toStdString();
        QVERIFY(SauverCal(p, t, "0099"));
        QVERIFY(!SauverCal(p.parent_path() / "absent" / "a.Cal", t, "2027"));
        QCOMPARE(LireFichier(p), attendu);
        Table lu;
        lire("", lu);
        LectureCal r = LireFichierCal(p, lu);
        QVERIFY(r.ok);
        QVERIFY(!r.refuse);
        QVERIFY(!r.donneesEnTrop);
        QCOMPARE(r.annee, std::string("0099"));
        QCOMPARE(r.valeursLues, 504);
        QCOMPARE((std::array{lu[3][1], lu[3][2], lu[3][3]}), (std::array{16777215.0, 0.5, 0.0}));
        QCOMPARE(cellesLues(lu), 504);
    }

    void lectureParPosition()
    {
        // Values go by their place in the file: the month numbers are not used,
        // line ends and commas are the same, blank lines are skipped.
        std::string s = fichier();
        s.replace(0, 1, "7");
        for (size_t i; (i = s.find("\r\n")) != std::string::npos;)
            s.replace(i, 2, "\n\n  \t\n");
        Table t;
        LectureCal r = lire(s, t);
        QVERIFY(r.ok);
        QCOMPARE(r.annee, std::string("2027"));
        QCOMPARE((std::array{t[1][0], t[6][30], t[12][41]}), (std::array{1000.0, 6030.0, 12041.0}));

        // An extra field on line 1 moves everything after it by one place: the
        // month number of line 2 lands in a cell, the year field is 12041.
        s = fichier();
        s.insert(s.find("\r\n"), ",5");
        r = lire(s, t);
        QCOMPARE((std::array{t[1][41], t[2][0], t[12][41]}), (std::array{1041.0, 2.0, 12040.0}));
        QVERIFY(r.anneeRefusee);
        QVERIFY(r.donneesEnTrop);

        // Cut right after a comma: the cells read so far hold their values, the
        // others are untouched.
        const std::string complet = fichier();
        for (size_t n : {size_t(0), complet.find(',') + 1, complet.find(',', 900) + 1, complet.rfind(',') + 1}) {
            r = lire(std::string_view(complet).substr(0, n), t);
            QVERIFY(!r.ok);
            QCOMPARE(r.annee, std::string());
            QVERIFY(r.valeursLues < 504);
            QCOMPARE(cellesLues(t), r.valeursLues);
            for (int m = 1; m <= 12; ++m)
                for (int k = 0; k < 42; ++k)
                    QVERIFY(t[m][k] == Temoin || t[m][k] == m * 1000 + k);
        }
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
        LectureCal r = lire(fichier("\"2027\"", [&](int m, int k) {
            return m == 2 && k < n ? std::string(cas[k].first) : valeurType(m, k);
        }), t);
        QVERIFY(!r.ok);
        QCOMPARE(r.annee, std::string("2027"));
        QCOMPARE((std::array{r.champsLus, r.valeursLues, r.champsInvalides, r.couleursInvalides}),
                 (std::array{516, 504 - 6, 6, 2}));
        for (int k = 0; k <= n; ++k) {
            QCOMPARE(t[2][k], k < n ? cas[k].second : 2000.0 + n);
            QVERIFY(!std::signbit(t[2][k]));
        }
    }

    void lAnnee()
    {
        // Line 13, the year read, whether it was refused; nothing, empty or
        // blank is no year but the table is read.
        const std::tuple<const char*, const char*, bool> cas[] = {
            {"2027", "2027", false}, {"  \" 2027 \"  ", "2027", false}, {"\"2027\"x", "2027", false},
            {"\"99\"", "", true},    {"\"12345\"", "", true},           {"\"20a7\"", "", true},
            {"", "", false},         {"\"\"", "", false},               {"  ", "", false},
        };
        Table t;
        for (auto [ligne, annee, refusee] : cas) {
            LectureCal r = lire(fichier(ligne), t);
            QCOMPARE(r.annee, std::string(annee));
            QVERIFY(r.ok);
            QCOMPARE(r.anneeRefusee, refusee);
            QVERIFY(!r.donneesEnTrop);
            QCOMPARE(t[12][41], 12041.0);
        }
        LectureCal r = lire(fichier("\"2027\"\r\n\r\n1,2,3"), t);
        QVERIFY(r.ok);
        QCOMPARE(r.annee, std::string("2027"));
        QVERIFY(r.donneesEnTrop);
    }

    void fichiersEnormesOuAbsents()
    {
        // A single field of several megabytes, then many lines of commas.
        Table t;
        LectureCal r = lire(std::string(4 << 20, ','), t);
        QCOMPARE(r.champsLus, 516);
        QCOMPARE(r.valeursLues, 0);
        QCOMPARE(lire(std::string(4 << 20, '9'), t).champsLus, 1);

        // Over the size limit the file is refused whole; just under it, read.
        QTemporaryDir dossier;
        std::filesystem::path gros = dossier.filePath("gros.Cal").toStdString();
        EcrireFichier(gros, fichier() + std::string(TailleMaxCal, ' '));
        lire("", t);
        r = LireFichierCal(gros, t);
        QVERIFY(r.refuse);
        QVERIFY(!r.ok);
        QCOMPARE(r.champsLus, 0);
        QVERIFY(LireFichierCal(gros.parent_path() / "absent.Cal", t).refuse);
        QVERIFY(LireFichierCal(gros.parent_path(), t).refuse);
        QCOMPARE(cellesLues(t), 0);
        std::filesystem::resize_file(gros, TailleMaxCal);
        QVERIFY(LireFichierCal(gros, t).ok);
    }
    // (Damaged and random files: the fuzzing harness tests/fuzz/fuzz_cal.cpp.)
};

QTEST_APPLESS_MAIN(TestFichierCal)
#include "test_fichiercal.moc"
