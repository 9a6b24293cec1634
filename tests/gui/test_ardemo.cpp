// The main window: the build, its busy state and the image it makes.
#include <QAccessible>
#include <QPainter>
#include <QToolTip>

#include "commun/ui/Couleur.h"
#include "commun/ui/Curseur.h"
#include "colour/ui/ArdemoCoul.h"
#include "main_gui.h"
#include "colour/ui/PeintreFeuille.h"
#include "output/ui/ImpressionNette.h"
#include "special/ui/VornCoulSP.h"
#include "Outils.h"
#include "PiloteDialogues.h"

namespace {
QString nom(QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); }

bool contient(const QImage& img, const QColor& c)
{
    for (int i = 0; i < img.width() * img.height(); ++i)
        if (img.pixelColor(i % img.width(), i / img.width()) == c)
            return true;
    return false;
}

// Ready: green light, every command; busy: red light, only the windows that do not build usable.
bool etat(Ardemo& f, bool pret)
{
    const Controles c = C(f);
    for (QWidget* w : std::initializer_list<QWidget*>{c.Fabriquer, c.SauveFichier, c.SauvePPapier, c.Apercu,
                                                      c.Imprimer, c.cAn, c.chkFerie, c.chkWeek, c.Sélection})
        if (w->isEnabled() != pret)
            return false;
    return c.FeuVert->isVisibleTo(&f) == pret && c.FeuRouge->isVisibleTo(&f) != pret && c.Couleurs->isEnabled()
           && c.CalScolaire->isEnabled() && (!pret || c.CoulSpéciale->isEnabled());
}

// The sharp print of the sheet, at `echelle` times the image's scale.
QImage imprimer(Ardemo& f, const PlanImpression& plan, double echelle = 1)
{
    QImage img((QSizeF(plan.taille) * echelle).toSize(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    DessinerNet(p, QRectF(QPointF(0, 0), QSizeF(plan.taille) * echelle), *C(f).CalBase->modele(), plan);
    return img;
}
} // namespace

class TestArdemo : public QObject {
    Q_OBJECT
private slots:
    // Every control has an accessible name (main window, a dialog); a day cell's: its date and tooltip; the year
    // box's and its text field's: the frame's title, the year being the box's value.
    void nomsAccessibles()
    {
        Programme p;
        ArdemoCoul couleurs(&p.f(), p.etat.Couleurs, p.etat.RegionFeries);
        for (QWidget* fenetre : std::initializer_list<QWidget*>{&p.f(), &couleurs})
            for (QWidget* w : fenetre->findChildren<QWidget*>())
                if (w->isVisibleTo(fenetre) && !w->isWindow()
                    && std::string_view(w->metaObject()->className()) != "QWidget")
                    QVERIFY2(!nom(w).trimmed().isEmpty(), w->metaObject()->className());
        QCOMPARE(QAccessible::queryAccessibleInterface(C(p.annee("2027")).CalBase)->child(2 * 42 + 35)->text(QAccessible::Name),
                 QString("lundi 29 mars 2027, Lundi de Pâques, semaine 13")); // the sheet's children: the 42 cells of each block
        // Each control the keyboard goes to shows a plain mark while it has it (the text boxes: their cursor; the
        // sheet: its day's mark).
        QVERIFY(p.activer());
        for (QWidget* w : p.f().findChildren<QWidget*>())
            if (w->isVisibleTo(&p.f()) && (w->focusPolicy() & Qt::TabFocus) && !qobject_cast<QLineEdit*>(w)
                && !qobject_cast<QComboBox*>(w) && w != C(p.f()).CalBase)
                QVERIFY2(marqueVisible(w, C(p.f()).Largeur), qPrintable(w->objectName()));
        QComboBox* an = C(p.f()).cAn;
        QAccessibleInterface* boite = QAccessible::queryAccessibleInterface(an);
        VERIFIER(nom(an) == "Choix de l'Année", nom(an->lineEdit()) == nom(an),
                 boite->text(QAccessible::Value) == "2027", boite->role() == QAccessible::ComboBox,
                 boite->child(1)->object() == an->lineEdit());
    }

    // The year built at the first showing only; busy while building, the window's events going on meanwhile (no
    // loop of its own); the keyboard stays on "Fabriquer".
    void construction()
    {
        Programme p;
        Ardemo& f = p.f();
        VERIFIER(f.calendrierFait(), etat(f, true), !QApplication::overrideCursor());
        const int attentes = p.horloge.attentes;
        QWidget autre;
        VERIFIER(activer(&autre), p.activer(), activer(&autre), p.activer());
        QCOMPARE(p.horloge.attentes, attentes);
        bool vuOccupe = false, sablier = false;
        p.horloge.pendantAttente = [&] {
            vuOccupe = etat(f, false);
            sablier = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            CurseurSablier(); // nested: one return to normal still restores the pointer
        };
        QCOMPARE(QApplication::focusWidget(), C(f).Fabriquer);
        p.horloge.differer = true;
        QTest::keyClick(C(f).Fabriquer, Qt::Key_Space);
        VERIFIER(vuOccupe, sablier, etat(f, false), f.occupe());
        bool apres = false; // runs once the build is over, in its order
        f.quandPret([&] { apres = etat(f, true); });
        finir(f);
        VERIFIER(apres, etat(f, true), !QApplication::overrideCursor());
        QCOMPARE(QApplication::focusWidget(), C(f).Fabriquer);
    }

    // Cell colours, frame, weekday names, the sharp print; the same image from a scrolled, hidden sheet.
    void imageDUneAnnee()
    {
        Programme p;
        p.etat.Speciales.etat.table.v[3][17] = DeRvb(255, 0, 0);
        Ardemo& f = p.annee("2027");
        const QImage img = C(f).Pict1->image();
        // The default scheme where the design puts it: grey 28 Dec 2026, 1 Jan, Sat 2, Mon 4, Easter Monday (off the
        // border and digits); the frame; January's "Lun" and December's "Dim" boxes under their name; January's title.
        const auto cellule = [](int m, int k) { return Controles::rect(m, k).topLeft() + QPoint(4, 4); };
        for (auto [pt, rvb] : {std::pair{cellule(1, 0), qRgb(192, 192, 192)}, {cellule(1, 4), qRgb(255, 192, 255)},
                               {cellule(1, 5), qRgb(255, 192, 128)}, {cellule(1, 7), qRgb(244, 240, 217)},
                               {cellule(3, 35), qRgb(255, 192, 255)}, {QPoint(1, 400), qRgb(0, 0, 0)},
                               {QPoint(8, 46), qRgb(234, 214, 170)}, {QPoint(594, 694), qRgb(234, 214, 170)}})
            QCOMPARE(img.pixel(pt), rvb);
        QVERIFY(contient(img.copy(24, 2, 162, 26), QColor(128, 0, 128)));
        // Weekday names sit at the top of their label: less room above the letters than below.
        const QRect jour = QRect(7, 29, 28, 20).adjusted(1, 1, -1, -1); // "Lun" of January
        int haut = jour.height(), bas = -1; // the first and last rows with ink
        for (int y = 0; y < jour.height(); ++y)
            if (contient(img.copy(jour.left(), jour.top() + y, jour.width(), 1), Qt::black))
                haut = std::min(haut, y), bas = y;
        VERIFIER(bas >= 0, haut + 2 <= jour.height() - 1 - bas);

        // The sharp print at scale 1 is the image (whole, two blocks, a zone past the corner); at 4, its cells.
        const QColor fond(250, 240, 230), grille(Qt::black);
        for (const PlanImpression& plan : {PlanImageEntiere(), PlanZone(209, 216, 628, 432, fond, grille),
                                           PlanZone(418, 648, 836, 1080, fond, grille)})
            QCOMPARE(imprimer(f, plan), ImagePlan(img, plan));
        const QImage grand = imprimer(f, PlanImageEntiere(), 4);
        for (int i = 0; i < 12 * 42; i += 5) {
            const QPoint centre = C(f).rect(1 + i / 42, i % 42).topLeft() + QPoint(5, 5);
            QCOMPARE(grand.pixelColor(centre * 4 + QPoint(2, 2)), img.pixelColor(centre));
        }

        C(f).VSCal->setValue(8);
        VERIFIER(C(f).CalBase->y() < 0, C(f).Pict1->y() == C(f).CalBase->y());
        C(f).CalBase->hide();
        f.Fabrication();
        QCOMPARE(C(f).Pict1->image(), img);
    }

    // The screen shows exactly the painter's image: years, schemes, special colours (the first cell
    // of a block included, given by the table as a file or an import gives it).
    void ecranEgalImage_data()
    {
        QTest::addColumn<QString>("annee"), QTest::addColumn<double>("bordure"), QTest::addColumn<int>("cellule");
        QTest::newRow("2027") << "2027" << defaut::CoulBordure << -1;
        QTest::newRow("2024, bordure rouge, case 0") << "2024" << DeRvb(255, 0, 0) << 0;
        QTest::newRow("1583, case 41") << "1583" << defaut::CoulBordure << 41;
        QTest::newRow("2026-2027, case 0") << "2026-2027" << defaut::CoulBordure << 0;
    }
    void ecranEgalImage()
    {
        QFETCH(QString, annee);
        QFETCH(double, bordure);
        QFETCH(int, cellule);
        Programme p;
        p.etat.Couleurs.CoulBordure = bordure;
        for (int m = 1; cellule >= 0 && m <= 12; ++m)
            p.etat.Speciales.etat.table.v[m][cellule] = DeRvb(0, 0, 20 * m);
        C(p.f()).chkWeek->click(); // recolours, then builds
        Ardemo& f = p.annee(qPrintable(annee));
        const QImage image = C(f).Pict1->image();
        VERIFIER(image == ImageFeuille(*C(f).CalBase->modele()), image.size() == QSize(628, 866));
        QCOMPARE(C(f).CalBase->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(image.rect()), image);
        if (cellule >= 0)
            QCOMPARE(image.pixelColor(C(f).rect(5, cellule).center() + QPoint(1, 4)).blue() > 60, true);
    }

    // The sheet is one stop of the Tab order; the keys move its focus over the days of the months by date,
    // across the blocks; the focused day is the sheet's focused child, by name, and the one its focus events name;
    // Space colours it as a click.
    void joursAuClavier()
    {
        // The program starts on the year of its clock (15 May 2027), and the keyboard on that day. Then 2021:
        // 1 January is a Friday, and today is not on the sheet.
        Programme p;
        Ardemo& f = p.f();
        QVERIFY(p.activer());
        QAccessibleInterface* feuille = QAccessible::queryAccessibleInterface(C(f).CalBase);
        const auto touches = [&](const std::vector<Qt::Key>& t) {
            for (Qt::Key k : t)
                QTest::keyClick(C(f).CalBase, k);
            QCoreApplication::processEvents(); // the focus entering is announced after Qt's own event for the sheet
            QAccessibleInterface* focus = feuille->focusChild();
            QAccessibleInterface* annonce = feuille->child(C(f).CalBase->enfantAnnonce()); // by the last focus event
            const QString nom = focus && focus->state().focused ? focus->text(QAccessible::Name) : QString();
            return annonce && annonce->text(QAccessible::Name) == nom ? nom : nom + " / annoncé : autre case";
        };
        for (const char* premier : {"samedi 15 mai 2027, Semaine  19", "vendredi 1 janvier 2021, Jour de l'An, semaine 53"}) {
            C(f).Quitter->setFocus();
            QTest::keyClick(C(f).Quitter, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), C(f).CalBase);
            QCOMPARE(touches({}), QString(premier));
            QTRY_VERIFY(QToolTip::isVisible() && QString(premier).endsWith(", " + QToolTip::text().trimmed()));
            p.annee("2021");
        }
        QCOMPARE(touches({Qt::Key_Left, Qt::Key_Up, Qt::Key_Right}), QString("samedi 2 janvier 2021, Semaine  53"));
        QCOMPARE(touches({Qt::Key_End, Qt::Key_Right}), QString("lundi 1 février 2021, Semaine  5"));
        QCOMPARE(touches({Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Home}), QString("lundi 1 mars 2021, Semaine  9"));
        QCOMPARE(touches({Qt::Key_PageUp, Qt::Key_PageUp, Qt::Key_End, Qt::Key_PageDown}),
                 QString("dimanche 28 février 2021, Semaine  8"));
        QCOMPARE(touches(std::vector(14, Qt::Key_PageDown)), QString("mardi 28 décembre 2021, Semaine  52")); // no 2022
        p.annee("2026-2027"); // today is on it; from December on to January
        QCOMPARE(touches(std::vector(5, Qt::Key_PageUp)), QString("mardi 15 décembre 2026, Semaine  51"));
        QCOMPARE(touches({Qt::Key_PageDown, Qt::Key_End}), QString("dimanche 31 janvier 2027, Semaine  4"));
        const auto focus = C(f).CalBase->caseFocus();
        VERIFIER(focus && focus->bloc == 5, C(f).jour(5, focus->cellule).legende == 31, feuille->childCount() >= 504);

        QTest::keyClick(C(f).CalBase, Qt::Key_Space); // outside the special colours: nothing
        QCOMPARE(p.etat.Speciales.etat.table.v[5][focus->cellule], 0.0);
        C(f).CoulSpéciale->click();
        p.etat.Speciales.choisie = DeRvb(255, 0, 0);
        C(f).CalBase->setFocus();
        QTest::keyClick(C(f).CalBase, Qt::Key_Space);
        VERIFIER(p.etat.Speciales.etat.table.v[5][focus->cellule] == DeRvb(255, 0, 0), C(f).chiffre(5, focus->cellule) == Qt::red);
    }

    // A check box's rebuild keeps the special colours; "Fabriquer" clears them once the question is answered
    // (Annuler: nothing), and Ctrl+Z gives them back, Ctrl+Y takes them away again; with their window open
    // nothing is built, and closing the main window ends the program only when it closes.
    void couleursSpeciales()
    {
        Programme p;
        Ardemo& f = p.f();
        p.etat.Speciales.etat.table.v[2][10] = DeRvb(255, 0, 0);
        const QRect caseRouge = C(f).rect(2, 10);
        auto rougeVu = [&] { return contient(C(f).Pict1->image().copy(caseRouge), Qt::red); };
        C(f).chkWeek->click();
        VERIFIER(rougeVu(), !contient(C(f).Pict1->image(), VersQColor(p.etat.Couleurs.CoulWeekEnd)));
        QString question, encore;
        repondre(question, "Annuler"), C(f).Fabriquer->click();
        VERIFIER(question == "Enregistrer les couleurs spéciales ?", rougeVu());
        repondre(encore, "Ne pas enregistrer"), C(f).Fabriquer->click();
        QVERIFY(!rougeVu() && p.activer());
        QTest::keyClick(&f, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(rougeVu());
        QTest::keyClick(&f, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(!rougeVu());
        int fin = 0;
        QObject::connect(&f, &Ardemo::programFinished, [&] { ++fin; });
        C(f).CoulSpéciale->click();
        const QImage avant = C(f).Pict1->image();
        const int attentes = p.horloge.attentes;
        p.annee("1999");
        VERIFIER(p.horloge.attentes == attentes, C(f).Pict1->image() == avant);
        f.close();
        QCoreApplication::processEvents();
        QCOMPARE(fin, 0);
        fenetreDe<VornCoulSP>(f)->close();
        QTest::qWait(0);
        VERIFIER(fin == 1, !p.f().modeCouleursSpeciales());
    }
};

ARDEMO_GUI_MAIN(TestArdemo)
#include "test_ardemo.moc"
