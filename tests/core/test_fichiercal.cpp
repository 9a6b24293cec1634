#include <QtTest>

#include <cmath>
#include <fstream>
#include <random>
#include <string>

#include "special/FichierCal.h"

namespace {

using Table = double[13][43];
constexpr double Temoin = 4242; // value of a cell that was not read

void remplir(Table t, double v)
{
    for (int m = 0; m < 13; ++m)
        for (int k = 0; k < 43; ++k)
            t[m][k] = v;
}

// A file whose month lines hold `valeur(m, k)`.
template <typename F>
std::string fichier(F valeur, const std::string& ligneAn = "\"2027\"")
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

std::string valeurType(int m, int k) { return std::to_string(m * 1000 + k); }

std::string lireOctets(const std::filesystem::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// Month 0 and cell 42 are never touched, and every cell holds a colour or the
// untouched marker.
bool tableSaine(const Table t)
{
    for (int m = 0; m < 13; ++m)
        for (int k = 0; k < 43; ++k) {
            double v = t[m][k];
            if (m == 0 || k == 42) {
                if (v != Temoin)
                    return false;
            } else if (v != Temoin && !EstCouleurValide(v)) {
                return false;
            }
        }
    return true;
}

} // namespace

class TestFichierCal : public QObject {
    Q_OBJECT
private slots:
    void ecritureSansCouleurs()
    {
        Table t{};
        std::string attendu;
        for (int m = 1; m <= 12; ++m) {
            attendu += std::to_string(m);
            for (int k = 0; k < 42; ++k)
                attendu += ",0";
            attendu += "\r\n";
        }
        attendu += "\"2027\"\r\n";
        QCOMPARE(EcrireCal(t, "2027"), attendu);

        QTemporaryDir dossier;
        QVERIFY(dossier.isValid());
        std::filesystem::path p = dossier.filePath("a.Cal").toStdString();
        QVERIFY(SauverCal(p, t, "2027"));
        QCOMPARE(lireOctets(p), attendu);
        QVERIFY(!SauverCal(std::filesystem::path(dossier.filePath("absent").toStdString()) / "a.Cal", t, "2027"));
    }

    void ecritureDesValeurs()
    {
        Table t{};
        t[3][0] = 255;
        t[3][1] = 16777215;
        t[3][2] = 0.5;
        t[3][3] = -1;                                       // not a colour: 0
        t[3][4] = std::numeric_limits<double>::quiet_NaN(); // idem
        t[3][5] = 16777216;                                 // idem
        t[3][41] = 8388736;
        t[0][0] = t[3][42] = 4321; // never written
        std::string s = EcrireCal(t, "1999");
        std::string ligne3 = "3,255,16777215,0.5,0,0,0";
        for (int k = 6; k < 41; ++k)
            ligne3 += ",0";
        ligne3 += ",8388736\r\n";
        QVERIFY(s.find("\r\n" + ligne3) != std::string::npos);
        QVERIFY(s.find("4321") == std::string::npos);
        QVERIFY(s.ends_with("\r\n\"1999\"\r\n"));
        // A year that would break the file's shape.
        QVERIFY(EcrireCal(t, "20\"2\r\n7").ends_with("\r\n\"2027\"\r\n"));
    }

    void allerRetour()
    {
        std::mt19937 gen(7);
        Table t{};
        for (int m = 1; m <= 12; ++m)
            for (int k = 0; k < 42; ++k)
                t[m][k] = (gen() % 3 == 0) ? double(gen() % 16777216) : 0;
        t[5][7] = 123.25;
        t[12][41] = 16777215;

        QTemporaryDir dossier;
        std::filesystem::path p = dossier.filePath("b.Cal").toStdString();
        QVERIFY(SauverCal(p, t, "0099"));
        Table lu;
        remplir(lu, Temoin);
        LectureCal r = LireFichierCal(p, lu);
        QVERIFY(r.ok && !r.refuse && !r.donneesEnTrop && !r.anneeRefusee);
        QCOMPARE(r.annee, std::string("0099"));
        QCOMPARE(r.champsLus, 516);
        QCOMPARE(r.valeursLues, 504);
        QCOMPARE(r.champsInvalides + r.couleursInvalides, 0);
        for (int m = 1; m <= 12; ++m)
            for (int k = 0; k < 42; ++k)
                QCOMPARE(lu[m][k], t[m][k]);
        QVERIFY(tableSaine(lu));
    }

    void lectureParPosition()
    {
        // Values go by their place in the file: the month numbers are not used,
        // line ends and commas are the same, blank lines are skipped.
        std::string s = fichier(valeurType);
        s.replace(0, 1, "7");
        Table t;
        remplir(t, Temoin);
        LectureCal r = LireCal(s, t);
        QVERIFY(r.ok);
        QCOMPARE(t[1][0], 1000.0);
        QCOMPARE(t[12][41], 12041.0);

        std::string l = s;
        for (size_t i; (i = l.find("\r\n")) != std::string::npos;)
            l.replace(i, 2, "\n\n  \t\n");
        remplir(t, Temoin);
        r = LireCal(l, t);
        QVERIFY(r.ok);
        QCOMPARE(r.annee, std::string("2027"));
        QCOMPARE(t[6][30], 6030.0);

        // An extra field on line 1 moves everything after it by one place.
        std::string e = fichier(valeurType);
        e.insert(e.find("\r\n"), ",5");
        remplir(t, Temoin);
        r = LireCal(e, t);
        QCOMPARE(t[1][41], 1041.0);
        QCOMPARE(t[2][0], 2.0);      // the month number of line 2
        QCOMPARE(t[12][41], 12040.0);
        QVERIFY(r.anneeRefusee);    // the year field is 12041
        QVERIFY(r.annee.empty());
        QVERIFY(r.donneesEnTrop);
        QVERIFY(tableSaine(t));
    }

    void fichiersTropCourts()
    {
        // Cut right after a comma, so that no number is cut in two.
        const std::string complet = fichier(valeurType);
        auto apresVirgule = [&](size_t n) { return complet.find(',', n) + 1; };
        Table t;
        for (size_t n : {size_t(0), apresVirgule(0), apresVirgule(200), apresVirgule(complet.size() / 2),
                         complet.rfind(',') + 1}) {
            remplir(t, Temoin);
            LectureCal r = LireCal(std::string_view(complet).substr(0, n), t);
            QVERIFY(!r.ok);
            QVERIFY(r.annee.empty());
            QVERIFY(r.valeursLues < 504);
            QVERIFY(tableSaine(t));
            // Cells read so far hold their values, the others are untouched.
            int lues = 0;
            for (int m = 1; m <= 12; ++m)
                for (int k = 0; k < 42; ++k)
                    if (t[m][k] != Temoin) {
                        QCOMPARE(t[m][k], double(m * 1000 + k));
                        ++lues;
                    }
            QCOMPARE(lues, r.valeursLues);
        }

        // Without a year line, or with an empty one: the table is read.
        for (const char* an : {"", "\"\"", "  "}) {
            remplir(t, Temoin);
            LectureCal r = LireCal(fichier(valeurType, an), t);
            QVERIFY(r.ok);
            QVERIFY(r.annee.empty());
            QVERIFY(!r.anneeRefusee);
            QCOMPARE(t[12][41], 12041.0);
        }
    }

    void champsQuiNeSontPasDesCouleurs()
    {
        auto valeur = [](int m, int k) -> std::string {
            if (m == 2) {
                switch (k) {
                case 0: return "abc";
                case 1: return "";
                case 2: return "\"12\"";
                case 3: return "1-2";
                case 4: return "inf";
                case 5: return "nan";
                case 6: return "0x10";
                case 10: return "-3";
                case 11: return "16777216";
                case 12: return "1e999";
                case 13: return "16777215";
                case 14: return " +7 ";
                case 15: return "2.5E3";
                case 16: return "1e-999";
                case 17: return "-0";
                }
            }
            return valeurType(m, k);
        };
        Table t;
        remplir(t, Temoin);
        LectureCal r = LireCal(fichier(valeur), t);
        QVERIFY(!r.ok);
        QCOMPARE(r.annee, std::string("2027"));
        QCOMPARE(r.champsLus, 516);
        QCOMPARE(r.champsInvalides, 7);
        QCOMPARE(r.valeursLues, 504 - 7);
        for (int k = 0; k <= 6; ++k)
            QCOMPARE(t[2][k], Temoin);
        QCOMPARE(t[2][10], 0.0);
        QCOMPARE(t[2][11], 0.0);
        QCOMPARE(t[2][12], 0.0);
        QCOMPARE(r.couleursInvalides, 4);
        QCOMPARE(t[2][13], 16777215.0);
        QCOMPARE(t[2][14], 7.0);
        QCOMPARE(t[2][15], 2500.0);
        QCOMPARE(t[2][16], 0.0);
        QVERIFY(t[2][17] == 0 && !std::signbit(t[2][17]));
        QCOMPARE(t[2][18], 2018.0);

        // A month number that is not a number is only noted.
        std::string s = fichier(valeurType);
        s.replace(0, 1, "x");
        remplir(t, Temoin);
        r = LireCal(s, t);
        QVERIFY(!r.ok);
        QCOMPARE(r.valeursLues, 504);
    }

    void lAnnee()
    {
        struct Cas {
            const char* ligne;
            const char* annee;
            bool refusee;
        };
        const Cas cas[] = {
            {"\"2027\"", "2027", false}, {"2027", "2027", false},     {"  \" 2027 \"  ", "2027", false},
            {"\"2027", "2027", false},   {"\"0099\"", "0099", false}, {"\"99\"", "", true},
            {"\"12345\"", "", true},     {"\"20a7\"", "", true},      {"\"2027\"x", "2027", false},
            {"\"é\"", "", true},
        };
        Table t;
        for (const Cas& c : cas) {
            remplir(t, Temoin);
            LectureCal r = LireCal(fichier(valeurType, c.ligne), t);
            QCOMPARE(r.annee, std::string(c.annee));
            QCOMPARE(r.anneeRefusee, c.refusee);
            QVERIFY(!r.donneesEnTrop);
        }
        remplir(t, Temoin);
        LectureCal r = LireCal(fichier(valeurType, "\"2027\"\r\n\r\n1,2,3\r\n"), t);
        QCOMPARE(r.annee, std::string("2027"));
        QVERIFY(r.donneesEnTrop);
        QVERIFY(r.ok);
    }

    void fichiersBinairesEtEnormes()
    {
        Table t;
        std::string binaire;
        for (int i = 0; i < 5000; ++i)
            binaire += char((i * 37) & 0xFF);
        remplir(t, Temoin);
        LireCal(binaire, t);
        QVERIFY(tableSaine(t));

        // A single field of several megabytes, then many lines of commas.
        remplir(t, Temoin);
        LectureCal r = LireCal(std::string(4 << 20, '9'), t);
        QCOMPARE(r.champsLus, 1);
        remplir(t, Temoin);
        r = LireCal(std::string(4 << 20, ','), t);
        QCOMPARE(r.champsLus, 516);
        QCOMPARE(r.valeursLues, 0);
        QVERIFY(tableSaine(t));

        QTemporaryDir dossier;
        std::filesystem::path gros = dossier.filePath("gros.Cal").toStdString();
        {
            std::ofstream f(gros, std::ios::binary);
            f << fichier(valeurType);
            f << std::string(TailleMaxCal, ' ');
        }
        remplir(t, Temoin);
        r = LireFichierCal(gros, t);
        QVERIFY(r.refuse && !r.ok && r.champsLus == 0);
        for (int m = 0; m < 13; ++m)
            for (int k = 0; k < 43; ++k)
                QCOMPARE(t[m][k], Temoin);

        // Just under the limit is read.
        std::filesystem::resize_file(gros, TailleMaxCal);
        r = LireFichierCal(gros, t);
        QVERIFY(r.ok && !r.refuse);
        QCOMPARE(r.annee, std::string("2027"));

        remplir(t, Temoin);
        QVERIFY(LireFichierCal(std::filesystem::path(dossier.filePath("absent.Cal").toStdString()), t).refuse);
        QVERIFY(LireFichierCal(std::filesystem::path(dossier.path().toStdString()), t).refuse);
        QVERIFY(tableSaine(t) && t[1][0] == Temoin);
    }

    void lectureAleatoire()
    {
        // Damaged and random texts: the reader always returns, keeps to its
        // bounds and stores only colours.
        std::mt19937 gen(20270101);
        const std::string modele = fichier(valeurType);
        const char alphabet[] = "0123456789,,,\r\n\"  .-+eE\tx\0\xff";
        Table t;
        for (int essai = 0; essai < 3000; ++essai) {
            std::string s;
            switch (essai % 3) {
            case 0: { // a valid file with a few changed, inserted or removed bytes
                s = modele;
                int n = 1 + int(gen() % 8);
                for (int i = 0; i < n && !s.empty(); ++i) {
                    size_t pos = gen() % s.size();
                    char c = alphabet[gen() % (sizeof alphabet - 1)];
                    switch (gen() % 3) {
                    case 0: s[pos] = c; break;
                    case 1: s.insert(pos, 1, c); break;
                    default: s.erase(pos, 1 + gen() % 40); break;
                    }
                }
                break;
            }
            case 1: { // text from the file's own characters
                size_t n = gen() % 6000;
                for (size_t i = 0; i < n; ++i)
                    s += alphabet[gen() % (sizeof alphabet - 1)];
                break;
            }
            default: { // any bytes
                size_t n = gen() % 3000;
                for (size_t i = 0; i < n; ++i)
                    s += char(gen() & 0xFF);
                break;
            }
            }
            remplir(t, Temoin);
            LectureCal r = LireCal(s, t);
            QVERIFY(r.champsLus >= 0 && r.champsLus <= 516);
            QVERIFY(r.valeursLues >= 0 && r.valeursLues <= 504);
            QVERIFY(r.annee.empty() || r.annee.size() == 4);
            QVERIFY(!r.ok || r.champsLus == 516);
            QVERIFY(tableSaine(t));
        }
    }

    void nomParDefaut()
    {
        QCOMPARE(NomFichierCalParDefaut(6, 12, 2026), std::string("CoulSP le 06,déc.,2026.Cal"));
        QCOMPARE(NomFichierCalParDefaut(1, 2, 2027), std::string("CoulSP le 01,févr.,2027.Cal"));
        QCOMPARE(NomFichierCalParDefaut(31, 5, 2030), std::string("CoulSP le 31,mai,2030.Cal"));
        QCOMPARE(NomFichierCalParDefaut(15, 8, 999), std::string("CoulSP le 15,août,0999.Cal"));
        QCOMPARE(NomFichierCalParDefaut(3, 7, 2025), std::string("CoulSP le 03,juil.,2025.Cal"));
    }
};

QTEST_APPLESS_MAIN(TestFichierCal)
#include "test_fichiercal.moc"
