// The page: its layout against the paper's sizes, pixels of the drawn page where the layout puts the days, and the
// labels of the .Cal (the files made by the command line: tests/scripts/test_page.sh).
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QtTest>
#include <set>

#include "colour/ModeleFeuille.h"
#include "commun/ui/Couleur.h"
#include "main_gui.h"
#include "output/Page.h"
#include "output/ui/DialogueMiseEnPage.h"
#include "output/ui/PeintrePage.h"
#include "special/FichierCal.h"
#include "special/ImportIcs.h"

namespace {
constexpr int Vert = 0x008000; // 0x00BBGGRR: green

// 2027 with 10 February (a Wednesday) in green.
ModeleFeuille feuille2027(TableCouleursSP& t)
{
    const ModeleFeuille vierge = ConstruireFeuille({2027, 1}, {}, TableCouleursSP{});
    const PositionCase p = *CaseDuJour(vierge, {10, 2, 2027});
    t[p.bloc][p.cellule] = Vert;
    return ConstruireFeuille({2027, 1}, {}, t);
}

// The drawn page's colour at a point of the page (units), at 200 dpi.
QColor pixel(const QImage& img, double x, double y)
{
    const double k = 200 / 254.0;
    return img.pixelColor(int(x * k), int(y * k));
}
} // namespace

class TestPage : public QObject {
    Q_OBJECT
private slots:
    void disposition()
    {
        TableCouleursSP t{};
        const ModeleFeuille f = feuille2027(t);
        // Paper (mm, ISO 216 and US Letter), grid asked for, run of months: columns and rows of the months.
        const std::tuple<Papier, bool, Disposition, int, int, int, int, double, double> cas[] = {
            {Papier::A4, false, Disposition::Auto, 1, 12, 3, 4, 210, 297},
            {Papier::A4, true, Disposition::Auto, 1, 12, 4, 3, 297, 210},
            {Papier::A3, true, Disposition::G6x2, 1, 12, 6, 2, 420, 297},
            {Papier::A5, false, Disposition::G4x3, 1, 12, 4, 3, 148, 210},
            {Papier::Lettre, true, Disposition::Auto, 9, 4, 2, 2, 279.4, 215.9},
            {Papier::A4, false, Disposition::G3x4, 9, 4, 3, 2, 210, 297},
            {Papier::A4, false, Disposition::Auto, 3, 1, 1, 1, 210, 297}};
        for (const auto& [papier, paysage, d, premier, n, colonnes, rangees, lMm, hMm] : cas) {
            OptionsPage o;
            o.papier = papier, o.paysage = paysage, o.disposition = d, o.premierBloc = premier, o.nombreMois = n;
            o.semaines = true, o.listeFeries = true;
            const PlanPage p = MettreEnPageFeuille(f, o);
            const QString nom = QString("%1 %2 %3 %4").arg(TextePapier(papier)).arg(paysage).arg(premier).arg(n);
            QVERIFY2(std::abs(p.taille.largeur - lMm * 10) <= 0.5 && std::abs(p.taille.hauteur - hMm * 10) <= 0.5,
                     qPrintable(nom));
            std::set<int> xs, ys;
            const int marge = 100, s = p.cote;
            for (const BlocPage& b : p.blocs) {
                xs.insert(b.cases.x), ys.insert(b.cases.y);
                // Square cells, the month inside the margins, above the legend.
                QVERIFY2(b.cases.l == 7 * s && b.cases.h == 6 * s && b.semaines.x >= marge && b.titre.y >= marge
                             && b.cases.x + b.cases.l <= p.taille.largeur - marge && b.cases.y + b.cases.h < p.legende[0].echantillon.y,
                         qPrintable(nom));
            }
            QVERIFY2(int(p.blocs.size()) == n && int(xs.size()) == colonnes && int(ys.size()) == rangees
                         && p.blocs.front().bloc == premier,
                     qPrintable(nom));
            // The months fill the page across or down.
            QVERIFY2(colonnes * 7 * s >= 0.6 * (p.taille.largeur - 2 * marge) || rangees * 6 * s >= 0.6 * (p.taille.hauteur - 2 * marge),
                     qPrintable(nom));
        }
        // A school year's September to December, as the months name them; December to January of a year: none.
        QVERIFY(BlocsDesMois(9, 9, 12) == std::pair(1, 4) && BlocsDesMois(9, 1, 3) == std::pair(5, 3) && !BlocsDesMois(1, 12, 1));
        QCOMPARE(TitreParDefaut(ConstruireFeuille({2025, 9}, {}, TableCouleursSP{})), std::string("Année scolaire 2025-2026"));
    }

    void pixels()
    {
        TableCouleursSP t{};
        const ModeleFeuille f = feuille2027(t);
        const SchemaCouleurs k;
        for (bool encre : {false, true}) {
            OptionsPage o;
            o.paysage = true, o.economieEncre = encre;
            const PlanPage p = MettreEnPageFeuille(f, o, {{Vert, "Anniversaires"}});
            const QImage img = ImagePage(f, p, 200);
            QCOMPARE(img.size(), QSize(qRound(297 / 25.4 * 200), qRound(210 / 25.4 * 200)));
            const int s = p.cote;
            // January 2027 starts on a Friday: 1 January in row 0, column 4; Saturday 2 January beside it;
            // 10 February (a Wednesday) in row 2 (1 February, a Monday, opens row 1), column 2.
            const BlocPage &janvier = p.blocs[0], &fevrier = p.blocs[1];
            const auto coin = [&](const BlocPage& b, int rangee, int colonne, double fx, double fy) {
                return pixel(img, b.cases.x + (colonne + fx) * s, b.cases.y + (rangee + fy) * s);
            };
            // In colour, the background near the corner; saving ink, white there and the holiday's dark corner mark.
            const QColor ferie = coin(janvier, 0, 4, 0.2, 0.3), weekend = coin(janvier, 0, 5, 0.2, 0.3),
                         marque = coin(janvier, 0, 4, 0.8, 0.15), barre = coin(fevrier, 2, 2, 0.5, 0.83);
            QCOMPARE(ferie, encre ? QColor(Qt::white) : VersQColor(k.CoulFerie));
            QCOMPARE(weekend, encre ? QColor(Qt::white) : VersQColor(k.CoulWeekEnd));
            QVERIFY(!encre || qGray(marque.rgb()) < 64);
            QCOMPARE(barre, VersQColor(Vert)); // the special day's bar under its number
            // The legend: the weekends, the holidays, the label, and sample cells like the days.
            QStringList textes;
            for (const EntreeLegende& e : p.legende)
                textes << QString::fromStdString(e.texte);
            QCOMPARE(textes, QStringList({"Week-ends", "Jours fériés", "Anniversaires"}));
            const RectPage& e = p.legende[2].echantillon;
            QCOMPARE(pixel(img, e.x + e.l * 0.5, e.y + e.h * 0.83), VersQColor(Vert));
        }
    }

    void etiquettesCal()
    {
        // A file written with labels: the colours read as from the same file without them, and the labels back.
        double t[13][43] = {}, lu[13][43] = {}, luSans[13][43] = {};
        t[2][10] = Vert, t[12][30] = 255;
        const EtiquettesCouleurs e = {{Vert, "Anniversaires"}, {255, "Vacances \"zone\" B\r\nx"}, {-1, "non"}};
        const std::string avec = EcrireCal(t, "2027") + LignesEtiquettes(e), sans = EcrireCal(t, "2027");
        const LectureCal r = LireCal(avec, lu), rSans = LireCal(sans, luSans);
        QVERIFY(r.ok && r.annee == "2027" && std::memcmp(lu, luSans, sizeof lu) == 0 && lu[2][10] == Vert);
        QVERIFY(r.etiquettes == (EtiquettesCouleurs{{Vert, "Anniversaires"}, {255, "Vacances zone Bx"}}));
        QVERIFY(rSans.etiquettes.empty() && LignesEtiquettes({}).empty());
        QCOMPARE(avec.substr(sans.size()), std::string("Etiquette,255,\"Vacances zone Bx\"\r\nEtiquette,32768,\"Anniversaires\"\r\n"));
        // A school year's file: its second year's months still read after the labels are added.
        double s[13][43] = {}, ls[13][43] = {};
        s[12][5] = Vert;
        const LectureCal rs = LireCal(EcrireCal(s, "2026-2027") + LignesEtiquettes(e), ls);
        QVERIFY(rs.ok && rs.annee == "2026-2027" && ls[12][5] == Vert && rs.etiquettes.size() == 2);
        // The labelled day's tooltip and name read by a screen reader (10 February 2027: ISO week 6).
        TableCouleursSP tf{};
        ModeleFeuille f = feuille2027(tf);
        f.etiquettes = e;
        const CaseFeuille& c = f.cellule(*CaseDuJour(f, {10, 2, 2027}));
        QCOMPARE(NomAccessible(f, c), std::string("mercredi 10 février 2027, Semaine  6, Anniversaires"));
        QCOMPARE(BulleCase(f, f.cellule(*CaseDuJour(f, {29, 3, 2027}))), std::string("Lundi de Pâques, semaine 13"));
    }

    void nomsImport()
    {
        // The label from the events' common words (linking words at the ends dropped), else the file's name; the
        // summary's first names, then how many more.
        const auto import = [](std::vector<std::string> noms) { ImportIcs i; i.noms = std::move(noms); return i; };
        const std::tuple<std::vector<std::string>, const char*, const char*> cas[] = {
            {{"Vacances de Noël - Zone B", "Vacances d'Hiver - Zone B"}, "Vacances Zone B", "Vacances de Noël - Zone B et Vacances d'Hiver - Zone B"},
            {{"Anniversaire de Léa", "Anniversaire de Paul", "Anniversaire de Zoé"}, "Anniversaire", "Anniversaire de Léa, Anniversaire de Paul et Anniversaire de Zoé"},
            {{"a", "b", "c", "d", "e"}, "famille", "a, b, c et 2 autres"},
            {{}, "famille", ""}};
        for (const auto& [noms, etiquette, resume] : cas) {
            QCOMPARE(EtiquetteIcs(import(noms), "/tmp/x.y/famille.ics"), std::string(etiquette));
            QCOMPARE(NomsEvenementsIcs(import(noms)), std::string(resume));
        }
    }

    void impression()
    {
        // A term printed on a printer (here its PDF output): the paper and orientation of the page, its months only.
        const ModeleFeuille f = ConstruireFeuille({2025, 9}, {}, TableCouleursSP{});
        OptionsPage o;
        o.paysage = true, o.nombreMois = 4;
        QTemporaryDir dossier;
        QPrinter imprimante(QPrinter::HighResolution);
        imprimante.setOutputFormat(QPrinter::PdfFormat);
        imprimante.setOutputFileName(dossier.filePath("trimestre.pdf"));
        QVERIFY(ImprimerPage(imprimante, f, MettreEnPageFeuille(f, o)));
        QProcess info, texte;
        info.start("pdfinfo", {dossier.filePath("trimestre.pdf")});
        texte.start("pdftotext", {dossier.filePath("trimestre.pdf"), "-"});
        QVERIFY(info.waitForFinished() && texte.waitForFinished());
        const QString t = QString::fromUtf8(texte.readAllStandardOutput());
        QVERIFY(info.readAllStandardOutput().contains("842 x 595 pts (A4)"));
        QVERIFY(t.contains("Année scolaire 2025-2026") && t.contains("décembre 2025") && !t.contains("janvier 2026"));
    }

    void dialogue()
    {
        // The dialog shows the options given, returns those chosen, and draws them in miniature.
        TableCouleursSP t{};
        const ModeleFeuille f = ConstruireFeuille({2025, 9}, {}, t);
        OptionsPage o;
        o.paysage = true, o.premierBloc = 1, o.nombreMois = 4;
        DialogueMiseEnPage d(nullptr, f, {}, o);
        QVERIFY(d.options() == o); // the default title stays the default
        d.findChild<QComboBox*>("Papier")->setCurrentIndex(3);
        d.findChild<QComboBox*>("MoisAu")->setCurrentIndex(0); // September alone
        d.findChild<QLineEdit*>("Titre")->setText("Rentrée");
        d.findChild<QCheckBox*>("EconomieEncre")->setChecked(true);
        OptionsPage attendu = o;
        attendu.papier = Papier::Lettre, attendu.nombreMois = 1, attendu.titre = "Rentrée", attendu.economieEncre = true;
        QVERIFY(d.options() == attendu);
        const QImage miniature = d.findChild<QWidget*>("Miniature")->grab().toImage();
        QVERIFY(miniature.pixelColor(miniature.rect().center()) != QColor(128, 128, 128)); // the paper, not the desk
    }
};

ARDEMO_GUI_MAIN(TestPage)
#include "test_page.moc"
