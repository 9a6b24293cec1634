#include <QtTest>

#include <csignal>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "commun/EcritureAtomique.h"
#include "commun/FichierIni.h"
#include "app/Reglages.h"
#include "special/FichierCal.h"
#include "tests/core/Outils.h"

namespace fs = std::filesystem;
using namespace std::literals;
// (Random files: the fuzzing harness tests/fuzz/fuzz_ini.cpp.)

namespace {

unsigned mode(const fs::path& p)
{
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

long pointeMemoireKo()
{
    rusage r {};
    ::getrusage(RUSAGE_SELF, &r);
    return r.ru_maxrss;
}

} // namespace

class TestFichierIni : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path base() const { return dir.path().toStdString(); }
    fs::path ini() const { return base() / "Pelvado.ini"; }

private slots:
    void initTestCase() { verifierLocale(); }
    void init() { fs::remove_all(ini()); }

    void fichierDuProgramme()
    {
        const std::string defauts = "[Couleurs]\r\nCoulTxtEntete= 8388736\r\nCoulNoms= 11196138\r\n"
                                    "CoulJours= 14282996\r\nCoulGris= 12632256\r\nCoulF\xE9ri\xE9= 16761087\r\n"
                                    "CoulWeekEnd= 8438015\r\nGrille= 0\r\nBordure= 13822459\r\n";
        // No file: nothing read, the slots keep their values.
        SchemaCouleurs c;
        c.CoulNoms = 42;
        LireCouleurs(ini(), c);
        QCOMPARE(c.CoulNoms, 42);
        QCOMPARE(LireLargeur(ini()) + LireQualite(ini()), std::string());
        QVERIFY(!fs::exists(ini()));
        // Written from no file, and again with the same values: the same bytes.
        QVERIFY(EcrireCouleurs(ini(), SchemaCouleurs{}) && EcrireCouleurs(ini(), SchemaCouleurs{}));
        QCOMPARE(LireFichier(ini()), defauts);
        // New values replace the lines in place; new sections go at the end.
        c = SchemaCouleurs{};
        c.CoulFerie = 255;
        c.CoulGrille = -1;
        QVERIFY(EcrireCouleurs(ini(), c) && EcrireLargeur(ini(), "120") && EcrireQualite(ini(), "-3"));
        std::string attendu = defauts;
        attendu.replace(attendu.find("= 16761087"), 10, "= 255");
        attendu.replace(attendu.find("Grille= 0"), 9, "Grille=-1");
        QCOMPARE(LireFichier(ini()), attendu + "[Taille]\r\nLargeur=120\r\n[Impression]\r\nQualit\xE9=-3\r\n");
        SchemaCouleurs relu;
        LireCouleurs(ini(), relu);
        QCOMPARE(relu.valeurs(), c.valeurs());
        QCOMPARE(LireLargeur(ini()), std::string("120"));
        QCOMPARE(LireQualite(ini()), std::string("-3"));
    }

    void lecture()
    {
        // File, section, key, value read ("d" when missing).
        const std::tuple<std::string_view, const char*, const char*, std::string_view> cas[] = {
            // Names match without regard to case, in the file's code page.
            {"[ COULEURS ]\r\n  coulf\xC9RI\xC9  =  255  \r\n", "Couleurs", "CoulF\xE9ri\xE9", "255"},
            {"[\xC0\x8A]\nA\xDE=1\n", "\xE0\x9A", "a\xFE", "1"},
            {"[x]\n@=2\n", "X", "`", "d"},
            {"[Couleurs]\nCoulF\xC3\xA9ri\xC3\xA9=1\n", "Couleurs", "CoulF\xE9ri\xE9", "d"}, // UTF-8: another key
            {"[Autre]\r\nCl\xE9 = valeur  ; pas un commentaire\r\n", "Autre", "Cl\xC9", "valeur  ; pas un commentaire"},
            // Quotes, NUL bytes, a byte order mark.
            {"[A]\nB=  \"255\" \n", "A", "B", "255"}, {"[A]\nB='x'\n", "A", "B", "x"},
            {"[A]\nB=\"x'\n", "A", "B", "\"x'"},        {"[A]\nB=12\0" "34\n"sv, "A", "B", "12"},
            {"\xEF\xBB\xBF[Taille]\r\nLargeur=70\r\n", "Taille", "Largeur", "70"},
            // Only the first section of a name counts; lines neither sections nor keys.
            {"[Taille]\nA=1\n[Taille]\nLargeur=50\n", "Taille", "Largeur", "d"},
            {"[Couleurs\nCoulNoms=1\n", "Couleurs", "CoulNoms", "d"}, {"[T]\nLargeur\n=5\nx=1", "T", "Largeur", "d"},
            {"[A]]x\n\xFF\xFE\0\0\x01=\x80\nB=1"sv, "A", "B", "1"},
        };
        for (auto [fichier, section, cle, valeur] : cas) {
            EcrireFichier(ini(), fichier);
            QCOMPARE(LireIni(ini(), section, cle, "d"), std::string(valeur));
        }

        // Colours: an empty or missing value keeps the slot, text gives its value.
        EcrireFichier(ini(), "[Couleurs]\r\nCoulTxtEntete=&HFF\r\nCoulNoms=&o17\r\nCoulJours=bleu\r\nCoulGris=\r\n"
                      "CoulF\xE9ri\xE9=  -12  \r\nCoulWeekEnd=\"255\"\r\nGrille=1.5E3\r\n");
        SchemaCouleurs c;
        LireCouleurs(ini(), c);
        QCOMPARE(c.valeurs(),
                 (std::array<double, 8>{255, 15, 0, defaut::CoulGris, -12, 255, 1500, defaut::CoulBordure}));

        QVERIFY(EcrireLargeur(ini(), std::string(300, 'x'))); // values are cut to the buffer size less one
        QCOMPARE(LireLargeur(ini()), std::string(254, 'x'));
        QCOMPARE(LireIni(ini(), "Taille", "Rien", "defaut", 4), std::string("def"));
    }

    void ecritureSansToucherAuReste()
    {
        // Other lines keep their bytes: comments, blank lines, LF line ends.
        const std::string debut = "; r\xE9glages\n\n[Autre]\r\nCl\xE9 = valeur  ; pas un commentaire\r\n  \t\r\n";
        const std::string fin = "\n; fin\n[Taille]\nLargeur=100";
        EcrireFichier(ini(), debut + "[Couleurs]\nCoulNoms=1\n; note\nCoulGris=2\n" + fin);
        // Replaced in place, then added after the last key of its section.
        QVERIFY(EcrireIni(ini(), "Couleurs", "CoulNoms", " 7") && EcrireIni(ini(), "Couleurs", "Grille", " 0"));
        const std::string couleurs = "[Couleurs]\nCoulNoms= 7\r\n; note\nCoulGris=2\nGrille= 0\r\n";
        QCOMPARE(LireFichier(ini()), debut + couleurs + fin);
        // The last line has no line end: replacing it gives it one.
        QVERIFY(EcrireLargeur(ini(), "90"));
        QCOMPARE(LireFichier(ini()), debut + couleurs + "\n; fin\n[Taille]\nLargeur=90\r\n");

        // File before; section, key and value written; file after.
        const std::tuple<const char*, const char*, const char*, const char*, const char*> cas[] = {
            {"[Couleurs]\r\nCoulNoms=3", "Couleurs", "CoulGris", "4", "[Couleurs]\r\nCoulNoms=3\r\nCoulGris=4\r\n"},
            {"[Couleurs]", "Couleurs", "CoulGris", "4", "[Couleurs]\r\nCoulGris=4\r\n"},
            {"x\r", "Taille", "Largeur", "90", "x\r\n[Taille]\r\nLargeur=90\r\n"},
            {"[Taille]\nA=1\n[Taille]\nLargeur=50\n", "Taille", "Largeur", "60",
             "[Taille]\nA=1\nLargeur=60\r\n[Taille]\nLargeur=50\n"},
            // The key is found whatever its case and keeps the file's spelling;
            // a UTF-8 spelling is another key.
            {"[impression]\r\nQUALIT\xC9=-2\r\n", "Impression", "Qualit\xE9", "-1",
             "[impression]\r\nQUALIT\xC9=-1\r\n"},
            {"[Impression]\r\nQualit\xC3\xA9=-2\r\n", "Impression", "Qualit\xE9", "-4",
             "[Impression]\r\nQualit\xC3\xA9=-2\r\nQualit\xE9=-4\r\n"},
        };
        for (auto [avant, section, cle, valeur, apres] : cas) {
            EcrireFichier(ini(), avant);
            QVERIFY(EcrireIni(ini(), section, cle, valeur));
            QCOMPARE(LireFichier(ini()), std::string(apres));
        }

        // Odd lines stay as they are when a real key is added.
        const std::string_view bizarre = "[Couleurs\nA=1\n[Taille]\nLargeur\n=5\n\xFF\xFE\0\0\x01=\x80\nB"sv;
        EcrireFichier(ini(), bizarre);
        QVERIFY(EcrireLargeur(ini(), "90"));
        QCOMPARE(LireLargeur(ini()), std::string("90"));
        QCOMPARE(LireFichier(ini()).size(), bizarre.size() + 12);
    }

    void ecrituresRefusees()
    {
        // Names and values that would not stay on one line.
        EcrireFichier(ini(), "[Taille]\r\nLargeur=90\r\n");
        const std::tuple<const char*, const char*, std::string_view> refus[] = {
            {"Taille", "Largeur", "1\r\n[X]"}, {"Taille", "Lar=geur", "1"}, {"Taille", "", "1"},
            {"Taille", ";x", "1"},             {"Tai]lle", "x", "1"},       {"Taille", "x", "a\0b"sv},
        };
        for (auto [section, cle, valeur] : refus)
            QVERIFY(!EcrireIni(ini(), section, cle, valeur));
        QCOMPARE(LireFichier(ini()), std::string("[Taille]\r\nLargeur=90\r\n"));

        // The folder does not exist; a file stands where the folder should be.
        QVERIFY(!EcrireLargeur(base() / "absent" / "Pelvado.ini", "90"));
        QVERIFY(!fs::exists(base() / "absent"));
        EcrireFichier(base() / "unfichier", "x");
        QVERIFY(!EcrireLargeur(base() / "unfichier" / "Pelvado.ini", "90"));
        QCOMPARE(LireFichier(base() / "unfichier"), std::string("x"));
        // A folder in place of the file reads as missing and is not written.
        fs::create_directory(base() / "dossier.ini");
        QCOMPARE(LireLargeur(base() / "dossier.ini"), std::string());
        QVERIFY(!EcrireLargeur(base() / "dossier.ini", "90"));

        // A file over the size limit reads as missing and is not rewritten.
        fs::resize_file(ini(), TailleMaxIni + 1);
        QCOMPARE(LireLargeur(ini()), std::string());
        QVERIFY(!EcrireLargeur(ini(), "80"));
        QCOMPARE(fs::file_size(ini()), TailleMaxIni + 1);
        fs::resize_file(ini(), TailleMaxIni);
        QCOMPARE(LireLargeur(ini()), std::string("90"));
        fs::remove(ini());

        // A link is written through, and stays a link; a dangling one is not written.
        EcrireFichier(base() / "vrai.ini", "[Taille]\r\nLargeur=90\r\n");
        fs::create_symlink(base() / "vrai.ini", ini());
        QVERIFY(EcrireLargeur(ini(), "100"));
        QVERIFY(fs::is_symlink(ini()));
        QCOMPARE(LireLargeur(base() / "vrai.ini"), std::string("100"));
        fs::remove(base() / "vrai.ini");
        QVERIFY(!EcrireLargeur(ini(), "100"));

        // A read-only folder (the checks above have run; only this one needs a normal user).
        if (::geteuid() == 0)
            QSKIP("running as root: permission bits do not stop writes");
        const fs::path d = base() / "ro";
        fs::create_directory(d);
        EcrireFichier(d / "Pelvado.ini", "[Taille]\r\nLargeur=90\r\n");
        fs::permissions(d, fs::perms::owner_read | fs::perms::owner_exec);
        const bool ecrit = EcrireLargeur(d / "Pelvado.ini", "120");
        fs::permissions(d, fs::perms::owner_all);
        QVERIFY(!ecrit);
        QCOMPARE(LireLargeur(d / "Pelvado.ini"), std::string("90"));
    }

    // A write that fails once its temporary file exists (the file size limit
    // stops it half-way) removes that temporary and leaves the file whole.
    void echecApresLeTemporaire()
    {
        const fs::path d = base() / "plein";
        fs::create_directories(d);
        EcrireFichier(d / "Pelvado.ini", "[Taille]\r\nLargeur=90\r\n");
        double table[13][43] = {};
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit avant {};
        ::getrlimit(RLIMIT_FSIZE, &avant);
        rlimit limite = avant;
        limite.rlim_cur = 16;
        ::setrlimit(RLIMIT_FSIZE, &limite);
        const bool ini = EcrireLargeur(d / "Pelvado.ini", "120");
        const bool cal = SauverCal(d / "a.Cal", table, "2027");
        ::setrlimit(RLIMIT_FSIZE, &avant);
        QVERIFY(!ini);
        QVERIFY(!cal);
        QCOMPARE(LireFichier(d / "Pelvado.ini"), std::string("[Taille]\r\nLargeur=90\r\n"));
        for (const auto& e : fs::directory_iterator(d))
            QVERIFY2(e.path().filename() == "Pelvado.ini", e.path().filename().c_str());
        fs::remove_all(d);
    }

    // Rewrites keep the file's permission bits (a private file stays private);
    // a file made read-only is not written; a link is written through only to
    // a regular file of the user, and the target keeps its mode.
    void droitsEtLiens_data()
    {
        QTest::addColumn<unsigned>("avant");
        QTest::addColumn<int>("lien"); // 0 none, 1 ours, 2 made by someone else, 3 to someone else's file
        QTest::addColumn<bool>("ecrit");
        QTest::newRow("0600") << 0600u << 0 << true;
        QTest::newRow("0640") << 0640u << 0 << true;
        QTest::newRow("0604") << 0604u << 0 << true;
        QTest::newRow("0444") << 0444u << 0 << false;
        QTest::newRow("0400") << 0400u << 0 << false;
        QTest::newRow("lien 0600") << 0600u << 1 << true;
        QTest::newRow("lien 0444") << 0444u << 1 << false;
        QTest::newRow("lien d'un autre") << 0600u << 2 << false;
        QTest::newRow("lien vers un autre") << 0666u << 3 << false;
    }
    void droitsEtLiens()
    {
        QFETCH(unsigned, avant);
        QFETCH(int, lien);
        QFETCH(bool, ecrit);
        if (lien >= 2 && ::geteuid() != 0)
            QSKIP("files of another user can only be made by root");
        const fs::path vrai = lien ? base() / "ailleurs.ini" : ini();
        fs::remove(vrai);
        EcrireFichier(vrai, "[Taille]\r\nLargeur=90\r\n");
        ::chmod(vrai.c_str(), avant);
        if (lien)
            fs::create_symlink(vrai, ini());
        if (lien == 2)
            QVERIFY(::lchown(ini().c_str(), 65534, 65534) == 0);
        if (lien == 3)
            QVERIFY(::chown(vrai.c_str(), 65534, 65534) == 0);
        const mode_t masque = ::umask(022);
        QCOMPARE(EcrireLargeur(ini(), "120"), ecrit);
        QCOMPARE(LireLargeur(vrai), std::string(ecrit ? "120" : "90"));
        QCOMPARE(mode(vrai), avant);
        QCOMPARE(fs::is_symlink(ini()), lien != 0);
        // The same for a .Cal file saved over a private one.
        double table[13][43] = {};
        const fs::path cal = base() / "prive.Cal";
        EcrireFichier(cal, "x");
        ::chmod(cal.c_str(), avant);
        QCOMPARE(SauverCal(cal, table, "2027"), (avant & 0222) != 0);
        QCOMPARE(mode(cal), avant);
        fs::remove(cal);
        // New files get the usual mode.
        ::umask(077);
        QVERIFY(SauverCal(cal, table, "2027"));
        ::umask(masque);
        QCOMPARE(mode(cal), 0600u);
        fs::remove(cal);
        fs::remove(vrai);
    }

    // Temporary files that a kill left are recognised and removed; a write in
    // progress (locked), look-alikes and what is not a regular file are kept.
    void temporaires()
    {
        const fs::path d = base() / "tmp";
        fs::create_directories(d);
        const char* restes[] = {".Pelvado.ini.ardemo-tmp-a1B2c3", ".x.Cal.ardemo-tmp-000000"};
        const char* gardes[] = {".Pelvado.ini.ardemo-tmp-a1B2c", "Pelvado.ini.ardemo-tmp-a1B2c3",
                                ".Pelvado.ini.tmp123456", ".Pelvado.ini.ardemo-tmp-a1B2c$", ".ardemo-tmp-abcdef"};
        for (auto n : restes)
            EcrireFichier(d / n, "reste");
        for (auto n : gardes)
            EcrireFichier(d / n, "garde");
        const fs::path verrouille = d / ".Pelvado.ini.ardemo-tmp-zzzzzz";
        EcrireFichier(verrouille, "en cours");
        const int fd = ::open(verrouille.c_str(), O_RDONLY);
        QVERIFY(::flock(fd, LOCK_EX) == 0);
        fs::create_directory(d / ".dossier.ardemo-tmp-abcdef");
        fs::create_symlink(d / gardes[0], d / ".lien.ardemo-tmp-abcdef");
        // Only those of the file named, when one is.
        QCOMPARE(NettoyerTemporaires(d, "Pelvado.ini"), 1);
        QVERIFY(fs::exists(d / restes[1]));
        QCOMPARE(NettoyerTemporaires(d), 1);
        for (auto n : restes)
            QVERIFY2(!fs::exists(d / n), n);
        for (auto n : gardes)
            QVERIFY2(fs::exists(d / n), n);
        QVERIFY(fs::exists(verrouille));
        QVERIFY(fs::is_directory(d / ".dossier.ardemo-tmp-abcdef"));
        QVERIFY(fs::is_symlink(d / ".lien.ardemo-tmp-abcdef"));
        // A successful write clears the leftovers of its own file.
        EcrireFichier(d / restes[0], "reste");
        QVERIFY(EcrireLargeur(d / "Pelvado.ini", "90"));
        QVERIFY(!fs::exists(d / restes[0]));
        QVERIFY(fs::exists(verrouille));
        ::close(fd);
        fs::remove_all(d);
    }

    // A 4 MiB file of blank lines is read without a list of its lines: the
    // memory stays within a few times the file's size (8 times: AddressSanitizer
    // keeps freed blocks; a list of the lines takes 25 times).
    void grandFichier()
    {
        EcrireFichier(ini(), std::string(TailleMaxIni - 64, '\n'));
        const long avant = pointeMemoireKo();
        QCOMPARE(LireLargeur(ini()), std::string());
        QVERIFY(EcrireLargeur(ini(), "90"));
        const long croissance = pointeMemoireKo() - avant;
        QVERIFY2(croissance < 8 * long(TailleMaxIni / 1024), std::to_string(croissance).c_str());
        QCOMPARE(fs::file_size(ini()), TailleMaxIni - 64 + 22);
    }
};

QTEST_APPLESS_MAIN(TestFichierIni)
#include "test_fichierini.moc"
