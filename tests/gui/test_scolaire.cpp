// The school-calendar window: its texts, the map, the link to the official
// dates and the way into the special-colours window.
#include <QAbstractButton>
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
    enfant<QAbstractButton>(&f, "CalScolaire")->click();
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
        QVERIFY(w.isModal());
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QCOMPARE(w.pos(), QPoint(37, 52));
        const QLabel* carte = enfant<QLabel>(&w, "Image1");
        QCOMPARE(carte->pixmap().size(), QSize(521, 592)); // the map, from the resources
        QVERIFY(carte->toolTip().contains(QStringLiteral("CC BY 4.0")));
        // Captions whole on their buttons.
        for (const char* nom : {"CalendScolaire", "FermeCarte", "CSpeciale"}) {
            const QAbstractButton* b = enfant<QAbstractButton>(&w, nom);
            QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) < b->width(), nom);
        }
        // Wrapped inside their rectangles, no line lost; everything inside the window.
        for (const char* nom : {"Label1(0)", "Label1(1)", "LabelIcs"}) {
            const QLabel* l = enfant<QLabel>(&w, nom);
            QVERIFY2(l->wordWrap(), nom);
            QVERIFY2(l->heightForWidth(l->width()) <= l->height(), nom);
        }
        // The line on importing the official calendars comes under the notes.
        QVERIFY(enfant<QLabel>(&w, "LabelIcs")->geometry().top()
                >= enfant<QLabel>(&w, "Label1(1)")->geometry().bottom());
        for (QWidget* c : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(w.rect().contains(c->geometry()), qPrintable(c->objectName()));
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
            QTest::mouseClick(enfant<QAbstractButton>(&w, "CalendScolaire"), Qt::LeftButton);
            QTest::mouseClick(enfant<QAbstractButton>(&w, "CalendScolaire"), Qt::LeftButton);
            ouverte = w.isVisible();
            QTest::mouseClick(enfant<QAbstractButton>(&w, "FermeCarte"), Qt::LeftButton);
            fermee = !w.isVisible();
        }));
        const QUrl officielle(QStringLiteral("https://www.education.gouv.fr/calendrier-scolaire-100148"));
        QCOMPARE(adresses, QList<QUrl>(2, officielle));
        QVERIFY(ouverte);
        QVERIFY(fermee);
        QVERIFY(enfant<QWidget>(&p.f(), "FondCdes")->isVisibleTo(&p.f()));
        QVERIFY(!p.etat.ModeCoulSP);
    }

    void versCouleursSpeciales()
    {
        Programme p;
        Ardemo& f = p.f();
        bool fermee = false;
        QVERIFY(ouvrirDepuisPrincipale(f, [&](VornScolaire& w) {
            QTest::mouseClick(enfant<QAbstractButton>(&w, "CSpeciale"), Qt::LeftButton);
            fermee = !w.isVisible();
        }));
        // Back from the modal window at once; the panel gives way to the special-colours window.
        QVERIFY(fermee);
        QVERIFY(!enfant<QWidget>(&f, "FondCdes")->isVisibleTo(&f));
        QVERIFY(f.vornCoulSP && f.vornCoulSP->isVisible());
        QVERIFY(p.etat.ModeCoulSP);
    }
};

ARDEMO_GUI_MAIN(TestScolaire)
#include "test_scolaire.moc"
