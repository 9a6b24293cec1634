// The year box, the size boxes and the settings kept in Pelvado.ini.
#include <QMessageBox>
#include <QTimer>
#include <filesystem>

#include "app/Reglages.h"
#include "commun/FichierIni.h"
#include "main_gui.h"
#include "Outils.h"
#include "tests/core/Outils.h"

class TestEntrees : public QObject {
    Q_OBJECT
private slots:
    // Steps: "L:25" types 25 in the width box (H: height, A: year), "L"/"H" goes to a box, "ailleurs" to another
    // application and back, others are keys as X11 delivers them (Delete, Tab, Ctrl+letter with their control
    // character). Then: width, height, red box, width in Pelvado.ini, year, warnings, box with the keyboard.
    void boites_data()
    {
        QTest::addColumn<QString>("etapes");
        QTest::addColumn<QString>("resultat");
        // Only typed characters go through the key filter: Tab and the editing keys as in any box.
        QTest::newRow("Tab sur 25 : remis") << "L:25 Tab" << "90 127 - 90 2027 0 Hauteur";
        QTest::newRow("Tab sur 150 : gardé") << "L:150 Tab" << "150 212 - 150 2027 0 Hauteur";
        QTest::newRow("Début, Suppr") << "L:90 Home Del" << "0 127 L - 2027 0 Largeur";
        QTest::newRow("copier, coller") << "L:90 Ctrl+A Ctrl+C Backspace Ctrl+V" << "90 127 - - 2027 0 Largeur";
        // A height that gives the width already shown leaves no guard set: the next width is followed.
        QTest::newRow("hauteur sans effet") << "H:128 L:100" << "100 142 - 90 2027 0 Largeur";
        // A height out of range turns red and is put back on leaving; a red width is never kept.
        QTest::newRow("hauteur refusée") << "L:100 H:291" << "100 291 H 100 2027 0 Hauteur";
        QTest::newRow("hauteur remise") << "L:100 H:291 L" << "100 142 - 100 2027 0 Largeur";
        QTest::newRow("largeur rouge") << "L:100 H:286 L" << "202 286 L 100 2027 0 Largeur";
        // The year is the number at the start of the text; out of range: taken, with a warning.
        QTest::newRow("année") << "A:2030 L" << "90 127 - - 2030 0 Largeur";
        QTest::newRow("année hors plage") << "A:1200 L" << "90 127 - - 1200 1 Largeur";
        QTest::newRow("année, chiffres en trop") << "A:12345 L A:deux H" << "90 127 - 90 2345 2 Hauteur";
        // Two years joined by a hyphen: a school year, or a warning and the year as it was.
        QTest::newRow("année scolaire") << "A:2026-2027 L" << "90 127 - - 2026-2027 0 Largeur";
        QTest::newRow("année scolaire hors plage") << "A:9999-10000 L" << "90 127 - - 2027 1 Largeur";
        QTest::newRow("années qui ne se suivent pas") << "A:2026-2028 L" << "90 127 - - 2027 1 Largeur";
        // Enter builds (anneeScolaireTapee), the box keeping the keyboard; a refused year is said, not built.
        QTest::newRow("Entrée") << "A:2030 Return" << "90 127 - - 2030 0 cAn";
        QTest::newRow("Entrée, année refusée") << "A:2026-2028 Return" << "90 127 - - 2027 1 cAn";
        // Another application taking the keyboard is no focus change: no warning, no red size put back.
        QTest::newRow("ailleurs depuis l'année") << "A:1200 ailleurs" << "90 127 - - 2027 0 cAn";
        QTest::newRow("puis Tab") << "A:1200 ailleurs Tab" << "90 127 - - 1200 1 Couleurs";
        QTest::newRow("ailleurs depuis 25") << "L:25 ailleurs" << "25 127 L - 2027 0 Largeur";
        QTest::newRow("puis Tab remet") << "L:25 ailleurs Tab" << "90 127 - 90 2027 0 Hauteur";
    }
    void boites()
    {
        QFETCH(QString, etapes);
        Programme p(false);
        const Controles c = C(p.f());
        QVERIFY(p.activer());
        p.etat.AnChoisi = "2027";
        int messages = 0; // message boxes shown, each answered
        QTimer repondre;
        repondre.callOnTimeout([&] {
            if (auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                ++messages, m->accept();
        });
        repondre.start(10);
        QWidget autre;
        for (const QString& e : etapes.split(' ')) {
            QLineEdit* boite = e.startsWith('L') ? c.Largeur : c.Hauteur;
            if (e.startsWith("A:"))
                c.cAn->setFocus(), c.cAn->setEditText(e.mid(2));
            else if (e.size() == 1 || e[1] == ':') { // a size box, and what is typed in it
                boite->setFocus();
                if (e.size() > 2)
                    boite->selectAll(), QTest::keyClick(boite, Qt::Key_Backspace), QTest::keyClicks(boite, e.mid(2));
            } else if (e == "ailleurs")
                VERIFIER(activer(&autre), p.activer());
            else {
                const QKeyCombination k = QKeySequence(e)[0];
                const int car = k.key() == Qt::Key_Delete ? 0x7f : k.key() == Qt::Key_Tab ? 9
                                : k.keyboardModifiers() & Qt::ControlModifier ? k.key() - Qt::Key_A + 1 : 0;
                QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), k.key(),
                                    car ? QString(QChar(car)) : QString(), k.keyboardModifiers());
            }
            QVERIFY(QApplication::activeWindow() || p.activer()); // back from a warning, as a window manager does
        }
        const QString rouge = p.f().largeurRouge() ? "L" : p.f().hauteurRouge() ? "H" : "-";
        const QString gardee = QString::fromStdString(FichierReglages(p.etat.FichierIni()).LireLargeur());
        const QStringList vu = {c.Largeur->text(), c.Hauteur->text(), rouge, gardee.isEmpty() ? "-" : gardee,
                                QString::fromStdString(p.etat.AnChoisi), QString::number(messages),
                                QApplication::focusWidget()->objectName()};
        QTEST(vu.join(' '), "resultat");
    }

    // A school year typed, then built by Enter: September to August, each block in its year; the box keeps the text typed
    // (no entry of the list takes its place), whole, and its tooltip says how to type one.
    void anneeScolaireTapee()
    {
        Programme p;
        const Controles c = C(p.f());
        QVERIFY(p.activer());
        c.cAn->setFocus(), c.cAn->setEditText("2026 - 2027");
        QTest::keyClick(c.cAn, Qt::Key_Enter);
        VERIFIER(p.etat.AnChoisi == "2026-2027", c.cAn->currentText() == "2026 - 2027", c.cAn->toolTip().contains("2026-2027"),
                 c.CalBase->modele()->bloc(1).titre == "septembre 2026", c.CalBase->modele()->bloc(12).titre == "août 2027",
                 c.cAn->lineEdit()->fontMetrics().horizontalAdvance("2026 - 2027") < c.cAn->lineEdit()->contentsRect().width());
    }

    // The settings of the last run are read at start-up; a killed write's temporary is removed.
    void reglagesEntreDeuxLancements()
    {
        QTemporaryDir dossier;
        const std::filesystem::path reste = dossier.filePath(".Pelvado.ini.ardemo-tmp-Xy12z9").toStdString();
        QVERIFY(FichierReglages(dossier.filePath("Pelvado.ini").toStdString()).EcrireLargeur("150"));
        EcrireFichier(reste, "[Taille]");
        Document etat;
        HorlogeTest horloge;
        Ardemo f(etat, horloge, dossier.path());
        VERIFIER(!std::filesystem::exists(reste), etat.LargeurTwips == 8505);
        VERIFIER(C(f).Largeur->text() == "150", C(f).Hauteur->text() == "212");
        // A file over the size limit is said, and not read: the defaults.
        std::filesystem::resize_file(dossier.filePath("Pelvado.ini").toStdString(), TailleMaxIni + 1);
        Document autre;
        Ardemo g(autre, horloge, dossier.path());
        const auto messages = g.findChildren<QMessageBox*>();
        VERIFIER(messages.size() == 1, messages.value(0) && messages.value(0)->text().contains("trop gros"),
                 autre.LargeurTwips == 5103);
    }
};

ARDEMO_GUI_MAIN(TestEntrees)
#include "test_entrees.moc"
