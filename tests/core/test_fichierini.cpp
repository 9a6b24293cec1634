#include <atomic>
#include <csignal>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

#include "tests/Verifier.h"
#include "app/Reglages.h"
#include "commun/EcritureAtomique.h"
#include "commun/FichierIni.h"
#include "commun/LectureBornee.h"
#include "commun/NomsFichiers.h"
#include "special/FichierCal.h"
#include "tests/core/Outils.h"

namespace fs = std::filesystem;
using namespace std::literals;
// (Random files: the fuzzing harness tests/fuzz/fuzz_ini.cpp; memory at the size limit: bench_ini.)

static unsigned mode(const fs::path& p) { return unsigned(fs::status(p).permissions()) & 07777; }

class TestFichierIni : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path base() const { return dir.path().toStdString(); }
    fs::path ini() const { return base() / "Pelvado.ini"; }

private slots:
    void initTestCase() { verifierLocale(); }
    void init() { fs::remove(ini()), fs::remove(base() / "ailleurs.ini"); }

    void lectureEtEcriture()
    {
        // File, section, key, value read ("d" when missing). Names match without regard to case, in the
        // file's code page; UTF-8 is another name. Only the first section of a name counts.
        const std::tuple<std::string_view, const char*, const char*, std::string_view> cas[] = {
            {"[ COULEURS ]\r\n  coulf\xC9RI\xC9  =  255  \r\n", "Couleurs", "CoulF\xE9ri\xE9", "255"},
            {"[\xC0\x8A]\nA\xDE=1\n", "\xE0\x9A", "a\xFE", "1"}, {"[x]\n@=2\n", "X", "`", "d"},
            {"[Couleurs]\nCoulF\xC3\xA9ri\xC3\xA9=1\n", "Couleurs", "CoulF\xE9ri\xE9", "d"}, {"[A]\nB=\"x'\n", "A", "B", "\"x'"},
            {"[A]\r\nB = v  ; pas un commentaire\r\n", "A", "B", "v  ; pas un commentaire"}, {"[A]\nB=12\0" "34\n"sv, "A", "B", "12"},
            {"\xEF\xBB\xBF[Taille]\r\nLargeur=70\r\n", "Taille", "Largeur", "70"}, {"[T]\nA=1\n[T]\nB=50\n", "T", "B", "d"},
            {"[T\nB=1\n", "T", "B", "d"}, {"[T]\nB\n=5\nx=1", "T", "B", "d"}, {"[A]]x\n\xFF\xFE\0\0\x01=\x80\nB=1"sv, "A", "B", "1"}};
        for (auto [fichier, section, cle, valeur] : cas) {
            EcrireFichier(ini(), fichier);
            QCOMPARE(LireIni(ini(), section, cle, "d"), std::string(valeur));
        }
        // Colours: an empty or missing value keeps the slot, text gives its value, quotes are removed.
        EcrireFichier(ini(), "[Couleurs]\r\nCoulJours=bleu\r\nCoulGris=\r\nCoulWeekEnd=  \"255\" \r\nCoulNoms='7'\r\n");
        SchemaCouleurs c;
        FichierReglages(ini()).LireCouleurs(c);
        QCOMPARE((std::array{c.CoulJours, c.CoulGris, c.CoulWeekEnd, c.CoulNoms, c.CoulFerie}),
                 (std::array<double, 5>{0, defaut::CoulGris, 255, 7, defaut::CoulFerie}));

        // File before; section, key and value written; file after. Other lines keep their bytes.
        const char* debut = "; r\xE9glages\n\n[A]\r\nB = v  ; x\r\n  \t\r\n[Couleurs]\nCoulNoms=1\n; note\nCoulGris=2\n";
        const std::tuple<std::string, const char*, const char*, const char*, std::string> ecritures[] = {
            {debut + "\n; fin\n"s, "Couleurs", "CoulNoms", " 7", "; r\xE9glages\n\n[A]\r\nB = v  ; x\r\n  \t\r\n"
                                                                 "[Couleurs]\nCoulNoms= 7\r\n; note\nCoulGris=2\n\n; fin\n"},
            {debut + "[T]"s, "Couleurs", "Grille", "0", debut + "Grille=0\r\n[T]"s},
            {"[T]\nLargeur=100", "T", "Largeur", "90", "[T]\nLargeur=90\r\n"}, {"[C]", "C", "G", "4", "[C]\r\nG=4\r\n"},
            {"[C]\r\nN=3", "C", "G", "4", "[C]\r\nN=3\r\nG=4\r\n"}, {"x\r", "T", "L", "90", "x\r\n[T]\r\nL=90\r\n"},
            {"[T]\nA=1\n[T]\nL=50\n", "T", "L", "60", "[T]\nA=1\nL=60\r\n[T]\nL=50\n"},
            // The key keeps the file's spelling; a UTF-8 spelling is another key.
            {"[i]\r\nQUALIT\xC9=-2\r\nx=\r\n", "I", "Qualit\xE9", "-1", "[i]\r\nQUALIT\xC9=-1\r\nx=\r\n"},
            {"[I]\r\nQualit\xC3\xA9=-2\r\n", "I", "Qualit\xE9", "-4", "[I]\r\nQualit\xC3\xA9=-2\r\nQualit\xE9=-4\r\n"},
            {"[C\nA=1\n[T]\nL\n=5\n\xFF\xFE\0\0\x01=\x80\nB"s, "T", "L", "9", "[C\nA=1\n[T]\nL\n=5\n\xFF\xFE\0\0\x01=\x80\nL=9\r\nB"s}};
        for (const auto& [avant, section, cle, valeur, apres] : ecritures) {
            EcrireFichier(ini(), avant);
            QVERIFY(EcrireIni(ini(), section, cle, valeur));
            QCOMPARE(LireFichier(ini()), apres);
        }
        // Names and values that would not stay on one line.
        for (auto [section, cle, valeur] : {std::tuple{"T", "L", "1\r\n[X]"sv}, {"T", "L=g", "1"sv}, {"T", "", "1"sv},
                                            {"T", ";x", "1"sv}, {"T]x", "x", "1"sv}, {"T", "x", "a\0b"sv}})
            QVERIFY(!EcrireIni(ini(), section, cle, valeur));
        // Over the size limit the file reads as missing and is not rewritten.
        const std::string contenu = "[Taille]\r\nLargeur=90\r\n";
        EcrireFichier(ini(), contenu);
        fs::resize_file(ini(), TailleMaxIni + 1);
        VERIFIER(FichierReglages(ini()).LireLargeur().empty(), !FichierReglages(ini()).EcrireLargeur("80"));
        fs::resize_file(ini(), TailleMaxIni);
        QCOMPARE(FichierReglages(ini()).LireLargeur(), "90"s);
        // A write failing once its temporary exists (the file size limit stops it)
        // removes the temporary and leaves the file whole.
        EcrireFichier(ini(), contenu);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit avant {};
        ::getrlimit(RLIMIT_FSIZE, &avant);
        const rlimit limite {16, avant.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limite);
        const bool ecrit = FichierReglages(ini()).EcrireLargeur("120");
        ::setrlimit(RLIMIT_FSIZE, &avant);
        VERIFIER(!ecrit, LireFichier(ini()) == contenu);
        for (const auto& e : fs::directory_iterator(base()))
            QVERIFY2(!EstFichierTemporaire(e.path().filename().string()), e.path().c_str());
    }

    // Rewrites keep the permission bits; a file made read-only is not written; a link is written through (and
    // stays a link) only to a regular file of the user. Files of another user are made as root (as in CI).
    void droitsEtLiens()
    {
        // Mode; link: 0 none, 1 ours, 2 made by someone else, 3 to someone else's file, 4 dangling; written.
        for (auto [nom, avant, lien, ecrit] : {std::tuple{"0600", 0600u, 0, true}, {"0604", 0604u, 0, true},
             {"0444", 0444u, 0, false}, {"lien 0640", 0640u, 1, true}, {"lien d'autrui", 0600u, 2, false},
             {"vers autrui", 0666u, 3, false}, {"lien cassé", 0600u, 4, false}}) {
            init();
            if ((lien == 2 || lien == 3) && ::geteuid() != 0) continue; // another user's files need root
            const fs::path vrai = lien ? base() / "ailleurs.ini" : ini();
            EcrireFichier(vrai, "[Taille]\r\nLargeur=90\r\n");
            fs::permissions(vrai, fs::perms(avant));
            if (lien) fs::create_symlink(lien == 4 ? base() / "absent" : vrai, ini());
            QVERIFY(lien != 2 || ::lchown(ini().c_str(), 65534, 65534) == 0);
            QVERIFY(lien != 3 || ::chown(vrai.c_str(), 65534, 65534) == 0);
            const mode_t masque = ::umask(022);
            FichierReglages r(ini());
            r.LireLargeur(); // as at start-up: the write below is a change
            const bool ok = r.EcrireLargeur("120");
            QCOMPARE(std::tuple(nom, ok, FichierReglages(vrai).LireLargeur() == (ok ? "120" : "90"), mode(vrai),
                                fs::is_symlink(ini())),
                     std::tuple(nom, ecrit, true, avant, lien != 0));
            fs::remove(vrai);
            ::umask(027); // a new file gets 0666 less the umask
            QVERIFY2(FichierReglages(vrai).EcrireLargeur("1") && mode(vrai) == 0640u, nom);
            ::umask(masque);
        }
    }

    // Temporaries that a kill left are removed: only ours, of the file named when one
    // is; a write in progress (locked), look-alikes, another user's, folders and links are kept.
    void temporaires()
    {
        const fs::path d = base() / "tmp", dossier = d / ".dossier.ardemo-tmp-abcdef", lien = d / ".lien.ardemo-tmp-abcdef";
        const char* noms[] = {".Pelvado.ini.ardemo-tmp-a1B2c3", ".x.Cal.ardemo-tmp-000000", // then those kept:
                              ".Pelvado.ini.ardemo-tmp-a1B2c", "Pelvado.ini.ardemo-tmp-a1B2c3", ".ardemo-tmp-abcdef",
                              ".Pelvado.ini.ardemo-tmp-a1B2c$", ".Pelvado.ini.ardemo-tmp-zzzzzz", ".autrui.ardemo-tmp-abcdef"};
        fs::create_directories(dossier);
        for (auto n : noms) EcrireFichier(d / n, "x");
        const int fd = ::open((d / noms[6]).c_str(), O_RDONLY);
        QVERIFY(::flock(fd, LOCK_EX) == 0);
        QVERIFY(::geteuid() != 0 || ::chown((d / noms[7]).c_str(), 65534, 65534) == 0);
        fs::create_symlink(d / noms[2], lien);
        QCOMPARE(NettoyerTemporaires(d, "Pelvado.ini"), 1);
        QVERIFY(fs::exists(d / noms[1]));
        QCOMPARE(NettoyerTemporaires(d), 1);
        for (auto n = noms + 2; n != std::end(noms); ++n) QVERIFY2(fs::exists(d / *n), *n);
        VERIFIER(fs::is_directory(dossier), fs::is_symlink(lien));
        EcrireFichier(d / noms[0], "x"); // a successful write clears the leftovers of its own file
        VERIFIER(FichierReglages(d / "Pelvado.ini").EcrireLargeur("90"), !fs::exists(d / noms[0]));
        ::close(fd);
    }

    // A lock another process holds: a write waits a bounded time, or not at all, and says Occupe; once let go it goes
    // through. A file over the size limit is said to be so, read or written.
    void verrouTenuEtTropGros()
    {
        EcrireFichier(ini(), "[Taille]\r\nLargeur=90\r\n");
        int tube[2];
        QVERIFY(::pipe(tube) == 0);
        const pid_t tient = ::fork();
        if (tient == 0) {
            const int fd = ::open(ini().c_str(), O_RDONLY);
            if (::flock(fd, LOCK_EX) == 0 && ::write(tube[1], "x", 1) == 1) ::pause();
            ::_exit(1);
        }
        char c;
        const EntreeIni e{"Taille", "Largeur", "120"};
        VERIFIER(::read(tube[0], &c, 1) == 1, EcrireIniAttente(ini(), {&e, 1}, 0ms) == EcritureIni::Occupe,
                 EcrireIniAttente(ini(), {&e, 1}, 50ms) == EcritureIni::Occupe, FichierReglages(ini()).LireLargeur() == "90",
                 MotifEcritureIni(EcritureIni::Occupe) == "un autre programme tient le fichier de réglages");
        // The window's settings do not wait either: kept back, written once the file is let go.
        FichierReglages r(ini());
        int occupe = 0;
        r.SignalerOccupe([&] { ++occupe; });
        VERIFIER(!r.EcrireLargeur("150"), r.EnAttente(), occupe == 1, FichierReglages(ini()).LireLargeur() == "90");
        ::kill(tient, SIGKILL);
        ::waitpid(tient, nullptr, 0);
        VERIFIER(r.Reessayer(), !r.EnAttente(), FichierReglages(ini()).LireLargeur() == "150");
        VERIFIER(EcrireIniAttente(ini(), {&e, 1}, 0ms) == EcritureIni::Ecrit, FichierReglages(ini()).LireLargeur() == "120");
        fs::resize_file(ini(), TailleMaxIni + 1);
        VERIFIER(ExaminerIni(ini()) == EtatLecture::TropGros, EcrireIniAttente(ini(), {&e, 1}, 0ms) == EcritureIni::TropGros);
        ::close(tube[0]), ::close(tube[1]);
    }

    // Three writers of one shared target while a clean-up runs without pause (which took temporaries between
    // their creation and their lock): no write fails, so none leaves a partial set.
    void ecrivainsConcurrents()
    {
        const fs::path d = base() / "concurrents";
        fs::create_directories(d);
        const pid_t nettoyeur = ::fork();
        if (nettoyeur == 0)
            for (;;) NettoyerTemporaires(d);
        pid_t ecrivains[3];
        for (int n = 0; n < 3; ++n)
            if ((ecrivains[n] = ::fork()) == 0) {
                int echecs = 0;
                for (int i = 0; i < 300; ++i)
                    echecs += !EcrireFichiersAtomiques({{d / ("o" + std::to_string(n)), "o"}, {d / "commun", "c"}});
                ::_exit(std::min(echecs, 100));
            }
        for (pid_t e : ecrivains) {
            int etat = 1;
            VERIFIER(::waitpid(e, &etat, 0) == e, WIFEXITED(etat), WEXITSTATUS(etat) == 0);
        }
        ::kill(nettoyeur, SIGKILL);
        ::waitpid(nettoyeur, nullptr, 0);
    }

    // Names of up to 255 bytes are written (the temporary's name is cut to fit); files written together are all
    // replaced or none (here the last is a pipe); a reader never waits on a name swapped for a pipe after a look.
    void nomsLongsGroupesEtTubes()
    {
        std::string nom = "x";
        while (nom.size() < 255) nom += "\xC3\xA9"; // 1 + 127 x "é"
        const double table[13][43] = {};
        VERIFIER(FichierReglages(base() / nom).EcrireLargeur("90"), SauverCal(base() / (nom.substr(0, 251) + ".Cal"), table, "2027"));
        const fs::path tube = base() / "tube", a = base() / "a";
        QVERIFY(::mkfifo(tube.c_str(), 0600) == 0);
        EcrireFichier(a, "ancien");
        VERIFIER(!EcrireFichiersAtomiques({{a, "nouveau"}, {base() / "b", "b"}, {tube, "x"}}), LireFichier(a) == "ancien",
                 !fs::exists(base() / "b"), EcrireFichiersAtomiques({{a, "nouveau"}, {base() / "b", "b"}}));
        for (const auto& e : fs::directory_iterator(base()))
            QVERIFY2(!EstFichierTemporaire(e.path().filename().string()), e.path().c_str());

        std::atomic<bool> fini = false;
        fs::create_symlink(a, ini());
        std::thread echange([&] {
            for (int i = 0; !fini; ++i) {
                fs::remove(base() / "lien");
                fs::create_symlink(i % 2 ? tube : a, base() / "lien");
                fs::rename(base() / "lien", ini());
                const int f = ::open(tube.c_str(), O_WRONLY | O_NONBLOCK); // lets go a reader waiting on the pipe
                if (f >= 0) ::close(f);
            }
        });
        std::string lu;
        int mauvais = 0;
        for (int i = 0; i < 20000; ++i) {
            const EtatLecture e = LireFichierBorne(ini(), 100, lu);
            mauvais += !(e == EtatLecture::Illisible || (e == EtatLecture::Lu && lu == "nouveau"));
        }
        fini = true;
        echange.join();
        QCOMPARE(mauvais, 0);
        // Names that are not UTF-8 come back to their bytes through the text the windows show.
        for (int o = 0; o < 65536; ++o) {
            const std::string octets{char(o >> 8), char(o & 0xFF), '\xE9', '\xED', '\xA0', '\x80', '\xF0', '\x9F', '\x98'};
            QVERIFY(OctetsDuNom(NomDepuisOctets(octets)) == octets);
        }
        QVERIFY(NomDepuisOctets("caf\xC3\xA9 \xF0\x9F\x98\x80\xE9") == u"caf\u00E9 \U0001F600\xDCE9");
    }

    // Two copies of the program on one file (processes): A types 150, B then types 120, A leaves its box again
    // unchanged: the file keeps 120. A copy started while the file had no width (or no colour, or held it as
    // " 255") writes back the value it used unchanged: another copy's value stays. Writers at once lose
    // nothing; the eight colours go in one rewrite or none.
    void deuxCopies()
    {
        const auto copie = [](const std::function<bool()>& faire) {
            const pid_t pid = ::fork();
            if (pid == 0) ::_exit(faire() ? 0 : 1);
            int etat = 1;
            return ::waitpid(pid, &etat, 0) == pid && WIFEXITED(etat) && WEXITSTATUS(etat) == 0;
        };
        const auto largeur = [&] { return FichierReglages(ini()).LireLargeur(); };
        FichierReglages a(ini()), b(ini());
        a.LireLargeur();
        VERIFIER(a.EcrireLargeur("150"), copie([&] { return FichierReglages(ini()).EcrireLargeur("120"); }),
                 a.EcrireLargeur("150"), largeur() == "120");
        EcrireFichier(ini(), "[Couleurs]\r\nCoulJours= 255\r\n");
        SchemaCouleurs vus, autres;
        b.LireLargeur(), b.LireCouleurs(vus);
        autres.CoulJours = 7, autres.CoulGris = 5;
        VERIFIER(copie([&] { return FichierReglages(ini()).EcrireLargeur("150") && FichierReglages(ini()).EcrireCouleurs(autres); }),
                 b.EcrireLargeur("90"), (vus.CoulNoms = 1, b.EcrireCouleurs(vus)), largeur() == "150");
        QCOMPARE((std::array{LireIni(ini(), "Couleurs", "CoulJours"), LireIni(ini(), "Couleurs", "CoulGris"),
                             LireIni(ini(), "Couleurs", "CoulNoms")}), (std::array{"7"s, "5"s, "1"s}));
        fs::remove(ini());
        pid_t enfants[2];
        for (int n = 0; n < 2; ++n)
            if ((enfants[n] = ::fork()) == 0) {
                bool ok = true;
                for (int i = 0; i < 150; ++i)
                    ok = EcrireIni(ini(), "Test", "C" + std::to_string(n) + "_" + std::to_string(i), "1") && ok;
                ::_exit(ok ? 0 : 1);
            }
        for (pid_t e : enfants) {
            int etat = 1;
            VERIFIER(::waitpid(e, &etat, 0) == e, WIFEXITED(etat) && WEXITSTATUS(etat) == 0);
        }
        for (int i = 0; i < 300; ++i)
            QCOMPARE(LireIni(ini(), "Test", "C" + std::to_string(i % 2) + "_" + std::to_string(i / 2)), "1"s);
        // The eight keys do not fit under the file size limit: none is written.
        const std::string avant = "[Taille]\r\nLargeur=90\r\n";
        EcrireFichier(ini(), avant);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limite {}, garde {};
        ::getrlimit(RLIMIT_FSIZE, &garde);
        limite = {120, garde.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limite);
        const bool ecrit = FichierReglages(ini()).EcrireCouleurs(SchemaCouleurs{});
        ::setrlimit(RLIMIT_FSIZE, &garde);
        VERIFIER(!ecrit, LireFichier(ini()) == avant);
        // A folder that cannot hold the settings is said once; a file made read-only is meant so.
        int signales = 0;
        FichierReglages lecteurSeul(ini()), ailleurs(base() / "fichier/Pelvado.ini");
        for (FichierReglages* r : {&lecteurSeul, &ailleurs})
            r->SignalerEchec([&](const fs::path&) { ++signales; });
        EcrireFichier(base() / "fichier", "x");
        fs::permissions(ini(), fs::perms(0444));
        VERIFIER(!lecteurSeul.EcrireLargeur("80"), signales == 0, !ailleurs.EcrireLargeur("80"),
                 !ailleurs.EcrireCouleurs(SchemaCouleurs{}), signales == 1);
        fs::permissions(ini(), fs::perms(0644));
    }
};

QTEST_APPLESS_MAIN(TestFichierIni)
#include "test_fichierini.moc"
