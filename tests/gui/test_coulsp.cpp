// The special-colours window: day clicks, reset, .Cal files saved and opened, .ics import.
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QMessageBox>
#include <QtTest>
#include <cstring>
#include <fstream>

#include "app/ui/BoiteImage.h"
#include "app/ui/Couleur.h"
#include "app/ui/Feuille.h"
#include "app/ui/Styles.h"
#include "calendar/Mois.h"
#include "colour/ui/Echantillon.h"
#include "main_gui.h"
#include "Outils.h"
#include "PiloteDialogues.h"
#include "special/FichierCal.h"
#include "special/ui/VornCoulSP.h"

namespace {
const QColor Rouge(255, 0, 0), Vert(0, 160, 0);
using Table = double[13][43];

// A program with its special-colours window open.
struct Fenetre : Programme {
    VornCoulSP& w;
    Fenetre() : w((C(f()).CoulSpéciale->click(), *fenetreDe<VornCoulSP>(f()))) {}
    const Table& table() { return etat.TableCoulSP; }
    QString fich() { return enfant<QLabel>(&w, "FichEnCours")->text(); }
    void bouton(const char* nom) { enfant<vkCommand>(&w, nom)->click(); }
    void choisir(const QColor& c) { VuDialogue vu; choisirCouleur(vu, c); bouton("ChoixCoul"); }
    void jour(int m, int k) { QTest::mouseClick(C(f()).CalBase->BtnJour[m][k], Qt::LeftButton); }
    QString chemin(const QString& nom) { return dossier.path() + QLatin1Char('/') + nom; }
    // The save, open or import button, the file dialog answering `nom` (empty: cancel).
    VuDialogue fichier(const char* b, const QString& nom)
    {
        VuDialogue vu;
        choisirFichier(vu, nom.isEmpty() ? nom : chemin(nom));
        bouton(b);
        return vu;
    }
    void ecrire(const QString& nom, const std::string& s) { std::ofstream(QFile::encodeName(chemin(nom)).toStdString()) << s; }
    bool vide() { return std::all_of(&table()[0][0], &table()[0][0] + 13 * 43, [](double v) { return v == 0; }); }
};
} // namespace

class TestCoulSP : public QObject {
    Q_OBJECT
private slots:
    void clicsRemiseAZeroEtFermeture()
    {
        Fenetre p;
        Ardemo& f = p.f();
        const double* t = p.table()[5];
        p.choisir(Rouge);
        // A grey cell counts as well; a second click gives the day back its normal colour.
        for (int k : {0, 20})
            p.jour(5, k);
        QVERIFY(t[20] == DeQColor(Rouge) && t[0] == t[20] && C(f).CalBase->BtnJour[5][20]->texte == Rouge);
        p.jour(5, 20);
        QVERIFY(t[20] == 0 && C(f).CalBase->BtnJour[5][20]->texte == Qt::black);
        // A cancelled picker changes nothing; a sample letter makes its colour the current one.
        p.choisir(QColor());
        QCOMPARE(f.etat().CoulSPChoisie, DeQColor(Rouge));
        p.choisir(Vert);
        p.jour(5, 0); // red -> green, ExempleA shows red
        QTest::mouseClick(enfant<Echantillon>(&p.w, "ExempleA"), Qt::LeftButton);
        p.jour(5, 22);
        QCOMPARE(t[22], DeQColor(Rouge));
        // Reset: no colour, no file in use, and clicks do nothing until a colour is chosen again.
        enfant<QLabel>(&p.w, "FichEnCours")->setText(QStringLiteral("y.Cal"));
        p.bouton("RéinitCoulSP");
        p.jour(5, 11);
        QVERIFY(p.vide() && p.fich() == QStringLiteral("Aucun"));
        p.choisir(Vert);
        p.jour(5, 12);
        // Closing draws the image again from the sheet; then day clicks do nothing.
        QVERIFY(C(f).Pict1->image() != C(f).CalBase->rendre(C(f).Pict1->tailleInterieure()));
        p.w.close();
        QVERIFY(C(f).FondCdes->isVisible() && !f.etat().ModeCoulSP && !QApplication::overrideCursor());
        QVERIFY(C(f).Pict1->image() == C(f).CalBase->rendre(C(f).Pict1->tailleInterieure()));
        p.jour(5, 23);
        QVERIFY(t[12] == DeQColor(Vert) && t[23] == 0);
        // Reopening: the file starts again at "Aucun", the chosen colour is the one a click applies.
        C(f).CoulSpéciale->click();
        QCOMPARE(enfant<Echantillon>(&p.w, "CoulEnCours")->texte(), DeQColor(Vert));
    }

    void sauverPuisRouvrir()
    {
        Fenetre p;
        p.choisir(Rouge);
        p.jour(1, 0);
        p.jour(3, 17);
        p.choisir(QColor(0x12, 0x34, 0x56));
        p.jour(12, 41);
        Table avant;
        std::memcpy(avant, p.table(), sizeof avant);
        const QDate d = QDate::currentDate();
        QCOMPARE(p.fichier("SauverCouleurs", "fêtes.Cal").nom, QString::fromStdString(NomFichierCalParDefaut(d.day(), d.month(), d.year())));
        p.bouton("RéinitCoulSP");
        const int attentes = p.horloge.attentes;
        p.fichier("OuvrirCouleur", "fêtes.Cal");
        QVERIFY(std::memcmp(avant, p.table(), sizeof avant) == 0);
        QCOMPARE(p.fich(), QStringLiteral("fêtes.Cal"));
        // Same year: applied without a rebuild; the next save proposes the file in use.
        QVERIFY(p.horloge.attentes == attentes && C(p.f()).CalBase->BtnJour[12][41]->texte == QColor(0x12, 0x34, 0x56));
        QCOMPARE(p.fichier("SauverCouleurs", QString()).nom, QStringLiteral("fêtes.Cal"));
        // An oversized file: nothing read, the file in use stays.
        p.ecrire("enorme.Cal", std::string(TailleMaxCal + 10, '1'));
        p.fichier("OuvrirCouleur", "enorme.Cal");
        QVERIFY(std::memcmp(avant, p.table(), sizeof avant) == 0);
        QCOMPARE(p.fich(), QStringLiteral("fêtes.Cal"));

        // A file of another year switches to it, colours on their cells; clicks,
        // turned off by the reset, are on again.
        Ardemo& f = p.f();
        const std::string annee = p.etat.AnChoisi == "2027" ? "2031" : "2027";
        Table table = {};
        table[1][0] = 255, table[7][33] = 16777215;
        p.ecrire("autre.Cal", EcrireCal(table, annee));
        p.bouton("RéinitCoulSP");
        // While the build waits, events run: the window cannot be used or closed then.
        bool utilisable = true;
        p.horloge.pendantAttente = [&] { utilisable = utilisable && p.w.isEnabled(); };
        p.fichier("OuvrirCouleur", "autre.Cal");
        p.horloge.pendantAttente = nullptr;
        QVERIFY(!utilisable && p.w.isEnabled() && p.etat.ModeCoulSP);
        QVERIFY(p.etat.AnChoisi == annee && C(f).cAn->currentText().toStdString() == annee);
        QCOMPARE(C(f).CalBase->lblDate[1]->legende, QStringLiteral("janvier ") + QString::fromStdString(annee));
        QVERIFY(std::memcmp(table, p.table(), sizeof table) == 0);
        QCOMPARE(C(f).CalBase->BtnJour[7][33]->texte, QColor(Qt::white));
    }

    void importerUnCalendrier()
    {
        Fenetre p;
        const std::string an = p.etat.AnChoisi;
        const int a = std::stoi(an);
        const auto cellule = [a](int m, int mois, int d) { // block m's cell showing d/mois
            const BlocMois b = RemplirMois(a, m);
            int k = 0;
            while (k < 42 && (b.cellules[k].legende != d || m + b.cellules[k].Tag != mois))
                ++k;
            return k;
        };
        p.ecrire("zone.ics", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:" + an + "0301\r\nDTEND;VALUE=DATE:" + an
                                 + "0308\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:" + an
                                 + "1225\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
        // No colour chosen yet: the colour is asked first; cancelled, nothing more.
        VuDialogue couleur, fichierVu;
        choisirCouleur(couleur, QColor());
        choisirFichier(fichierVu, QString());
        p.bouton("ImporterCal");
        for (int i = 0; i < 600; ++i) // until the file dialog's watch gives up
            QCoreApplication::processEvents();
        QVERIFY(couleur.vu && !fichierVu.vu && p.vide());
        p.choisir(Rouge);
        // The summary, then Annuler: nothing changes; Valider: the days and the
        // grey cells of the same dates take the colour.
        for (QString bouton : {"Annuler", "Valider"}) {
            QString texte;
            auProchainDialogue<QMessageBox>([&](QMessageBox* b) {
                texte = b->text();
                for (QAbstractButton* x : b->buttons())
                    if (x->text() == bouton)
                        return x->click();
            });
            p.fichier("ImporterCal", "zone.ics");
            QCOMPARE(texte, QStringLiteral("8 jours de %1 dans 2 événements").arg(a));
            QCOMPARE(p.vide(), bouton == "Annuler");
        }
        for (auto [m, mois, d] : {std::tuple(3, 3, 1), {3, 3, 7}, {2, 3, 1}, {12, 12, 25}}) {
            const int k = cellule(m, mois, d);
            QVERIFY2(k < 42 && p.table()[m][k] == DeQColor(Rouge) && C(p.f()).CalBase->BtnJour[m][k]->texte == Rouge,
                     qPrintable(QStringLiteral("%1/%2 in block %3").arg(d).arg(mois).arg(m)));
        }
        QCOMPARE(p.table()[3][cellule(3, 3, 8)], 0.0);
    }
};

ARDEMO_GUI_MAIN(TestCoulSP)
#include "test_coulsp.moc"
