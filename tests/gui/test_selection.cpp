// The zone selection window and the dragging of a zone over the calendar image.
#include <QAbstractButton>
#include <QLineEdit>
#include <QtTest>
#include <array>

#include "app/ui/BoiteImage.h"
#include "app/ui/Feuille.h"
#include "app/ui/Styles.h"
#include "main_gui.h"
#include "Outils.h"
#include "special/ui/VornSelect.h"

namespace {
using Zone = std::array<int, 4>;

// A built calendar with the selection window open.
struct Selection : Programme {
    Selection()
    {
        C(f()).Sélection->click();
        QCoreApplication::processEvents();
    }
    VornSelect& s() { return *fenetreDe<VornSelect>(f()); }
    QAbstractButton* valider() { return enfant<QAbstractButton>(fenetreDe<VornSelect>(f()), "ValideZone"); }
    Zone zone() { return {etat.ZoneX1, etat.ZoneY1, etat.ZoneX2, etat.ZoneY2}; }
    // A drag on the image, in pixels of its drawing area (inside a one-pixel border).
    void glisser(QPoint de, QPoint a, Qt::MouseButton bouton = Qt::LeftButton)
    {
        QTest::mousePress(C(f()).Pict1, bouton, {}, de + QPoint(1, 1));
        QTest::mouseRelease(C(f()).Pict1, bouton, {}, a + QPoint(1, 1));
    }
    // Pixels of the zone's outline, as shown.
    int contour()
    {
        const QImage i = C(f()).Pict1->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int n = 0;
        for (int y = 0; y < i.height(); ++y)
            for (int x = 0; x < i.width(); ++x)
                n += i.pixel(x, y) == qRgb(0, 192, 192);
        return n;
    }
};
} // namespace

class TestSelection : public QObject {
    Q_OBJECT
private slots:
    // Snapping to whole blocks of months where the mouse is on the image; the
    // outline is drawn above the image, never into it.
    void zonesDeMois()
    {
        Selection p;
        Ardemo& f = p.f();
        const QImage propre = C(f).Pict1->image();
        QVERIFY(p.s().isVisible() && !C(f).CalBase->isVisible() && propre == f.imageRendue() && p.contour() == 0);
        const std::tuple<QPoint, QPoint, Zone> cas[] = {
            {{300, 500}, {300, 500}, {209, 432, 418, 648}}, // a click: the block under the pointer
            {{208, 215}, {209, 216}, {0, 0, 418, 432}},     // the last pixel before a boundary, a boundary
            {{500, 20}, {10, 700}, {0, 0, 627, 864}},       // a reversed drag
            {{100, 100}, {700, 900}, {0, 0, 836, 1080}},    // released outside the image
            {{100, 100}, {-250, -250}, {-209, -216, 209, 216}}};
        for (auto [de, a, zone] : cas) {
            p.glisser(de, a);
            QCOMPARE(p.zone(), zone);
            QVERIFY(p.etat.ZoneChoisie && p.valider()->isEnabled() && p.contour() > 0);
        }
        QCOMPARE(p.etat.RatioZone, 432.0 / 418.0);
        p.glisser({10, 10}, {600, 800}, Qt::RightButton); // other buttons do nothing
        QCOMPARE(p.zone(), (Zone{-209, -216, 209, 216}));
        // A new press removes the previous zone until its release.
        QTest::mousePress(C(f).Pict1, Qt::LeftButton, {}, {400, 600});
        QVERIFY(p.contour() == 0 && !p.etat.ZoneChoisie && !p.valider()->isEnabled());
        QTest::mouseRelease(C(f).Pict1, Qt::LeftButton, {}, {400, 600});
        QVERIFY(C(f).Pict1->image() == propre && p.contour() > 0);
        // One block wide and four high: the height of a wide print would not fit,
        // the width comes down to 139; the preview takes the height from the
        // width's twips: 7881 x 864 / 209 = 32580.
        C(f).Largeur->setText(QStringLiteral("150"));
        p.glisser({5, 5}, {5, 800});
        QTest::mouseClick(p.valider(), Qt::LeftButton);
        QVERIFY(C(f).Largeur->text() == "139" && C(f).Hauteur->text() == "575" && !f.largeurRouge());
        QCOMPARE(int(p.etat.HauteurTwips), 32580);
        QVERIFY(!C(f).Hauteur->isEnabled() && !p.s().isVisible() && C(f).CalBase->isVisible() && p.contour() == 0);
    }

    // Leaving the window again after a zone was validated: "Annuler la
    // Sélection" drops it, the close box drops a newly drawn one, and the zone
    // stays when nothing new was drawn.
    void fermeture_data()
    {
        QTest::addColumn<QString>("fin");
        QTest::addColumn<bool>("nouveauTrace");
        QTest::addColumn<bool>("zoneGardee");
        QTest::newRow("Annuler sans tracé") << "annuler" << false << false;
        QTest::newRow("case de fermeture après un tracé") << "fermer" << true << false;
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
        p.glisser({200, 100}, {215, 104});
        p.s().ValideZone_Click();
        QVERIFY(p.activer());
        C(f).Sélection->setFocus();
        C(f).Sélection->click();
        if (nouveauTrace)
            p.glisser({300, 500}, {300, 500});
        if (fin == "fermer")
            p.s().close();
        else if (fin == "echap")
            QTest::keyClick(&p.s(), Qt::Key_Escape);
        else
            QTest::mouseClick(fin == "valider" ? p.valider() : enfant<QAbstractButton>(&p.s(), "AnnuleZone"), Qt::LeftButton);
        QVERIFY(!p.s().isVisible() && C(f).CalBase->isVisible() && p.contour() == 0);
        QCOMPARE(f.focusWidget(), C(f).Sélection); // the keyboard back on the button that opened it
        QCOMPARE(bool(p.etat.ZoneChoisie), zoneGardee);
        QCOMPARE(C(f).Hauteur->isEnabled(), !zoneGardee);
        // Kept: 90 x 216 / 418; dropped: back to the whole sheet, 90 x 1.415,
        // through the height box's change handling, which shows the preview again.
        QCOMPARE(C(f).Hauteur->text(), QString(zoneGardee ? "47" : "127"));
        QVERIFY(zoneGardee || p.etat.ApercuOuvert);
        C(f).Largeur->setText(QStringLiteral("200")); // the sizes follow the zone's or the sheet's proportion
        QCOMPARE(C(f).Hauteur->text(), QString(zoneGardee ? "103" : "283"));
        C(f).Pict1->show(); // outside the selection the image's mouse does nothing
        p.glisser({300, 500}, {300, 500});
        QCOMPARE(p.contour(), 0);
    }
};

ARDEMO_GUI_MAIN(TestSelection)
#include "test_selection.moc"
