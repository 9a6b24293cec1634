#include <QtTest>

#include "tests/Verifier.h"

#include "output/BilanImpression.h"
#include "output/Impression.h"

Q_DECLARE_METATYPE(ConstatImpression)

class TestPageImprimante : public QObject {
    Q_OBJECT
private slots:
    void pageEtQualite()
    {
        // Points (paper, then left, top, right, bottom margins) to twips: paper, printable size, the printable
        // area's left and top edges. Unequal margins, none, wider than the paper, nonsense values.
        const std::pair<std::array<double, 6>, std::tuple<int, int, int, int, double, double>> cas[] = {
            {{612, 792, 12, 30, 24, 6}, {12240, 15840, 11520, 15120, 240, 600}},
            {{595, 842, 0, 0, 0, 0}, {11900, 16840, 11900, 16840, 0, 0}},
            {{100, 100, 80, 80, 80, 80}, {2000, 2000, 0, 0, 1600, 1600}},
            {{NAN, -5, NAN, -1, 0, 0}, {0, 0, 0, 0, 0, 0}}};
        for (const auto& [pt, tw] : cas) {
            const PageImprimante p = PageDepuisPoints(pt[0], pt[1], pt[2], pt[3], pt[4], pt[5]);
            QCOMPARE(std::tuple(p.LargeurPapier, p.HauteurPapier, p.LargeurImprimable, p.HauteurImprimable,
                                *p.BordGauche, *p.BordHaut), tw);
        }
        // Nothing offered by the driver (or one odd value): fixed resolutions. Offered resolutions: draft the
        // lowest, high the highest, spread between. Not a quality code (0, -5): the printer keeps its own.
        const std::vector<int> offertes{1200, 75, 300, 150, 600, 300, 0};
        for (auto [code, proposees, dpi] :
             {std::tuple{-1, std::vector<int>{}, 150}, {-2, {72}, 300}, {-4, {1200}, 1200}, {-1, offertes, 75},
              {-2, offertes, 150}, {-3, offertes, 600}, {-4, offertes, 1200}, {-2, {600, 300}, 300}, {0, offertes, 0},
              {-5, offertes, 0}}) // code and number offered name the row
            QCOMPARE(std::tuple(code, proposees.size(), ResolutionQualite(code, proposees)),
                     std::tuple(code, proposees.size(), dpi));
        // 180 x 250 mm on A4, margins of 10 and 9 points left and top (26 and 27 right and bottom), by the top-right
        // arrow (x: 200 + 37 steps of 1340 / 42 - 360 twips), in thousandths of the device's units from its origin.
        const PageImprimante page = PageDepuisPoints(595.2756, 841.8898, 10, 9, 26, 27);
        MiseEnPage mp;
        ChoixImprimante(mp, page, 10206, 14175, 9450, 13020);
        AppliquerFleche(mp, 2);
        const RectAppareil r = RectImpression(mp, page, 10206, 14175, 600, 300, 18, 9);
        QCOMPARE((std::tuple{qRound(r.x * 1000), qRound(r.y * 1000), qRound(r.l * 1000), qRound(r.h * 1000)}),
                 (std::tuple{425198, 0, 4252500, 2953125})); // 600 and 300 dots per inch of 1440 twips
    }

    // What CUPS answered (IPP status and server's words; printer state, reasons, message; job id and state), what
    // the user is told: the printer's name and every word of the server, each once; nothing while the page is on its
    // way or out (a warning is no error; a finished job is printed whatever the printer does since).
    void bilan_data()
    {
        QTest::addColumn<ConstatImpression>("constat");
        QTest::addColumn<int>("issue");
        QTest::addColumn<QStringList>("mots"); // in the message; none: no message
        QTest::addColumn<bool>("enCours");
        const auto row = [](const char* nom, ConstatImpression c, Issue i, QStringList mots, bool enCours = false) {
            QTest::newRow(nom) << c << int(i) << mots << enCours;
        };
        row("ordonnanceur arrêté", {0x0502, "Bad file descriptor", 0, "", "", 0, 0}, Issue::ServeurMuet,
            {"ne répond pas", "« Bad file descriptor »", "toujours là"});
        row("file qui refuse", {0x0506, "Destination \"R\" is not accepting jobs.", 3, "none", "Bac vide", 0, 0},
            Issue::Refusee, {"refuse les travaux", "« Destination \"R\" is not accepting jobs. » (Bac vide)", "toujours là"});
        row("imprimante inconnue", {0x0406, "The printer or class does not exist.", 0, "", "", 0, 0}, Issue::Introuvable,
            {"introuvable", "« The printer or class does not exist. »"});
        row("requête refusée", {0x0400, "Bad request", 0, "", "", 0, 0}, Issue::Echec, {"n'a pas pu être envoyée", "« Bad request »"});
        row("annulé à l'envoi", {0x0508, "Job canceled", 0, "", "", 0, 0}, Issue::Annulee, {"a annulé", "« Job canceled »"});
        row("annulé par le serveur", {0, "", 3, "none", "Filter failed", 7, 7}, Issue::Annulee,
            {"a annulé", "« Filter failed »"});
        row("abandonné", {0, "", 4, "cups-missing-filter-warning", "", 8, 8}, Issue::Annulee,
            {"a annulé", "« cups-missing-filter-warning »"});
        row("arrêté par un filtre", {0, "", 3, "none", "Filter failed", 9, 6}, Issue::Annulee,
            {"a arrêté", "« Filter failed »"});
        row("imprimante arrêtée", {0, "", 5, "none,paused, paused", "En maintenance", 9, 3}, Issue::ImprimanteArretee,
            {"est arrêtée", "attend dans sa file", "« En maintenance » (paused)"}, true);
        row("imprimante en erreur", {0, "", 5, "media-empty-error,paused", "", 9, 6}, Issue::ImprimanteEnErreur,
            {"est en erreur", "« media-empty-error, paused »"});
        row("en cours, toner bas", {0, "", 4, "toner-low-warning", "", 9, 5}, Issue::Envoyee, {}, true);
        row("imprimée, puis bac vide", {0, "", 5, "media-empty-error", "", 9, 9}, Issue::Envoyee, {});
        row("attributs substitués", {0x0001, "", 3, "none", "", 9, 3}, Issue::Envoyee, {}, true);
    }
    void bilan()
    {
        QFETCH(ConstatImpression, constat);
        QFETCH(int, issue);
        QFETCH(QStringList, mots);
        QFETCH(bool, enCours);
        const Bilan b = BilanImpression("Bureau 2", constat);
        const QString message = QString::fromStdString(b.message).replace(QChar(0xA0), ' ');
        VERIFIER(int(b.issue) == issue, message.isEmpty() == mots.isEmpty(), TravailEnCours(constat) == enCours);
        for (const QString& mot : mots << (mots.isEmpty() ? QStringList() : QStringList{"« Bureau 2 »"}))
            QVERIFY2(message.count(mot) == 1, qPrintable(mot + " / " + message));
    }
};

QTEST_APPLESS_MAIN(TestPageImprimante)
#include "test_pageimprimante.moc"
