// The print dialog, the page layout and the printed page, read back from PDF
// files with poppler's tools.
#include <QPrinter>
#include <QRadioButton>
#include <cmath>

#include "app/Reglages.h"
#include "app/ui/BoiteImage.h"
#include "app/ui/Styles.h"
#include "main_gui.h"
#include "output/ui/VornPrint.h"
#include "Outils.h"

namespace {

constexpr int Resolution = 150; // pixels per inch of the rasterised pages
constexpr double MmParTwip = 25.4 / 1440, MmParPixel = 25.4 / Resolution;

// A printer writing a PDF file of A4 paper; `minimum`: the margins (points) it cannot print on.
ImprimanteDisponible imprimantePdf(const QString& nom, const QString& fichier, QMarginsF minimum = {})
{
    return {nom, [fichier, minimum](QPrinter& p) {
                p.setOutputFormat(QPrinter::PdfFormat);
                p.setOutputFileName(fichier);
                p.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, minimum, QPageLayout::Point, minimum));
            }};
}

void utiliser(const QList<ImprimanteDisponible>& liste) { VornPrint::sourceImprimantes = [liste] { return liste; }; }

// Clicks "Imprimer" and runs `pendant` on the open dialog; false when the dialog never showed.
bool imprimer(Ardemo& f, const std::function<void(VornPrint&)>& pendant)
{
    bool vu = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<VornPrint*>(QApplication::activeModalWidget());
        if ((vu = d != nullptr))
            pendant(*d);
        if (d && d->isVisible())
            d->done(QDialog::Rejected);
    });
    C(f).Imprimer->click();
    return vu;
}
void valider(VornPrint& d) { enfant<vkCommand>(&d, "ValidePrint")->click(); }
void annuler(VornPrint& d) { enfant<vkCommand>(&d, "AnnulPrint")->click(); }

// Prints on a single PDF printer writing `fichier`, with arrow `fleche`.
bool imprimerPdf(Ardemo& f, const QString& fichier, int fleche = 0, QMarginsF minimum = {})
{
    utiliser({imprimantePdf("PDF", fichier, minimum)});
    return imprimer(f, [&](VornPrint& d) { d.ChoixPrint[0]->click(), d.FlècheM[fleche]->click(), valider(d); });
}

QString lancer(const QString& programme, const QStringList& arguments)
{
    QProcess p;
    p.start(programme, arguments);
    const bool ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return ok ? QString::fromLocal8Bit(p.readAllStandardOutput()) : QStringLiteral("échec de ") + programme;
}

// The page of a one-page PDF file rasterised at Resolution, and the box of what is not white on it.
QImage pageDe(const QString& fichier, QRect& boite)
{
    lancer("pdftoppm", {"-r", QString::number(Resolution), "-png", "-singlefile", fichier, fichier});
    const QImage page = QImage(fichier + ".png").convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (const QRgb c = page.pixel(x, y); qRed(c) < 245 || qGreen(c) < 245 || qBlue(c) < 245)
                boite |= QRect(x, y, 1, 1);
    return page;
}

bool proche(double mmA, double mmB) { return std::abs(mmA - mmB) <= 0.5; }

// The place of a print of L x T twips by the page-layout rules, twips from the
// corner of an A4 page printable whole (11900 x 16840), for the sheet's image
// (9450 x 13020 twips) and arrow `fleche`.
QPointF placeAttendue(int fleche, double L, double T)
{
    const double P = 11900, Q = 16840, W = 344, H = 486;
    const double w = L * W / P + 2, h = 13020 * w / 9450 + 2;
    const double maxH = std::max(5.0, std::round(W - w - 5)), maxV = std::max(5.0, std::round(H - h - 5));
    const double gauche[3] = {5, (W - w) / 2 + 1, W - w - 5}, haut[3] = {5, (H - h) / 2, H - h - 7};
    const double vx = std::clamp(std::floor(gauche[fleche % 3]), 5.0, maxH);
    const double vy = std::clamp(std::floor(haut[fleche / 3]), 5.0, maxV);
    return {(vx - 5) * (P - L) / maxH, (vy - 5) * (Q - T) / (maxV - 1)};
}

// The share in percent of the samples of `attendu` (each amid one flat colour) that
// `boite` of the page does not show in that colour (a few land on a neighbouring line).
double differencesDeDessin(const QImage& page, const QRect& boite, const QImage& attendu)
{
    const double ex = double(boite.width()) / attendu.width(), ey = double(boite.height()) / attendu.height();
    int differences = 0, compares = 0;
    for (int y = 2; y < attendu.height() - 2; y += 3)
        for (int x = 2; x < attendu.width() - 2; x += 3) {
            const QRgb c = attendu.pixel(x, y);
            bool uni = true;
            for (int d = 0; d < 25 && uni; ++d)
                uni = attendu.pixel(x + d % 5 - 2, y + d / 5 - 2) == c;
            if (!uni)
                continue;
            const QRgb v = page.pixel(boite.left() + int((x + 0.5) * ex), boite.top() + int((y + 0.5) * ey));
            ++compares, differences += std::max({std::abs(qRed(v) - qRed(c)), std::abs(qGreen(v) - qGreen(c)),
                                                 std::abs(qBlue(v) - qBlue(c))}) > 3;
        }
    return compares > 1000 ? 100.0 * differences / compares : 100;
}

} // namespace

class TestImpression : public QObject {
    Q_OBJECT

    QTemporaryDir m_sorties;
    QString sortie(const QString& nom) const { return m_sorties.filePath(nom); }

private slots:
    void cleanup() { VornPrint::sourceImprimantes = nullptr; }

    void quandImprimer()
    {
        // No printer, or one never clicked: "Valider" prints nothing; Escape does
        // nothing; "Annuler l'impression" prints nothing.
        Programme p;
        const QString fichier = sortie("quand.pdf");
        for (const auto& liste : {QList<ImprimanteDisponible>(), {imprimantePdf("PDF", fichier)}}) {
            utiliser(liste);
            QVERIFY(imprimer(p.f(), [](VornPrint& d) {
                valider(d);
                QVERIFY(!d.isVisible() && !d.ImpressionValidee && !d.imprimante());
            }));
        }
        bool escape = false;
        QVERIFY(imprimer(p.f(), [&](VornPrint& d) {
            d.ChoixPrint[0]->click(), QTest::keyClick(&d, Qt::Key_Escape);
            escape = d.isVisible(), annuler(d);
        }));
        QVERIFY(escape && !QFile::exists(fichier));
        // The close box after a printer click prints, as "Valider" does.
        QVERIFY(imprimer(p.f(), [&](VornPrint& d) { d.ChoixPrint[0]->click(), d.close(); }) && QFile::exists(fichier));
    }

    void choixEtQualite()
    {
        // Six buttons for seven printers: the one clicked is used. No quality in the
        // settings: high; the one clicked is kept even when cancelled, read back at the
        // next printer choice; a value that is no quality leaves the printer's resolution.
        Programme p;
        const std::filesystem::path ini = p.etat.FichierIni;
        QList<ImprimanteDisponible> liste;
        for (int i = 0; i < 7; ++i)
            liste.append(imprimantePdf(QString::number(i), sortie(QStringLiteral("sept-%1.pdf").arg(i))));
        utiliser(liste);
        p.etat.ApercuOuvert = Vrai;
        QVERIFY(imprimer(p.f(), [&](VornPrint& d) {
            QCOMPARE(p.etat.ApercuOuvert, Faux); // the preview was closed first
            d.ChoixPrint[2]->click();
            QVERIFY(d.imprimante()->outputFileName() == sortie("sept-2.pdf") && d.Qualité[4]->isChecked());
            QVERIFY(d.imprimante()->resolution() == 1200 && LireQualite(ini).empty());
            d.Qualité[3]->click(), d.ChoixPrint[5]->click();
            QVERIFY(d.imprimante()->resolution() == 600 && d.imprimante()->outputFileName() == sortie("sept-5.pdf"));
            annuler(d);
        }));
        QVERIFY(QDir(m_sorties.path()).entryList({"sept-*"}).isEmpty() && LireQualite(ini) == "-3");
        for (auto [texte, option, dpi] : {std::tuple("-2", 2, 300), std::tuple("n'importe", 4, 1200)}) {
            QVERIFY(EcrireQualite(ini, texte));
            QVERIFY(imprimer(p.f(), [&](VornPrint& d) {
                d.ChoixPrint[0]->click();
                QVERIFY(d.Qualité[option]->isChecked() && d.imprimante()->resolution() == dpi);
                annuler(d);
            }));
            QCOMPARE(LireQualite(ini), std::string(texte));
        }
    }

    void pagePdf_data()
    {
        QTest::addColumn<int>("L");
        QTest::addColumn<int>("T");
        QTest::addColumn<int>("fleche");
        for (auto [mmL, mmH] : {std::pair(180, 250), std::pair(90, 127)})
            for (int fleche : {0, 4, 8})
                QTest::addRow("%dx%d fleche %d", mmL, mmH, fleche) << int(std::lround(mmL * 56.7)) << int(std::lround(mmH * 56.7)) << fleche;
    }

    void pagePdf()
    {
        QFETCH(int, L);
        QFETCH(int, T);
        QFETCH(int, fleche);
        Programme p;
        p.etat.LargeurTwips = int16_t(L), p.etat.HauteurTwips = int16_t(T);
        const QString fichier = sortie(QStringLiteral("page-%1-%2.pdf").arg(L).arg(fleche));
        QVERIFY(imprimerPdf(p.f(), fichier, fleche));
        const QString info = lancer("pdfinfo", {fichier});
        QVERIFY2(info.contains(QRegularExpression("(?s)Pages:\\s+1\\n.*Page size:\\s+595 x 842 pts")), qPrintable(info));
        // Drawn at the printer's resolution: no raster image, the digits as text.
        QCOMPARE(lancer("pdfimages", {"-list", fichier}).split('\n', Qt::SkipEmptyParts).size(), 2);
        QVERIFY(lancer("pdffonts", {fichier}).contains("LiberationSans-Bold"));
        QRect boite;
        const QImage page = pageDe(fichier, boite);
        const QPointF place = placeAttendue(fleche, L, T);
        QVERIFY2(proche(boite.left() * MmParPixel, place.x() * MmParTwip) && proche(boite.top() * MmParPixel, place.y() * MmParTwip)
                     && proche((boite.right() + 1) * MmParPixel, (place.x() + L) * MmParTwip)
                     && proche((boite.bottom() + 1) * MmParPixel, (place.y() + T) * MmParTwip),
                 qPrintable(QStringLiteral("boîte %1,%2 %3x%4").arg(boite.x()).arg(boite.y()).arg(boite.width()).arg(boite.height())));
        QVERIFY(differencesDeDessin(page, boite, C(p.f()).Pict1->image()) < 1); // the image's layout and colours, scaled
    }

    void margesDuPilote()
    {
        // A printer that cannot print a quarter inch around the page: home is the printable area's corner.
        Programme p;
        QVERIFY(imprimerPdf(p.f(), sortie("marges.pdf"), 0, QMarginsF(18, 18, 18, 18)));
        QRect boite;
        pageDe(sortie("marges.pdf"), boite);
        QVERIFY(proche(boite.left() * MmParPixel, 6.35) && proche(boite.top() * MmParPixel, 6.35));
        QVERIFY(proche(boite.width() * MmParPixel, 5103 * MmParTwip));
    }

    void zone()
    {
        // One month block, second column, second row, outlined in red, drawn sharp.
        Programme p;
        mdlVorn& v = p.etat;
        v.Couleurs.CoulGrille = 0x000000FF;
        v.ZoneChoisie = Vrai;
        v.ZoneX1 = 209, v.ZoneY1 = 216, v.ZoneX2 = 418, v.ZoneY2 = 432;
        v.RatioZone = 1, v.LargeurTwips = 5103, v.HauteurTwips = 5103;
        const QImage avant = C(p.f()).Pict1->image();
        QVERIFY(imprimerPdf(p.f(), sortie("zone.pdf")));
        const QImage sel = C(p.f()).PictSel->image();
        QCOMPARE(sel.copy(1, 1, 206, 216), avant.copy(210, 217, 206, 216));
        QCOMPARE(C(p.f()).Pict1->image(), avant); // nothing drawn into the calendar image
        QRect boite;
        const QImage page = pageDe(sortie("zone.pdf"), boite);
        QVERIFY(differencesDeDessin(page, boite, sel) < 1);
        for (int i = 10; i < boite.height() - 10; i += 17)
            QVERIFY(page.pixelColor(boite.left() + 1, boite.top() + i) == Qt::red
                    && page.pixelColor(boite.left() + i * boite.width() / boite.height(), boite.top() + 1) == Qt::red);
    }
};

ARDEMO_GUI_MAIN(TestImpression)
#include "test_impression.moc"
