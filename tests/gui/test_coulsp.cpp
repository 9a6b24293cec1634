// The special-colours window: day clicks, reset, .Cal files saved and opened.
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <cstring>
#include <fstream>

#include "app/ui/BoiteImage.h"
#include "app/ui/Couleur.h"
#include "app/ui/Feuille.h"
#include "app/ui/Styles.h"
#include "colour/ui/Echantillon.h"
#include "main_gui.h"
#include "Outils.h"
#include "PiloteDialogues.h"
#include "calendar/Mois.h"
#include "special/FichierCal.h"
#include "special/ImportIcs.h"
#include "special/ui/VornCoulSP.h"

namespace {
const QColor Rouge(255, 0, 0);
const QColor Vert(0, 160, 0);

VornCoulSP& ouvrir(Ardemo& f) { f.CoulSpéciale_Click(); return *f.vornCoulSP; }

// The window's controls by their names: the file in use, a sample's colour.
QString fichEnCours(VornCoulSP& w) { return enfant<QLabel>(&w, "FichEnCours")->text(); }
double coul(VornCoulSP& w, const char* echantillon) { return enfant<Echantillon>(&w, echantillon)->texte(); }

void choisir(VornCoulSP& w, const QColor& c) { VuDialogue vu; choisirCouleur(vu, c); enfant<vkCommand>(&w, "ChoixCoul")->click(); }

void cliquerJour(Ardemo& f, int m, int k) { QTest::mouseClick(f.CalBase->BtnJour[m][k], Qt::LeftButton); }

std::string lire(const QString& chemin)
{
    std::ifstream f(QFile::encodeName(chemin).toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void ecrire(const QString& nom, const std::string& s) { std::ofstream(QFile::encodeName(nom).toStdString()) << s; }

QString chemin(Programme& p, const QString& nom) { return p.dossier.path() + QLatin1Char('/') + nom; }

bool tableVide(const mdlVorn& e)
{
    return std::all_of(&e.TableCoulSP[0][0], &e.TableCoulSP[0][0] + 13 * 43, [](double v) { return v == 0; });
}

// Runs the save or the open button with the file dialog answering `nom` (empty: cancel).
VuDialogue fichier(Programme& p, VornCoulSP& w, const char* bouton, const QString& nom)
{
    VuDialogue vu;
    choisirFichier(vu, nom.isEmpty() ? nom : chemin(p, nom));
    enfant<vkCommand>(&w, bouton)->click();
    return vu;
}
// The next message box: note its text, then press the button captioned `bouton`.
void repondre(QString& texte, const QString& bouton)
{
    auProchainDialogue<QMessageBox>([&texte, bouton](QMessageBox* b) {
        texte = b->text();
        for (QAbstractButton* x : b->buttons())
            if (x->text() == bouton || bouton.isEmpty())
                return x->click();
        b->reject();
    });
}

// Cell of block m showing day d of month `mois` of year `an`.
int cellule(int an, int m, int mois, int d)
{
    const BlocMois b = RemplirMois(an, m);
    for (int k = 0; k < 42; ++k)
        if (b.cellules[k].legende == d && m + b.cellules[k].Tag == mois)
            return k;
    return -1;
}
} // namespace

class TestCoulSP : public QObject {
    Q_OBJECT
private slots:
    void ouvertureEtFermeture()
    {
        Programme p;
        Ardemo& f = p.f();
        f.move(50, 20);
        f.CalBase->hide(); // as the zone selection leaves it
        f.CalType->setText(QStringLiteral("Calendrier image"));
        VornCoulSP& w = ouvrir(f);
        QVERIFY(w.isVisible() && !f.FondCdes->isVisible() && f.CalBase->isVisible() && f.etat().ModeCoulSP);
        QVERIFY(f.CalType->text() == QStringLiteral("Calendrier réel"));

        // "Fermer cette fenêtre" draws the image again from the sheet.
        choisir(w, Rouge);
        cliquerJour(f, 2, 10);
        QVERIFY(f.Pict1->image() != f.CalBase->rendre(f.Pict1->tailleInterieure()));
        enfant<vkCommand>(&w, "FermerCoulSP")->click();
        QVERIFY(!w.isVisible() && f.FondCdes->isVisible() && !f.etat().ModeCoulSP && !QApplication::overrideCursor());
        QVERIFY(f.Pict1->image() == f.CalBase->rendre(f.Pict1->tailleInterieure()));

        // Reopening: the file starts again at "Aucun", the chosen colour is kept
        // and shown as the one a click applies.
        enfant<QLabel>(&w, "FichEnCours")->setText(QStringLiteral("x.Cal"));
        QCOMPARE(&ouvrir(f), &w);
        QCOMPARE(fichEnCours(w), QStringLiteral("Aucun"));
        QCOMPARE(coul(w, "ExempleA"), 0.0);
        QCOMPARE(coul(w, "CoulEnCours"), DeQColor(Rouge));
        QCOMPARE(coul(w, "Exemple"), DeQColor(Rouge));
        w.close(); // the close box acts as "Fermer cette fenêtre"
        QVERIFY(!w.isVisible() && f.FondCdes->isVisible() && !f.etat().ModeCoulSP);
    }

    void clicsSurLesJoursEtRemiseAZero()
    {
        Programme p;
        Ardemo& f = p.f();
        const double* table = &f.etat().TableCoulSP[5][0];
        VornCoulSP& w = ouvrir(f);
        choisir(w, Rouge);
        QCOMPARE(f.etat().CoulSPChoisie, DeQColor(Rouge));
        QCOMPARE(coul(w, "CoulEnCours"), DeQColor(Rouge));

        // A grey cell counts as well; a second click takes the colour away again,
        // and the "before" sample shows what the day had.
        cliquerJour(f, 5, 0);
        cliquerJour(f, 5, 20);
        QVERIFY(table[20] == DeQColor(Rouge) && table[0] == table[20] && f.CalBase->BtnJour[5][20]->texte == Rouge);
        cliquerJour(f, 5, 20);
        QCOMPARE(table[20], 0.0);
        QCOMPARE(coul(w, "ExempleA"), table[0]);
        QCOMPARE(f.CalBase->BtnJour[5][20]->texte, QColor(Qt::black));

        // A cancelled picker changes nothing; the samples make their letter's colour the current one.
        choisir(w, QColor());
        QCOMPARE(f.etat().CoulSPChoisie, DeQColor(Rouge));
        choisir(w, Vert);
        cliquerJour(f, 5, 21);
        QCOMPARE(table[21], DeQColor(Vert));
        QCOMPARE(coul(w, "Exemple"), DeQColor(Vert));
        cliquerJour(f, 5, 0); // red -> green, ExempleA shows red
        QTest::mouseClick(enfant<Echantillon>(&w, "ExempleA"), Qt::LeftButton);
        cliquerJour(f, 5, 22);
        QCOMPARE(table[22], DeQColor(Rouge));
        QCOMPARE(coul(w, "CoulEnCours"), DeQColor(Rouge));
        QTest::mouseClick(enfant<Echantillon>(&w, "Exemple"), Qt::LeftButton);
        QCOMPARE(f.etat().CoulSPChoisie, DeQColor(Vert));

        // Reset: no colour anywhere, no file in use, and clicks do nothing (also
        // after a click on a sample letter) until a colour is chosen again.
        enfant<QLabel>(&w, "FichEnCours")->setText(QStringLiteral("y.Cal"));
        enfant<vkCommand>(&w, "RéinitCoulSP")->click();
        QVERIFY(tableVide(f.etat()));
        QCOMPARE(f.etat().CoulSPChoisie, 0.0);
        QCOMPARE(coul(w, "Exemple"), 0.0);
        QVERIFY(!f.etat().ModeCoulSP);
        QCOMPARE(f.CalBase->BtnJour[5][21]->texte, QColor(Qt::black));
        QCOMPARE(fichEnCours(w), QStringLiteral("Aucun"));
        cliquerJour(f, 5, 11);
        QTest::mouseClick(enfant<Echantillon>(&w, "ExempleA"), Qt::LeftButton);
        cliquerJour(f, 5, 12);
        QVERIFY(tableVide(f.etat()));
        choisir(w, Vert);
        cliquerJour(f, 5, 12);
        enfant<vkCommand>(&w, "FermerCoulSP")->click(); // closed, day clicks do nothing
        cliquerJour(f, 5, 23);
        QVERIFY(table[12] == DeQColor(Vert) && table[23] == 0);
    }

    void sauverPuisRouvrir()
    {
        Programme p;
        Ardemo& f = p.f();
        VornCoulSP& w = ouvrir(f);
        choisir(w, Rouge);
        cliquerJour(f, 1, 0);
        cliquerJour(f, 3, 17);
        choisir(w, QColor(0x12, 0x34, 0x56));
        cliquerJour(f, 12, 41);
        double avant[13][43];
        std::memcpy(avant, f.etat().TableCoulSP, sizeof avant);
        VuDialogue vu = fichier(p, w, "SauverCouleurs", "fêtes.Cal");
        const QDate d = QDate::currentDate();
        QCOMPARE(vu.nom, QString::fromStdString(NomFichierCalParDefaut(d.day(), d.month(), d.year())));
        QVERIFY(QDir(vu.dossier) == QDir(p.dossier.path()));
        QCOMPARE(lire(chemin(p, "fêtes.Cal")), EcrireCal(avant, f.etat().AnChoisi));
        QCOMPARE(fichEnCours(w), QStringLiteral("Aucun")); // a save does not change the file in use
        QVERIFY(fichier(p, w, "SauverCouleurs", QString()).vu);      // cancelled: nothing written
        QCOMPARE(QDir(p.dossier.path()).entryList({QStringLiteral("*.Cal")}).size(), 1);

        enfant<vkCommand>(&w, "RéinitCoulSP")->click();
        const int attentes = p.horloge.attentes;
        fichier(p, w, "OuvrirCouleur", "fêtes.Cal");
        QVERIFY(std::memcmp(avant, f.etat().TableCoulSP, sizeof avant) == 0);
        QCOMPARE(fichEnCours(w), QStringLiteral("fêtes.Cal"));
        QVERIFY(w.AnFichierCal == f.etat().AnChoisi);
        // Same year: applied without a rebuild.
        QVERIFY(p.horloge.attentes == attentes && f.CalBase->BtnJour[12][41]->texte == QColor(0x12, 0x34, 0x56));
        // The next save proposes the file in use; a cancelled open changes nothing.
        QCOMPARE(fichier(p, w, "SauverCouleurs", QString()).nom, QStringLiteral("fêtes.Cal"));
        QVERIFY(fichier(p, w, "OuvrirCouleur", QString()).vu);
        QCOMPARE(fichEnCours(w), QStringLiteral("fêtes.Cal"));
        QVERIFY(std::memcmp(avant, f.etat().TableCoulSP, sizeof avant) == 0);
    }

    void fichierDUneAutreAnnee()
    {
        Programme p;
        Ardemo& f = p.f();
        const std::string annee = f.etat().AnChoisi == "2027" ? "2031" : "2027";
        double table[13][43] = {};
        table[1][0] = 255, table[2][5] = DeQColor(Vert), table[7][33] = 16777215;
        ecrire(chemin(p, "autre.Cal"), EcrireCal(table, annee));

        VornCoulSP& w = ouvrir(f);
        enfant<vkCommand>(&w, "RéinitCoulSP")->click(); // clicks off: the opening of a file turns them back on
        const int attentes = p.horloge.attentes;
        // While the build waits, events run: the window cannot be used or closed then.
        bool utilisable = true;
        p.horloge.pendantAttente = [&] { utilisable = utilisable && w.isEnabled(); };
        fichier(p, w, "OuvrirCouleur", "autre.Cal");
        p.horloge.pendantAttente = nullptr;
        QVERIFY(!utilisable && w.isEnabled() && f.etat().ModeCoulSP && p.horloge.attentes > attentes); // rebuilt
        QVERIFY(f.etat().AnChoisi == annee && f.cAn->currentText().toStdString() == annee);
        QCOMPARE(f.CalBase->lblDate[1]->legende, QStringLiteral("janvier ") + QString::fromStdString(annee));
        // The colours stay on their cell positions.
        QVERIFY(std::memcmp(table, f.etat().TableCoulSP, sizeof table) == 0);
        QCOMPARE(f.CalBase->BtnJour[7][33]->texte, QColor(Qt::white));
        QCOMPARE(fichEnCours(w), QStringLiteral("autre.Cal"));
        // The image is of the new year and shows the colours once the window closes.
        enfant<vkCommand>(&w, "FermerCoulSP")->click();
        QCOMPARE(f.Pict1->image(), f.CalBase->rendre(f.Pict1->tailleInterieure()));
    }

    void mauvaisFichiers()
    {
        Programme p;
        Ardemo& f = p.f();
        VornCoulSP& w = ouvrir(f);
        choisir(w, Rouge);
        for (auto [m, k] : {std::pair(4, 4), {1, 1}, {1, 2}})
            cliquerJour(f, m, k);
        const std::string an = f.etat().AnChoisi;
        const double* janvier = f.etat().TableCoulSP[1];
        // Too short, not numbers: read as far as it goes (the reading itself is
        // checked with the file format).
        ecrire(chemin(p, "court.Cal"), "1,7,x,-5\r\n");
        fichier(p, w, "OuvrirCouleur", "court.Cal");
        QCOMPARE(janvier[0], 7.0);
        QCOMPARE(janvier[1], DeQColor(Rouge));
        QCOMPARE(fichEnCours(w), QStringLiteral("court.Cal"));
        // An oversized file: nothing read, the file in use stays.
        ecrire(chemin(p, "enorme.Cal"), std::string(TailleMaxCal + 10, '1'));
        fichier(p, w, "OuvrirCouleur", "enorme.Cal");
        QVERIFY(janvier[0] == 7 && f.etat().TableCoulSP[4][4] == DeQColor(Rouge) && f.etat().AnChoisi == an);
        QCOMPARE(fichEnCours(w), QStringLiteral("court.Cal"));
        QVERIFY(!QApplication::overrideCursor());
    }

    void importerUnCalendrier()
    {
        Programme p;
        Ardemo& f = p.f();
        const std::string an = f.etat().AnChoisi;
        const int a = std::stoi(an);
        const double(&t)[13][43] = f.etat().TableCoulSP;
        ecrire(chemin(p, "zone.ics"), "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:" + an
                                          + "0301\r\nDTEND;VALUE=DATE:" + an + "0308\r\nEND:VEVENT\r\n"
                                          + "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:" + an
                                          + "1225\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
        ecrire(chemin(p, "page.ics"), "<html>BEGIN:VCALENDAR</html>");
        VornCoulSP& w = ouvrir(f);
        QVERIFY(enfant<vkCommand>(&w, "ImporterCal")->geometry().top() >= enfant<vkCommand>(&w, "FermerCoulSP")->geometry().bottom());

        // No colour chosen yet (black): the colour is asked first; cancelled, nothing more.
        VuDialogue couleur, fichierVu;
        choisirCouleur(couleur, QColor());
        choisirFichier(fichierVu, QString());
        enfant<vkCommand>(&w, "ImporterCal")->click();
        for (int i = 0; i < 600; ++i) // until the file dialog's watch gives up
            QCoreApplication::processEvents();
        QVERIFY(couleur.vu);
        QVERIFY(!fichierVu.vu);
        choisir(w, Rouge);

        // The summary, then Annuler: nothing changes; Valider: the days and
        // the grey cells of the same dates take the colour at once.
        QString texte;
        fichierVu = fichier(p, w, "ImporterCal", QString());
        QCOMPARE(fichierVu.titre, QStringLiteral("Importer un calendrier"));
        QCOMPARE(fichierVu.filtres, QStringList({"Calendriers iCalendar (*.ics)", "Tous les fichiers (*.*)"}));
        repondre(texte, QStringLiteral("Annuler"));
        fichier(p, w, "ImporterCal", "zone.ics");
        QCOMPARE(texte, QStringLiteral("8 jours de %1 dans 2 événements").arg(a));
        QVERIFY(tableVide(f.etat()));
        repondre(texte, QStringLiteral("Valider"));
        fichier(p, w, "ImporterCal", "zone.ics");
        for (auto [m, mois, d] : {std::tuple(3, 3, 1), {3, 3, 7}, {2, 3, 1}, {12, 12, 25}}) {
            const int k = cellule(a, m, mois, d);
            QVERIFY(k >= 0 && t[m][k] == DeQColor(Rouge) && f.CalBase->BtnJour[m][k]->texte == Rouge);
        }
        QCOMPARE(t[3][cellule(a, 3, 3, 8)], 0.0);

        // A bad file: a message, nothing changed; the colours are saved as usual.
        double avant[13][43];
        std::memcpy(avant, t, sizeof avant);
        repondre(texte, QString());
        fichier(p, w, "ImporterCal", "page.ics");
        QCOMPARE(texte.toStdString(), MessageIcs(ImportIcs{EtatIcs::PasIcal, 0, {}, 0, 0}));
        QVERIFY(std::memcmp(avant, t, sizeof avant) == 0);
        fichier(p, w, "SauverCouleurs", "zone.Cal");
        QCOMPARE(lire(chemin(p, "zone.Cal")), EcrireCal(avant, an));
    }
};

ARDEMO_GUI_MAIN(TestCoulSP)
#include "test_coulsp.moc"
