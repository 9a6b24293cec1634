// The school-calendar window: its texts, the map, the link to the official
// dates and the way into the special-colours window.
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include "app/ui/Styles.h"
#include "main_gui.h"
#include "Outils.h"
#include "special/ui/VornCoulSP.h"
#include "special/ui/VornScolaire.h"

namespace {
// Opens the window from the main window's button and runs `pendant` on it once
// it is up; returns when the window is gone, and no such window is left. A
// window still open after `pendant` is closed, so that a failure cannot hang the test.
bool ouvrirDepuisPrincipale(Ardemo& f, const std::function<void(VornScolaire&)>& pendant)
{
    bool vue = false;
    QTimer::singleShot(0, [&] {
        if (auto* w = qobject_cast<VornScolaire*>(QApplication::activeModalWidget())) {
            vue = true;
            pendant(*w);
            if (w->isVisible())
                w->close();
        }
    });
    f.CalScolaire->click();
    for (QWidget* w : QApplication::topLevelWidgets())
        vue = vue && !qobject_cast<VornScolaire*>(w);
    return vue && !QApplication::activeModalWidget();
}
} // namespace

class TestScolaire : public QObject {
    Q_OBJECT
private slots:
    void disposition()
    {
        Programme p(false);
        p.f().move(37, 52);
        VornScolaire w(p.f());
        QCOMPARE(w.windowTitle(), QStringLiteral("Carte et Calendrier scolaire"));
        QVERIFY(w.isModal() && w.minimumSize() == w.maximumSize());
        QCOMPARE(w.pos(), QPoint(37, 52));
        QCOMPARE(w.Image1->pixmap().size(), QSize(521, 592)); // the map, from the resources
        QVERIFY(w.Image1->toolTip().contains(QStringLiteral("Victor Cazanave")));
        QVERIFY(w.Image1->toolTip().contains(QStringLiteral("CC BY 4.0")));
        // Captions whole on their buttons.
        for (auto [b, legende] : {std::pair{w.CalendScolaire, "Lien vers dates officielles des vacances scolaires..."},
                                  {w.FermeCarte, "Fermer"}, {w.CSpeciale, "Couleurs spéciales..."}}) {
            QCOMPARE(b->text(), QString::fromUtf8(legende));
            QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) < b->width(), legende);
        }
        QCOMPARE(w.Label1[0]->text(),
                 QStringLiteral("Nota : Vous pouvez enregistrer les dates de vacances en utilisant la fonction "
                                "\"Couleurs spéciales\" et en affectant une couleur particulière à ces date."));
        QCOMPARE(w.Label1[1]->text(), QStringLiteral("Des exemples sont fournis pour 2009 et 2010 et pour les 3 zones.")
                                          + QString(19, QLatin1Char(' '))
                                          + QStringLiteral("A vous de fabriquer les suivants le moment venu."));
        // Wrapped inside their rectangles, no line lost; everything inside the window.
        for (QLabel* l : {w.Label1[0], w.Label1[1], w.LabelIcs})
            QVERIFY(l->wordWrap() && l->heightForWidth(l->width()) <= l->height());
        // The line on importing the official calendars comes under the notes.
        QVERIFY(w.LabelIcs->text().contains(QStringLiteral(".ics"))
                && w.LabelIcs->geometry().top() >= w.Label1[1]->geometry().bottom());
        for (QWidget* c : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY(w.rect().contains(c->geometry()));
    }

    void lienEtFermeture()
    {
        Programme p;
        QList<QUrl> adresses;
        bool ouverte = false, fermee = false;
        // Each press asks again; a failed opening is not reported and the window stays.
        QVERIFY(ouvrirDepuisPrincipale(p.f(), [&](VornScolaire& w) {
            QCOMPARE(w.pos(), p.f().pos());
            w.ouvrirPage = [&](const QUrl& u) { adresses << u; return false; }; // no browser
            QTest::mouseClick(w.CalendScolaire, Qt::LeftButton);
            QTest::mouseClick(w.CalendScolaire, Qt::LeftButton);
            ouverte = w.isVisible();
            QTest::mouseClick(w.FermeCarte, Qt::LeftButton);
            fermee = !w.isVisible();
        }));
        const QUrl officielle(QStringLiteral("https://www.education.gouv.fr/calendrier-scolaire-100148"));
        QCOMPARE(adresses, QList<QUrl>(2, officielle));
        QVERIFY(ouverte && fermee);
        QVERIFY(p.f().FondCdes->isVisibleTo(&p.f()) && !p.etat.ModeCoulSP);
    }

    void versCouleursSpeciales()
    {
        Programme p;
        Ardemo& f = p.f();
        bool fermee = false;
        QVERIFY(ouvrirDepuisPrincipale(f, [&](VornScolaire& w) {
            QTest::mouseClick(w.CSpeciale, Qt::LeftButton);
            fermee = !w.isVisible();
        }));
        // Back from the modal window at once; the panel gives way to the special-colours window.
        QVERIFY(fermee && !f.FondCdes->isVisibleTo(&f));
        QVERIFY(f.vornCoulSP && f.vornCoulSP->isVisible() && p.etat.ModeCoulSP);
    }
};

ARDEMO_GUI_MAIN(TestScolaire)
#include "test_scolaire.moc"
