// The year box, the size boxes and the settings kept in Pelvado.ini.
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "app/Reglages.h"
#include "app/Saisies.h"
#include "main_gui.h"
#include "output/ui/ApercuForm.h"
#include "Outils.h"

namespace {
// Answers every message box while it lives, counting them.
struct Messages : QTimer {
    int n = 0;
    Messages()
    {
        connect(this, &QTimer::timeout, [this] {
            if (auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++n;
                m->accept();
            }
        });
        start(10);
    }
};

void taper(QLineEdit* boite, const QString& texte)
{
    boite->setFocus();
    boite->selectAll();
    QTest::keyClick(boite, Qt::Key_Backspace);
    QTest::keyClicks(boite, texte);
}

bool basculer(QWidget* w)
{
    w->show();
    QApplication::setActiveWindow(w);
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}
} // namespace

class TestEntrees : public QObject {
    Q_OBJECT
private slots:
    // The year is the number at the start of the text; a year out of range is
    // taken with a warning, text without a number keeps the year.
    void annee()
    {
        Programme p;
        Ardemo& f = p.f();
        const std::tuple<const char*, int, const char*> cas[] = {
            {"2027", 0, "2027"}, {"1200", 1, "1200"}, {"12345", 1, "2345"}, {"deux", 1, "2345"}};
        for (auto [texte, message, annee] : cas) {
            Messages m;
            C(f).cAn->setEditText(QString::fromLatin1(texte));
            QFocusEvent sortie(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(C(f).cAn, &sortie);
            QCOMPARE(m.n, message);
            QCOMPARE(QString::fromStdString(f.etat().AnChoisi), QString::fromLatin1(annee));
        }
    }

    void taillesProportionnelles()
    {
        Programme p(false);
        Ardemo& f = p.f();
        f.show();
        taper(C(f).Largeur, "90");
        QCOMPARE(C(f).Hauteur->text(), QStringLiteral("127"));
        // The accepted size opens the preview, which takes the height from the
        // width: 5103 x 1.415 = 7221 (127 mm alone would give 7201).
        QVERIFY(f.etat().ApercuOuvert && f.etat().HauteurTwips == 7221);
        // 128 gives the width 90 again: no flag left set, the next change is handled.
        taper(C(f).Hauteur, "128");
        taper(C(f).Largeur, "100");
        QCOMPARE(C(f).Hauteur->text(), QStringLiteral("142"));
        // Enter in the width box runs the preview button once.
        fenetreDe<ApercuForm>(f)->close();
        QTest::keyClick(C(f).Largeur, Qt::Key_Return);
        QVERIFY(f.etat().ApercuOuvert);
    }

    // A height out of range turns red and is put back on leaving its box; the
    // width is stored on leaving either box, but never a red one.
    void valeurRefuseeRestauree()
    {
        Programme p(false);
        Ardemo& f = p.f();
        QVERIFY(p.activer());
        taper(C(f).Hauteur, "291");
        QVERIFY(f.hauteurRouge());
        C(f).Largeur->setFocus();
        QVERIFY(!f.hauteurRouge() && C(f).Hauteur->text() == "127" && LireLargeur(f.etat().FichierIni) == "90");
        taper(C(f).Hauteur, "286");
        C(f).Largeur->setFocus();
        QVERIFY(f.largeurRouge());
        QCOMPARE(LireLargeur(f.etat().FichierIni), std::string("90"));
    }

    // Only typed characters go through the key filter: Tab, the editing keys and
    // the shortcuts work as in any text box, even as X11 delivers them (Delete,
    // Tab and Ctrl+letter with their control character).
    void touchesDesBoites_data()
    {
        QTest::addColumn<QString>("tape");
        QTest::addColumn<QKeySequence>("touches");
        QTest::addColumn<QString>("largeur");
        QTest::addColumn<QString>("ini"); // stored width, "" when none
        QTest::newRow("Tab sur 25 : remis") << "25" << QKeySequence("Tab") << "90" << "90";
        QTest::newRow("Tab sur 150 : gardé") << "150" << QKeySequence("Tab") << "150" << "150";
        QTest::newRow("Début, Suppr") << "90" << QKeySequence("Home, Del") << "0" << "";
        QTest::newRow("copier, effacer, coller") << "90" << QKeySequence("Ctrl+A, Ctrl+C, Backspace, Ctrl+V") << "90" << "";
    }
    void touchesDesBoites()
    {
        QFETCH(QString, tape);
        QFETCH(QKeySequence, touches);
        QFETCH(QString, largeur);
        QFETCH(QString, ini);
        Programme p(false);
        Ardemo& f = p.f();
        QVERIFY(p.activer());
        taper(C(f).Largeur, tape);
        for (int i = 0; i < touches.count(); ++i) {
            const QKeyCombination k = touches[i];
            const QString texte = k.key() == Qt::Key_Delete ? QString(QChar(0x7f))
                                  : k.key() == Qt::Key_Tab  ? QString(QChar(9))
                                  : k.keyboardModifiers() & Qt::ControlModifier ? QString(QChar(k.key() - Qt::Key_A + 1))
                                                                                : QString();
            QTest::sendKeyEvent(QTest::Press, QApplication::focusWidget(), k.key(), texte, k.keyboardModifiers());
            QTest::sendKeyEvent(QTest::Release, QApplication::focusWidget(), k.key(), texte, k.keyboardModifiers());
        }
        QCOMPARE(C(f).Largeur->text(), largeur);
        QCOMPARE(QApplication::focusWidget(), touches[0].key() == Qt::Key_Tab ? C(f).Hauteur : C(f).Largeur);
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
        Messages m;
        QWidget autre;
        C(f).cAn->setFocus();
        C(f).cAn->setEditText("1200");
        QVERIFY(basculer(&autre) && basculer(&f));
        QTest::qWait(50);
        QCOMPARE(m.n, 0);
        QCOMPARE(QApplication::focusWidget(), C(f).cAn);
        C(f).Largeur->setFocus(); // leaving the year box for real: the warning, once
        QTest::qWait(200);
        QCOMPARE(m.n, 1);
        QVERIFY(basculer(&f));
        taper(C(f).Largeur, "25");
        QVERIFY(basculer(&autre) && f.largeurRouge() && basculer(&f));
        QCOMPARE(C(f).Largeur->text(), QStringLiteral("25"));
        QCOMPARE(LireLargeur(f.etat().FichierIni), std::string());
        QTest::keyClick(C(f).Largeur, Qt::Key_Tab);
        QCOMPARE(C(f).Largeur->text(), QStringLiteral("90"));
    }

    // The settings of the last run are read at start-up, and a temporary that
    // a killed write left behind is removed.
    void reglagesEntreDeuxLancements()
    {
        QTemporaryDir dossier;
        const std::string ini = (dossier.path() + "/Pelvado.ini").toStdString();
        QVERIFY(EcrireLargeur(ini, "150"));
        const std::string reste = (dossier.path() + "/.Pelvado.ini.ardemo-tmp-Xy12z9").toStdString();
        std::ofstream(reste) << "[Taille]";
        mdlVorn etat;
        HorlogeTest horloge;
        Ardemo f(etat, horloge, dossier.path());
        QVERIFY(!std::filesystem::exists(reste));
        QVERIFY(C(f).Largeur->text() == "150" && C(f).Hauteur->text() == "212" && etat.LargeurTwips == 8505);
    }
};

ARDEMO_GUI_MAIN(TestEntrees)
#include "test_entrees.moc"
