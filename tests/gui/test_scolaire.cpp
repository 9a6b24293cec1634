// The school-calendar window: its layout, the map, the link to the official
// dates and the way into the special-colours window.
#include <QLabel>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>

#include "app/ui/Couleur.h"
#include "app/ui/Styles.h"
#include "special/ui/VornScolaire.h"
#include "main_gui.h"
#include "Outils.h"

#if __has_include("special/ui/VornCoulSP.h")
#include "special/ui/VornCoulSP.h"
#define AVEC_VORNCOULSP 1
#endif

namespace {
int fenetresScolaires()
{
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += qobject_cast<VornScolaire*>(w) != nullptr;
    return n;
}

// Opens the window from the main window's button and runs `pendant` on it once
// it is up; returns when the window is gone. A window still open after
// `pendant` is closed, so that a failure cannot hang the test.
bool ouvrirDepuisPrincipale(Ardemo& f, const std::function<void(VornScolaire&)>& pendant)
{
    bool vue = false;
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<VornScolaire*>(QApplication::activeModalWidget());
        if (!w)
            return;
        vue = true;
        pendant(*w);
        if (w->isVisible())
            w->close();
    });
    f.CalScolaire->click();
    return vue;
}

// The lines of a wrapped label, trailing blanks dropped.
QStringList lignes(QLabel* l)
{
    QTextLayout mise(l->text(), l->font());
    QTextOption o;
    o.setWrapMode(QTextOption::WordWrap);
    mise.setTextOption(o);
    QStringList resultat;
    mise.beginLayout();
    for (QTextLine ligne = mise.createLine(); ligne.isValid(); ligne = mise.createLine()) {
        ligne.setLineWidth(l->contentsRect().width());
        resultat << l->text().mid(ligne.textStart(), ligne.textLength()).trimmed();
    }
    mise.endLayout();
    return resultat;
}

struct Appels {
    QList<QUrl> adresses;
    bool operator()(const QUrl& u)
    {
        adresses << u;
        return false; // as if no browser could be started
    }
};
} // namespace

class TestScolaire : public QObject {
    Q_OBJECT
private slots:
    void carte()
    {
        const QImage carte(QStringLiteral(":/carte_zones.jpg"));
        QVERIFY(!carte.isNull());
        QCOMPARE(carte.size(), QSize(521, 592));
        QVERIFY(!carte.allGray());
    }

    void disposition()
    {
        Programme p(false);
        p.f().move(37, 52);
        VornScolaire w(p.f());
        QCOMPARE(w.windowTitle(), QStringLiteral("Carte et Calendrier scolaire"));
        QVERIFY(w.isModal());
        QCOMPARE(w.size(), QSize(522, 724));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(!(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(!w.windowIcon().isNull());
        QCOMPARE(w.pos(), QPoint(37, 52));

        QCOMPARE(w.Image1->geometry(), QRect(0, 0, 521, 592));
        QCOMPARE(w.Image1->pixmap().size(), QSize(521, 592));
        QVERIFY(w.Image1->toolTip().contains(QStringLiteral("Victor Cazanave")));
        QVERIFY(w.Image1->toolTip().contains(QStringLiteral("CC BY 4.0")));

        struct Bouton {
            vkCommand* b;
            const char* legende;
            QRect r;
            double fond1;
        };
        const Bouton boutons[] = {
            {w.CalendScolaire, "Lien vers dates officielles des vacances scolaires...", {2, 596, 405, 27}, 0x00FF8080},
            {w.FermeCarte, "Fermer", {412, 596, 109, 27}, 0x000000FF},
            {w.CSpeciale, "Couleurs spéciales...", {16, 660, 179, 27}, 0x000080FF},
        };
        for (const Bouton& b : boutons) {
            QCOMPARE(b.b->text(), QString::fromUtf8(b.legende));
            QCOMPARE(b.b->geometry(), b.r);
            QCOMPARE(b.b->fond1(), VersQColor(b.fond1));
            QCOMPARE(b.b->font().pixelSize(), 16);
            QVERIFY(b.b->font().bold());
            // The caption is not clipped.
            QVERIFY2(b.b->fontMetrics().horizontalAdvance(b.b->text()) < b.r.width(), b.legende);
        }

        QCOMPARE(w.Label1[0]->text(),
                 QStringLiteral("Nota : Vous pouvez enregistrer les dates de vacances en utilisant la fonction "
                                "\"Couleurs spéciales\" et en affectant une couleur particulière à ces date."));
        QCOMPARE(w.Label1[1]->text(), QStringLiteral("Des exemples sont fournis pour 2009 et 2010 et pour les 3 zones.")
                                          + QString(19, QLatin1Char(' '))
                                          + QStringLiteral("A vous de fabriquer les suivants le moment venu."));
        QCOMPARE(w.Label1[0]->geometry(), QRect(20, 626, 487, 33));
        QCOMPARE(w.Label1[1]->geometry(), QRect(16, 686, 487, 33));
        QCOMPARE(w.Label1[0]->palette().color(QPalette::WindowText), QColor(128, 0, 0));
        QCOMPARE(w.Label1[1]->palette().color(QPalette::WindowText), QColor(128, 0, 128));
        for (QLabel* l : w.Label1) {
            QCOMPARE(l->font().pixelSize(), 13);
            QVERIFY(l->font().bold());
            // Wrapped inside its rectangle, no line lost.
            QVERIFY(l->wordWrap());
            QVERIFY(l->heightForWidth(l->width()) <= l->height());
        }
        // The run of blanks carries the second sentence onto the second line.
        QCOMPARE(lignes(w.Label1[1]),
                 QStringList({QStringLiteral("Des exemples sont fournis pour 2009 et 2010 et pour les 3 zones."),
                              QStringLiteral("A vous de fabriquer les suivants le moment venu.")}));
        QCOMPARE(lignes(w.Label1[0]).size(), 2);
        // Everything lies inside the client area.
        for (QWidget* c : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY(w.rect().contains(c->geometry()));
    }

    void lienOfficiel()
    {
        QCOMPARE(QUrl(QString::fromLatin1(AdresseCalendrierScolaire)).scheme(), QStringLiteral("https"));
        Programme p;
        Appels appels;
        bool ouverte = false;
        QVERIFY(ouvrirDepuisPrincipale(p.f(), [&](VornScolaire& w) {
            w.ouvrirPage = std::ref(appels);
            QTest::mouseClick(w.CalendScolaire, Qt::LeftButton);
            QTest::mouseClick(w.CalendScolaire, Qt::LeftButton);
            ouverte = w.isVisible();
        }));
        // Each press asks again; a failed opening is not reported and the window stays.
        QCOMPARE(appels.adresses.size(), 2);
        for (const QUrl& u : appels.adresses)
            QCOMPARE(u, QUrl(QStringLiteral("https://www.education.gouv.fr/calendrier-scolaire-100148")));
        QVERIFY(ouverte);
        QCOMPARE(fenetresScolaires(), 0);
        QVERIFY(p.f().FondCdes->isVisibleTo(&p.f()));
    }

    void fermer()
    {
        Programme p;
        Appels appels;
        bool fermee = false;
        QVERIFY(ouvrirDepuisPrincipale(p.f(), [&](VornScolaire& w) {
            QCOMPARE(w.pos(), p.f().pos());
            w.ouvrirPage = std::ref(appels);
            QTest::mouseClick(w.FermeCarte, Qt::LeftButton);
            fermee = !w.isVisible();
        }));
        QVERIFY(fermee);
        QCOMPARE(fenetresScolaires(), 0);
        QVERIFY(appels.adresses.isEmpty());
        QVERIFY(p.f().FondCdes->isVisibleTo(&p.f()));
        QCOMPARE(int(p.etat.ModeCoulSP), 0);
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
        // Back from the modal window at once: nothing of it is left, the panel
        // gives way to the special-colours window.
        QVERIFY(fermee);
        QCOMPARE(fenetresScolaires(), 0);
        QVERIFY(!f.FondCdes->isVisibleTo(&f));
        QVERIFY(!QApplication::activeModalWidget());
#ifdef AVEC_VORNCOULSP
        QVERIFY(f.vornCoulSP && f.vornCoulSP->isVisible());
        QVERIFY(p.etat.ModeCoulSP);
#endif
    }
};

ARDEMO_GUI_MAIN(TestScolaire)
#include "test_scolaire.moc"
