// The special-colours window: day clicks, reset, .Cal files saved and opened, .ics import.
#include <QDragEnterEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QToolTip>
#include <QUndoStack>
#include <cstring>
#include <fstream>

#include "commun/ui/Couleur.h"
#include "colour/ui/Echantillon.h"
#include "colour/ui/PeintreFeuille.h"
#include "calendar/Mois.h"
#include "main_gui.h"
#include "Outils.h"
#include "commun/ui/Chemin.h"
#include "PiloteDialogues.h"
#include "special/FichierCal.h"
#include "special/ui/VornCoulSP.h"

namespace {
const QColor Rouge(255, 0, 0), Vert(0, 160, 0), Bleu(0x12, 0x34, 0x56);
using Table = TableCouleursSP;
void ecrire(Programme& p, const QString& nom, const std::string& s)
{
    std::ofstream(p.dossier.filePath(nom).toStdString()) << s;
}

// A program with its special-colours window open.
struct Fenetre : Programme {
    Controles c = C(f());
    VornCoulSP& w = (c.CoulSpéciale->click(), *fenetreDe<VornCoulSP>(f()));
    const QString aucun = fich(); // no file in use
    VuDialogue vu;                // what the last colour or file dialog looked like
    const Table& table() { return etat.Speciales.etat.table.v; }
    bool vide() { return std::all_of(&table()[0][0], &table()[0][0] + 13 * 43, [](double v) { return v == 0; }); }
    QString fich() { return enfant<QLabel>(&w, "FichEnCours")->text(); }
    void bouton(const char* nom) { enfant<vkCommand>(&w, nom)->click(); }
    void choisir(const QColor& coul) { choisirCouleur(vu, coul), bouton("ChoixCoul"); }
    void jour(int m, int k) { c.cliquer(m, k); }
    QColor chiffre(int m, int k) { return c.chiffre(m, k); }
    // Button `b`, its file dialog answering `n`; the name it proposed.
    QString fichier(const char* b, QString n) { choisirFichier(vu, dossier.filePath(n)), bouton(b); return vu.nom; }
};
} // namespace

class TestCoulSP : public QObject {
    Q_OBJECT
private slots:
    // Runs of days on a school-year sheet, each one step of the undo stack: a drag across a month's end, Shift+arrows
    // then Space across the year's end, a click then Shift+click. Before any colour, a click says how to choose one.
    void suitesDeJours()
    {
        Programme p;
        Ardemo& f = p.annee("2026-2027");
        const Controles c = C(f);
        c.CoulSpéciale->click();
        QTest::mouseClick(c.CalBase, Qt::LeftButton, {}, c.rect(3, 10).center());
        VERIFIER(std::all_of(&p.table()[0][0], &p.table()[0][0] + 13 * 43, [](double v) { return v == 0; }),
                 QToolTip::isVisible(), QToolTip::text().contains("Choisir la couleur des chiffres"));
        VuDialogue vu;
        choisirCouleur(vu, Rouge), enfant<vkCommand>(fenetreDe<VornCoulSP>(f), "ChoixCoul")->click();
        const auto ici = [&](int j, int m, int a) { return c.rect(CaseDuJour(*c.CalBase->modele(), {j, m, a})->bloc,
                                                                   CaseDuJour(*c.CalBase->modele(), {j, m, a})->cellule).center(); };
        // Every cell (grey ones included) red exactly when its date lies in the run.
        const auto couleurs = [&](Date de, Date a) {
            for (int m = 1; m <= 12; ++m)
                for (int k = 0; k < 42; ++k) {
                    const int64_t j = JoursDepuisEpoque(c.jour(m, k).date);
                    if ((p.table()[m][k] != 0) != (j >= JoursDepuisEpoque(de) && j <= JoursDepuisEpoque(a)))
                        return false;
                }
            return true;
        };
        const int pas = f.pile().count();
        QTest::mousePress(c.CalBase, Qt::LeftButton, {}, ici(29, 10, 2026)), QTest::mouseRelease(c.CalBase, Qt::LeftButton, {}, ici(3, 11, 2026));
        VERIFIER(couleurs({29, 10, 2026}, {3, 11, 2026}), f.pile().count() == pas + 1);
        f.pile().undo();
        QVERIFY(couleurs({1, 1, 3000}, {1, 1, 3000})); // none
        QTest::mouseClick(c.CalBase, Qt::LeftButton, {}, ici(30, 12, 2026));
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(c.CalBase, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(c.CalBase, Qt::Key_Space);
        QVERIFY(couleurs({30, 12, 2026}, {2, 1, 2027}));
        f.pile().undo(), f.pile().undo();
        QTest::mouseClick(c.CalBase, Qt::LeftButton, {}, ici(10, 2, 2027));
        QTest::mouseClick(c.CalBase, Qt::LeftButton, Qt::ShiftModifier, ici(12, 2, 2027));
        VERIFIER(couleurs({10, 2, 2027}, {12, 2, 2027}), f.pile().count() == pas + 2);
    }

    void clicsFichiersEtFermeture()
    {
        Fenetre p;
        const double* t = p.table()[5];
        // A grey cell counts as well; a second click gives the day back its normal colour.
        p.choisir(Rouge), p.jour(5, 0), p.jour(5, 20);
        VERIFIER(t[20] == DeQColor(Rouge), t[0] == t[20], p.chiffre(5, 20) == Rouge);
        p.jour(5, 20);
        VERIFIER(t[20] == 0, p.chiffre(5, 20) == Qt::black);
        // A cancelled picker changes nothing; the sixth row is clicked as the others.
        p.choisir(QColor()), p.jour(5, 36), p.choisir(Bleu), p.jour(5, 0);
        VERIFIER(t[36] == DeQColor(Rouge), t[0] == DeQColor(Bleu));
        // The colour in use named, Enter ending the name: one step of the undo stack, and the day's tooltip and
        // accessible name carry it.
        QLineEdit* nom = enfant<QLineEdit>(&p.w, "NomCouleur");
        nom->setFocus(), QTest::keyClicks(nom, " Anniversaires "), QTest::keyClick(nom, Qt::Key_Return);
        const auto bulle = [&](int m, int k) {
            const ModeleFeuille& f = *p.c.CalBase->modele();
            const CaseFeuille& c = f.bloc(m).cases[static_cast<size_t>(k)];
            return QString::fromStdString(BulleCase(f, c) + "|" + NomAccessible(f, c));
        };
        QVERIFY2(bulle(5, 0).count(u", Anniversaires") == 2, qPrintable(bulle(5, 0)));
        QVERIFY(!bulle(5, 36).contains(u"Anniversaires"));
        p.bouton("AnnulerModif");
        VERIFIER(nom->text().isEmpty(), !bulle(5, 0).contains(u"Anniversaires"), t[0] == DeQColor(Bleu));
        p.bouton("RetablirModif");
        VERIFIER(nom->text() == "Anniversaires", bulle(5, 0).contains(u", Anniversaires"));
        // The first save proposes a name of the day (the program's clock); saved under a name typed without
        // extension: written as .Cal and in use. Reset (clicks off), opened: the same colours, no rebuild; the next
        // save proposes that file.
        Table avant;
        std::memcpy(avant, p.table(), sizeof avant);
        QCOMPARE(p.fichier("SauverCouleurs", "fêtes"), QStringLiteral("CoulSP le 15,mai,2027.Cal"));
        VERIFIER(p.fich() == "fêtes.Cal", QFile::exists(p.dossier.filePath("fêtes.Cal")),
                 !QFile::exists(p.dossier.filePath("fêtes")), !p.etat.Speciales.Modifiees());
        QFile cal(p.dossier.filePath("fêtes.Cal"));
        QVERIFY(cal.open(QIODevice::ReadOnly) && cal.readAll().endsWith("\r\nEtiquette,5649426,\"Anniversaires\"\r\n"));
        // A name changed (the keyboard leaving the box) is a change to save; reset forgets names too.
        activer(&p.w), nom->setFocus(), nom->selectAll(), QTest::keyClicks(nom, "Vacances zone B"), nom->clearFocus();
        VERIFIER(p.etat.Speciales.Modifiees(), bulle(5, 0).contains(u", Vacances zone B"));
        p.bouton("RéinitCoulSP"), p.jour(5, 11);
        VERIFIER(p.vide(), p.etat.Speciales.etat.etiquettes.empty(), !nom->isEnabled());
        const int attentes = p.horloge.attentes;
        p.fichier("OuvrirCouleur", "fêtes.Cal");
        VERIFIER(std::memcmp(avant, p.table(), sizeof avant) == 0, p.chiffre(5, 0) == Bleu);
        VERIFIER(bulle(5, 0).contains(u", Anniversaires"), !p.etat.Speciales.Modifiees());
        QCOMPARE(p.horloge.attentes, attentes);
        QCOMPARE(p.fichier("SauverCouleurs", "copie.Cal"), QStringLiteral("fêtes.Cal"));
        // The same with the name typed in the name box, which has the keyboard, and Enter.
        auProchainDialogue<QFileDialog>([](QFileDialog* d) {
            QLineEdit* nom = enfant<QLineEdit>(d, "fileNameEdit");
            activer(d), nom->setFocus(), nom->setText("clavier"), QTest::keyClick(nom, Qt::Key_Return);
        });
        p.bouton("SauverCouleurs");
        VERIFIER(QFile::exists(p.dossier.filePath("clavier.Cal")), !QFile::exists(p.dossier.filePath("clavier")));
        // A file of another year (here a school year) switches to it and turns clicks on; the window is unusable
        // while it builds.
        const std::string annee = "2026-2027";
        Table table = {};
        table[1][0] = 255, table[7][33] = 16777215;
        ecrire(p, "autre.Cal", EcrireCal(table, annee)), p.bouton("RéinitCoulSP");
        VERIFIER(p.vide(), p.fich() == p.aucun);
        bool utilisable = true;
        p.horloge.pendantAttente = [&] { utilisable = utilisable && p.w.isEnabled(); };
        p.fichier("OuvrirCouleur", "autre.Cal"), p.horloge.pendantAttente = nullptr;
        VERIFIER(!utilisable, p.w.isEnabled(), p.f().modeCouleursSpeciales());
        VERIFIER(p.etat.AnChoisi == annee, p.c.cAn->currentText().toStdString() == annee);
        VERIFIER(std::memcmp(table, p.table(), sizeof table) == 0, p.chiffre(7, 33) == Qt::white);
        // Closing (Escape, as "Fermer cette fenêtre") draws the image again from the sheet; then day clicks do nothing.
        p.choisir(Vert), p.jour(5, 12), QTest::keyClick(&p.w, Qt::Key_Escape), p.jour(5, 23);
        QVERIFY(!p.w.isVisible());
        VERIFIER(p.c.FondCdes->isVisible(), !p.f().modeCouleursSpeciales(), !QApplication::overrideCursor());
        QVERIFY(p.c.Pict1->image() == ImageFeuille(*p.c.CalBase->modele()));
        VERIFIER(t[12] == DeQColor(Vert), t[23] == 0);
        // Reopened: the colour in use is still the one chosen; the old colour's letter, then the new one's, make
        // theirs the colour in use.
        p.c.CoulSpéciale->click();
        const auto enCours = [&] { return enfant<Echantillon>(&p.w, "CoulEnCours")->texte(); };
        QCOMPARE(enCours(), DeQColor(Vert));
        QTest::mouseClick(enfant<Echantillon>(&p.w, "ExempleA"), Qt::LeftButton);
        VERIFIER(enCours() == 0, p.etat.Speciales.choisie == 0);
        QTest::mouseClick(enfant<Echantillon>(&p.w, "Exemple"), Qt::LeftButton);
        VERIFIER(enCours() == DeQColor(Vert), p.etat.Speciales.choisie == DeQColor(Vert));
    }

    void importerUnCalendrier()
    {
        Fenetre p;
        const std::string an = p.etat.AnChoisi, ev = "\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:" + an;
        ecrire(p, "zone.ics", "BEGIN:VCALENDAR" + ev + "0301\r\nDTEND;VALUE=DATE:" + an + "0308\r\nEND:VEVENT" + ev
                                  + "1225\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
        // No colour chosen yet: it is asked first. The summary (8 days, 2 events), cancelled: nothing changes.
        VuDialogue couleur;
        choisirCouleur(couleur, Rouge);
        for (bool valider : {false, true}) {
            QString texte;
            auProchainDialogue<QMessageBox>(
                [&](QMessageBox* b) { texte = b->text(), valider ? QTest::keyClick(b, Qt::Key_Return) : b->reject(); });
            p.fichier("ImporterCal", "zone.ics");
            VERIFIER(texte.startsWith(u"8 "), texte.contains(QString::fromStdString(an)), texte.contains(u" 2 "));
            QCOMPARE(p.vide(), !valider);
        }
        // The events have no names: the colour is named after the file, shown in the box.
        VERIFIER(couleur.vu, p.etat.Speciales.etat.etiquettes == (EtiquettesCouleurs{{255, "zone"}}),
                 enfant<QLineEdit>(&p.w, "NomCouleur")->text() == "zone");
        // A name that is not UTF-8, as Qt decodes it (U+FFFD for the byte 0xE9), is found again in its folder.
        const std::string octets = p.dossier.path().toStdString() + "/z\xE9.ics";
        std::filesystem::copy_file(p.dossier.filePath("zone.ics").toStdString(), octets);
        QCOMPARE(CheminFichier(p.dossier.filePath(QFile::decodeName("z\xE9.ics"))).native(), octets);
        for (int m = 1, a = std::stoi(an); m <= 12; ++m)
            for (int k = 0; k < 42; ++k) { // every cell showing a covered date of the year, grey ones included
                const CelluleJour j = RemplirMois(a, m).cellules[k];
                const QDate d(a, m + j.Tag, j.legende);
                const bool couvert = d.isValid() && (d.month() == 3 ? d.day() < 8 : d.month() == 12 && d.day() == 25);
                QVERIFY2(p.table()[m][k] == (couvert ? DeQColor(Rouge) : 0) && (!couvert || p.chiffre(m, k) == Rouge),
                         qPrintable(QStringLiteral("block %1, cell %2").arg(m).arg(k)));
            }
    }

    // From outside (command line, desktop, drop), before the first build: a .Cal of another year opens as by
    // "Ouvrir un Fichier Couleurs...", an .ics dropped is imported as by its button, other files are refused.
    void ouvrirDuDehors()
    {
        Programme p(false);
        const std::string annee = "2031"; // not the year of the program's clock
        Table table = {};
        table[2][1] = 255;
        ecrire(p, "autre.Cal", EcrireCal(table, annee)), p.f().ouvrirFichier(p.dossier.filePath("autre.Cal"));
        VornCoulSP* w = fenetreDe<VornCoulSP>(p.f(), true);
        VERIFIER(w, p.f().modeCouleursSpeciales(), enfant<QLabel>(w, "FichEnCours")->text() == "autre.Cal",
                 p.etat.AnChoisi == annee, C(p.f()).chiffre(2, 1) == Rouge, p.f().calendrierFait());
        // A file that cannot be read is said, and does not become the file in use.
        QString refus;
        auProchainDialogue<QMessageBox>([&](QMessageBox* b) { refus = b->text(), b->accept(); });
        p.f().ouvrirFichier(p.dossier.filePath("absent.Cal"));
        VERIFIER(refus.contains("absent.Cal"), enfant<QLabel>(w, "FichEnCours")->text() == "autre.Cal");
        ecrire(p, "fêtes.ICS", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:" + annee
                                   + "0704\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
        QMimeData depose;
        depose.setUrls({QUrl::fromLocalFile(p.dossier.filePath("fêtes.ICS")), QUrl::fromLocalFile("/tmp/x.txt")});
        QDragEnterEvent entree(QPoint(9, 9), Qt::CopyAction, &depose, Qt::LeftButton, Qt::NoModifier);
        QDropEvent depot(QPointF(9, 9), Qt::CopyAction, &depose, Qt::LeftButton, Qt::NoModifier);
        VuDialogue couleur;
        choisirCouleur(couleur, Bleu);
        auProchainDialogue<QMessageBox>([](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Return); });
        QApplication::sendEvent(&p.f(), &entree), QApplication::sendEvent(&p.f(), &depot);
        QCoreApplication::processEvents(); // opened once the drop is over
        auProchainDialogue<QMessageBox>([&](QMessageBox* b) { refus = b->text(), b->accept(); });
        p.f().ouvrirFichier(p.dossier.filePath("x.txt"));
        const double* t = &p.etat.Speciales.etat.table.v[0][0];
        VERIFIER(entree.isAccepted(), depot.isAccepted(), couleur.vu, std::count(t, t + 13 * 43, DeQColor(Bleu)) >= 1,
                 refus.contains("x.txt"));
    }
};

ARDEMO_GUI_MAIN(TestCoulSP)
#include "test_coulsp.moc"
