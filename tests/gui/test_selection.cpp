// The zone selection window and the dragging of a zone over the calendar image.
#include <array>

#include "main_gui.h"
#include "Outils.h"
#include "special/ui/VornSelect.h"

namespace {
// A built calendar with the selection window open.
struct Selection : Programme {
    Controles c = C(f());
    Selection() { c.Sélection->click(); }
    VornSelect& s() { return *fenetreDe<VornSelect>(f()); }
    QAbstractButton* bouton(const char* nom) { return enfant<QAbstractButton>(&s(), nom); }
    std::array<int, 4> zone()
    {
        const ZoneMois z = s().zone().value_or(ZoneMois{});
        return {z.ZoneX1, z.ZoneY1, z.ZoneX2, z.ZoneY2};
    }
    // A drag on the image, in pixels of its drawing area (inside a one-pixel border).
    void glisser(QPoint de, QPoint a)
    {
        QTest::mousePress(c.Pict1, Qt::LeftButton, {}, de + QPoint(1, 1));
        QTest::mouseRelease(c.Pict1, Qt::LeftButton, {}, a + QPoint(1, 1));
    }
    // Whether the box shows something above its image.
    bool trace()
    {
        const QImage& i = c.Pict1->image();
        return c.Pict1->grab().toImage().copy(QRect({1, 1}, i.size())).convertToFormat(i.format()) != i;
    }
};
} // namespace

class TestSelection : public QObject {
    Q_OBJECT
private slots:
    // Whole blocks of months where the mouse is on the image.
    void zonesDeMois()
    {
        Selection p;
        const int L = 209, H = 216; // the image's inner width and height over 3 and 4
        const QImage propre = p.c.Pict1->image();
        VERIFIER(!p.bouton("ValideZone")->isEnabled(), !p.c.CalBase->isVisible(), propre == p.f().imageRendue());
        const std::tuple<QPoint, QPoint, std::array<int, 4>> cas[] = {
            {{L + 90, 2 * H + 70}, {L + 90, 2 * H + 70}, {L, 2 * H, 2 * L, 3 * H}}, // a click: the block under it
            {{L - 1, H - 1}, {L, H}, {0, 0, 2 * L, 2 * H}},            // the last pixel before a boundary, a boundary
            {{L + 90, 20}, {-L - 40, 4 * H}, {-L, 0, 2 * L, 5 * H}}}; // reversed, released outside the image
        for (auto [de, a, zone] : cas) {
            p.glisser(de, a);
            QCOMPARE(p.zone(), zone);
            VERIFIER(p.s().zone(), p.bouton("ValideZone")->isEnabled(), p.trace(), !p.c.Hauteur->isEnabled());
        }
        // A new press removes the zone, and "Valider" with it, until its release; the image is never drawn into.
        QTest::mousePress(p.c.Pict1, Qt::LeftButton, {}, {400, 600});
        VERIFIER(!p.trace(), !p.s().zone(), !p.bouton("ValideZone")->isEnabled());
        QTest::mouseRelease(p.c.Pict1, Qt::LeftButton, {}, {400, 600});
        VERIFIER(p.trace(), p.c.Pict1->image() == propre);
        // One block by four: 150 mm wide is too high, 139 (7881 twips) is kept and gives the twips high.
        p.c.Largeur->setText(QStringLiteral("150")), p.glisser({5, 5}, {5, 4 * H - 5}), p.bouton("ValideZone")->click();
        VERIFIER(p.c.Largeur->text() == "139", p.c.Hauteur->text() == "575", !p.f().largeurRouge());
        QCOMPARE(int(p.etat.HauteurTwips), qRound(7881.0 * 4 * H / L));
        VERIFIER(!p.c.Hauteur->isEnabled(), !p.s().isVisible(), p.c.CalBase->isVisible(), !p.trace());
    }

    // Leaving the window again after a zone was validated: the zone stays unless it is
    // cancelled or a new drag replaced it; the keyboard goes back to the button.
    void fermeture_data()
    {
        QTest::addColumn<QString>("fin"), QTest::addColumn<bool>("nouveau"), QTest::addColumn<bool>("gardee");
        QTest::newRow("Annuler sans tracé") << "AnnuleZone" << false << false;
        QTest::newRow("Échap après un tracé") << "" << true << false; // Escape closes as the close box does
        QTest::newRow("Échap sans tracé") << "" << false << true;
        QTest::newRow("Valider sans tracé") << "ValideZone" << false << true;
    }
    void fermeture()
    {
        QFETCH(QString, fin); QFETCH(bool, nouveau); QFETCH(bool, gardee);
        Selection p;
        p.glisser({200, 100}, {215, 104}), p.s().ValideZone_Click();
        QVERIFY(p.activer());
        p.c.Sélection->setFocus(), p.c.Sélection->click();
        if (nouveau) p.glisser({300, 500}, {300, 500});
        fin.isEmpty() ? QTest::keyClick(&p.s(), Qt::Key_Escape) : p.bouton(qPrintable(fin))->click();
        VERIFIER(!p.s().isVisible(), p.c.CalBase->isVisible(), !p.trace());
        QCOMPARE(p.f().focusWidget(), p.c.Sélection);
        QCOMPARE(std::pair(p.etat.Zone.has_value(), p.c.Hauteur->isEnabled()), std::pair(gardee, !gardee));
        // Heights from the zone's proportion or the sheet's, through the box that shows the preview again.
        VERIFIER(p.c.Hauteur->text() == (gardee ? "47" : "127"), (gardee || p.f().apercuOuvert()));
        p.c.Largeur->setText(QStringLiteral("200"));
        QCOMPARE(p.c.Hauteur->text(), QString(gardee ? "103" : "283"));
        p.c.Pict1->show(), p.glisser({300, 500}, {300, 500}); // outside the selection the mouse does nothing
        QVERIFY(!p.trace());
    }
};

ARDEMO_GUI_MAIN(TestSelection)
#include "test_selection.moc"
