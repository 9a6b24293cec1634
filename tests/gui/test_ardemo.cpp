// The main window: layout of the sheet, the build and the image it makes.
#include <QAccessible>
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
#include "colour/ui/ArdemoCoul.h"
#include "output/ui/ApercuForm.h"
#include "output/ui/VornPrint.h"
#include "special/ui/VornCoulSP.h"
#include "special/ui/VornScolaire.h"
#include "special/ui/VornSelect.h"
#include "main_gui.h"
#include "Outils.h"

namespace {
// A point of the cell's background: inside the sunken border, away from the digits.
QPoint fondCellule(Ardemo& f, int m, int k)
{
    return f.CalBase->BtnJour[m][k]->geometry().topLeft() + QPoint(4, 4);
}

QColor pixel(const QImage& img, QPoint p) { return img.pixelColor(p); }

// Ready: the green light and every command; busy: the red light, and only the
// windows that do not build left usable.
bool etat(Ardemo& f, bool pret)
{
    for (QWidget* w : std::initializer_list<QWidget*>{f.Fabriquer, f.SauveFichier, f.SauvePPapier, f.Apercu, f.Imprimer,
                                                      f.cAn, f.chkFerie, f.chkWeek, f.Sélection})
        if (w->isEnabled() != pret)
            return false;
    return f.FeuVert->isVisibleTo(&f) == pret && f.FeuRouge->isVisibleTo(&f) != pret && f.Couleurs->isEnabled()
           && f.Quitter->isEnabled() && f.CalScolaire->isEnabled() && (!pret || f.CoulSpéciale->isEnabled());
}
bool etatPret(Ardemo& f) { return etat(f, true); }

bool contient(const QImage& img, const QColor& c)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == c)
                return true;
    return false;
}

QString nomAccessible(QWidget* w)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

// The controls of a window that a user meets: visible, not the inner parts of a
// composite control (the year box's own field and list), not bare containers.
QList<QWidget*> controles(QWidget* fenetre)
{
    QList<QWidget*> liste;
    for (QWidget* w : fenetre->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(fenetre) || w->isWindow() || qobject_cast<QComboBox*>(w->parentWidget()))
            continue;
        if (std::string_view(w->metaObject()->className()) == "QWidget")
            continue;
        liste << w;
    }
    return liste;
}

// The focusable controls of a window in Tab order, from the first one.
QList<QWidget*> ordreTab(QWidget* fenetre)
{
    QList<QWidget*> ordre;
    for (QWidget* w = fenetre->nextInFocusChain(); w != fenetre; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(fenetre) && !w->focusProxy())
            ordre << w;
    return ordre;
}

// b comes after a when reading the window: lower down, or on the same line
// further right.
bool apres(QWidget* fenetre, QWidget* a, QWidget* b)
{
    const QRect ra(a->mapTo(fenetre, QPoint()), a->size()), rb(b->mapTo(fenetre, QPoint()), b->size());
    if (rb.top() > ra.bottom())
        return true;
    return rb.bottom() >= ra.top() && rb.left() > ra.left();
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
        // The grid's cells are whole twips apart: the third column ends at 9300
        // twips, the fourth row at 12960; the image is 628 x 866 pixels inside.
        Programme p(false);
        Ardemo& f = p.f();
        QCOMPARE(f.Pict1->tailleInterieure(), QSize(628, 866));
        QVERIFY(f.etat().LargMois == 209 && f.etat().HautMois == 216);
        QCOMPARE(f.CalBase->BtnJour[3][41]->geometry().right() + 1, 9300 / 15);
        QCOMPARE(f.CalBase->BtnJour[12][41]->geometry().bottom() + 1, 12960 / 15);
        QVERIFY(f.cAn->count() == 101 && f.cAn->itemText(100) == "2100");
        QVERIFY(f.etat().LargeurTwips == 5103 && f.etat().HauteurTwips == 7201 && !f.etat().CalendrierFait);
    }

    // Every control of every window has an accessible name; a day cell's gives
    // its full date and what its tooltip says.
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
        const QList<QWidget*> fenetres{&f, &select, &apercu, &scolaire, &couleurs, &speciales, &impression};
        QStringList sansNom;
        for (QWidget* fenetre : fenetres)
            for (QWidget* w : controles(fenetre))
                if (nomAccessible(w).trimmed().isEmpty())
                    sansNom << QStringLiteral("%1/%2").arg(fenetre->metaObject()->className(),
                                                           w->metaObject()->className());
        QCOMPARE(sansNom, QStringList());

        // Tab goes through each window's controls in reading order.
        for (QWidget* fenetre : fenetres) {
            const QList<QWidget*> ordre = ordreTab(fenetre);
            for (int i = 1; i < ordre.size(); ++i)
                QVERIFY2(apres(fenetre, ordre[i - 1], ordre[i]),
                         qPrintable(QStringLiteral("%1: %2 then %3").arg(fenetre->metaObject()->className(),
                                                                        nomAccessible(ordre[i - 1]),
                                                                        nomAccessible(ordre[i]))));
        }

        const std::tuple<int, int, const char*> cas[] = {
            {3, 9, "mercredi 3 mars 2027, Semaine  9"},
            {3, 35, "lundi 29 mars 2027, Lundi de Pâques"},
            {1, 4, "vendredi 1 janvier 2027, Jour de l'An"},
            {3, 0, "lundi 22 février 2027"},     // the previous month, grey
            {12, 33, "samedi 1 janvier 2028, Jour de l'An"}}; // the next year
        for (auto [mois, k, nom] : cas)
            QCOMPARE(nomAccessible(f.CalBase->BtnJour[mois][k]), QString::fromUtf8(nom));
        QCOMPARE(nomAccessible(f.CalBase->lblJour[5][6]), QStringLiteral("Dim"));
    }

    void premiereActivationConstruitUneFois()
    {
        Programme p;
        Ardemo& f = p.f();
        // The current year is built at the first showing, once.
        QVERIFY(f.etat().CalendrierFait && !f.etat().PremierAffichage && etatPret(f) && !QApplication::overrideCursor());
        QVERIFY(f.CalBase->lblDate[1]->legende.endsWith(QString::number(QDate::currentDate().year())));

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
            vuOccupe = etat(f, false);
            sablier = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        };
        f.Fabriquer_Click();
        QVERIFY(vuOccupe && sablier && etatPret(f) && !QApplication::overrideCursor());
        // The keyboard starts on the build button and stays there through a
        // build (not sent on to the width box while the button is disabled).
        QVERIFY(p.activer());
        QCOMPARE(QApplication::focusWidget(), f.Fabriquer);
        QTest::keyClick(f.Fabriquer, Qt::Key_Space);
        QCOMPARE(QApplication::focusWidget(), f.Fabriquer);
        QVERIFY(!QFile::exists(QString::fromStdString(f.etat().FichierIni)));
    }

    void imageDUneAnnee()
    {
        Programme p;
        Ardemo& f = p.f();
        construireAnnee(f, "2027");
        const QImage img = f.Pict1->image();
        QCOMPARE(img, f.imageRendue());
        const SchemaCouleurs& c = f.etat().Couleurs;
        // January 2027 starts on a Friday: cell 0 is 28 December 2026, grey.
        QCOMPARE(f.CalBase->BtnJour[1][0]->legende, QStringLiteral("28"));
        QCOMPARE(pixel(img, fondCellule(f, 1, 0)), VersQColor(c.CoulGris));
        // 1 January 2027 (cell 4): holiday over the weekday colour.
        QCOMPARE(pixel(img, fondCellule(f, 1, 4)), VersQColor(c.CoulFerie));
        QCOMPARE(f.CalBase->BtnJour[1][4]->toolTip(), QStringLiteral(" Jour de l'An "));
        // Saturday 2 January (cell 5), weekend; Monday 4 January (cell 7), a plain day, week 1.
        QCOMPARE(pixel(img, fondCellule(f, 1, 5)), VersQColor(c.CoulWeekEnd));
        QCOMPARE(pixel(img, fondCellule(f, 1, 7)), VersQColor(c.CoulJours));
        QCOMPARE(f.CalBase->BtnJour[1][7]->toolTip(), QStringLiteral("Semaine  1"));
        // Easter 2027 is 28 March (cell 34): Monday 29 is a holiday too.
        QCOMPARE(f.CalBase->BtnJour[3][34]->toolTip(), QStringLiteral("Dimanche de Pâques"));
        QCOMPARE(pixel(img, fondCellule(f, 3, 35)), VersQColor(c.CoulFerie));
        // The sheet's frame, three pixels in the grid colour, along the top and left.
        QCOMPARE(pixel(img, QPoint(1, 400)), VersQColor(c.CoulGrille));
        QCOMPARE(pixel(img, QPoint(300, 2)), VersQColor(c.CoulGrille));
        QCOMPARE(pixel(img, QPoint(300, 3)), VersQColor(c.CoulBordure));
        // Black digits in a month day.
        QVERIFY(contient(img.copy(f.CalBase->BtnJour[1][7]->geometry().adjusted(2, 2, -2, -2)), Qt::black));
        // Weekday names sit at the top of their label: less room above the letters than below.
        const QRect nom = f.CalBase->lblJour[1][0]->geometry().adjusted(1, 1, -1, -1);
        int haut = -1, bas = -1;
        for (int y = nom.top(); y <= nom.bottom(); ++y)
            for (int x = nom.left(); x <= nom.right(); ++x)
                if (img.pixelColor(x, y).lightness() < 100) {
                    haut = haut < 0 ? y : haut;
                    bas = y;
                }
        QVERIFY2(haut >= 0 && (haut - nom.top()) + 2 <= nom.bottom() - bas,
                 qPrintable(QStringLiteral("%1 above, %2 below").arg(haut - nom.top()).arg(nom.bottom() - bas)));
    }

    void couleursSpeciales()
    {
        Programme p;
        Ardemo& f = p.f();
        const QColor rouge(255, 0, 0);
        f.etat().TableCoulSP[2][10] = DeQColor(rouge);
        // A rebuild from the check boxes keeps the special colours...
        f.chkWeek->click();
        auto contientRouge = [&](const QImage& img) { return contient(img.copy(f.CalBase->BtnJour[2][10]->geometry()), rouge); };
        QVERIFY(contientRouge(f.Pict1->image()) && !f.chkWeek->isChecked());
        QCOMPARE(pixel(f.Pict1->image(), fondCellule(f, 1, 5)), VersQColor(f.etat().Couleurs.CoulJours));
        // ... the build button clears them.
        f.Fabriquer_Click();
        QCOMPARE(f.etat().TableCoulSP[2][10], 0.0);
        QVERIFY(!contientRouge(f.Pict1->image()));
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
        QVERIFY(f.CalBase->lblDate[1]->legende == titre && f.Pict1->image() == avant && etatPret(f));
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
