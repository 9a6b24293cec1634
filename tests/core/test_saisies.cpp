#include <QtTest>

#include "app/Saisies.h"

class TestSaisies : public QObject {
    Q_OBJECT
private slots:
    void annee()
    {
        QVERIFY(AnneeHorsPlage("1200"));
        QVERIFY(AnneeHorsPlage("12345"));
        QVERIFY(AnneeHorsPlage("1582"));
        QVERIFY(!AnneeHorsPlage("1583"));
        QVERIFY(!AnneeHorsPlage("9999"));
        QVERIFY(!AnneeHorsPlage(" 2027 "));
        QVERIFY(!AnneeHorsPlage("002027"));
        QVERIFY(AnneeHorsPlage("10000"));
        QVERIFY(AnneeHorsPlage("99999999999999999999999"));
        // Not a whole non-negative number: warned about, and the year stays.
        for (const char* t : {"", "  ", "20a7", "deux mille", "-2027", "2027.5", "+2027", "&H7E3", "2 027"}) {
            QVERIFY2(AnneeHorsPlage(t), t);
            QVERIFY2(!AnneeChoisie(t), t);
        }

        QCOMPARE(AnneeChoisie("1200"), std::optional<std::string>("1200"));
        QCOMPARE(AnneeChoisie("2015"), std::optional<std::string>("2015"));
        QCOMPARE(AnneeChoisie("99"), std::optional<std::string>("0099"));
        QCOMPARE(AnneeChoisie("0"), std::optional<std::string>("0000"));
        QCOMPARE(AnneeChoisie("12345"), std::optional<std::string>("2345"));
        QCOMPARE(AnneeChoisie(" 0099 "), std::optional<std::string>("0099"));
        QCOMPARE(AnneeChoisie("123456789012345678901234567890"), std::optional<std::string>("7890"));

        QCOMPARE(JourEnDeuxChiffres(7), std::string("07"));
        QCOMPARE(JourEnDeuxChiffres(31), std::string("31"));
    }

    void twips()
    {
        QCOMPARE(int(MmVersTwips(35)), 1984);
        QCOMPARE(int(MmVersTwips(45)), 2552);
        QCOMPARE(int(MmVersTwips(195)), 11056);
        QCOMPARE(int(MmVersTwips(90)), 5103);
        QCOMPARE(int(MmVersTwips(127)), 7201);
        QCOMPARE(int(MmVersTwips(290)), 16443);
        bool ok = false;
        QCOMPARE(int(MmVersTwips(577, &ok)), 32716);
        QVERIFY(ok);
        QCOMPARE(int(MmVersTwips(578, &ok)), 32767);
        QVERIFY(!ok);
        QCOMPARE(int(TailleAvantDe("90")), 90);
        QCOMPARE(int(TailleAvantDe("")), 0);
        QCOMPARE(int(TailleAvantDe("99999")), 32767);
    }

    void proportions()
    {
        QCOMPARE(HauteurPourLargeur(90), 127);
        QCOMPARE(LargeurPourHauteur(127), 90);
        QCOMPARE(LargeurPourHauteur(128), 90);
        QCOMPARE(HauteurPourLargeur(200), 283);
        QCOMPARE(LargeurPourHauteur(283), 200);
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
        QCOMPARE(CalculLargeur("200", false, 0).hauteur, 283);
        QVERIFY(CalculLargeur("30", false, 0).valide);
        for (const char* t : {"25", "29", "201", "", "abc", "0"})
            QVERIFY2(!CalculLargeur(t, false, 0).valide, t);

        // Zone mode: the height follows the zone's own proportion.
        const double ratio = 216.0 * 2 / (209.0 * 3); // two rows, three columns
        c = CalculLargeur("150", true, ratio);
        QVERIFY(c.valide);
        QCOMPARE(c.hauteur, 103);
        QCOMPARE(int(c.hauteurTwips), 5840);
        QVERIFY(!CalculLargeur("25", true, ratio).valide);
        // One block wide and four high: above 140 mm the height's twips would
        // overflow 16 bits, so such a width is refused like an out-of-range one.
        const double haute = 216.0 * 4 / 209.0;
        QVERIFY(CalculLargeur("139", true, haute).valide);
        QCOMPARE(*HauteurZone(139, haute), 575);
        QVERIFY(!HauteurZone(140, haute));
        QVERIFY(!CalculLargeur("140", true, haute).valide);
        QVERIFY(!CalculLargeur("200", true, haute).valide);
        QVERIFY(!HauteurZone(90, 0));
        QVERIFY(!HauteurZone(90, -1));
        QVERIFY(!HauteurZone(90, std::numeric_limits<double>::quiet_NaN()));
        QVERIFY(!HauteurZone(90, std::numeric_limits<double>::infinity()));
    }

    void changementHauteur()
    {
        ChangementHauteur c = CalculHauteur("127");
        QVERIFY(c.valide);
        QCOMPARE(int(c.hauteurTwips), 7201);
        QCOMPARE(c.largeur, 90);
        QCOMPARE(CalculHauteur("283").largeur, 200);
        c = CalculHauteur("290");
        QVERIFY(c.valide);
        QCOMPARE(c.largeur, 205); // accepted here, refused by the width box
        QCOMPARE(int(c.hauteurTwips), 16443);
        for (const char* t : {"29", "291", "", "x"})
            QVERIFY2(!CalculHauteur(t).valide, t);
    }

    void touchesEtDefilement()
    {
        QCOMPARE(FiltreTouche('5', false), Touche::Admise);
        QCOMPARE(FiltreTouche(8, false), Touche::Admise);
        QCOMPARE(FiltreTouche(13, false), Touche::Refusee);
        QCOMPARE(FiltreTouche(13, true), Touche::AdmiseEtApercu);
        QCOMPARE(FiltreTouche('a', true), Touche::Refusee);
        QCOMPARE(FiltreTouche('-', true), Touche::Refusee);
        QCOMPARE(HautDefilement(0), 0.0);
        QCOMPARE(HautDefilement(8), -3254.92);
        QCOMPARE(HautDefilement(16), -6509.84);
    }
};

QTEST_APPLESS_MAIN(TestSaisies)
#include "test_saisies.moc"
