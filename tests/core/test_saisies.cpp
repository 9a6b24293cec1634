#include <QtTest>

#include "tests/Verifier.h"
#include "app/Saisies.h"
#include "app/ValeursOptions.h"
#include "output/FormatSortie.h"

class TestSaisies : public QObject {
    Q_OBJECT
private slots:
    void annees()
    {
        // Year typed, warning (1: range, 2: school year), year chosen ("": the year stays as it was). The number at
        // the start of the text counts, whatever follows it; no digit at the start: no year. Two years joined by a
        // hyphen are a school year, or nothing.
        const std::string_view messages[] = {"", MessageControleAnnee, MessageAnneeScolaire};
        for (auto [texte, message, choisie] :
             {std::tuple{"1582", 1, "1582"}, {"1583", 0, "1583"}, {"10000", 1, "0000"}, {" 0099 ", 1, "0099"},
              {"002027", 0, "2027"}, {"99999999999999999999999", 1, "9999"}, {"2030.", 0, "2030"},
              {"2 027", 0, "2027"}, {"20a7", 1, "0020"}, {"  ", 1, ""}, {"-2027", 1, ""}, {".2027", 1, ""},
              {"2026-2027", 0, "2026-2027"}, {" 2026 -\t2027 ", 0, "2026-2027"}, {"1583-1584", 0, "1583-1584"},
              {"9998-9999", 0, "9998-9999"}, {"9999-10000", 1, ""}, {"1582-1583", 1, ""}, {"2026-2028", 2, ""},
              {"2027-2026", 2, ""}, {"99999999999-2", 1, ""}, {"2026-", 0, "2026"}, {"2026-2027-2028", 0, "2026"},
              {"2026 2027", 1, "2027"}})
            QVERIFY2(AvertissementAnnee(texte) == messages[message] && AnneeChoisie(texte).value_or("") == choisie, texte);
        // The chosen calendar back from its text (the command line: a year in range, or a school year); the
        // school year of a day, from August on the coming one; the days of a period.
        const auto texteDe = [](std::optional<Periode> p) { return p ? TextePeriode(*p) : ""; };
        for (auto [texte, choisie, option] :
             {std::tuple{"2027", "2027", "2027"}, {"0099", "0099", ""}, {"2026-2027", "2026-2027", "2026-2027"},
              {"2026 - 2027", "2026-2027", "2026-2027"}, {"2026-2028", "", ""}, {"9999-10000", "", ""}, {"+2027", "", ""}})
            QVERIFY2(texteDe(PeriodeDeTexte(texte)) == choisie && texteDe(PeriodeOption(texte)) == option, texte);
        for (auto [jour, scolaire] : {std::pair{Date{31, 7, 2026}, "2025-2026 365"}, {{1, 8, 2026}, "2026-2027 365"},
                                      {{1, 1, 2028}, "2027-2028 366"}, {{15, 8, 9999}, "9998-9999 365"}})
            QCOMPARE(TextePeriode(AnneeScolaireDu(jour)) + " " + std::to_string(JoursDansPeriode(AnneeScolaireDu(jour))),
                     std::string(scolaire));
    }

    void options()
    {
        // Command-line values are digits only; a colour may be #RRGGBB, red first (refused: -1).
        for (auto [texte, annee, largeur, couleur] :
             {std::tuple{"1583", 1583, 0, 1583}, {"9999", 9999, 0, 9999}, {"200", 0, 200, 200}, {"30", 0, 30, 30},
              {"1582", 0, 0, 1582}, {"10000", 0, 0, 10000}, {"29", 0, 0, 29}, {" 2027", 0, 0, -1}, {"+2027", 0, 0, -1},
              {"", 0, 0, -1}, {"0000000002027", 0, 0, -1}, {"16777215", 0, 0, 16777215}, {"16777216", 0, 0, -1},
              {"#FF0000", 0, 0, 255}, {"#00ff00", 0, 0, 65280}, {"#123456", 0, 0, 0x563412}, {"#12345", 0, 0, -1},
              {"#1234567", 0, 0, -1}, {"#12345G", 0, 0, -1}, {"#", 0, 0, -1}, {"0x123456", 0, 0, -1}})
            QVERIFY2(AnneeOption(texte).value_or(0) == annee && LargeurOption(texte).value_or(0) == largeur
                         && CouleurOption(texte).value_or(-1) == couleur, texte);
        // A misspelt option: the one meant, when one is near enough (an edit per three letters); the usual
        // distances (kitten, sitting: 3), a swap counting one.
        const std::vector<std::string_view> noms{"annee", "sortie", "largeur", "couleurs", "couleur", "sans-weekend", "ini"};
        for (auto [tape, proche] : {std::pair{"anee", "annee"}, {"sorties", "sortie"}, {"sotrie", "sortie"},
                                    {"largueur", "largeur"}, {"couleurss", "couleurs"}, {"sans-week", "sans-weekend"},
                                    {"in", "ini"}, {"x", ""}, {"aide", ""}, {"inconnue", ""}, {"", ""}})
            QVERIFY2(NomProche(tape, noms) == proche, tape);
        VERIFIER(DistanceEdition("kitten", "sitting") == 3, DistanceEdition("", "abc") == 3, DistanceEdition("ab", "ba") == 1);
    }

    void nomsDeFichiers()
    {
        // File name typed, type chosen, name written; its type is the extension's.
        using F = FormatSortie;
        for (auto [nom, choisi, ecrit, format] :
             {std::tuple{"a.PDF", F::Png, "a.PDF", F::Pdf}, {"a.", F::Png, "a.png", F::Png},
              {"a.txt", F::Bmp, "a.txt.bmp", F::Bmp}, {"d.png/a", F::Pdf, "d.png/a.pdf", F::Pdf},
              {".bmp", F::Png, ".bmp.png", F::Png}, {"d/.pdf", F::Png, "d/.pdf.png", F::Png},
              {"a.jpeg", F::Aucun, "a.jpeg", F::Aucun}})
            QVERIFY2(NomAvecExtension(nom, choisi) == ecrit && FormatDuNom(ecrit) == format, nom);
    }

    void tailles()
    {
        // Millimetres to twips, halves to even (35 mm: 1984.5; 45 mm: 2551.5); 578 mm no longer fits.
        for (auto [mm, twips, ok] : {std::tuple{35, 1984, true}, {45, 2552, true}, {578, 32767, false}}) {
            bool vu = !ok;
            QVERIFY2(MmVersTwips(mm, &vu) == twips && vu == ok, qPrintable(QString::number(mm)));
        }
        QCOMPARE(int(TailleAvantDe("99999")), 32767);
        // Every accepted width gives an accepted height, and back.
        for (int w = LargeurMin; w <= LargeurMax; ++w)
            VERIFIER(HauteurValide(HauteurPourLargeur(w)), LargeurPourHauteur(HauteurPourLargeur(w)) == w);
        const ChangementLargeur c = CalculLargeur("90", false, 0);
        VERIFIER(c.valide, c.hauteur == 127, c.largeurTwips == 5103, c.hauteurTwips == 7201);
        const ChangementHauteur h = CalculHauteur("290");
        VERIFIER(h.valide, h.hauteurTwips == 16443, h.largeur == 205); // a width the width box refuses
        for (const char* t : {"29", "291", "x", ""})
            QVERIFY2(!CalculLargeur(t, false, 0).valide && !CalculHauteur(t).valide, t);
        QVERIFY(!CalculLargeur("201", false, 0).valide);
    }

    void zone()
    {
        // Zone: the height follows its proportion (two rows, three columns). One block wide and four
        // high: above 140 mm the height's twips would overflow 16 bits, so such a width is refused.
        const ChangementLargeur z = CalculLargeur("150", true, 216.0 * 2 / (209.0 * 3));
        VERIFIER(z.valide, z.hauteur == 103, z.hauteurTwips == 5840);
        VERIFIER(CalculLargeur("139", true, 216.0 * 4 / 209).valide, !CalculLargeur("140", true, 216.0 * 4 / 209).valide);
        for (double r : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
            QVERIFY(!HauteurZone(90, r));
    }
};

QTEST_APPLESS_MAIN(TestSaisies)
#include "test_saisies.moc"
