#include <QtTest>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

#include "app/FichierIni.h"
#include "app/Nombres.h"
#include "app/Reglages.h"

namespace fs = std::filesystem;

namespace {

std::string lire(const fs::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void ecrire(const fs::path& p, std::string_view s)
{
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(s.data(), static_cast<std::streamsize>(s.size()));
}

const std::string FichierDefaut = "[Couleurs]\r\n"
                                  "CoulTxtEntete= 8388736\r\n"
                                  "CoulNoms= 11196138\r\n"
                                  "CoulJours= 14282996\r\n"
                                  "CoulGris= 12632256\r\n"
                                  "CoulF\xE9ri\xE9= 16761087\r\n"
                                  "CoulWeekEnd= 8438015\r\n"
                                  "Grille= 0\r\n"
                                  "Bordure= 13822459\r\n";

} // namespace

class TestFichierIni : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path ini() const { return fs::path(dir.path().toStdString()) / "Pelvado.ini"; }

private slots:
    void init() { fs::remove_all(ini()); }

    void fichierAbsent()
    {
        QCOMPARE(LireIni(ini(), "Couleurs", "CoulNoms"), std::string());
        QCOMPARE(LireIni(ini(), "Couleurs", "CoulNoms", "abc"), std::string("abc"));
        SchemaCouleurs c;
        c.CoulNoms = 42;
        LireCouleurs(ini(), c);
        QCOMPARE(c.CoulNoms, 42.0);
        QCOMPARE(c.CoulFérié, defaut::CoulFérié);
        QCOMPARE(LireLargeur(ini()), std::string());
        QCOMPARE(LireQualite(ini()), std::string());
        QVERIFY(!fs::exists(ini()));
        // A folder in place of the file reads as missing too.
        fs::create_directory(ini());
        QCOMPARE(LireIni(ini(), "Couleurs", "CoulNoms", "d"), std::string("d"));
        QVERIFY(!EcrireLargeur(ini(), "90"));
    }

    void couleursDepuisRien()
    {
        QVERIFY(EcrireCouleurs(ini(), SchemaCouleurs{}));
        QCOMPARE(lire(ini()), FichierDefaut);
        // Written again with the same values: nothing moves.
        QVERIFY(EcrireCouleurs(ini(), SchemaCouleurs{}));
        QCOMPARE(lire(ini()), FichierDefaut);
        // The leading blank is dropped on reading; the number is the same either way.
        QCOMPARE(LireIni(ini(), "Couleurs", "CoulTxtEntete"), std::string("8388736"));
        QCOMPARE(ValeurTexte(" 8388736"), 8388736.0);

        SchemaCouleurs autre;
        for (int i = 0; i < SchemaCouleurs::Nombre; ++i)
            autre.slot(i) = 1;
        LireCouleurs(ini(), autre);
        QCOMPARE(autre.valeurs(), SchemaCouleurs{}.valeurs());

        // New values replace the lines in place, in the same order.
        SchemaCouleurs c;
        c.CoulFérié = 255;
        c.CoulGrille = -1;
        QVERIFY(EcrireCouleurs(ini(), c));
        std::string attendu = FichierDefaut;
        attendu.replace(attendu.find("= 16761087"), 10, "= 255");
        attendu.replace(attendu.find("Grille= 0"), 9, "Grille=-1");
        QCOMPARE(lire(ini()), attendu);
        SchemaCouleurs relu;
        LireCouleurs(ini(), relu);
        QCOMPARE(relu.CoulFérié, 255.0);
        QCOMPARE(relu.CoulGrille, -1.0);
    }

    void tailleEtQualite()
    {
        QVERIFY(EcrireLargeur(ini(), "120"));
        QVERIFY(EcrireQualite(ini(), "-3"));
        QCOMPARE(lire(ini()), std::string("[Taille]\r\nLargeur=120\r\n[Impression]\r\nQualit\xE9=-3\r\n"));
        QCOMPARE(LireLargeur(ini()), std::string("120"));
        QCOMPARE(LireQualite(ini()), std::string("-3"));
        QVERIFY(EcrireLargeur(ini(), "95"));
        QCOMPARE(LireLargeur(ini()), std::string("95"));
    }

    void casseEtPageDeCode()
    {
        ecrire(ini(), "[ COULEURS ]\r\n"
                      "  coulf\xC9RI\xC9  =  255  \r\n"
                      "CoulF\xC3\xA9ri\xC3\xA9=1\r\n"      // UTF-8 spelling: another key
                      "[impression]\n"
                      "QUALIT\xC9=-2\n");
        SchemaCouleurs c;
        LireCouleurs(ini(), c);
        QCOMPARE(c.CoulFérié, 255.0);
        QCOMPARE(c.CoulNoms, defaut::CoulNoms);
        QCOMPARE(LireQualite(ini()), std::string("-2"));
        QCOMPARE(LireIni(ini(), "Impression", "Qualit\xC3\xA9", "x"), std::string("x"));
        QCOMPARE(LireIni(ini(), "Couleurs", "CoulF\xC3\xA9ri\xC3\xA9"), std::string("1"));
        // Other accented capitals of the code page fold too; ASCII only folds letters.
        ecrire(ini(), "[\xC0\x8A]\nA\xDE=1\n[x]\n@=2\n");
        QCOMPARE(LireIni(ini(), "\xE0\x9A", "a\xFE"), std::string("1"));
        QCOMPARE(LireIni(ini(), "X", "`"), std::string());

        // A write finds the key whatever its case and keeps the file's spelling.
        ecrire(ini(), "[impression]\r\nQUALIT\xC9=-2\r\n");
        QVERIFY(EcrireQualite(ini(), "-1"));
        QCOMPARE(lire(ini()), std::string("[impression]\r\nQUALIT\xC9=-1\r\n"));
        // The UTF-8 spelling is left alone and the real key added after it.
        ecrire(ini(), "[Impression]\r\nQualit\xC3\xA9=-2\r\n");
        QVERIFY(EcrireQualite(ini(), "-4"));
        QCOMPARE(lire(ini()), std::string("[Impression]\r\nQualit\xC3\xA9=-2\r\nQualit\xE9=-4\r\n"));
    }

    void autresLignesConservees()
    {
        const std::string debut = "; r\xE9glages\n"
                                  "\n"
                                  "[Autre]\r\n"
                                  "Cl\xE9 = valeur  ; pas un commentaire\r\n"
                                  "  \t\r\n";
        const std::string couleurs = "[Couleurs]\n"
                                     "CoulNoms=1\n"
                                     "; note\n"
                                     "CoulGris=2\n";
        const std::string fin = "\n"
                                "; fin\n"
                                "[Taille]\n"
                                "Largeur=100";
        ecrire(ini(), debut + couleurs + fin);
        QCOMPARE(LireIni(ini(), "Autre", "Cl\xC9"), std::string("valeur  ; pas un commentaire"));

        // Replaced in place.
        QVERIFY(EcrireIni(ini(), "Couleurs", "CoulNoms", " 7"));
        std::string couleurs2 = "[Couleurs]\nCoulNoms= 7\r\n; note\nCoulGris=2\n";
        QCOMPARE(lire(ini()), debut + couleurs2 + fin);
        // Added after the last key of its section, before the blank line.
        QVERIFY(EcrireIni(ini(), "Couleurs", "Grille", " 0"));
        couleurs2 += "Grille= 0\r\n";
        QCOMPARE(lire(ini()), debut + couleurs2 + fin);
        // The last line has no line end: replacing it gives it one.
        QVERIFY(EcrireLargeur(ini(), "90"));
        std::string fin2 = "\n; fin\n[Taille]\nLargeur=90\r\n";
        QCOMPARE(lire(ini()), debut + couleurs2 + fin2);
        // A new section goes at the end.
        QVERIFY(EcrireQualite(ini(), "-3"));
        QCOMPARE(lire(ini()), debut + couleurs2 + fin2 + "[Impression]\r\nQualit\xE9=-3\r\n");
        QCOMPARE(LireIni(ini(), "Autre", "Cl\xE9"), std::string("valeur  ; pas un commentaire"));

        // A file cut after a key with no line end, and a section header alone.
        ecrire(ini(), "[Couleurs]\r\nCoulNoms=3");
        QVERIFY(EcrireIni(ini(), "Couleurs", "CoulGris", "4"));
        QCOMPARE(lire(ini()), std::string("[Couleurs]\r\nCoulNoms=3\r\nCoulGris=4\r\n"));
        ecrire(ini(), "[Couleurs]");
        QVERIFY(EcrireIni(ini(), "Couleurs", "CoulGris", "4"));
        QCOMPARE(lire(ini()), std::string("[Couleurs]\r\nCoulGris=4\r\n"));
        ecrire(ini(), "x\r");
        QVERIFY(EcrireLargeur(ini(), "90"));
        QCOMPARE(lire(ini()), std::string("x\r\n[Taille]\r\nLargeur=90\r\n"));
        // Only the first section of a name counts, for reading and for writing.
        ecrire(ini(), "[Taille]\nA=1\n[Taille]\nLargeur=50\n");
        QCOMPARE(LireLargeur(ini()), std::string());
        QVERIFY(EcrireLargeur(ini(), "60"));
        QCOMPARE(lire(ini()), std::string("[Taille]\nA=1\nLargeur=60\r\n[Taille]\nLargeur=50\n"));
        QCOMPARE(LireLargeur(ini()), std::string("60"));
    }

    void valeursNumeriques()
    {
        ecrire(ini(), "[Couleurs]\r\n"
                      "CoulTxtEntete=&HFF\r\n"
                      "CoulNoms=&o17\r\n"
                      "CoulJours=bleu\r\n"
                      "CoulGris=\r\n"
                      "CoulF\xE9ri\xE9=  -12  \r\n"
                      "CoulWeekEnd=\"255\"\r\n"
                      "Grille=1.5E3\r\n");
        SchemaCouleurs c;
        LireCouleurs(ini(), c);
        QCOMPARE(c.CoulTxtEntete, 255.0);
        QCOMPARE(c.CoulNoms, 15.0);
        QCOMPARE(c.CoulJours, 0.0);                 // not a number: black
        QCOMPARE(c.CoulGris, defaut::CoulGris);     // empty: default kept
        QCOMPARE(c.CoulFérié, -12.0);
        QCOMPARE(c.CoulWeekEnd, 255.0);             // enclosing quotes dropped
        QCOMPARE(c.CoulGrille, 1500.0);
        QCOMPARE(c.CoulBordure, defaut::CoulBordure); // missing: default kept
    }

    void valeurTropLongue()
    {
        const std::string longue(300, 'x');
        QVERIFY(EcrireLargeur(ini(), longue));
        QCOMPARE(LireLargeur(ini()), std::string(254, 'x'));
        QCOMPARE(LireIni(ini(), "Taille", "Largeur", "", 10), std::string(9, 'x'));
        QCOMPARE(LireIni(ini(), "Taille", "Largeur", "", 0), std::string());
        QCOMPARE(LireIni(ini(), "Taille", "Rien", "defaut", 4), std::string("def"));
    }

    void lignesMalFormees()
    {
        static const char donnees[] = "[Couleurs\nCoulNoms=1\n" // '[' without ']': no section
                                      "[Taille]\n"
                                      "Largeur\n"                // no '='
                                      "=5\n"                     // no name
                                      "[Couleurs]]x\n"
                                      "CoulGris=12\0" "34\n"     // NUL ends the value
                                      "\xFF\xFE\0\0\x01=\x80\n"
                                      "CoulJours";
        ecrire(ini(), std::string_view(donnees, sizeof donnees - 1));
        QCOMPARE(LireIni(ini(), "Couleurs", "CoulNoms", "d"), std::string("d"));
        QCOMPARE(LireLargeur(ini()), std::string());
        QCOMPARE(LireIni(ini(), "Couleurs", "CoulGris"), std::string("12"));
        QCOMPARE(LireIni(ini(), "Couleurs", "CoulJours", "d"), std::string("d"));
        QCOMPARE(LireIni(ini(), "Couleurs", "", "d"), std::string("d"));
        // Writing the width adds a real key; the odd lines stay.
        const std::string avant = lire(ini());
        QVERIFY(EcrireLargeur(ini(), "90"));
        QCOMPARE(LireLargeur(ini()), std::string("90"));
        QCOMPARE(lire(ini()).size(), avant.size() + 12);

        // A UTF-8 byte order mark does not hide the first section.
        ecrire(ini(), "\xEF\xBB\xBF[Taille]\r\nLargeur=70\r\n");
        QCOMPARE(LireLargeur(ini()), std::string("70"));
    }

    void ecrituresRefusees()
    {
        ecrire(ini(), "[Taille]\r\nLargeur=90\r\n");
        const std::string avant = lire(ini());
        // Names and values that would not stay on one line.
        QVERIFY(!EcrireIni(ini(), "Taille", "Largeur", "1\r\n[X]"));
        QVERIFY(!EcrireIni(ini(), "Taille", "Lar=geur", "1"));
        QVERIFY(!EcrireIni(ini(), "Taille", "", "1"));
        QVERIFY(!EcrireIni(ini(), "Taille", ";x", "1"));
        QVERIFY(!EcrireIni(ini(), "Tai]lle", "x", "1"));
        QVERIFY(!EcrireIni(ini(), "Taille", "x", std::string_view("a\0b", 3)));
        QCOMPARE(lire(ini()), avant);

        // The folder does not exist; a file stands where the folder should be.
        const fs::path base = dir.path().toStdString();
        QVERIFY(!EcrireLargeur(base / "absent" / "Pelvado.ini", "90"));
        QVERIFY(!fs::exists(base / "absent"));
        ecrire(base / "unfichier", "x");
        QVERIFY(!EcrireLargeur(base / "unfichier" / "Pelvado.ini", "90"));
        QCOMPARE(lire(base / "unfichier"), std::string("x"));
        QCOMPARE(LireLargeur(base / "unfichier" / "Pelvado.ini"), std::string());

        // A file over the size limit reads as missing and is not rewritten.
        ecrire(ini(), "[Taille]\r\nLargeur=90\r\n");
        fs::resize_file(ini(), TailleMaxIni + 1);
        QCOMPARE(LireLargeur(ini()), std::string());
        QVERIFY(!EcrireLargeur(ini(), "80"));
        QCOMPARE(fs::file_size(ini()), TailleMaxIni + 1);
        fs::resize_file(ini(), TailleMaxIni);
        QCOMPARE(LireLargeur(ini()), std::string("90"));
        fs::remove(ini());

        // No temporary file is left behind by the failures.
        int n = 0;
        for (const auto& e : fs::directory_iterator(base))
            n += e.path().filename().string().find(".tmp") != std::string::npos;
        QCOMPARE(n, 0);
    }

    void dossierEnLectureSeule()
    {
        if (::geteuid() == 0)
            QSKIP("running as root: permission bits do not stop writes");
        const fs::path d = fs::path(dir.path().toStdString()) / "ro";
        fs::create_directory(d);
        ecrire(d / "Pelvado.ini", "[Taille]\r\nLargeur=90\r\n");
        fs::permissions(d, fs::perms::owner_read | fs::perms::owner_exec);
        const bool ok = EcrireLargeur(d / "Pelvado.ini", "120");
        const std::string lu = LireLargeur(d / "Pelvado.ini");
        fs::permissions(d, fs::perms::owner_all);
        QVERIFY(!ok);
        QCOMPARE(lu, std::string("90"));
    }

    void lienSymbolique()
    {
        const fs::path base = dir.path().toStdString();
        ecrire(base / "vrai.ini", "[Taille]\r\nLargeur=90\r\n");
        fs::create_symlink(base / "vrai.ini", ini());
        QVERIFY(EcrireLargeur(ini(), "100"));
        QVERIFY(fs::is_symlink(ini()));
        QCOMPARE(lire(base / "vrai.ini"), std::string("[Taille]\r\nLargeur=100\r\n"));
        fs::remove(base / "vrai.ini");
        QVERIFY(!EcrireLargeur(ini(), "100")); // dangling link: nothing written
    }

    // Random bytes never crash the reader, the writer or ValeurTexte, and a
    // successful write reads back while leaving other keys as they were.
    void octetsAuHasard()
    {
        std::mt19937 gen(20240611);
        const std::string alphabet = std::string("[]=;\r\n\t \"'&HhOoEe.-+0123456789abcTailleLargeurAutreCle\xE9\xC9\xFF")
                                     + std::string(1, '\0');
        std::uniform_int_distribution<int> longueur(0, 400), octet(0, 255), mode(0, 3);
        std::uniform_int_distribution<size_t> choix(0, alphabet.size() - 1);
        for (int essai = 0; essai < 3000; ++essai) {
            std::string s(size_t(longueur(gen)), '\0');
            const bool brut = mode(gen) == 0;
            for (char& c : s)
                c = brut ? char(octet(gen)) : alphabet[choix(gen)];
            fs::remove(ini()); // a fresh file: rewriting in place would flush the disk each time
            ecrire(ini(), s);
            const std::string avant = LireIni(ini(), "Autre", "Cle", "-");
            const std::string largeur = LireLargeur(ini());
            QVERIFY(largeur.size() <= 254);
            QVERIFY(largeur.find('\0') == std::string::npos);
            QVERIFY(!std::isnan(ValeurTexte(s)));
            QVERIFY(!std::isnan(ValeurTexte(largeur)));
            EstNombre(s);
            if (essai % 30 == 0) { // a hundred writes: each one syncs the disk
                QVERIFY(EcrireLargeur(ini(), "123"));
                QCOMPARE(LireLargeur(ini()), std::string("123"));
                QCOMPARE(LireIni(ini(), "Autre", "Cle", "-"), avant);
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestFichierIni)
#include "test_fichierini.moc"
