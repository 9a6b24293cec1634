// The year box, the size boxes, scrolling and the settings kept in Pelvado.ini.
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "app/Reglages.h"
#include "app/Saisies.h"
#include "app/ui/BoiteImage.h"
#include "app/ui/Feuille.h"
#include "main_gui.h"
#include "Outils.h"

namespace {
// Closes the next message box and returns its text.
void fermerMessage(QString* texte)
{
    QTimer::singleShot(0, [=] {
        if (auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            *texte = m->text();
            m->accept();
        }
    });
}

// A key as the X11 platform delivers it: Delete and the Ctrl+letter shortcuts
// carry their control character as text.
void toucheX11(QWidget* w, QKeyCombination k)
{
    QString texte;
    if (k.key() == Qt::Key_Delete)
        texte = QChar(0x7f);
    else if (k.key() == Qt::Key_Tab)
        texte = QChar(9);
    else if ((k.keyboardModifiers() & Qt::ControlModifier) && k.key() >= Qt::Key_A && k.key() <= Qt::Key_Z)
        texte = QChar(k.key() - Qt::Key_A + 1);
    QTest::sendKeyEvent(QTest::Press, w, k.key(), texte, k.keyboardModifiers());
    QTest::sendKeyEvent(QTest::Release, w, k.key(), texte, k.keyboardModifiers());
}

void taper(QLineEdit* boite, const QString& texte)
{
    boite->setFocus();
    boite->selectAll();
    QTest::keyClick(boite, Qt::Key_Backspace);
    QTest::keyClicks(boite, texte);
}
} // namespace

class TestEntrees : public QObject {
    Q_OBJECT
private slots:
    void anneeHorsPlageEtChiffres()
    {
        Programme p(false);
        Ardemo& f = p.f();
        f.show();
        struct Cas {
            const char* texte;
            bool message;
            const char* annee;
        } cas[] = {{"2027", false, "2027"}, {"1200", true, "1200"}, {"12345", true, "2345"},
                   {"99", true, "0099"}, {"deux", true, "0099"}};
        for (const Cas& c : cas) {
            QString texte;
            fermerMessage(&texte);
            f.cAn->setEditText(QString::fromLatin1(c.texte));
            f.cAn_LostFocus();
            QCoreApplication::processEvents();
            QCOMPARE(texte.contains("1583 et 9999"), c.message);
            QCOMPARE(f.etat().AnChoisi, std::string(c.annee));
        }
        // A choice in the list takes the year without a warning.
        f.cAn->setCurrentIndex(27);
        f.cAn_Click();
        QCOMPARE(f.etat().AnChoisi, std::string("2027"));
    }

    void sortieDeLaCaseAnneeUneSeuleFois()
    {
        // Leaving the year box for real shows the warning once, and Enter in the
        // width box runs the preview button once.
        Programme p(false);
        Ardemo& f = p.f();
        QVERIFY(p.activer());
        int messages = 0;
        QTimer fermer; // answers every message box while the test runs
        QObject::connect(&fermer, &QTimer::timeout, [&] {
            if (auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++messages;
                m->accept();
            }
        });
        fermer.start(10);
        f.cAn->setFocus();
        f.cAn->setEditText("1200");
        f.Largeur->setFocus();
        QTest::qWait(200);
        QCOMPARE(messages, 1);
        QCOMPARE(f.etat().AnChoisi, std::string("1200"));
        f.Largeur->setFocus();
        QTest::keyClick(f.Largeur, Qt::Key_Return);
        QVERIFY(f.etat().ApercuOuvert); // opened once, not opened then closed
    }

    void taillesProportionnelles()
    {
        Programme p(false);
        Ardemo& f = p.f();
        f.show();
        taper(f.Hauteur, "283");
        QVERIFY(f.Largeur->text() == "200" && f.etat().HauteurTwips == 16046 && f.etat().LargeurTwips == 11340);
        taper(f.Largeur, "90");
        QVERIFY(f.Hauteur->text() == "127" && f.etat().LargeurTwips == 5103);
        // The accepted size opens the preview, which takes the height from the
        // width: 5103 x 1.415 = 7221 (127 mm alone would give 7201).
        QVERIFY(f.etat().ApercuOuvert && f.etat().HauteurTwips == 7221);
        QVERIFY(!f.etat().LargeurParProgramme && !f.etat().HauteurParProgramme);
        // 128 gives the width 90 again: no flag left set, the next change is handled.
        taper(f.Hauteur, "128");
        QCOMPARE(f.Largeur->text(), QStringLiteral("90"));
        QVERIFY(!f.etat().LargeurParProgramme);
        taper(f.Largeur, "100");
        QCOMPARE(f.Hauteur->text(), QStringLiteral("142"));
        // Letters never reach the boxes; Enter only in the width box (preview).
        taper(f.Largeur, "1a5");
        QCOMPARE(f.Largeur->text(), QStringLiteral("15"));
    }

    void valeurRefuseeRestauree()
    {
        Programme p(false);
        Ardemo& f = p.f();
        QVERIFY(p.activer());
        f.Largeur->setFocus();
        QCOMPARE(int(f.etat().TailleAvant), 90);
        taper(f.Largeur, "25");
        QVERIFY(f.largeurRouge() && f.Hauteur->text() == "127" && f.etat().LargeurTwips == 5103);
        f.Hauteur->setFocus(); // the width box loses the focus
        QVERIFY(!f.largeurRouge() && f.Largeur->text() == "90" && LireLargeur(f.etat().FichierIni) == "90");

        // Heights whose width falls out of range: the width box turns red only.
        for (int h : {284, 290, 30, 41}) {
            taper(f.Hauteur, QString::number(h));
            QVERIFY2(!f.hauteurRouge() && f.largeurRouge(), qPrintable(QString::number(h)));
        }
        taper(f.Hauteur, "291");
        QVERIFY(f.hauteurRouge());
        f.Largeur->setFocus(); // height restored to the value it had on getting the focus
        QVERIFY(!f.hauteurRouge());
        // Leaving the height while the width it gave is red keeps the stored width.
        taper(f.Hauteur, "286");
        f.Largeur->setFocus();
        QVERIFY(f.largeurRouge());
        QCOMPARE(LireLargeur(f.etat().FichierIni), std::string("90"));
    }

    // Only typed characters go through the key filter: Tab, Shift+Tab and the
    // editing keys and shortcuts work as in any text box.
    void touchesDesBoites_data()
    {
        QTest::addColumn<bool>("depuisLargeur");
        QTest::addColumn<QString>("tape");
        QTest::addColumn<QKeySequence>("touches");
        QTest::addColumn<QString>("largeur");
        QTest::addColumn<bool>("focusLargeur");
        QTest::addColumn<QString>("ini"); // stored width, "" when none
        QTest::newRow("Tab sur 25 : remis") << true << "25" << QKeySequence("Tab") << "90" << false << "90";
        QTest::newRow("Tab sur 150 : gardé") << true << "150" << QKeySequence("Tab") << "150" << false << "150";
        QTest::newRow("Maj+Tab depuis la hauteur") << false << "" << QKeySequence("Shift+Tab") << "90" << true << "90";
        QTest::newRow("Début, Suppr") << true << "" << QKeySequence("Home, Del") << "0" << true << "";
        QTest::newRow("Fin, Gauche, Suppr") << true << "" << QKeySequence("End, Left, Del") << "9" << true << "";
        QTest::newRow("couper") << true << "" << QKeySequence("Ctrl+A, Ctrl+X") << "" << true << "";
        QTest::newRow("copier, effacer, coller")
            << true << "" << QKeySequence("Ctrl+A, Ctrl+C, Backspace, Ctrl+V") << "90" << true << "";
    }
    void touchesDesBoites()
    {
        QFETCH(bool, depuisLargeur);
        QFETCH(QString, tape);
        QFETCH(QKeySequence, touches);
        Programme p(false);
        Ardemo& f = p.f();
        QVERIFY(p.activer());
        QLineEdit* boite = depuisLargeur ? f.Largeur : f.Hauteur;
        if (tape.isEmpty())
            boite->setFocus();
        else
            taper(boite, tape);
        for (int i = 0; i < touches.count(); ++i)
            toucheX11(QApplication::focusWidget(), touches[i]);
        QFETCH(QString, largeur);
        QFETCH(bool, focusLargeur);
        QFETCH(QString, ini);
        QCOMPARE(f.Largeur->text(), largeur);
        QCOMPARE(f.largeurRouge(), ValeurTaille(largeur.toStdString()) < 30);
        QCOMPARE(QApplication::focusWidget(), focusLargeur ? f.Largeur : f.Hauteur);
        QCOMPARE(LireLargeur(f.etat().FichierIni), ini.toStdString());
    }

    // Another application taking the keyboard is not a focus change between
    // controls: no year warning, no red size put back; back in the window, the
    // boxes carry on from where they were.
    void changementDApplication()
    {
        Programme p(false);
        Ardemo& f = p.f();
        QVERIFY(p.activer());
        int messages = 0;
        QTimer fermer;
        QObject::connect(&fermer, &QTimer::timeout, [&] {
            if (auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++messages;
                m->accept();
            }
        });
        fermer.start(10);
        QWidget autre;
        const auto basculer = [&](QWidget* w) {
            w->show();
            QApplication::setActiveWindow(w);
            w->activateWindow();
            return QTest::qWaitForWindowActive(w);
        };

        f.cAn->setFocus();
        f.cAn->setEditText("1200");
        QVERIFY(basculer(&autre));
        QVERIFY(basculer(&f));
        QTest::qWait(50);
        QCOMPARE(messages, 0);
        QCOMPARE(QApplication::focusWidget(), f.cAn);

        f.Largeur->setFocus(); // leaving the year box for real: the warning, once
        QTest::qWait(50);
        QCOMPARE(messages, 1);
        QVERIFY(basculer(&f)); // back from the message box
        taper(f.Largeur, "25");
        QVERIFY(basculer(&autre));
        QVERIFY(f.largeurRouge());
        QVERIFY(basculer(&f));
        QCOMPARE(f.Largeur->text(), QStringLiteral("25"));
        QCOMPARE(LireLargeur(f.etat().FichierIni), std::string());
        QTest::keyClick(f.Largeur, Qt::Key_Tab); // the value it had before typing
        QCOMPARE(f.Largeur->text(), QStringLiteral("90"));
        QCOMPARE(LireLargeur(f.etat().FichierIni), std::string("90"));
    }

    void modeZone()
    {
        Programme p(false);
        Ardemo& f = p.f();
        f.show();
        f.etat().ZoneChoisie = Vrai;
        f.etat().RatioZone = 216.0 / 418.0;
        taper(f.Largeur, "100");
        QCOMPARE(f.Hauteur->text(), QStringLiteral("52"));
        QCOMPARE(int(f.etat().HauteurTwips), 2930); // 5670 x 216 / 418, by the preview
        // One block wide, four high: a width whose height would not fit 16 bits is refused.
        f.etat().RatioZone = 864.0 / 209.0;
        taper(f.Largeur, "150");
        QVERIFY(f.largeurRouge());
    }

    void defilement()
    {
        Programme p(false);
        Ardemo& f = p.f();
        f.VSCal->setValue(8);
        QVERIFY(f.CalBase->y() == -217 && f.Pict1->y() == -217); // -3254.92 twips
        f.VSCal->setValue(0);
        QCOMPARE(f.CalBase->y(), 0);
    }

    void reglagesEntreDeuxLancements()
    {
        QTemporaryDir dossier;
        const std::string ini = (dossier.path() + "/Pelvado.ini").toStdString();
        SchemaCouleurs c;
        c.CoulFerie = 255;
        QVERIFY(EcrireCouleurs(ini, c));
        QVERIFY(EcrireLargeur(ini, "150"));
        // A write that a kill interrupted left its temporary: start-up removes it.
        const std::string reste = (dossier.path() + "/.Pelvado.ini.ardemo-tmp-Xy12z9").toStdString();
        std::ofstream(reste) << "[Taille]";
        mdlVorn etat;
        HorlogeTest horloge;
        Ardemo f(etat, horloge, dossier.path());
        QVERIFY(!std::filesystem::exists(reste));
        QCOMPARE(etat.Couleurs.CoulFerie, 255.0);
        QVERIFY(f.Largeur->text() == "150" && f.Hauteur->text() == "212" && etat.LargeurTwips == 8505);
    }
};

ARDEMO_GUI_MAIN(TestEntrees)
#include "test_entrees.moc"
