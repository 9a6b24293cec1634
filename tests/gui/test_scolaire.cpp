// The school-calendar window: its layout, the link and the way into the special colours.
#include <QAbstractButton>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include "main_gui.h"
#include "Outils.h"
#include "special/ui/VornCoulSP.h"
#include "special/ui/VornScolaire.h"

namespace {
// Opens the window from the main window's button and runs `pendant` on it once it is up;
// true when it was up, and is gone with no modal window left.
bool ouvrirDepuisPrincipale(Ardemo& f, const std::function<void(VornScolaire&)>& pendant)
{
    bool vue = false;
    QTimer::singleShot(0, [&] {
        if (auto* w = qobject_cast<VornScolaire*>(QApplication::activeModalWidget())) {
            vue = true;
            pendant(*w);
            if (w->isVisible()) // a failure cannot hang the test
                w->close();
        }
    });
    enfant<QAbstractButton>(&f, "CalScolaire")->click();
    for (QWidget* w : QApplication::topLevelWidgets())
        vue = vue && !qobject_cast<VornScolaire*>(w);
    return vue && !QApplication::activeModalWidget();
}
void cliquer(VornScolaire& w, const char* nom) { QTest::mouseClick(enfant<QAbstractButton>(&w, nom), Qt::LeftButton); }
} // namespace

class TestScolaire : public QObject {
    Q_OBJECT
private slots:
    void disposition()
    {
        Programme p(false);
        VornScolaire w(p.f());
        // Everything inside the window, captions whole on the buttons, texts wrapped with no line lost.
        for (const char* nom : {"Label1(0)", "Label1(1)", "LabelIcs"})
            QVERIFY2(enfant<QLabel>(&w, nom)->wordWrap(), nom);
        for (QWidget* c : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const auto* b = qobject_cast<QAbstractButton*>(c);
            const auto* l = qobject_cast<QLabel*>(c);
            QVERIFY2(w.rect().contains(c->geometry()) && (!b || b->fontMetrics().horizontalAdvance(b->text()) < b->width())
                         && (!l || !l->wordWrap() || l->heightForWidth(l->width()) <= l->height()),
                     qPrintable(c->objectName()));
        }
    }

    void lienEtCouleursSpeciales()
    {
        Programme p;
        QList<QUrl> adresses;
        bool ouverte = false;
        // Each press asks again; a failed opening is not reported and the window stays.
        QVERIFY(ouvrirDepuisPrincipale(p.f(), [&](VornScolaire& w) {
            w.ouvrirPage = [&](const QUrl& u) { adresses << u; return false; }; // no browser
            cliquer(w, "CalendScolaire");
            cliquer(w, "CalendScolaire");
            ouverte = w.isVisible() && w.pos() == p.f().pos();
            cliquer(w, "FermeCarte");
        }));
        QCOMPARE(adresses, QList<QUrl>(2, QUrl(QStringLiteral("https://www.education.gouv.fr/calendrier-scolaire-100148"))));
        QVERIFY(ouverte && !p.etat.ModeCoulSP);
        // Back from the modal window at once; the panel gives way to the special-colours window.
        QVERIFY(ouvrirDepuisPrincipale(p.f(), [&](VornScolaire& w) { cliquer(w, "CSpeciale"); }));
        QVERIFY(!enfant<QWidget>(&p.f(), "FondCdes")->isVisibleTo(&p.f()));
        QVERIFY(fenetreDe<VornCoulSP>(p.f()) && fenetreDe<VornCoulSP>(p.f())->isVisible() && p.etat.ModeCoulSP);
    }
};

ARDEMO_GUI_MAIN(TestScolaire)
#include "test_scolaire.moc"
