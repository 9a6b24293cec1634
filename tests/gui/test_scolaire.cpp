// The school-calendar window: its layout, the link and the way into the special colours.
#include <QClipboard>
#include <QMessageBox>
#include <QTimer>

#include "main_gui.h"
#include "Outils.h"
#include "PiloteDialogues.h"
#include "special/ui/VornCoulSP.h"
#include "special/ui/VornScolaire.h"

namespace {
// Opens the window from the main window's button and runs `pendant` on it once it is up;
// true when it was up, and is gone with no modal window left.
bool ouvrir(Ardemo& f, const std::function<void(VornScolaire&)>& pendant)
{
    bool vue = false;
    QTimer::singleShot(0, [&] {
        if (auto* w = qobject_cast<VornScolaire*>(QApplication::activeModalWidget()))
            vue = true, pendant(*w), w->close(); // closed already unless a check failed
    });
    C(f).CalScolaire->click();
    return vue && !QApplication::activeModalWidget() && !f.findChild<VornScolaire*>();
}
void cliquer(VornScolaire& w, const char* nom) { QTest::mouseClick(enfant<QAbstractButton>(&w, nom), Qt::LeftButton); }
} // namespace

class TestScolaire : public QObject {
    Q_OBJECT
private slots:
    void dispositionLienEtCouleursSpeciales()
    {
        Programme p;
        QList<QUrl> adresses;
        QStringList messages;
        QVERIFY(ouvrir(p.f(), [&](VornScolaire& w) {
            // Everything inside the window, captions whole on the buttons, wrapped texts with no line lost.
            for (QAbstractButton* b : w.findChildren<QAbstractButton*>())
                QVERIFY2(w.rect().contains(b->geometry()) && b->fontMetrics().horizontalAdvance(b->text()) < b->width(),
                         qPrintable(b->objectName()));
            for (QLabel* l : w.findChildren<QLabel*>())
                QVERIFY2(w.rect().contains(l->geometry()) && l->heightForWidth(l->width()) <= l->height(),
                         qPrintable(l->objectName()));
            // Each press asks again. No browser, found at once or when the opener ends: the address is shown,
            // selectable, and copied on request; the window stays.
            w.ouvrirPage = [&](const QUrl& u, const std::function<void()>& siEchec) {
                return adresses << u, adresses.size() == 2 && (siEchec(), true);
            };
            QApplication::clipboard()->clear();
            for (const char* reponse : {"Fermer", "Copier l'adresse"}) {
                auProchainDialogue<QMessageBox>([&, reponse](QMessageBox* b) {
                    messages << (b->textInteractionFlags() & Qt::TextSelectableByMouse ? b->text() : "");
                    for (QAbstractButton* bouton : b->buttons())
                        bouton->text() == QString::fromUtf8(reponse) ? bouton->click() : void();
                });
                cliquer(w, "CalendScolaire");
            }
            QVERIFY(w.isVisible() && w.pos() == p.f().pos());
            cliquer(w, "FermeCarte");
        }));
        QCOMPARE(adresses, QList<QUrl>(2, QUrl(QString::fromLatin1(AdresseCalendrierScolaire))));
        VERIFIER(messages.size() == 2, messages.value(1).endsWith(AdresseCalendrierScolaire),
                 QApplication::clipboard()->text() == AdresseCalendrierScolaire);
        QVERIFY(!p.f().modeCouleursSpeciales());
        // Back from the modal window at once; the panel gives way to the special-colours window.
        QVERIFY(ouvrir(p.f(), [&](VornScolaire& w) { cliquer(w, "CSpeciale"); }));
        VERIFIER(!C(p.f()).FondCdes->isVisibleTo(&p.f()), fenetreDe<VornCoulSP>(p.f(), true), p.f().modeCouleursSpeciales());
    }

    // "Calendrier de l'année scolaire" closes the window; the main window builds the school year of today (from
    // August on, the coming one) as "Fabriquer" does, special colours cleared, and its year box shows it.
    void calendrierDeLAnneeScolaire()
    {
        Programme p;
        for (auto [jour, annee, aout] : {std::tuple{Date{31, 7, 2026}, "2025-2026", "août 2026"},
                                         {Date{1, 8, 2026}, "2026-2027", "août 2027"}}) {
            p.horloge.jour = jour, p.etat.Speciales.etat.table.v[2][3] = 255;
            QString question; // the colours not saved
            repondre(question, "Ne pas enregistrer");
            QVERIFY(ouvrir(p.f(), [&](VornScolaire& w) { cliquer(w, "AnneeScolaire"); }));
            VERIFIER(p.etat.AnChoisi == annee, C(p.f()).cAn->currentText() == annee, p.etat.Speciales.etat.table.v[2][3] == 0,
                     C(p.f()).CalBase->modele()->bloc(12).titre == aout, C(p.f()).FeuVert->isVisibleTo(&p.f()),
                     question == "Enregistrer les couleurs spéciales ?");
        }
    }
};

ARDEMO_GUI_MAIN(TestScolaire)
#include "test_scolaire.moc"
