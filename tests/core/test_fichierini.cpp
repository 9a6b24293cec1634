#include <QtTest>

#include <csignal>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "app/Reglages.h"
#include "commun/EcritureAtomique.h"
#include "commun/FichierIni.h"
#include "special/FichierCal.h"
#include "tests/core/Outils.h"

namespace fs = std::filesystem;
using namespace std::literals;
// (Random files: the fuzzing harness tests/fuzz/fuzz_ini.cpp; memory at the size limit: bench_ini.)

static unsigned mode(const fs::path& p)
{
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

class TestFichierIni : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path base() const { return dir.path().toStdString(); }
    fs::path ini() const { return base() / "Pelvado.ini"; }

private slots:
    void initTestCase() { verifierLocale(); }
    void init() { fs::remove_all(ini()); }

    void lecture()
    {
        // File, section, key, value read ("d" when missing).
        const std::tuple<std::string_view, const char*, const char*, std::string_view> cas[] = {
            // Names match without regard to case, in the file's code page; UTF-8 is another name.
            {"[ COULEURS ]\r\n  coulf\xC9RI\xC9  =  255  \r\n", "Couleurs", "CoulF\xE9ri\xE9", "255"},
            {"[\xC0\x8A]\nA\xDE=1\n", "\xE0\x9A", "a\xFE", "1"}, {"[x]\n@=2\n", "X", "`", "d"},
            {"[Couleurs]\nCoulF\xC3\xA9ri\xC3\xA9=1\n", "Couleurs", "CoulF\xE9ri\xE9", "d"},
            {"[A]\r\nB = v  ; pas un commentaire\r\n", "A", "B", "v  ; pas un commentaire"},
            {"[A]\nB=  \"255\" \n", "A", "B", "255"}, {"[A]\nB='x'\n", "A", "B", "x"},
            {"[A]\nB=\"x'\n", "A", "B", "\"x'"}, {"[A]\nB=12\0" "34\n"sv, "A", "B", "12"},
            {"\xEF\xBB\xBF[Taille]\r\nLargeur=70\r\n", "Taille", "Largeur", "70"},
            // Only the first section of a name counts; lines that are neither sections nor keys.
            {"[T]\nA=1\n[T]\nB=50\n", "T", "B", "d"}, {"[T\nB=1\n", "T", "B", "d"}, {"[T]\nB\n=5\nx=1", "T", "B", "d"},
            {"[A]]x\n\xFF\xFE\0\0\x01=\x80\nB=1"sv, "A", "B", "1"},
        };
        for (auto [fichier, section, cle, valeur] : cas) {
            EcrireFichier(ini(), fichier);
            QCOMPARE(LireIni(ini(), section, cle, "d"), std::string(valeur));
        }
        QVERIFY(EcrireLargeur(ini(), std::string(300, 'x'))); // values are cut to the buffer size less one
        QCOMPARE(LireLargeur(ini()), std::string(254, 'x'));
        // Colours: an empty or missing value keeps the slot, text gives its value
        // (round trips: test_couleurs).
        EcrireFichier(ini(), "[Couleurs]\r\nCoulNoms=&o17\r\nCoulJours=bleu\r\nCoulGris=\r\nCoulWeekEnd=\"255\"\r\n");
        SchemaCouleurs c;
        LireCouleurs(ini(), c);
        QCOMPARE((std::array{c.CoulNoms, c.CoulJours, c.CoulGris, c.CoulWeekEnd, c.CoulFerie}),
                 (std::array<double, 5>{15, 0, defaut::CoulGris, 255, defaut::CoulFerie}));
    }

    void ecritureSansToucherAuReste()
    {
        // File before; section, key and value written; file after. Other lines keep their bytes.
        const char* debut = "; r\xE9glages\n\n[A]\r\nB = v  ; x\r\n  \t\r\n[Couleurs]\nCoulNoms=1\n; note\nCoulGris=2\n";
        const std::tuple<std::string, const char*, const char*, const char*, std::string> cas[] = {
            {debut + "\n; fin\n"s, "Couleurs", "CoulNoms", " 7", "; r\xE9glages\n\n[A]\r\nB = v  ; x\r\n  \t\r\n"
                                                                 "[Couleurs]\nCoulNoms= 7\r\n; note\nCoulGris=2\n\n; fin\n"},
            {debut + "[T]"s, "Couleurs", "Grille", "0", debut + "Grille=0\r\n[T]"s},
            {"[T]\nLargeur=100", "T", "Largeur", "90", "[T]\nLargeur=90\r\n"},
            {"[C]\r\nN=3", "C", "G", "4", "[C]\r\nN=3\r\nG=4\r\n"}, {"[C]", "C", "G", "4", "[C]\r\nG=4\r\n"},
            {"x\r", "T", "L", "90", "x\r\n[T]\r\nL=90\r\n"},
            {"[T]\nA=1\n[T]\nL=50\n", "T", "L", "60", "[T]\nA=1\nL=60\r\n[T]\nL=50\n"},
            // The key keeps the file's spelling; a UTF-8 spelling is another key.
            {"[i]\r\nQUALIT\xC9=-2\r\nx=\r\n", "I", "Qualit\xE9", "-1", "[i]\r\nQUALIT\xC9=-1\r\nx=\r\n"},
            {"[I]\r\nQualit\xC3\xA9=-2\r\n", "I", "Qualit\xE9", "-4", "[I]\r\nQualit\xC3\xA9=-2\r\nQualit\xE9=-4\r\n"},
            {"[C\nA=1\n[T]\nL\n=5\n\xFF\xFE\0\0\x01=\x80\nB"s, "T", "L", "9", "[C\nA=1\n[T]\nL\n=5\n\xFF\xFE\0\0\x01=\x80\nL=9\r\nB"s},
        };
        for (const auto& [avant, section, cle, valeur, apres] : cas) {
            EcrireFichier(ini(), avant);
            QVERIFY(EcrireIni(ini(), section, cle, valeur));
            QCOMPARE(LireFichier(ini()), apres);
        }
    }

    void ecrituresRefusees()
    {
        const std::string contenu = "[Taille]\r\nLargeur=90\r\n";
        EcrireFichier(ini(), contenu);
        // Names and values that would not stay on one line.
        for (auto [section, cle, valeur] : {std::tuple{"Taille", "Largeur", "1\r\n[X]"sv}, {"Taille", "Lar=geur", "1"sv},
                                            {"Taille", "", "1"sv}, {"Taille", ";x", "1"sv}, {"Tai]lle", "x", "1"sv},
                                            {"Taille", "x", "a\0b"sv}})
            QVERIFY(!EcrireIni(ini(), section, cle, valeur));
        // No folder, a file in place of the folder, a folder in place of the file.
        EcrireFichier(base() / "f", "x");
        fs::create_directory(base() / "d.ini");
        for (const fs::path& p : {base() / "absent" / "a.ini", base() / "f" / "a.ini", base() / "d.ini"})
            QVERIFY2(!EcrireLargeur(p, "90") && LireLargeur(p).empty(), p.c_str());
        QCOMPARE(LireFichier(base() / "f"), std::string("x"));
        // Over the size limit the file reads as missing and is not rewritten.
        fs::resize_file(ini(), TailleMaxIni + 1);
        QCOMPARE(LireLargeur(ini()), std::string());
        QVERIFY(!EcrireLargeur(ini(), "80"));
        fs::resize_file(ini(), TailleMaxIni);
        QCOMPARE(LireLargeur(ini()), std::string("90"));
        // A write failing once its temporary exists (the file size limit stops it)
        // removes the temporary and leaves the files whole.
        EcrireFichier(ini(), contenu);
        double table[13][43] = {};
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit avant {};
        ::getrlimit(RLIMIT_FSIZE, &avant);
        rlimit limite = avant;
        limite.rlim_cur = 16;
        ::setrlimit(RLIMIT_FSIZE, &limite);
        const bool ecrits = EcrireLargeur(ini(), "120") || SauverCal(base() / "a.Cal", table, "2027");
        ::setrlimit(RLIMIT_FSIZE, &avant);
        QVERIFY(!ecrits);
        QCOMPARE(LireFichier(ini()), contenu);
        for (const auto& e : fs::directory_iterator(base()))
            QVERIFY2(!EstFichierTemporaire(e.path().filename().string()), e.path().c_str());
    }

    // Rewrites keep the permission bits; a file made read-only is not written;
    // a link is written through (and stays a link) only to a regular file of
    // the user. Files of another user are made as root (as in CI).
    void droitsEtLiens_data()
    {
        QTest::addColumn<unsigned>("avant");
        QTest::addColumn<int>("lien"); // 0 none, 1 ours, 2 made by someone else, 3 to someone else's file, 4 dangling
        QTest::addColumn<bool>("ecrit");
        QTest::newRow("0600") << 0600u << 0 << true;
        QTest::newRow("0604") << 0604u << 0 << true;
        QTest::newRow("0444") << 0444u << 0 << false;
        QTest::newRow("lien 0640") << 0640u << 1 << true;
        QTest::newRow("lien 0444") << 0444u << 1 << false;
        QTest::newRow("lien d'un autre") << 0600u << 2 << false;
        QTest::newRow("lien vers un autre") << 0666u << 3 << false;
        QTest::newRow("lien cassé") << 0600u << 4 << false;
    }
    void droitsEtLiens()
    {
        QFETCH(unsigned, avant);
        QFETCH(int, lien);
        QFETCH(bool, ecrit);
        if ((lien == 2 || lien == 3) && ::geteuid() != 0)
            QSKIP("files of another user can only be made by root");
        const fs::path vrai = lien ? base() / "ailleurs.ini" : ini();
        EcrireFichier(vrai, "[Taille]\r\nLargeur=90\r\n");
        ::chmod(vrai.c_str(), avant);
        if (lien)
            fs::create_symlink(lien == 4 ? base() / "absent" : vrai, ini());
        QVERIFY(lien != 2 || ::lchown(ini().c_str(), 65534, 65534) == 0);
        QVERIFY(lien != 3 || ::chown(vrai.c_str(), 65534, 65534) == 0);
        const mode_t masque = ::umask(022);
        QCOMPARE(EcrireLargeur(ini(), "120"), ecrit);
        QCOMPARE(LireLargeur(vrai), std::string(ecrit ? "120" : "90"));
        QCOMPARE(mode(vrai), avant);
        QCOMPARE(fs::is_symlink(ini()), lien != 0);
        // A .Cal file too; a new file gets the usual mode.
        double table[13][43] = {};
        const fs::path cal = base() / "prive.Cal";
        EcrireFichier(cal, "x");
        ::chmod(cal.c_str(), avant);
        QCOMPARE(SauverCal(cal, table, "2027"), (avant & 0222) != 0);
        QCOMPARE(mode(cal), avant);
        fs::remove(vrai);
        ::umask(077);
        QCOMPARE(EcrireLargeur(vrai, "1"), true);
        ::umask(masque);
        QCOMPARE(mode(vrai), 0600u);
        fs::remove(cal);
        fs::remove(vrai);
    }

    // Temporaries that a kill left are removed: only ours, of the file named
    // when one is; a write in progress (locked), look-alikes, folders and links are kept.
    void temporaires()
    {
        const fs::path d = base() / "tmp";
        fs::create_directories(d);
        const char* restes[] = {".Pelvado.ini.ardemo-tmp-a1B2c3", ".x.Cal.ardemo-tmp-000000"};
        const char* gardes[] = {".Pelvado.ini.ardemo-tmp-a1B2c", "Pelvado.ini.ardemo-tmp-a1B2c3",
                                ".Pelvado.ini.ardemo-tmp-a1B2c$", ".ardemo-tmp-abcdef", ".Pelvado.ini.ardemo-tmp-zzzzzz",
                                ".autrui.ardemo-tmp-abcdef"};
        for (auto n : restes)
            EcrireFichier(d / n, "reste");
        for (auto n : gardes)
            EcrireFichier(d / n, "garde");
        const int fd = ::open((d / gardes[4]).c_str(), O_RDONLY);
        QVERIFY(::flock(fd, LOCK_EX) == 0);
        QVERIFY(::geteuid() != 0 || ::chown((d / gardes[5]).c_str(), 65534, 65534) == 0);
        fs::create_directory(d / ".dossier.ardemo-tmp-abcdef");
        fs::create_symlink(d / gardes[0], d / ".lien.ardemo-tmp-abcdef");
        QCOMPARE(NettoyerTemporaires(d, "Pelvado.ini"), 1);
        QVERIFY(fs::exists(d / restes[1]));
        QCOMPARE(NettoyerTemporaires(d), 1);
        for (auto n : gardes)
            QVERIFY2(fs::exists(d / n), n);
        QVERIFY(fs::is_directory(d / ".dossier.ardemo-tmp-abcdef") && fs::is_symlink(d / ".lien.ardemo-tmp-abcdef"));
        // A successful write clears the leftovers of its own file.
        EcrireFichier(d / restes[0], "reste");
        QVERIFY(EcrireLargeur(d / "Pelvado.ini", "90"));
        QVERIFY(!fs::exists(d / restes[0]));
        ::close(fd);
    }
};

QTEST_APPLESS_MAIN(TestFichierIni)
#include "test_fichierini.moc"
