// The special-colours window: day clicks, reset, .Cal files saved and opened.
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QtTest>
#include <fstream>

#include "app/ui/BoiteImage.h"
#include "app/ui/Couleur.h"
#include "app/ui/Feuille.h"
#include "app/ui/Styles.h"
#include "colour/ui/Echantillon.h"
#include "main_gui.h"
#include "Outils.h"
#include "PiloteDialogues.h"
#include "special/FichierCal.h"
#include "special/ui/VornCoulSP.h"

namespace {
const QColor Rouge(255, 0, 0);
const QColor Vert(0, 160, 0);

VornCoulSP& ouvrir(Ardemo& f)
{
    f.CoulSpéciale_Click();
    return *f.vornCoulSP;
}

void choisir(VornCoulSP& w, const QColor& c, VuDialogue* vu = nullptr)
{
    VuDialogue local;
    choisirCouleur(vu ? *vu : local, c);
    w.ChoixCoul->click();
}

void cliquerJour(Ardemo& f, int m, int k) { QTest::mouseClick(f.CalBase->BtnJour[m][k], Qt::LeftButton); }

std::string lire(const QString& chemin)
{
    std::ifstream f(QFile::encodeName(chemin).toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void ecrire(const QString& chemin, const std::string& contenu)
{
    std::ofstream(QFile::encodeName(chemin).toStdString(), std::ios::binary) << contenu;
}

QString chemin(Programme& p, const QString& nom) { return p.dossier.path() + QLatin1Char('/') + nom; }

std::string sansCouleurs(const std::string& annee)
{
    std::string s;
    for (int m = 1; m <= 12; ++m) {
        s += std::to_string(m);
        for (int k = 0; k < 42; ++k)
            s += ",0";
        s += "\r\n";
    }
    return s + "\"" + annee + "\"\r\n";
}

bool tableVide(const mdlVorn& e)
{
    for (auto& mois : e.TableCoulSP)
        for (double v : mois)
            if (v != 0)
                return false;
    return true;
}

// A year other than the one on display.
std::string autreAnnee(const mdlVorn& e) { return e.AnChoisi == "2027" ? "2031" : "2027"; }
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
        QVERIFY(w.isVisible());
        QVERIFY(!f.FondCdes->isVisible());
        QVERIFY(f.CalBase->isVisible());
        QCOMPARE(f.CalType->text(), QStringLiteral("Calendrier réel"));
        QVERIFY(f.etat().ModeCoulSP);
        QCOMPARE(w.windowTitle(), QStringLiteral("Couleurs spéciales"));
        QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!w.isModal());
        QCOMPARE(w.size(), QSize(249, 456));
        QCOMPARE(w.pos(), f.pos() + QPoint(6, 67));
        QCOMPARE(w.FichEnCours->text(), QStringLiteral("Aucun"));
        QCOMPARE(w.ExempleA->fond(), f.etat().Couleurs.CoulJours);
        QCOMPARE(w.CoulEnCours->fond(), f.etat().Couleurs.CoulJours);
        // Builds are refused while the window is open.
        const int attentes = p.horloge.attentes;
        f.Fabrication();
        QCOMPARE(p.horloge.attentes, attentes);

        // "Fermer cette fenêtre" draws the image again from the sheet.
        choisir(w, Rouge);
        cliquerJour(f, 2, 10);
        QVERIFY(f.Pict1->image() != f.CalBase->rendre(f.Pict1->tailleInterieure()));
        w.FermerCoulSP->click();
        QVERIFY(!w.isVisible());
        QVERIFY(f.FondCdes->isVisible());
        QVERIFY(!f.etat().ModeCoulSP);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(f.Pict1->image(), f.CalBase->rendre(f.Pict1->tailleInterieure()));

        // Reopening: the file starts again at "Aucun", the chosen colour is kept
        // and shown as the one a click applies.
        w.FichEnCours->setText(QStringLiteral("x.Cal"));
        f.CoulSpéciale_Click();
        QCOMPARE(f.vornCoulSP, &w);
        QCOMPARE(w.FichEnCours->text(), QStringLiteral("Aucun"));
        QCOMPARE(w.CoulEnCours->texte(), DeQColor(Rouge));
        QCOMPARE(w.Exemple->texte(), DeQColor(Rouge));
        QCOMPARE(w.ExempleA->texte(), 0.0);
        QCOMPARE(f.etat().CoulTexteNormal, 0.0);

        // The close box acts as "Fermer cette fenêtre".
        w.close();
        QVERIFY(!w.isVisible());
        QVERIFY(f.FondCdes->isVisible());
        QVERIFY(!f.etat().ModeCoulSP);
    }

    void clicsSurLesJours()
    {
        Programme p;
        Ardemo& f = p.f();
        VornCoulSP& w = ouvrir(f);
        VuDialogue vu;
        choisir(w, Rouge, &vu);
        QCOMPARE(vu.titre, QStringLiteral("Choisir une couleur d'événement"));
        QVERIFY(!vu.natif);
        QCOMPARE(vu.depart, QColor(Qt::black));
        QCOMPARE(f.etat().CoulSPChoisie, DeQColor(Rouge));
        QCOMPARE(w.Exemple->texte(), DeQColor(Rouge));
        QCOMPARE(w.CoulEnCours->texte(), DeQColor(Rouge));

        // A grey cell counts as well; a second click takes the colour away again.
        cliquerJour(f, 5, 0);
        cliquerJour(f, 5, 20);
        QCOMPARE(f.etat().TableCoulSP[5][20], DeQColor(Rouge));
        QCOMPARE(f.etat().TableCoulSP[5][0], DeQColor(Rouge));
        QCOMPARE(f.CalBase->BtnJour[5][20]->texte, Rouge);
        QCOMPARE(w.ExempleA->texte(), 0.0); // what the day had
        cliquerJour(f, 5, 20);
        QCOMPARE(f.etat().TableCoulSP[5][20], 0.0);
        QCOMPARE(f.CalBase->BtnJour[5][20]->texte, QColor(Qt::black));
        QCOMPARE(w.ExempleA->texte(), DeQColor(Rouge));

        // A cancelled picker changes nothing.
        choisir(w, QColor());
        QCOMPARE(f.etat().CoulSPChoisie, DeQColor(Rouge));

        // The samples make their letter's colour the current one.
        choisir(w, Vert);
        cliquerJour(f, 5, 21);
        QCOMPARE(f.etat().TableCoulSP[5][21], DeQColor(Vert));
        QCOMPARE(w.ExempleA->texte(), 0.0);
        QCOMPARE(w.Exemple->texte(), DeQColor(Vert));
        cliquerJour(f, 5, 0); // red -> green, ExempleA shows red
        QCOMPARE(w.ExempleA->texte(), DeQColor(Rouge));
        QTest::mouseClick(w.ExempleA, Qt::LeftButton);
        QCOMPARE(f.etat().CoulSPChoisie, DeQColor(Rouge));
        QCOMPARE(w.CoulEnCours->texte(), DeQColor(Rouge));
        cliquerJour(f, 5, 22);
        QCOMPARE(f.etat().TableCoulSP[5][22], DeQColor(Rouge));
        QTest::mouseClick(w.Exemple, Qt::LeftButton);
        QCOMPARE(f.etat().CoulSPChoisie, DeQColor(Vert));

        // Closed, day clicks do nothing.
        w.FermerCoulSP->click();
        cliquerJour(f, 5, 23);
        QCOMPARE(f.etat().TableCoulSP[5][23], 0.0);
    }

    void reinitialiser()
    {
        Programme p;
        Ardemo& f = p.f();
        VornCoulSP& w = ouvrir(f);
        choisir(w, Rouge);
        cliquerJour(f, 1, 10);
        cliquerJour(f, 12, 41);
        w.FichEnCours->setText(QStringLiteral("y.Cal"));
        w.RéinitCoulSP->click();
        QVERIFY(tableVide(f.etat()));
        QCOMPARE(f.etat().CoulSPChoisie, 0.0);
        QCOMPARE(f.CalBase->BtnJour[1][10]->texte, QColor(Qt::black));
        QCOMPARE(w.FichEnCours->text(), QStringLiteral("Aucun"));
        QCOMPARE(w.Exemple->texte(), 0.0);
        QVERIFY(!f.etat().ModeCoulSP);
        // Clicks do nothing, also after a click on a sample letter...
        cliquerJour(f, 1, 11);
        QTest::mouseClick(w.ExempleA, Qt::LeftButton);
        cliquerJour(f, 1, 12);
        QVERIFY(tableVide(f.etat()));
        // ... until a colour is chosen again.
        choisir(w, Vert);
        cliquerJour(f, 1, 12);
        QCOMPARE(f.etat().TableCoulSP[1][12], DeQColor(Vert));
        w.close();
    }

    void sauverSansCouleurs()
    {
        Programme p;
        Ardemo& f = p.f();
        VornCoulSP& w = ouvrir(f);
        const QDate d = QDate::currentDate();
        const QString parDefaut = QString::fromStdString(NomFichierCalParDefaut(d.day(), d.month(), d.year()));
        for (const char* nom : {"a.Cal", "b.Cal"}) {
            VuDialogue vu;
            choisirFichier(vu, chemin(p, nom));
            w.SauverCouleurs->click();
            QVERIFY(vu.vu);
            QCOMPARE(vu.titre, QStringLiteral("Sauver un Fichier de Couleurs spéciales"));
            QVERIFY(!vu.natif);
            QCOMPARE(vu.filtres, QStringList{QStringLiteral("Fichiers autorisés (*.Cal)")});
            // The dated name both times: a save does not change the file in use.
            QCOMPARE(vu.nom, parDefaut);
            QCOMPARE(QDir(vu.dossier), QDir(p.dossier.path()));
            QCOMPARE(lire(chemin(p, nom)), sansCouleurs(f.etat().AnChoisi));
            QCOMPARE(w.FichEnCours->text(), QStringLiteral("Aucun"));
        }
        QVERIFY(!QApplication::overrideCursor());
        // Cancelled: nothing written.
        VuDialogue vu;
        choisirFichier(vu, QString());
        w.SauverCouleurs->click();
        QVERIFY(vu.vu);
        QCOMPARE(QDir(p.dossier.path()).entryList({QStringLiteral("*.Cal")}).size(), 2);
        w.close();
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
        VuDialogue vu;
        choisirFichier(vu, chemin(p, "fêtes.Cal"));
        w.SauverCouleurs->click();
        const std::string texte = lire(chemin(p, "fêtes.Cal"));
        QVERIFY(texte.find("\r\n3,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,255,0,") != std::string::npos);
        QVERIFY(texte.ends_with(",5649426\r\n\"" + f.etat().AnChoisi + "\"\r\n"));

        w.RéinitCoulSP->click();
        QVERIFY(tableVide(f.etat()));
        const int attentes = p.horloge.attentes;
        choisirFichier(vu = {}, chemin(p, "fêtes.Cal"));
        w.OuvrirCouleur->click();
        QCOMPARE(vu.titre, QStringLiteral("Ouvrir un Fichier de Couleurs spéciales"));
        QVERIFY(!vu.natif);
        QCOMPARE(vu.filtres, QStringList{QStringLiteral("Fichiers autorisés (*.Cal)")});
        QCOMPARE(QDir(vu.dossier), QDir(p.dossier.path()));
        QVERIFY(std::memcmp(avant, f.etat().TableCoulSP, sizeof avant) == 0);
        QCOMPARE(w.FichEnCours->text(), QStringLiteral("fêtes.Cal"));
        QCOMPARE(w.AnFichierCal, f.etat().AnChoisi);
        // Same year: applied without a rebuild.
        QCOMPARE(p.horloge.attentes, attentes);
        QCOMPARE(f.CalBase->BtnJour[3][17]->texte, Rouge);
        QCOMPARE(f.CalBase->BtnJour[12][41]->texte, QColor(0x12, 0x34, 0x56));
        QVERIFY(!QApplication::overrideCursor());
        // The next save proposes the file in use.
        choisirFichier(vu = {}, QString());
        w.SauverCouleurs->click();
        QCOMPARE(vu.nom, QStringLiteral("fêtes.Cal"));
        // A cancelled open changes nothing.
        choisirFichier(vu = {}, QString());
        w.OuvrirCouleur->click();
        QVERIFY(vu.vu);
        QCOMPARE(w.FichEnCours->text(), QStringLiteral("fêtes.Cal"));
        QVERIFY(std::memcmp(avant, f.etat().TableCoulSP, sizeof avant) == 0);
        w.close();
    }

    void fichierDUneAutreAnnee()
    {
        Programme p;
        Ardemo& f = p.f();
        const std::string annee = autreAnnee(f.etat());
        double table[13][43] = {};
        table[1][0] = 255;
        table[2][5] = DeQColor(Vert);
        table[7][33] = 16777215;
        ecrire(chemin(p, "autre.Cal"), EcrireCal(table, annee));

        VornCoulSP& w = ouvrir(f);
        w.RéinitCoulSP->click(); // clicks off: the opening of a file turns them back on
        const int attentes = p.horloge.attentes;
        // While the build waits, events run: the window cannot be used or closed then.
        bool utilisable = true;
        p.horloge.pendantAttente = [&] { utilisable = utilisable && w.isEnabled(); };
        VuDialogue vu;
        choisirFichier(vu, chemin(p, "autre.Cal"));
        w.OuvrirCouleur->click();
        p.horloge.pendantAttente = nullptr;
        QVERIFY(!utilisable);
        QVERIFY(w.isEnabled());
        QCOMPARE(f.etat().AnChoisi, annee);
        QCOMPARE(f.cAn->currentText().toStdString(), annee);
        QVERIFY(p.horloge.attentes > attentes); // rebuilt
        QVERIFY(f.etat().ModeCoulSP);
        QCOMPARE(f.CalBase->lblDate[1]->legende, QStringLiteral("janvier ") + QString::fromStdString(annee));
        // The colours stay on their cell positions.
        QCOMPARE(f.etat().TableCoulSP[2][5], DeQColor(Vert));
        QCOMPARE(f.etat().TableCoulSP[7][33], 16777215.0);
        QCOMPARE(f.etat().TableCoulSP[1][0], 255.0);
        QCOMPARE(f.CalBase->BtnJour[2][5]->texte, Vert);
        QCOMPARE(f.CalBase->BtnJour[7][33]->texte, QColor(Qt::white));
        QCOMPARE(w.FichEnCours->text(), QStringLiteral("autre.Cal"));
        // The image is of the new year and shows the colours once the window closes.
        w.FermerCoulSP->click();
        QCOMPARE(f.Pict1->image(), f.CalBase->rendre(f.Pict1->tailleInterieure()));
        bool vert = false;
        const QImage cel = f.Pict1->image().copy(f.CalBase->BtnJour[2][5]->geometry());
        for (int y = 0; y < cel.height(); ++y)
            for (int x = 0; x < cel.width(); ++x)
                vert = vert || cel.pixelColor(x, y) == Vert;
        QVERIFY(vert);
    }

    void mauvaisFichiers()
    {
        Programme p;
        Ardemo& f = p.f();
        VornCoulSP& w = ouvrir(f);
        choisir(w, Rouge);
        cliquerJour(f, 4, 4);
        cliquerJour(f, 1, 1);
        cliquerJour(f, 1, 2);
        const std::string an = f.etat().AnChoisi;
        // Too short, not numbers, colours out of range, no year: read as far as it goes.
        ecrire(chemin(p, "court.Cal"), "1,7,x,-5,1e300\r\n");
        VuDialogue vu;
        choisirFichier(vu, chemin(p, "court.Cal"));
        w.OuvrirCouleur->click();
        QCOMPARE(f.etat().TableCoulSP[1][0], 7.0);
        QCOMPARE(f.etat().TableCoulSP[1][1], DeQColor(Rouge)); // "x": kept
        QCOMPARE(f.etat().TableCoulSP[1][2], 0.0);
        QCOMPARE(f.etat().TableCoulSP[1][3], 0.0);
        QCOMPARE(f.etat().TableCoulSP[4][4], DeQColor(Rouge));
        QCOMPARE(f.etat().AnChoisi, an);
        QCOMPARE(w.FichEnCours->text(), QStringLiteral("court.Cal"));
        // Binary data and an oversized file: nothing read, the file in use stays.
        std::string binaire(3000, '\0');
        for (size_t i = 0; i < binaire.size(); ++i)
            binaire[i] = i % 50 == 0 ? ',' : i % 97 == 0 ? '\n' : char(128 + (i * 7 + 3) % 128);
        ecrire(chemin(p, "binaire.Cal"), binaire);
        choisirFichier(vu = {}, chemin(p, "binaire.Cal"));
        w.OuvrirCouleur->click();
        QCOMPARE(f.etat().TableCoulSP[4][4], DeQColor(Rouge));
        ecrire(chemin(p, "enorme.Cal"), std::string(TailleMaxCal + 10, '1'));
        choisirFichier(vu = {}, chemin(p, "enorme.Cal"));
        w.OuvrirCouleur->click();
        QCOMPARE(f.etat().TableCoulSP[4][4], DeQColor(Rouge));
        QCOMPARE(w.FichEnCours->text(), QStringLiteral("binaire.Cal"));
        QCOMPARE(f.etat().AnChoisi, an);
        QVERIFY(!QApplication::overrideCursor());
        w.close();
    }
};

ARDEMO_GUI_MAIN(TestCoulSP)
#include "test_coulsp.moc"
