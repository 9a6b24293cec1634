// The print dialog, the page layout and the printed page, read back from PDF
// files with poppler's tools.
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <cmath>

#include "app/Reglages.h"
#include "app/ui/BoiteImage.h"
#include "app/ui/Couleur.h"
#include "app/ui/Styles.h"
#include "main_gui.h"
#include "output/ui/VornPrint.h"
#include "Outils.h"

namespace {

constexpr double MmParTwip = 25.4 / 1440;
constexpr int Resolution = 150; // pixels per inch of the rasterised pages

// A printer writing a PDF file of A4 paper; `minimum`: the margins (points)
// it cannot print on.
ImprimanteDisponible imprimantePdf(const QString& nom, const QString& fichier, QMarginsF minimum = {})
{
    return {nom, [fichier, minimum](QPrinter& p) {
                p.setOutputFormat(QPrinter::PdfFormat);
                p.setOutputFileName(fichier);
                p.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, minimum,
                                            QPageLayout::Point, minimum));
            }};
}

void utiliser(const QList<ImprimanteDisponible>& liste)
{
    VornPrint::sourceImprimantes = [liste] { return liste; };
}

// Clicks "Imprimer" and runs `pendant` on the open dialog, which it must close.
// False when the dialog never showed.
bool imprimer(Ardemo& f, const std::function<void(VornPrint&)>& pendant)
{
    bool vu = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<VornPrint*>(QApplication::activeModalWidget());
        if (!d)
            return;
        vu = true;
        pendant(*d);
        if (d->isVisible())
            d->done(QDialog::Rejected);
    });
    f.Imprimer_Click();
    return vu;
}

QString lancer(const QString& programme, const QStringList& arguments, bool* ok = nullptr)
{
    QProcess p;
    p.start(programme, arguments);
    const bool fini = p.waitForFinished(60000);
    if (ok)
        *ok = fini && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// The bounding box of what is not white on a page rasterised at Resolution.
QRect boiteDessin(const QImage& page)
{
    int x1 = page.width(), y1 = page.height(), x2 = -1, y2 = -1;
    for (int y = 0; y < page.height(); ++y) {
        const QRgb* ligne = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            const QRgb c = ligne[x];
            if (qRed(c) < 245 || qGreen(c) < 245 || qBlue(c) < 245) {
                x1 = std::min(x1, x);
                x2 = std::max(x2, x);
                y1 = std::min(y1, y);
                y2 = std::max(y2, y);
            }
        }
    }
    return x2 < 0 ? QRect() : QRect(QPoint(x1, y1), QPoint(x2, y2));
}

// The place of the picture by the page-layout rules, twips from the paper's
// corner, for paper P x Q with printable area starting at (bg, bh) and of size
// pl x ph, a print of L x T, a source of sl x sh twips and arrow `fleche`.
QPointF placeAttendue(int fleche, double P, double Q, double bg, double bh, double pl, double ph, double L,
                      double T, double sl, double sh)
{
    const double W = 344, H = 486;
    const double w = L * W / std::round(P) + 2;
    const double h = sh * w / sl + 2;
    const double maxH = std::max(5.0, std::round(W - w - 5)), maxV = std::max(5.0, std::round(H - h - 5));
    const double pasX = (P - (P - pl) / 2 - L) / maxH, pasY = (Q - (Q - ph) / 2 - T) / (maxV - 1);
    const double gauche[3] = {5, (W - w) / 2 + 1, W - w - 5};
    const double haut[3] = {5, (H - h) / 2, H - h - 7};
    const double vx = std::clamp(std::floor(gauche[fleche % 3]), 5.0, maxH);
    const double vy = std::clamp(std::floor(haut[fleche / 3]), 5.0, maxV);
    return {bg + (vx - 5) * pasX, bh + (vy - 5) * pasY};
}

// Compares a printed picture, found at `boite` of a rasterised page, with the
// bitmap it must look like: at every sample whose neighbourhood is one flat
// colour in the bitmap, the page shows that colour. Returns the share of
// mismatches in percent (rounding of the scaled positions may put a few
// samples on a neighbouring line).
double differencesDeDessin(const QImage& page, const QRect& boite, const QImage& attendu)
{
    const double ex = double(boite.width()) / attendu.width(), ey = double(boite.height()) / attendu.height();
    int differences = 0, compares = 0;
    for (int y = 2; y < attendu.height() - 2; y += 3)
        for (int x = 2; x < attendu.width() - 2; x += 3) {
            const QRgb c = attendu.pixel(x, y);
            bool uni = true;
            for (int dy = -2; dy <= 2 && uni; ++dy)
                for (int dx = -2; dx <= 2 && uni; ++dx)
                    uni = attendu.pixel(x + dx, y + dy) == c;
            if (!uni)
                continue;
            ++compares;
            const QRgb v = page.pixel(boite.left() + int((x + 0.5) * ex), boite.top() + int((y + 0.5) * ey));
            if (std::abs(qRed(v) - qRed(c)) > 3 || std::abs(qGreen(v) - qGreen(c)) > 3
                || std::abs(qBlue(v) - qBlue(c)) > 3)
                ++differences;
        }
    return compares > 1000 ? 100.0 * differences / compares : 100;
}

} // namespace

class TestImpression : public QObject {
    Q_OBJECT

    QTemporaryDir m_sorties;
    QString sortie(const QString& nom) const { return m_sorties.filePath(nom); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_sorties.isValid());
        for (const char* outil : {"pdfinfo", "pdftoppm", "pdfimages"})
            QVERIFY2(!QStandardPaths::findExecutable(QString::fromLatin1(outil)).isEmpty(),
                     "poppler-utils is needed to read the printed pages back");
    }

    void cleanup() { VornPrint::sourceImprimantes = nullptr; }

    void sansImprimante()
    {
        Programme p;
        utiliser({});
        for (bool valider : {true, false}) {
            QVERIFY(imprimer(p.f(), [&](VornPrint& d) {
                for (auto* b : d.ChoixPrint)
                    QVERIFY(!b->isVisible());
                QVERIFY(!d.MPage->isVisible());
                QVERIFY(!d.QualImpr->isVisible());
                QVERIFY(d.PictPage->isVisible());
                (valider ? d.ValidePrint : d.AnnulPrint)->click();
                QVERIFY(!d.isVisible());
                QCOMPARE(d.ImpressionValidee, Faux);
                QVERIFY(!d.imprimante());
            }));
        }

        // A printer exists but is not clicked: "Valider" prints nothing either.
        const QString fichier = sortie("pas-choisie.pdf");
        utiliser({imprimantePdf("PDF", fichier)});
        QVERIFY(imprimer(p.f(), [](VornPrint& d) { d.ValidePrint->click(); }));
        QVERIFY(!QFile::exists(fichier));
    }

    void fenetreEtImprimantes()
    {
        Programme p;
        QList<ImprimanteDisponible> liste;
        for (int i = 0; i < 7; ++i)
            liste.append(imprimantePdf(QStringLiteral("Imprimante de test %1").arg(i),
                                       sortie(QStringLiteral("sept-%1.pdf").arg(i))));
        utiliser(liste);
        p.etat.ApercuOuvert = Vrai;
        QVERIFY(imprimer(p.f(), [&](VornPrint& d) {
            QCOMPARE(p.etat.ApercuOuvert, Faux); // the preview was closed first
            QCOMPARE(d.size(), QSize(667, 518));
            QCOMPARE(d.PictPage->size(), QSize(344, 486));
            // Six buttons for seven printers, in the list's order.
            for (int i = 0; i < 6; ++i) {
                QVERIFY(d.ChoixPrint[i]->isVisible());
                QCOMPARE(d.ChoixPrint[i]->text(), QStringLiteral("Imprimante de test %1").arg(i));
            }
            d.ChoixPrint[2]->click();
            QVERIFY(d.MPage->isVisible() && d.QualImpr->isVisible());
            for (int i = 0; i < 6; ++i)
                QCOMPARE(d.ChoixPrint[i]->fond1(), VersQColor(i == 2 ? 0x00C0FFC0 : 0x00A9D5DC));
            QCOMPARE(d.imprimante()->outputFileName(), sortie("sept-2.pdf"));
            d.ChoixPrint[5]->click();
            for (int i = 0; i < 6; ++i)
                QCOMPARE(d.ChoixPrint[i]->fond1(), VersQColor(i == 5 ? 0x00C0FFC0 : 0x00A9D5DC));
            QCOMPARE(d.imprimante()->outputFileName(), sortie("sept-5.pdf"));
            // The grid quarters the page; the miniature lies over it.
            const QImage grille = d.PictPage->image();
            QCOMPARE(grille.pixelColor(85, 480), QColor(Qt::black));
            QCOMPARE(grille.pixelColor(340, 243), QColor(Qt::black));
            QVERIFY(grille.pixelColor(86, 480) != QColor(Qt::black));
            d.AnnulPrint->click();
            QCOMPARE(d.ImpressionValidee, Faux);
        }));
        for (int i = 0; i < 7; ++i)
            QVERIFY(!QFile::exists(sortie(QStringLiteral("sept-%1.pdf").arg(i))));
    }

    void qualite()
    {
        Programme p;
        const std::filesystem::path ini = p.etat.FichierIni;
        const QString fichier = sortie("qualite.pdf");
        utiliser({imprimantePdf("PDF", fichier)});
        QVERIFY(imprimer(p.f(), [&](VornPrint& d) {
            d.ChoixPrint[0]->click();
            // No entry: high quality stays chosen and is sent to the printer.
            QVERIFY(d.Qualité[4]->isChecked());
            QCOMPARE(d.imprimante()->resolution(), 1200);
            QCOMPARE(LireQualite(ini), std::string());
            d.Qualité[3]->click();
            QCOMPARE(LireQualite(ini), std::string("-3"));
            QCOMPARE(d.imprimante()->resolution(), 600);
            d.AnnulPrint->click();
        }));
        QVERIFY(!QFile::exists(fichier));
        QCOMPARE(LireQualite(ini), std::string("-3"));

        // Read back at the next printer choice.
        QVERIFY(EcrireQualite(ini, "-2"));
        QVERIFY(imprimer(p.f(), [&](VornPrint& d) {
            QVERIFY(d.Qualité[4]->isChecked()); // before any printer click
            d.ChoixPrint[0]->click();
            QVERIFY(d.Qualité[2]->isChecked());
            QCOMPARE(d.QualiteImpr, -2.0f);
            QCOMPARE(d.imprimante()->resolution(), 300);
            d.Qualité[1]->click();
            QCOMPARE(d.imprimante()->resolution(), 150);
            d.AnnulPrint->click();
        }));
        QCOMPARE(LireQualite(ini), std::string("-1"));

        // A value that is no quality: the option stays, the printer keeps its resolution.
        QVERIFY(EcrireQualite(ini, "n'importe"));
        QVERIFY(imprimer(p.f(), [&](VornPrint& d) {
            d.ChoixPrint[0]->click();
            QCOMPARE(d.QualiteImpr, 0.0f);
            QVERIFY(d.Qualité[4]->isChecked());
            QCOMPARE(d.imprimante()->resolution(), 1200);
            d.AnnulPrint->click();
        }));
        QCOMPARE(LireQualite(ini), std::string("n'importe"));
    }

    void fleches()
    {
        Programme p;
        p.etat.LargeurTwips = 10206; // 180 x 250 mm
        p.etat.HauteurTwips = 14175;
        utiliser({imprimantePdf("PDF", sortie("fleches.pdf"))});
        QVERIFY(imprimer(p.f(), [&](VornPrint& d) {
            d.ChoixPrint[0]->click();
            // A4 as the PDF printer gives it: 595 x 842 points, all printable.
            QCOMPARE(d.page.LargeurPapier, 11900);
            QCOMPARE(d.page.HauteurPapier, 16840);
            QCOMPARE(d.page.LargeurImprimable, 11900);
            const double w = 10206 * 344.0 / 11900 + 2, h = 13020 * w / 9450 + 2;
            QCOMPARE(d.PictMP->size(), QSize(int(std::lround(w)), int(std::lround(h))));
            QCOMPARE(d.HScroll1->maximum(), int(std::lround(344 - w - 5)));
            QCOMPARE(d.VScroll1->maximum(), int(std::lround(486 - h - 5)));
            QCOMPARE(d.PictMP->pos(), QPoint(5, 5));

            const struct {
                int fleche;
                double gauche, haut;
            } attendus[] = {{0, 5, 5}, {4, (344 - w) / 2 + 1, (486 - h) / 2}, {8, 344 - w - 5, 486 - h - 7}};
            for (const auto& a : attendus) {
                d.FlècheM[a.fleche]->click();
                const QPoint pos(int(std::floor(a.gauche)), int(std::floor(a.haut)));
                QCOMPARE(d.PictMP->pos(), pos);
                QCOMPARE(QPoint(d.HScroll1->value(), d.VScroll1->value()), pos);
                const double pasX = (11900 - 10206) / double(d.HScroll1->maximum());
                const double pasY = (16840 - 14175) / double(d.VScroll1->maximum() - 1);
                QVERIFY(std::abs(d.mp.OrigineGauche + (pos.x() - 5) * pasX) < 0.01);
                QVERIFY(std::abs(d.mp.OrigineHaut + (pos.y() - 5) * pasY) < 0.01);
            }
            // The bars move the miniature and the origin the same way.
            d.HScroll1->setValue(20);
            QCOMPARE(d.PictMP->x(), 20);
            QVERIFY(std::abs(d.mp.OrigineGauche + 15 * (11900 - 10206) / double(d.HScroll1->maximum())) < 0.01);
            d.VScroll1->setValue(0); // below home: held at home
            QCOMPARE(d.VScroll1->value(), 5);
            QCOMPARE(d.PictMP->y(), 5);
            QCOMPARE(d.mp.OrigineHaut, 0.0f);
            d.AnnulPrint->click();
        }));
    }

    void pagePdf_data()
    {
        QTest::addColumn<int>("L");
        QTest::addColumn<int>("T");
        QTest::addColumn<int>("fleche");
        for (auto [mmL, mmH] : {std::pair(180, 250), std::pair(90, 127)})
            for (int fleche : {0, 4, 8})
                QTest::addRow("%dx%d fleche %d", mmL, mmH, fleche)
                    << int(std::lround(mmL * 56.7)) << int(std::lround(mmH * 56.7)) << fleche;
    }

    void pagePdf()
    {
        QFETCH(int, L);
        QFETCH(int, T);
        QFETCH(int, fleche);
        Programme p;
        p.etat.LargeurTwips = int16_t(L);
        p.etat.HauteurTwips = int16_t(T);
        const QString fichier = sortie(QStringLiteral("page-%1-%2.pdf").arg(L).arg(fleche));
        utiliser({imprimantePdf("PDF", fichier)});
        QVERIFY(imprimer(p.f(), [&](VornPrint& d) {
            d.ChoixPrint[0]->click();
            d.FlècheM[fleche]->click();
            d.ValidePrint->click();
        }));
        QVERIFY(QFile::exists(fichier));

        bool ok = false;
        const QString info = lancer("pdfinfo", {fichier}, &ok);
        QVERIFY2(ok, qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression("Page size:\\s+595 x 842 pts")), qPrintable(info));
        // Drawn at the printer's resolution: no raster image, the digits as text.
        const QStringList images = lancer("pdfimages", {"-list", fichier}, &ok).split('\n', Qt::SkipEmptyParts);
        QVERIFY(ok);
        QCOMPARE(images.size(), 2);
        QVERIFY(lancer("pdffonts", {fichier}, &ok).contains("LiberationSans-Bold"));

        const QString base = sortie(QStringLiteral("page-%1-%2").arg(L).arg(fleche));
        lancer("pdftoppm", {"-r", QString::number(Resolution), "-png", "-singlefile", fichier, base}, &ok);
        QVERIFY(ok);
        const QImage page(base + ".png");
        QVERIFY(!page.isNull());
        const QRect boite = boiteDessin(page.convertToFormat(QImage::Format_RGB32));
        QVERIFY(!boite.isNull());

        const QPointF place = placeAttendue(fleche, 11900, 16840, 0, 0, 11900, 16840, L, T, 9450, 13020);
        const double mmParPixel = 25.4 / Resolution;
        const auto proche = [](double a, double b) { return std::abs(a - b) <= 0.5; };
        QVERIFY2(proche(boite.left() * mmParPixel, place.x() * MmParTwip),
                 qPrintable(QStringLiteral("%1 %2").arg(boite.left() * mmParPixel).arg(place.x() * MmParTwip)));
        QVERIFY2(proche(boite.top() * mmParPixel, place.y() * MmParTwip),
                 qPrintable(QStringLiteral("%1 %2").arg(boite.top() * mmParPixel).arg(place.y() * MmParTwip)));
        QVERIFY(proche((boite.right() + 1) * mmParPixel, (place.x() + L) * MmParTwip));
        QVERIFY(proche((boite.bottom() + 1) * mmParPixel, (place.y() + T) * MmParTwip));
        // The same layout and colours as the image, scaled.
        QVERIFY(differencesDeDessin(page.convertToFormat(QImage::Format_RGB32), boite, p.f().Pict1->image()) < 1);
    }

    void margesDuPilote()
    {
        // A printer that cannot print a quarter inch around the page: home is
        // the printable area's corner, not the paper's.
        Programme p;
        const QString fichier = sortie("marges.pdf");
        utiliser({imprimantePdf("Marges", fichier, QMarginsF(18, 18, 18, 18))});
        QVERIFY(imprimer(p.f(), [&](VornPrint& d) {
            d.ChoixPrint[0]->click();
            QCOMPARE(d.page.LargeurImprimable, 11900 - 720);
            d.ValidePrint->click();
        }));
        bool ok = false;
        const QString base = sortie("marges");
        lancer("pdftoppm", {"-r", QString::number(Resolution), "-png", "-singlefile", fichier, base}, &ok);
        QVERIFY(ok);
        const QRect boite = boiteDessin(QImage(base + ".png").convertToFormat(QImage::Format_RGB32));
        const double mmParPixel = 25.4 / Resolution;
        QVERIFY(std::abs(boite.left() * mmParPixel - 6.35) <= 0.5);
        QVERIFY(std::abs(boite.top() * mmParPixel - 6.35) <= 0.5);
        QVERIFY(std::abs((boite.width()) * mmParPixel - 5103 * MmParTwip) <= 0.5);
    }

    void fermeture()
    {
        // The close box after a printer click prints, as "Valider" does.
        Programme p;
        const QString fichier = sortie("fermeture.pdf");
        utiliser({imprimantePdf("PDF", fichier)});
        QVERIFY(imprimer(p.f(), [&](VornPrint& d) {
            d.ChoixPrint[0]->click();
            d.close();
        }));
        QVERIFY(QFile::exists(fichier));
        bool ok = false;
        QVERIFY(lancer("pdfinfo", {fichier}, &ok).contains(QRegularExpression("Pages:\\s+1\\n")));

        // "Annuler l'impression" after a printer click, and Escape, print nothing.
        QFile::remove(fichier);
        QVERIFY(imprimer(p.f(), [&](VornPrint& d) {
            d.ChoixPrint[0]->click();
            QTest::keyClick(&d, Qt::Key_Escape);
            QVERIFY(d.isVisible());
            d.AnnulPrint->click();
        }));
        QVERIFY(!QFile::exists(fichier));
    }

    void zone()
    {
        // One month block, second column, second row, outlined in red.
        Programme p;
        mdlVorn& v = p.etat;
        v.Couleurs.CoulGrille = 0x000000FF;
        v.ZoneChoisie = Vrai;
        v.ZoneX1 = 209, v.ZoneY1 = 216, v.ZoneX2 = 418, v.ZoneY2 = 432;
        v.RatioZone = 1;
        v.LargeurTwips = 5103;
        v.HauteurTwips = 5103;
        const QImage avant = p.f().Pict1->image();
        const QString fichier = sortie("zone.pdf");
        utiliser({imprimantePdf("PDF", fichier)});
        QVERIFY(imprimer(p.f(), [&](VornPrint& d) {
            d.ChoixPrint[0]->click();
            // The miniature keeps the zone picture's aspect (211 x 222 pixels).
            const double w = 5103 * 344.0 / 11900 + 2;
            QCOMPARE(d.PictMP->height(), int(std::lround((216 * 15 + 90) * w / (209 * 15 + 30) + 2)));
            d.ValidePrint->click();
        }));
        const QImage sel = p.f().PictSel->image();
        QCOMPARE(sel.size(), QSize(211, 222));
        const QColor rougeSel(255, 0, 0);
        for (int x = 0; x <= 208; x += 4)
            QVERIFY(sel.pixelColor(x, 0) == rougeSel && sel.pixelColor(x, 218) == rougeSel);
        for (int y = 1; y < 218; y += 7)
            for (int x = 1; x < 207; x += 5)
                QCOMPARE(sel.pixelColor(x, y), p.f().Pict1->image().pixelColor(209 + x, 216 + y));

        // The printed page: the zone picture, outline included, drawn sharp.
        bool ok = false;
        const QString racine = sortie("zone");
        lancer("pdftoppm", {"-r", QString::number(Resolution), "-png", "-singlefile", fichier, racine}, &ok);
        QVERIFY(ok);
        const QImage page = QImage(racine + ".png").convertToFormat(QImage::Format_RGB32);
        const QRect boite = boiteDessin(page);
        QVERIFY(differencesDeDessin(page, boite, sel) < 1);
        // The red outline along the picture's edges.
        const QColor rouge(255, 0, 0);
        for (int i = 10; i < boite.height() - 10; i += 17) {
            QCOMPARE(page.pixelColor(boite.left() + 1, boite.top() + i), rouge);
            QCOMPARE(page.pixelColor(boite.left() + i * boite.width() / boite.height(), boite.top() + 1), rouge);
        }
        const QImage image = p.f().Pict1->image();
        // Nothing drawn into the calendar image itself.
        QCOMPARE(image, avant);
    }
};

ARDEMO_GUI_MAIN(TestImpression)
#include "test_impression.moc"
