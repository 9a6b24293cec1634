// The zone selection window and the dragging of a zone over the calendar image.
#include <QAbstractButton>
#include <QLabel>
#include <array>
#include <QLineEdit>
#include <QtTest>

#include "app/ui/BoiteImage.h"
#include "app/ui/Feuille.h"
#include "app/ui/Styles.h"
#include "main_gui.h"
#include "Outils.h"
#include "special/ui/VornSelect.h"

namespace {
const QRgb CouleurZone = qRgb(0, 192, 192); // 0x00C0C000

// Drag on the image from one point to another, in pixels of its drawing area
// (the box has a one-pixel border).
void glisser(Ardemo& f, QPoint de, QPoint a, Qt::MouseButton bouton = Qt::LeftButton)
{
    QTest::mousePress(f.Pict1, bouton, {}, de + QPoint(1, 1));
    QTest::mouseRelease(f.Pict1, bouton, {}, a + QPoint(1, 1));
}

using Zone = std::array<int, 4>;
Zone zoneDe(Ardemo& f) { return {f.etat().ZoneX1, f.etat().ZoneY1, f.etat().ZoneX2, f.etat().ZoneY2}; }

int pixelsDeZone(const QImage& image)
{
    const QImage i = image.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < i.height(); ++y)
        for (int x = 0; x < i.width(); ++x)
            n += (i.pixel(x, y) & 0xFFFFFF) == (CouleurZone & 0xFFFFFF);
    return n;
}

// A built calendar with the selection window open.
struct Selection : Programme {
    Selection()
    {
        f().Sélection_Click();
        QCoreApplication::processEvents();
    }
    VornSelect& s() { return *f().vornSelect; }
    QAbstractButton* bouton(const char* nom) { return enfant<QAbstractButton>(f().vornSelect, nom); }
};
} // namespace

class TestSelection : public QObject {
    Q_OBJECT
private slots:
    void ouverture()
    {
        Selection p;
        Ardemo& f = p.f();
        p.etat.ApercuOuvert = Vrai;
        p.s().hide();
        f.Sélection_Click(); // the preview is closed first
        QVERIFY(!p.etat.ApercuOuvert);
        VornSelect& s = p.s();
        // The image uncovered: the sheet's controls and the command panel hidden.
        QVERIFY(s.isVisible() && !f.FondCdes->isVisible() && !f.CalBase->isVisible() && f.Pict1->isVisible());
        QCOMPARE(f.CalType->text(), QStringLiteral("Image du Calendrier"));
        QVERIFY(!f.Pict1->image().isNull() && f.Pict1->image() == f.imageRendue());
    }

    // Snapping to whole blocks of 209 x 216 pixels (the arithmetic itself is
    // checked with the zone computation): the mouse's place on the image counts.
    void zonesDeMois()
    {
        Selection p;
        Ardemo& f = p.f();
        // A click without movement: the block under the pointer.
        glisser(f, {300, 500}, {300, 500});
        QCOMPARE(zoneDe(f), (Zone{209, 432, 418, 648}));
        QCOMPARE(p.etat.RatioZone, 216.0 / 209.0);
        QVERIFY(p.etat.ZoneChoisie && !f.Hauteur->isEnabled());
        // The last pixel before a boundary, and a boundary.
        glisser(f, {208, 215}, {209, 216});
        QCOMPARE(zoneDe(f), (Zone{0, 0, 418, 432}));
        // A reversed drag gives the same zone; the drag is kept in increasing order.
        glisser(f, {500, 20}, {10, 700});
        QCOMPARE(zoneDe(f), (Zone{0, 0, 627, 864}));
        QVERIFY(p.s().trace().SelX1 == 10 && p.s().trace().SelY2 == 700);
        // Released outside the image, past either corner.
        glisser(f, {100, 100}, {700, 900});
        QCOMPARE(zoneDe(f), (Zone{0, 0, 836, 1080}));
        QCOMPARE(p.etat.RatioZone, 1080.0 / 836.0);
        glisser(f, {100, 100}, {-250, -250});
        QCOMPARE(zoneDe(f), (Zone{-209, -216, 209, 216}));

        // Other buttons do nothing.
        for (Qt::MouseButton b : {Qt::RightButton, Qt::MiddleButton}) {
            glisser(f, {10, 10}, {600, 800}, b);
            QCOMPARE(zoneDe(f), (Zone{-209, -216, 209, 216}));
            QVERIFY(p.etat.ZoneChoisie);
            QVERIFY(p.bouton("ValideZone")->isEnabled());
        }
    }

    // The zone is drawn above the image, never into it.
    void imageSansSurcouche()
    {
        Selection p;
        Ardemo& f = p.f();
        const QImage propre = f.Pict1->image();
        QVERIFY(pixelsDeZone(propre) == 0 && pixelsDeZone(f.Pict1->grab().toImage()) == 0);

        glisser(f, {200, 100}, {215, 104});
        QImage ecran = f.Pict1->grab().toImage();
        // The outline's corners (0, 0) and (418, 216); nothing outside it.
        QVERIFY(ecran.pixel(1, 1) == CouleurZone && ecran.pixel(419, 217) == CouleurZone && ecran.pixel(500, 500) != CouleurZone);
        QVERIFY(f.Pict1->image() == propre && f.imageRendue() == propre);

        // A new press removes the previous zone.
        QTest::mousePress(f.Pict1, Qt::LeftButton, {}, {400, 600});
        QCOMPARE(pixelsDeZone(f.Pict1->grab().toImage()), 0);
        QVERIFY(!p.etat.ZoneChoisie);
        QVERIFY(!p.bouton("ValideZone")->isEnabled());
        QTest::mouseRelease(f.Pict1, Qt::LeftButton, {}, {400, 600});
        QVERIFY(pixelsDeZone(f.Pict1->grab().toImage()) > 0);

        p.s().ValideZone_Click();
        QVERIFY(pixelsDeZone(f.Pict1->grab().toImage()) == 0 && f.Pict1->image() == propre);
    }

    void valider()
    {
        Selection p;
        Ardemo& f = p.f();
        VornSelect& s = p.s();
        QVERIFY(!p.bouton("ValideZone")->isEnabled()); // nothing drawn yet
        f.Largeur->setText(QStringLiteral("100"));
        glisser(f, {200, 100}, {215, 104});
        QVERIFY(p.bouton("ValideZone")->isEnabled());
        QTest::mouseClick(p.bouton("ValideZone"), Qt::LeftButton);
        QCOMPARE(f.Hauteur->text(), QStringLiteral("52")); // 100 x 216 / 418
        QVERIFY(!f.Hauteur->isEnabled() && !s.isVisible() && f.CalBase->isVisible() && f.FondCdes->isVisible());
        QVERIFY(p.etat.ZoneChoisie && zoneDe(f) == (Zone{0, 0, 418, 216}));
        // The width box then follows the zone's proportion.
        f.Largeur->setText(QStringLiteral("200"));
        QCOMPARE(f.Hauteur->text(), QStringLiteral("103"));
        // A new opening can keep the validated zone; a new press waits for its release.
        f.Sélection_Click();
        QVERIFY(p.bouton("ValideZone")->isEnabled());
        QTest::mousePress(f.Pict1, Qt::LeftButton, {}, {5, 5});
        QVERIFY(!p.bouton("ValideZone")->isEnabled());

        // One block wide and four high: the height of a wide print would not fit,
        // the width comes down to 139.
        f.Largeur->setText(QStringLiteral("150"));
        glisser(f, {5, 5}, {5, 800});
        QCOMPARE(p.etat.RatioZone, 864.0 / 209.0);
        s.ValideZone_Click();
        QVERIFY(f.Largeur->text() == "139" && f.Hauteur->text() == "575" && !f.largeurRouge());
        // The accepted width opens the preview, which takes the height from the
        // width's twips: 7881 x 864 / 209 = 32580.
        QCOMPARE(int(p.etat.HauteurTwips), 32580);
    }

    // Leaving the window again after a zone was validated: "Annuler la
    // Sélection" drops it, the close box drops a newly drawn one, and the zone
    // stays when nothing new was drawn.
    void fermeture_data()
    {
        QTest::addColumn<QString>("fin");
        QTest::addColumn<bool>("nouveauTrace");
        QTest::addColumn<bool>("zoneGardee");
        QTest::newRow("Annuler la Sélection") << "annuler" << true << false;
        QTest::newRow("Annuler sans tracé") << "annuler" << false << false;
        QTest::newRow("case de fermeture après un tracé") << "fermer" << true << false;
        QTest::newRow("case de fermeture sans tracé") << "fermer" << false << true;
        QTest::newRow("Échap sans tracé") << "echap" << false << true;
        QTest::newRow("Valider sans tracé") << "valider" << false << true;
    }
    void fermeture()
    {
        QFETCH(QString, fin);
        QFETCH(bool, nouveauTrace);
        QFETCH(bool, zoneGardee);
        Selection p;
        Ardemo& f = p.f();
        glisser(f, {200, 100}, {215, 104});
        p.s().ValideZone_Click();
        QCOMPARE(f.Hauteur->text(), QStringLiteral("47")); // 90 x 216 / 418
        QVERIFY(p.activer());
        f.Sélection->setFocus();
        f.Sélection_Click();
        if (nouveauTrace)
            glisser(f, {300, 500}, {300, 500});
        if (fin == "fermer")
            p.s().close();
        else if (fin == "echap")
            QTest::keyClick(&p.s(), Qt::Key_Escape);
        else
            QTest::mouseClick(fin == "valider" ? p.bouton("ValideZone") : p.bouton("AnnuleZone"), Qt::LeftButton);
        QVERIFY(!p.s().isVisible() && f.CalBase->isVisible() && f.FondCdes->isVisible());
        QCOMPARE(f.focusWidget(), f.Sélection); // the keyboard back on the button that opened it
        QCOMPARE(pixelsDeZone(f.Pict1->grab().toImage()), 0);
        QCOMPARE(bool(p.etat.ZoneChoisie), zoneGardee);
        QCOMPARE(f.Hauteur->isEnabled(), !zoneGardee);
        if (zoneGardee) {
            QCOMPARE(zoneDe(f), (Zone{0, 0, 418, 216}));
            QCOMPARE(f.Hauteur->text(), QStringLiteral("47"));
            return;
        }
        // Back to the whole sheet, 90 x 1.415 = 127, through the height box's
        // change handling, which shows the preview again.
        QVERIFY(f.Hauteur->text() == "127" && f.Largeur->text() == "90" && p.etat.HauteurTwips == 7201);
        QVERIFY(p.etat.ApercuOuvert);
        // Sizes follow the sheet's proportion again.
        f.Largeur->setText(QStringLiteral("200"));
        QCOMPARE(f.Hauteur->text(), QStringLiteral("283"));
        // Outside the selection the image's mouse does nothing (it is covered anyway).
        f.Pict1->show();
        glisser(f, {300, 500}, {300, 500});
        QVERIFY(!p.etat.ZoneChoisie && f.Hauteur->isEnabled() && pixelsDeZone(f.Pict1->grab().toImage()) == 0);
    }
};

ARDEMO_GUI_MAIN(TestSelection)
#include "test_selection.moc"
