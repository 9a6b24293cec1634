#include <QtTest>

#include "app/Saisies.h"
#include "app/ValeursOptions.h"
#include "output/FormatSortie.h"

class TestSaisies : public QObject {
    Q_OBJECT
private slots:
    void annee_data()
    {
        // Text, warned about, year chosen ("": the year stays as it was).
        QTest::addColumn<QString>("texte");
        QTest::addColumn<bool>("hors");
        QTest::addColumn<QString>("choisie");
        const std::tuple<const char*, bool, const char*> cas[] = {
            {"1582", true, "1582"},    {"1583", false, "1583"},   {"9999", false, "9999"}, {"10000", true, "0000"},
            {" 2027 ", false, "2027"}, {"002027", false, "2027"}, {" 0099 ", true, "0099"}, {"0", true, "0000"},
            {"12345", true, "2345"},   {"99999999999999999999999", true, "9999"},
            {"123456789012345678901234567890", true, "7890"},
            // The number at the start of the text counts, whatever follows it.
            {"2030.", false, "2030"}, {"2015 ", false, "2015"}, {"2027.5", false, "2027"}, {"2 027", false, "2027"},
            {"20a7", true, "0020"}, {"1200x", true, "1200"},
            // No digit at the start: no year.
            {"", true, ""}, {"  ", true, ""}, {"deux mille", true, ""}, {"-2027", true, ""}, {"+2027", true, ""},
            {"&H7E3", true, ""}, {".2027", true, ""}};
        for (auto [texte, hors, choisie] : cas)
            QTest::newRow(texte) << QString(texte) << hors << QString(choisie);
    }
    void annee()
    {
        QFETCH(QString, texte);
        QFETCH(bool, hors);
        QFETCH(QString, choisie);
        QCOMPARE(AnneeHorsPlage(texte.toStdString()), hors);
        QCOMPARE(QString::fromStdString(AnneeChoisie(texte.toStdString()).value_or("")), choisie);
    }

    // Command-line values are digits only; the file type is the extension's.
    void optionsEtNomsDeFichier()
    {
        for (auto [texte, annee, largeur] : {std::tuple{"1583", 1583, 0}, {"9999", 9999, 0}, {"200", 0, 200},
                                             {"30", 0, 30}, {"1582", 0, 0}, {"10000", 0, 0}, {"29", 0, 0},
                                             {" 2027", 0, 0}, {"+2027", 0, 0}, {"2027.0", 0, 0}, {"", 0, 0},
                                             {"0000000002027", 0, 0}}) {
            QCOMPARE(AnneeOption(texte).value_or(0), annee);
            QCOMPARE(LargeurOption(texte).value_or(0), largeur);
        }
        using F = FormatSortie;
        // Name typed, type chosen, name written, its type.
        for (auto [nom, choisi, ecrit, format] :
             {std::tuple{"a.PDF", F::Png, "a.PDF", F::Pdf}, {"a", F::Svg, "a.svg", F::Svg},
              {"a.", F::Png, "a.png", F::Png}, {"a.txt", F::Bmp, "a.txt.bmp", F::Bmp},
              {"d.png/a", F::Pdf, "d.png/a.pdf", F::Pdf}, {"d/.svg", F::Bmp, "d/.svg.bmp", F::Bmp},
              {".bmp", F::Png, ".bmp.png", F::Png}, {"a.jpeg", F::Aucun, "a.jpeg", F::Aucun}}) {
            QCOMPARE(NomAvecExtension(nom, choisi), std::string(ecrit));
            QCOMPARE(FormatDuNom(ecrit), format);
        }
    }

    // Millimetres to twips, to the nearest integer with halves to even
    // (35 mm: 1984.5 -> 1984; 45 mm: 2551.5 -> 2552); 578 mm no longer fits.
    void twips_data()
    {
        QTest::addColumn<double>("mm");
        QTest::addColumn<int>("twips");
        QTest::addColumn<bool>("ok");
        for (auto [mm, twips, ok] : {std::tuple{35, 1984, true}, {45, 2552, true}, {90, 5103, true},
                                     {127, 7201, true}, {577, 32716, true}, {578, 32767, false}})
            QTest::newRow(qPrintable(QString::number(mm))) << double(mm) << twips << ok;
    }
    void twips()
    {
        QFETCH(double, mm);
        QFETCH(int, twips);
        QFETCH(bool, ok);
        bool vu = !ok;
        QCOMPARE(int(MmVersTwips(mm, &vu)), twips);
        QCOMPARE(vu, ok);
    }

    void proportions()
    {
        QCOMPARE(int(TailleAvantDe("90")), 90);
        QCOMPARE(int(TailleAvantDe("")), 0);
        QCOMPARE(int(TailleAvantDe("99999")), 32767);
        // Width, height for it, width for that height.
        for (auto [l, h] : {std::pair{90, 127}, {200, 283}}) {
            QCOMPARE(HauteurPourLargeur(l), h);
            QCOMPARE(LargeurPourHauteur(h), l);
        }
        QCOMPARE(LargeurPourHauteur(128), 90);
        const int largeurs[] = {201, 201, 202, 203, 204, 204, 205}; // heights 284 .. 290
        for (int h = 284; h <= 290; ++h) {
            QCOMPARE(LargeurPourHauteur(h), largeurs[h - 284]);
            QVERIFY(!LargeurValide(LargeurPourHauteur(h)));
        }
        for (int h = 30; h <= 41; ++h)
            QVERIFY(LargeurPourHauteur(h) < 30);
        QCOMPARE(LargeurPourHauteur(42), 30);
        // Every accepted width gives an accepted height.
        for (int w = LargeurMin; w <= LargeurMax; ++w)
            QVERIFY(HauteurValide(HauteurPourLargeur(w)));
    }

    void changementLargeur()
    {
        ChangementLargeur c = CalculLargeur("90", false, 0);
        QVERIFY(c.valide);
        QCOMPARE(int(c.largeurTwips), 5103);
        QCOMPARE(c.hauteur, 127);
        QCOMPARE(int(c.hauteurTwips), 7201);
        QVERIFY(CalculLargeur("30", false, 0).valide);
        for (const char* t : {"29", "201", "", "abc", "0"})
            QVERIFY2(!CalculLargeur(t, false, 0).valide, t);

        // Zone mode: the height follows the zone's own proportion.
        c = CalculLargeur("150", true, 216.0 * 2 / (209.0 * 3)); // two rows, three columns
        QVERIFY(c.valide);
        QCOMPARE(c.hauteur, 103);
        QCOMPARE(int(c.hauteurTwips), 5840);
        // One block wide and four high: above 140 mm the height's twips would
        // overflow 16 bits, so such a width is refused like an out-of-range one.
        const double haute = 216.0 * 4 / 209.0;
        QVERIFY(CalculLargeur("139", true, haute).valide);
        QCOMPARE(HauteurZone(139, haute).value_or(0), 575);
        QVERIFY(!HauteurZone(140, haute));
        QVERIFY(!CalculLargeur("140", true, haute).valide);
        QVERIFY(!CalculLargeur("25", true, 1.0).valide);
        for (double r : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
            QVERIFY(!HauteurZone(90, r));
    }

    void changementHauteur()
    {
        ChangementHauteur c = CalculHauteur("127");
        QVERIFY(c.valide);
        QCOMPARE(int(c.hauteurTwips), 7201);
        QCOMPARE(c.largeur, 90);
        c = CalculHauteur("290");
        QVERIFY(c.valide);
        QCOMPARE(int(c.hauteurTwips), 16443);
        QCOMPARE(c.largeur, 205); // accepted here, refused by the width box
        for (const char* t : {"29", "291", "", "x"})
            QVERIFY2(!CalculHauteur(t).valide, t);
    }
};

QTEST_APPLESS_MAIN(TestSaisies)
#include "test_saisies.moc"
