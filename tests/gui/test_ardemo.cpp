// The main window: the build, its busy state and the image it makes.
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QScrollBar>
#include <QtTest>

#include "app/ui/BoiteImage.h"
#include "app/ui/Couleur.h"
#include "app/ui/Curseur.h"
#include "app/ui/Feuille.h"
#include "app/ui/Styles.h"
#include "colour/ui/ArdemoCoul.h"
#include "output/ui/ApercuForm.h"
#include "output/ui/VornPrint.h"
#include "special/ui/VornCoulSP.h"
#include "special/ui/VornScolaire.h"
#include "special/ui/VornSelect.h"
#include "main_gui.h"
#include "Outils.h"

namespace {
// The colour of a cell's background, inside its sunken border, away from the digits.
QColor fond(Ardemo& f, const QImage& img, int m, int k)
{
    return img.pixelColor(C(f).CalBase->BtnJour[m][k]->geometry().topLeft() + QPoint(4, 4));
}

bool contient(const QImage& img, const QColor& c)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == c)
                return true;
    return false;
}

QString nomAccessible(QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); }

// Ready: the green light and every command; busy: the red light, and only the
// windows that do not build left usable.
bool etat(Ardemo& f, bool pret)
{
    for (QWidget* w : std::initializer_list<QWidget*>{C(f).Fabriquer, C(f).SauveFichier, C(f).SauvePPapier, C(f).Apercu, C(f).Imprimer,
                                                      C(f).cAn, C(f).chkFerie, C(f).chkWeek, C(f).Sélection})
        if (w->isEnabled() != pret)
            return false;
    return C(f).FeuVert->isVisibleTo(&f) == pret && C(f).FeuRouge->isVisibleTo(&f) != pret && C(f).Couleurs->isEnabled()
           && C(f).CalScolaire->isEnabled() && (!pret || C(f).CoulSpéciale->isEnabled());
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
    // Every control a user meets in every window has an accessible name; a day
    // cell's gives its full date and what its tooltip says.
    void nomsAccessibles()
    {
        Programme p;
        Ardemo& f = p.f();
        construireAnnee(f, "2027");
        VornSelect select(f);
        ApercuForm apercu(f);
        VornScolaire scolaire(f);
        ArdemoCoul couleurs(f);
        VornCoulSP speciales(f);
        VornPrint impression(f, f.imageRendue(), QSizeF(5103, 7221));
        for (QWidget* fenetre : std::initializer_list<QWidget*>{&f, &select, &apercu, &scolaire, &couleurs, &speciales, &impression})
            for (QWidget* w : fenetre->findChildren<QWidget*>())
                if (w->isVisibleTo(fenetre) && !w->isWindow() && !qobject_cast<QComboBox*>(w->parentWidget())
                    && std::string_view(w->metaObject()->className()) != "QWidget")
                    QVERIFY2(!nomAccessible(w).trimmed().isEmpty(),
                             qPrintable(QString(fenetre->metaObject()->className()) + "/" + w->metaObject()->className()));
        QCOMPARE(nomAccessible(C(f).CalBase->BtnJour[3][35]), QStringLiteral("lundi 29 mars 2027, Lundi de Pâques"));
        QCOMPARE(nomAccessible(C(f).CalBase->BtnJour[12][33]), QStringLiteral("samedi 1 janvier 2028, Jour de l'An"));
    }

    // The current year is built at the first showing, and only then; busy during
    // a build, ready after, with the keyboard kept on the build button.
    void construction()
    {
        Programme p;
        Ardemo& f = p.f();
        QVERIFY(f.etat().CalendrierFait && etat(f, true) && !QApplication::overrideCursor());
        const int attentes = p.horloge.attentes;
        QWidget autre;
        autre.show();
        for (QWidget* w : {&autre, static_cast<QWidget*>(&f), &autre}) // activated again: no second build
            QApplication::setActiveWindow(w);
        QVERIFY(p.activer());
        QCOMPARE(p.horloge.attentes, attentes);

        bool vuOccupe = false, sablier = false;
        p.horloge.pendantAttente = [&] {
            vuOccupe = etat(f, false);
            sablier = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            CurseurSablier(); // nested: one return to normal still restores the pointer
        };
        QCOMPARE(QApplication::focusWidget(), C(f).Fabriquer);
        QTest::keyClick(C(f).Fabriquer, Qt::Key_Space);
        QVERIFY(vuOccupe && sablier && etat(f, true) && !QApplication::overrideCursor());
        QCOMPARE(QApplication::focusWidget(), C(f).Fabriquer);
    }

    // Cell colours, the sheet's frame and the weekday names, the same image
    // whether the sheet is scrolled or hidden, and in a process whose screen is
    // scaled by 1.25.
    void imageDUneAnnee()
    {
        Programme p;
        Ardemo& f = p.f();
        construireAnnee(f, "2027");
        const QImage img = C(f).Pict1->image();
        QCOMPARE(img, f.imageRendue());
        const SchemaCouleurs& c = f.etat().Couleurs;
        // 28 December 2026 grey, 1 January holiday, Saturday 2 weekend, Monday 4
        // plain, Easter Monday 29 March holiday.
        const std::tuple<int, int, double> cas[] = {
            {1, 0, c.CoulGris}, {1, 4, c.CoulFerie}, {1, 5, c.CoulWeekEnd}, {1, 7, c.CoulJours}, {3, 35, c.CoulFerie}};
        for (auto [m, k, coul] : cas)
            QCOMPARE(fond(f, img, m, k), VersQColor(coul));
        QCOMPARE(img.pixelColor(1, 400), VersQColor(c.CoulGrille));
        // Weekday names sit at the top of their label: less room above the letters than below.
        const QRect nom = C(f).CalBase->lblJour[1][0]->geometry().adjusted(1, 1, -1, -1);
        QList<int> lignes;
        for (int y = 0; y < nom.height(); ++y)
            if (contient(img.copy(nom.left(), nom.top() + y, nom.width(), 1), Qt::black))
                lignes << y;
        QVERIFY2(!lignes.isEmpty() && lignes.first() + 2 <= nom.height() - 1 - lignes.last(),
                 qPrintable(QString::number(lignes.value(0))));

        C(f).VSCal->setValue(8);
        QVERIFY(C(f).CalBase->y() < 0 && C(f).Pict1->y() == C(f).CalBase->y());
        f.Fabrication();
        QCOMPARE(C(f).Pict1->image(), img);
        C(f).CalBase->hide();
        f.Fabrication();
        QCOMPARE(C(f).Pict1->image(), img);

        const QString fichier = p.dossier.filePath("echelle.png");
        QProcess proc;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_SCALE_FACTOR", "1.25");
        proc.setProcessEnvironment(env);
        proc.start(QCoreApplication::applicationFilePath(), {"-image", fichier});
        QVERIFY(proc.waitForFinished(60000) && proc.exitCode() == 0);
        QCOMPARE(QImage(fichier).convertToFormat(QImage::Format_RGB32), img.convertToFormat(QImage::Format_RGB32));
    }

    // A rebuild from a check box keeps the special colours, the build button
    // clears them. With the special-colours window open nothing is built, and
    // closing the main window ends the program only when that window closes.
    void couleursSpeciales()
    {
        Programme p;
        Ardemo& f = p.f();
        const QColor rouge(255, 0, 0);
        f.etat().TableCoulSP[2][10] = DeQColor(rouge);
        auto rougeVu = [&] { return contient(C(f).Pict1->image().copy(C(f).CalBase->BtnJour[2][10]->geometry()), rouge); };
        C(f).chkWeek->click();
        QVERIFY(rougeVu());
        QCOMPARE(fond(f, C(f).Pict1->image(), 1, 5), VersQColor(f.etat().Couleurs.CoulJours));
        C(f).Fabriquer->click();
        QVERIFY(!rougeVu());

        int fin = 0;
        QObject::connect(&f, &Ardemo::programFinished, [&] { ++fin; });
        C(f).CoulSpéciale->click();
        const QImage avant = C(f).Pict1->image();
        const int attentes = p.horloge.attentes;
        construireAnnee(f, "1999");
        QVERIFY(p.horloge.attentes == attentes && C(f).Pict1->image() == avant);
        f.close();
        QCoreApplication::processEvents();
        QCOMPARE(fin, 0);
        fenetreDe<VornCoulSP>(f)->close();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QVERIFY(fin == 1 && !f.etat().ModeCoulSP);
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    PreparerApplication(app);
    if (argc == 3 && QByteArray(argv[1]) == "-image") { // the image of 2027, saved
        Programme p(false);
        construireAnnee(p.f(), "2027");
        return p.f().imageRendue().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    TestArdemo t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_ardemo.moc"
