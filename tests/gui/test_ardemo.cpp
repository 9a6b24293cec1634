// The main window: layout of the sheet, the build and the image it makes.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QtTest>

#include "app/ui/BoiteImage.h"
#include "app/ui/Couleur.h"
#include "app/ui/Curseur.h"
#include "app/ui/Feuille.h"
#include "app/ui/Styles.h"
#include "special/ui/VornCoulSP.h"
#include "main_gui.h"
#include "Outils.h"

namespace {
// A point of the cell's background: inside the sunken border, away from the digits.
QPoint fondCellule(Ardemo& f, int m, int k)
{
    return f.CalBase->BtnJour[m][k]->geometry().topLeft() + QPoint(4, 4);
}

QColor pixel(const QImage& img, QPoint p) { return img.pixelColor(p); }

bool etatPret(Ardemo& f)
{
    return f.FeuVert->isVisibleTo(&f) && !f.FeuRouge->isVisibleTo(&f) && f.Fabriquer->isEnabled()
           && f.SauveFichier->isEnabled() && f.SauvePPapier->isEnabled() && f.Apercu->isEnabled()
           && f.Imprimer->isEnabled() && f.cAn->isEnabled() && f.chkFerie->isEnabled() && f.chkWeek->isEnabled()
           && f.Sélection->isEnabled() && f.CoulSpéciale->isEnabled();
}

bool etatOccupe(Ardemo& f)
{
    return !f.FeuVert->isVisibleTo(&f) && f.FeuRouge->isVisibleTo(&f) && !f.Fabriquer->isEnabled()
           && !f.SauveFichier->isEnabled() && !f.SauvePPapier->isEnabled() && !f.Apercu->isEnabled()
           && !f.Imprimer->isEnabled() && !f.cAn->isEnabled() && !f.chkFerie->isEnabled()
           && !f.chkWeek->isEnabled() && !f.Sélection->isEnabled() && f.Couleurs->isEnabled()
           && f.Quitter->isEnabled() && f.CalScolaire->isEnabled();
}

void construireAnnee(Ardemo& f, const char* annee)
{
    f.etat().AnChoisi = annee;
    f.Fabrication();
}
} // namespace

class TestArdemo : public QObject {
    Q_OBJECT
private slots:
    void disposition()
    {
        Programme p(false);
        Ardemo& f = p.f();
        QCOMPARE(f.size(), QSize(917, 869));
        QCOMPARE(f.CalBase->geometry(), QRect(266, 0, 630, 868));
        QCOMPARE(f.Pict1->geometry(), f.CalBase->geometry());
        QCOMPARE(f.Pict1->tailleInterieure(), QSize(628, 866));
        QCOMPARE(int(f.etat().LargMois), 209);
        QCOMPARE(int(f.etat().HautMois), 216);
        const char* noms[7] = {"Lun", "Mar", "Mer", "Jeu", "Ven", "Sam", "Dim"};
        for (int m = 1; m <= 12; ++m) {
            for (int k = 0; k < 7; ++k) {
                QCOMPARE(f.CalBase->lblJour[m][k]->legende, QString::fromLatin1(noms[k]));
                if (k > 0) // the labels touch without gaps
                    QCOMPARE(f.CalBase->lblJour[m][k]->x(), f.CalBase->lblJour[m][k - 1]->geometry().right() + 1);
            }
            auto* b = f.CalBase->BtnJour[m];
            QCOMPARE(b[7]->pos(), QPoint(b[0]->x(), b[0]->y() + 28));
            QCOMPARE(b[41]->pos(), QPoint(b[0]->x() + 6 * 28, b[0]->y() + 5 * 28));
            QCOMPARE(b[41]->size(), QSize(28, 28));
            // The weekday row overlaps the grid's top pixel row, one pixel to the right.
            QCOMPARE(f.CalBase->lblJour[m][0]->geometry().bottom(), b[0]->y());
            QCOMPARE(f.CalBase->lblJour[m][0]->x(), b[0]->x() + 1);
        }
        // Right edge of the third column and bottom of the fourth row: 9300 and 12960 twips.
        QCOMPARE(f.CalBase->BtnJour[3][41]->geometry().right() + 1, 9300 / 15);
        QCOMPARE(f.CalBase->BtnJour[12][41]->geometry().bottom() + 1, 12960 / 15);
        QCOMPARE(f.CalBase->lblDate[5]->geometry(), QRect(234, 218, 162, 26));
        QVERIFY(f.cAn->count() == 101 && f.cAn->itemText(0) == "2000" && f.cAn->itemText(100) == "2100");
        QCOMPARE(f.CalType->text(), QStringLiteral("Calendrier réel"));
        QCOMPARE(f.CalType->toolTip(),
                 QStringLiteral("Si vous stationnez\r\n sur un jour férié\r\n vous  en connaîtrez la raison."));
        QCOMPARE(f.FeuRouge->pos(), f.FeuVert->pos());
        QCOMPARE(f.FeuVert->pixmap().size(), QSize(32, 32));
        QCOMPARE(f.FeuRouge->pixmap().size(), QSize(32, 32));
        QCOMPARE(f.Image1->pixmap().size(), QSize(32, 32));
        QVERIFY(!f.windowIcon().isNull());
        QCOMPARE(int(f.etat().LargeurTwips), 5103);
        QCOMPARE(int(f.etat().HauteurTwips), 7201);
        QVERIFY(!f.etat().CalendrierFait);
    }

    void premiereActivationConstruitUneFois()
    {
        Programme p;
        Ardemo& f = p.f();
        QVERIFY(f.etat().CalendrierFait);
        QVERIFY(!f.etat().PremierAffichage);
        QCOMPARE(f.imageRendue().size(), QSize(628, 866));
        QVERIFY(etatPret(f));
        QVERIFY(!QApplication::overrideCursor());
        // The current year is built.
        const QString annee = QString::number(QDate::currentDate().year());
        QVERIFY(f.CalBase->lblDate[1]->legende.endsWith(annee));

        const int attentes = p.horloge.attentes;
        f.etat().CalendrierFait = Faux;
        QEvent activation(QEvent::ActivationChange);
        QApplication::sendEvent(&f, &activation);
        f.Form_Activate();
        QCOMPARE(p.horloge.attentes, attentes);
        QVERIFY(!f.etat().CalendrierFait);
    }

    void etatsOccupePuisPret()
    {
        Programme p;
        Ardemo& f = p.f();
        bool vuOccupe = false, sablier = false;
        p.horloge.pendantAttente = [&] {
            vuOccupe = etatOccupe(f);
            sablier = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        };
        f.Fabriquer_Click();
        QVERIFY(vuOccupe);
        QVERIFY(sablier);
        QVERIFY(etatPret(f));
        QVERIFY(!QApplication::overrideCursor());
    }

    void imageDUneAnnee()
    {
        Programme p;
        Ardemo& f = p.f();
        construireAnnee(f, "2027");
        const QImage img = f.Pict1->image();
        QCOMPARE(img.size(), QSize(628, 866));
        QCOMPARE(img, f.imageRendue());
        const SchemaCouleurs& c = f.etat().Couleurs;
        // January 2027 starts on a Friday: cell 0 is 28 December 2026, grey.
        QCOMPARE(f.CalBase->BtnJour[1][0]->legende, QStringLiteral("28"));
        QCOMPARE(pixel(img, fondCellule(f, 1, 0)), VersQColor(c.CoulGris));
        // 1 January 2027 (cell 4): holiday over the weekday colour.
        QCOMPARE(pixel(img, fondCellule(f, 1, 4)), VersQColor(c.CoulFérié));
        QCOMPARE(f.CalBase->BtnJour[1][4]->toolTip(), QStringLiteral(" Jour de l'An "));
        // Saturday 2 January (cell 5), weekend; Monday 4 January (cell 7), a plain day, week 1.
        QCOMPARE(pixel(img, fondCellule(f, 1, 5)), VersQColor(c.CoulWeekEnd));
        QCOMPARE(pixel(img, fondCellule(f, 1, 7)), VersQColor(c.CoulJours));
        QCOMPARE(f.CalBase->BtnJour[1][7]->toolTip(), QStringLiteral("Semaine  1"));
        QCOMPARE(f.CalBase->BtnJour[1][6]->toolTip(), QStringLiteral("Semaine  53"));
        QCOMPARE(f.CalBase->BtnJour[1][3]->toolTip(), QString());
        // Easter 2027 is 28 March (1 March is a Monday, in cell 7): Monday 29 is a holiday too.
        QCOMPARE(f.CalBase->lblDate[3]->legende, QStringLiteral("mars 2027"));
        QCOMPARE(f.CalBase->BtnJour[3][34]->legende, QStringLiteral("28"));
        QCOMPARE(f.CalBase->BtnJour[3][34]->toolTip(), QStringLiteral("Dimanche de Pâques"));
        QCOMPARE(pixel(img, fondCellule(f, 3, 35)), VersQColor(c.CoulFérié));
        // The sheet's frame, three pixels in the grid colour, along the top and left.
        QCOMPARE(pixel(img, QPoint(1, 400)), VersQColor(c.CoulGrille));
        QCOMPARE(pixel(img, QPoint(300, 2)), VersQColor(c.CoulGrille));
        QCOMPARE(pixel(img, QPoint(300, 3)), VersQColor(c.CoulBordure));
        // Bold black digits of a month day.
        const QImage cel = img.copy(f.CalBase->BtnJour[1][7]->geometry().adjusted(2, 2, -2, -2));
        bool noir = false;
        for (int y = 0; y < cel.height(); ++y)
            for (int x = 0; x < cel.width(); ++x)
                noir = noir || cel.pixelColor(x, y) == Qt::black;
        QVERIFY(noir);
    }

    void couleursSpeciales()
    {
        Programme p;
        Ardemo& f = p.f();
        const QColor rouge(255, 0, 0);
        f.etat().TableCoulSP[2][10] = DeQColor(rouge);
        // A rebuild from the check boxes keeps the special colours...
        f.chkWeek->click();
        auto contientRouge = [&](const QImage& img) {
            const QImage cel = img.copy(f.CalBase->BtnJour[2][10]->geometry());
            for (int y = 0; y < cel.height(); ++y)
                for (int x = 0; x < cel.width(); ++x)
                    if (cel.pixelColor(x, y) == rouge)
                        return true;
            return false;
        };
        QVERIFY(contientRouge(f.Pict1->image()));
        QVERIFY(!f.chkWeek->isChecked());
        QCOMPARE(pixel(f.Pict1->image(), fondCellule(f, 1, 5)), VersQColor(f.etat().Couleurs.CoulJours));
        // ... the build button clears them.
        f.Fabriquer_Click();
        QCOMPARE(f.etat().TableCoulSP[2][10], 0.0);
        QVERIFY(!contientRouge(f.Pict1->image()));
    }

    void clicSurUnJour()
    {
        Programme p;
        Ardemo& f = p.f();
        auto* cellule = f.CalBase->BtnJour[4][12];
        QTest::mouseClick(cellule, Qt::LeftButton);
        QCOMPARE(f.etat().TableCoulSP[4][12], 0.0); // closed special-colours window: nothing
        f.etat().ModeCoulSP = Vrai;
        f.etat().CoulSPChoisie = DeRvb(0, 0, 255);
        QTest::mouseClick(cellule, Qt::LeftButton);
        QCOMPARE(f.etat().TableCoulSP[4][12], DeRvb(0, 0, 255));
        QTest::mouseClick(cellule, Qt::LeftButton); // same colour again: back to normal
        QCOMPARE(f.etat().TableCoulSP[4][12], 0.0);
        QCOMPARE(cellule->texte, QColor(Qt::black));
    }

    void refusEnModeCouleursSpeciales()
    {
        Programme p;
        Ardemo& f = p.f();
        const QImage avant = f.Pict1->image();
        const QString titre = f.CalBase->lblDate[1]->legende;
        f.etat().ModeCoulSP = Vrai;
        f.etat().AnChoisi = "1999";
        const int attentes = p.horloge.attentes;
        f.Fabriquer_Click();
        f.Fabrication();
        QCOMPARE(p.horloge.attentes, attentes);
        QCOMPARE(f.CalBase->lblDate[1]->legende, titre);
        QCOMPARE(f.Pict1->image(), avant);
        QVERIFY(etatPret(f));
    }

    void imageIndependanteDuDefilement()
    {
        Programme p;
        Ardemo& f = p.f();
        const QImage avant = f.Pict1->image();
        f.CalBase->move(f.CalBase->x(), -3255 / 15);
        f.Pict1->move(f.Pict1->x(), -3255 / 15);
        f.Fabrication();
        QCOMPARE(f.Pict1->image(), avant);
        f.CalBase->hide(); // covered / hidden sheet
        f.Fabrication();
        QCOMPARE(f.Pict1->image(), avant);
    }

    void imageIndependanteDeLEcran()
    {
        // The same build in a process whose screen is scaled by 1.25.
        Programme p(false);
        p.f().etat().AnChoisi = "2027";
        p.f().Fabrication();
        const QString fichier = p.dossier.filePath("echelle.png");
        QProcess proc;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_SCALE_FACTOR", "1.25");
        proc.setProcessEnvironment(env);
        proc.start(QCoreApplication::applicationFilePath(), {"-image", fichier});
        QVERIFY(proc.waitForFinished(60000));
        QCOMPARE(proc.exitCode(), 0);
        QImage autre(fichier);
        QCOMPARE(autre.size(), QSize(628, 866));
        QCOMPARE(autre.convertToFormat(QImage::Format_RGB32), p.f().imageRendue().convertToFormat(QImage::Format_RGB32));
    }

    void fermetureDeLaFenetrePrincipale()
    {
        Programme p;
        Ardemo& f = p.f();
        int fin = 0;
        QObject::connect(&f, &Ardemo::programFinished, [&] { ++fin; });
        // With the special-colours window open, the program goes on...
        f.CoulSpéciale_Click();
        QVERIFY(f.vornCoulSP && f.vornCoulSP->isVisible());
        f.close();
        QCoreApplication::processEvents();
        QCOMPARE(fin, 0);
        // ... and ends when that last window closes.
        f.vornCoulSP->close();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(fin, 1);
        QVERIFY(!f.etat().ModeCoulSP);
    }

    void pointeurToujoursRendu()
    {
        CurseurSablier();
        CurseurSablier();
        CurseurNormal();
        QVERIFY(!QApplication::overrideCursor());
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    PreparerApplication(app);
    if (argc == 3 && QByteArray(argv[1]) == "-image") {
        Programme p(false);
        p.f().etat().AnChoisi = "2027";
        p.f().Fabrication();
        return p.f().imageRendue().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    TestArdemo t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_ardemo.moc"
