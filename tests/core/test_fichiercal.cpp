#include "tests/Verifier.h"
#include "special/FichierCal.h"
#include "colour/ModeleFeuille.h"
#include "calendar/Mois.h"
#include <numeric>
#include "tests/core/Outils.h"
// (Round trips of damaged and random files: the fuzzing harness tests/fuzz/fuzz_cal.cpp.)

using Table = TableCouleursSP;
constexpr double Temoin = 4242; // value of a cell that was not read

static LectureCal lire(std::string_view c, Table& t) { std::fill(*t, *t + 13 * 43, Temoin); return LireCal(c, t); }

// A file whose cell k of month m holds m * 1000 + k, or champs[k] in month 2.
static std::string fichier(const std::string& ligneAn = "\"2027\"", const std::vector<const char*>& champs = {})
{
    std::string s;
    for (int m = 1; m <= 12; ++m) {
        s += std::to_string(m);
        for (int k = 0; k < 42; ++k)
            s += "," + (m == 2 && k < int(champs.size()) ? champs[k] : std::to_string(m * 1000 + k));
        s += "\r\n";
    }
    return s + ligneAn + "\r\n";
}

class TestFichierCal : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { verifierLocale(); }
    void ecritureEtLecture()
    {
        // Cells 0.. of month 2 and their text; values that are no colour are written as 0.
        const std::pair<double, const char*> cas[] = {{255, "255"}, {16777215, "16777215"}, {0.5, "0.5"},
                                                      {-1, "0"},    {NAN, "0"},             {16777216, "0"}};
        Table t, lu;
        lire(fichier(), t); // month 0 and cell 42 hold Temoin: never written
        std::vector<const char*> textes;
        for (auto [valeur, texte] : cas) t[2][textes.size()] = valeur, textes.push_back(texte);
        QCOMPARE(EcrireCal(t, "0099"), fichier("\"0099\"", textes));
        QVERIFY(EcrireCal(t, "20\"2\r\n7").ends_with("\r\n\"2027\"\r\n")); // a year that would break the shape
        QCOMPARE(NomFichierCalParDefaut(15, 8, 999), std::string("CoulSP le 15,août,0999.Cal"));
        // A saved name always ends in .Cal, so that the open dialog shows the file.
        for (auto [nom, ecrit] : {std::pair{"d/vacances-zone-b", "d/vacances-zone-b.Cal"}, {"a.", "a.Cal"},
                                  {"a.txt", "a.txt.Cal"}, {"a.cal", "a.cal"}, {"A.CAL", "A.CAL"},
                                  {"d/.cal", "d/.cal.Cal"}, {"d.Cal/a", "d.Cal/a.Cal"}, {"", ""}, {"d/", "d/"}})
            QCOMPARE(NomAvecExtensionCal(nom), std::string(ecrit));
        QTemporaryDir dossier;
        const std::filesystem::path p = dossier.filePath("a.Cal").toStdString();
        VERIFIER(SauverCal(p, t, "2099"), !SauverCal(p.parent_path() / "absent" / "a.Cal", t, "2027"));
        lire("", lu);
        LectureCal r = LireFichierCal(p, lu);
        VERIFIER(r.ok, !r.refuse, r.annee == "2099", lu[2][1] == 16777215, lu[0][0] == Temoin);
        // Labels after the year (a school year's too) are no data in excess: the file is accepted, same colours.
        for (const char* an : {"2099", "2026-2027"}) {
            const EtiquettesCouleurs e = {{255, "Vacances, zone B"}, {16777215, "Anniversaires"}};
            VERIFIER(SauverCal(p, t, an, e), (r = LireFichierCal(p, lu)).etiquettes == e, MotifRefusCal(r).empty(),
                     r.annee == an, lu[2][1] == 16777215);
        }
        // Over the size limit the file is refused whole, like a missing file or a folder; at the limit, read.
        EcrireFichier(p, fichier() + std::string(TailleMaxCal, ' '));
        lire("", lu);
        for (const auto& f : {p, p.parent_path() / "absent.Cal", p.parent_path()})
            QVERIFY2(LireFichierCal(f, lu).refuse && lu[1][0] == Temoin, f.c_str());
        std::filesystem::resize_file(p, TailleMaxCal);
        QVERIFY(LireFichierCal(p, lu).ok);

        // Values go by their place: month numbers are not used, line ends are commas, blank lines are skipped.
        std::string s = fichier();
        s.replace(0, 1, "7");
        for (size_t i; (i = s.find("\r\n")) != std::string::npos;) s.replace(i, 2, "\n\n  \t\n");
        r = lire(s, t);
        VERIFIER(r.ok, r.annee == "2027");
        QCOMPARE((std::array{t[1][0], t[6][30], t[12][41]}), (std::array{1000.0, 6030.0, 12041.0}));
        // An extra field on line 1 moves everything after it by one place.
        s = fichier();
        r = lire(s.insert(s.find("\r\n"), ",5"), t);
        VERIFIER(r.anneeRefusee, r.donneesEnTrop);
        QCOMPARE((std::array{t[1][41], t[2][0], t[12][41]}), (std::array{1041.0, 2.0, 12040.0}));
        // Cut after the last comma: the cells read so far hold their values, the last one is untouched.
        s = fichier();
        r = lire(s.substr(0, s.rfind(',') + 1), t);
        VERIFIER(!r.ok, r.annee.empty(), r.valeursLues == 503, t[12][40] == 12040, t[12][41] == Temoin);
        // Field of cell k of month 2, and the cell's value after reading.
        const std::vector<const char*> champs{"abc", "", "\"12\"", "1-2", "inf", "0x10", "-3", "1e999", "-0", " +7 ", "2.5E3"};
        const double valeurs[] = {Temoin, Temoin, Temoin, Temoin, Temoin, Temoin, 0, 0, 0, 7, 2500};
        r = lire(fichier("\"2027\"", champs), t);
        QCOMPARE((std::array{int(r.ok), r.champsLus, r.valeursLues, r.champsInvalides, r.couleursInvalides}),
                 (std::array{0, 516, 504 - 6, 6, 2}));
        for (size_t k = 0; k < champs.size(); ++k)
            QCOMPARE(std::pair(t[2][k], std::signbit(t[2][k])), std::pair(valeurs[k], false));
        // Line 13, the year read, whether it was refused; no year still reads the table.
        for (auto [ligne, annee, refusee] :
             {std::tuple{"2027", "2027", false}, {"  \" 2027 \"  ", "2027", false}, {"\"2027\"x", "2027", false},
              {"\"99\"", "", true}, {"\"12345\"", "", true}, {"\"20a7\"", "", true}, {"", "", false},
              {"\"\"", "", false}}) {
            r = lire(fichier(ligne), t);
            QVERIFY2(r.annee == annee && r.anneeRefusee == refusee && r.ok && !r.donneesEnTrop, ligne);
        }
        QVERIFY(lire(fichier("\"2027\"\r\n\r\n1,2,3"), t).donneesEnTrop);
    }

    // One verdict for the command line and the window: a refused file leaves the table as it was. Marks of a school
    // year's file on a year's sheet, and the reverse, stay on their dates or leave the sheet.
    void refusEtPlacement()
    {
        QTemporaryDir dossier;
        const std::filesystem::path p = dossier.filePath("a.Cal").toStdString();
        Table t;
        lire(fichier(), t);
        const std::string plein = fichier(), scolaire = EcrireCal(t, "2026-2027");
        const std::pair<std::string, const char*> cas[] = {{plein, ""}, {fichier(""), ""}, {scolaire, ""},
            {plein.substr(0, plein.find("\r\n6,") + 2), "lignes"}, {scolaire.substr(0, scolaire.rfind("\r\n8,") + 2), "lignes"},
            {"\xEF\xBB\xBF" + plein, "lignes"}, {"[Couleurs]\r\nBordure=255\r\n", "lignes"}, {fichier("\"0000\""), "0000 n'est pas entre"},
            {fichier("\"abcd\""), "quatre"}, {fichier("\"99999\""), "quatre"}, {fichier(std::string("\"20\0" "27\"", 7)), "quatre"},
            {fichier("\"2026\"\r\n\"2027-2028\""), "suivent"}};
        for (const auto& [contenu, motif] : cas) {
            EcrireFichier(p, contenu);
            lire("", t);
            const std::string m = MotifRefusCal(LireFichierCal(p, t));
            QVERIFY2(m.find(motif) != std::string::npos && m.empty() == !*motif && (t[1][0] == Temoin) == !m.empty(), motif);
        }
        QCOMPARE(MotifRefusCal(LireFichierCal(p.parent_path() / "absent.Cal", t)), std::string("il n'a pas pu être lu"));

        const auto cellule = [](int annee, int mois, int jour) {
            const BlocMois b = RemplirMois(annee, mois);
            return int(std::find_if(b.cellules.begin(), b.cellules.end(), [&](auto& c) { return c.Tag == 0 && c.legende == jour; })
                       - b.cellules.begin());
        };
        const auto somme = [](const Table& x) { return std::accumulate(&x[0][0], &x[0][0] + 13 * 43, 0.0); };
        Table s = {}, u = {};
        s[1][cellule(2026, 9, 10)] = 255, s[5][cellule(2027, 1, 7)] = 65280; // 10 September 2026, 7 January 2027
        PlacerCal(s, {2026, 9}, {2026, 1});
        VERIFIER(s[9][cellule(2026, 9, 10)] == 255, somme(s) == 255);
        u[1][cellule(2027, 1, 7)] = 65280, u[12][cellule(2027, 12, 25)] = 255;
        PlacerCal(u, {2027, 1}, {2026, 9});
        VERIFIER(u[5][cellule(2027, 1, 7)] == 65280, somme(u) == 65280);
    }

    // A school year's file: the months of its first year, empty before September; the year; the school year; the
    // months of its second year. Read back whole; a reader that stops at the year sees 2026, the autumn on its days.
    void anneeScolaire()
    {
        Table t, lu;
        lire(fichier(), t); // block b, cell k: b * 1000 + k
        const std::string s = EcrireCal(t, "2026-2027");
        const auto ligne = [](int m, int bloc) {
            QString r = QString::number(m);
            for (int k = 0; k < 42; ++k) r += "," + QString::number(bloc ? bloc * 1000 + k : 0);
            return r;
        };
        QCOMPARE(QString::fromStdString(s).split("\r\n"), (QStringList{ligne(1, 0), ligne(2, 0), ligne(3, 0), ligne(4, 0),
                 ligne(5, 0), ligne(6, 0), ligne(7, 0), ligne(8, 0), ligne(9, 1), ligne(10, 2), ligne(11, 3), ligne(12, 4),
                 "\"2026\"", "\"2026-2027\"", ligne(1, 5), ligne(2, 6), ligne(3, 7), ligne(4, 8), ligne(5, 9), ligne(6, 10),
                 ligne(7, 11), ligne(8, 12), ""}));
        LectureCal r = lire(s, lu);
        VERIFIER(r.ok, r.annee == "2026-2027", r.valeursLues == 504, r.champsLus == 860, !r.donneesEnTrop);
        QVERIFY(std::equal(&t[1][0], &t[12][42], &lu[1][0]) && lu[0][0] == Temoin);
        // Thirteen lines: the year 2026, its September to December blocks the school year's first four, colours included.
        r = lire(s.substr(0, s.find("\"2026-")), lu);
        VERIFIER(r.ok, r.annee == "2026", lu[8][41] == 0);
        const ModeleFeuille annee = ConstruireFeuille({2026}, {}, lu), scolaire = ConstruireFeuille({2026, 9}, {}, t);
        for (int b = 1; b <= 4; ++b) QVERIFY(annee.bloc(8 + b) == scolaire.bloc(b));
        // A school year not starting in the year of line 13, or not quoted, is data in excess; one cut short in its
        // second year keeps the cells it has read.
        for (const char* suite : {"\"2027-2028\"", "2026-2027", "\"2026-2028\""}) {
            r = lire(s.substr(0, s.find("\"2026-")) + suite + "\r\n", lu);
            QVERIFY2(r.annee == "2026" && r.donneesEnTrop && r.valeursLues == 504 && lu[9][0] == 1000 && lu[1][0] == 0, suite);
        }
        r = lire(s.substr(0, s.rfind(",")), lu);
        VERIFIER(!r.ok, r.annee == "2026-2027", r.valeursLues == 503, lu[12][40] == 12040, lu[12][41] == Temoin);
    }
};

QTEST_APPLESS_MAIN(TestFichierCal)
#include "test_fichiercal.moc"
