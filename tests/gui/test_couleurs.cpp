// The colour scheme dialog: samples, editing, Annuler, Revenir, Valider.
#include <QCheckBox>
#include <QtTest>
#include <cstring>
#include <fstream>

#include "app/ui/BoiteImage.h"
#include "app/ui/Couleur.h"
#include "app/ui/Feuille.h"
#include "app/ui/Styles.h"
#include "colour/ui/ArdemoCoul.h"
#include "colour/ui/Echantillon.h"
#include "main_gui.h"
#include "Outils.h"
#include "PiloteDialogues.h"

namespace {
bool memesOctets(const std::array<double, 8>& a, const std::array<double, 8>& b)
{
    return std::memcmp(a.data(), b.data(), sizeof(double) * 8) == 0;
}

std::string contenuIni(Programme& p)
{
    std::ifstream f(p.etat.FichierIni, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

bool existe(const std::string& chemin) { return std::ifstream(chemin).good(); }

// A scheme that is no default, with values that are not whole numbers.
std::array<double, 8> schemaEtrange() { return {1.5, 2, 300.25, 4, 5, 6.75, 7, 8}; }

void cliquer(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

const std::string IniDefauts = "[Couleurs]\r\nCoulTxtEntete= 8388736\r\nCoulNoms= 11196138\r\nCoulJours= 14282996\r\n"
                               "CoulGris= 12632256\r\nCoulF\xE9ri\xE9= 16761087\r\nCoulWeekEnd= 8438015\r\n"
                               "Grille= 0\r\nBordure= 13822459\r\n";
} // namespace

class TestCouleurs : public QObject {
    Q_OBJECT
private slots:
    void ouverture()
    {
        Programme p(false);
        Ardemo& f = p.f();
        f.move(40, 30);
        f.etat().Couleurs.CoulGrille = DeRvb(1, 2, 3);
        f.etat().CoulAvant = {};
        ArdemoCoul d(f);
        QCOMPARE(d.windowTitle(), QStringLiteral("Choix des couleurs"));
        QVERIFY(d.isModal());
        QCOMPARE(d.size(), QSize(279, 224));
        QCOMPARE(d.pos(), f.pos() + QPoint(0, 33));
        const SchemaCouleurs& c = f.etat().Couleurs;
        QCOMPARE(d.CEntete->texte(), c.CoulTxtEntete);
        QCOMPARE(d.CNJour->fond(), c.CoulNoms);
        QCOMPARE(d.CJour->fond1(), VersQColor(c.CoulJours));
        QCOMPARE(d.CJoursHorsMois->fond(), c.CoulGris);
        QCOMPARE(d.CFerie->fond(), c.CoulFérié);
        QCOMPARE(d.CWeekEnd->fond(), c.CoulWeekEnd);
        QCOMPARE(d.CBordure->fond(), c.CoulBordure);
        QCOMPARE(d.Grille->fond(), c.CoulJours);
        QCOMPARE(d.Cadre->fond(), c.CoulJours);
        QCOMPARE(d.ShapeCadre->couleurBord(), c.CoulGrille);
        QVERIFY(memesOctets(f.etat().CoulAvant, c.valeurs()));
        QCOMPARE(d.CJoursHorsMois->text(), QStringLiteral("Jours hors du mois"));
        QCOMPARE(d.RestoreCoul->text(), QStringLiteral("Revenir aux couleurs d'origine"));
        // Geometry of a sample inside the frame (2280, 420; 1695 x 1785 twips).
        QCOMPARE(d.Grille->geometry(), QRect(152, 28, 113, 119));

        // Tab order: the three buttons, then the one sample that takes the focus.
        QList<QWidget*> chaine;
        QWidget* w = d.RestoreCoul;
        for (int i = 0; i < 200 && chaine.size() < 5; ++i, w = w->nextInFocusChain())
            if (w->window() == &d && w != &d && (w->focusPolicy() & Qt::TabFocus))
                chaine << w;
        QCOMPARE(chaine, (QList<QWidget*>{d.RestoreCoul, d.Valider, d.Annuler, d.CJour, d.RestoreCoul}));
        QCOMPARE(d.focusWidget(), d.RestoreCoul);
    }

    void modifierEtAnnuler()
    {
        Programme p(false);
        Ardemo& f = p.f();
        f.etat().Couleurs.affecter(schemaEtrange());
        f.etat().Couleurs.CoulGris = -0.0;
        const auto avant = f.etat().Couleurs.valeurs();
        const QColor fondCase = f.CalBase->BtnJour[1][10]->fond;
        ArdemoCoul d(f);
        d.show();

        // A cancelled picker changes nothing; the picker starts from the sample.
        VuDialogue vu;
        choisirCouleur(vu, QColor());
        cliquer(d.CFerie);
        QVERIFY(vu.vu);
        QCOMPARE(vu.titre, QStringLiteral("Modifier une couleur"));
        QVERIFY(!vu.natif);
        QCOMPARE(vu.depart, VersQColor(5));
        QVERIFY(memesOctets(f.etat().Couleurs.valeurs(), avant));

        // Each sample edits its own slot at once, and shows it.
        struct Cas { QWidget* w; double SchemaCouleurs::*slot; QColor c; };
        const Cas cas[] = {
            {d.CEntete, &SchemaCouleurs::CoulTxtEntete, QColor(10, 0, 0)},
            {d.CNJour, &SchemaCouleurs::CoulNoms, QColor(11, 0, 0)},
            {d.CJour, &SchemaCouleurs::CoulJours, QColor(12, 0, 0)},
            {d.CJoursHorsMois, &SchemaCouleurs::CoulGris, QColor(13, 0, 0)},
            {d.CFerie, &SchemaCouleurs::CoulFérié, QColor(14, 0, 0)},
            {d.CWeekEnd, &SchemaCouleurs::CoulWeekEnd, QColor(15, 0, 0)},
            {d.CBordure, &SchemaCouleurs::CoulBordure, QColor(16, 0, 0)},
            {d.Grille, &SchemaCouleurs::CoulGrille, QColor(17, 0, 0)},
        };
        for (const Cas& k : cas) {
            choisirCouleur(vu = {}, k.c);
            cliquer(k.w);
            QVERIFY(vu.vu);
            QCOMPARE(f.etat().Couleurs.*k.slot, DeQColor(k.c));
        }
        QCOMPARE(d.CEntete->texte(), 10.0);
        QCOMPARE(d.CJour->fond1(), QColor(12, 0, 0));
        QCOMPARE(d.CBordure->fond(), 16.0);
        QCOMPARE(d.ShapeCadre->couleurBord(), 17.0);
        // Cadre edits the same slot as Grille, starting from it.
        choisirCouleur(vu = {}, QColor(0, 0, 99));
        cliquer(d.Cadre);
        QCOMPARE(vu.depart, QColor(17, 0, 0));
        QCOMPARE(f.etat().Couleurs.CoulGrille, DeRvb(0, 0, 99));
        QCOMPARE(d.ShapeCadre->couleurBord(), DeRvb(0, 0, 99));
        QCOMPARE(d.Grille->fond(), avant[2]); // the grid sample keeps its day-cell look
        // Nothing reaches the sheet or the file before "Valider".
        QCOMPARE(f.CalBase->BtnJour[1][10]->fond, fondCase);

        cliquer(d.Annuler);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QVERIFY(memesOctets(f.etat().Couleurs.valeurs(), avant));
        QVERIFY(!existe(p.etat.FichierIni));
    }

    void revenirPuisAnnuler()
    {
        Programme p(false);
        Ardemo& f = p.f();
        f.etat().Couleurs.affecter(schemaEtrange());
        const auto avant = f.etat().Couleurs.valeurs();
        ArdemoCoul d(f);
        d.show();
        VuDialogue vu;
        choisirCouleur(vu, QColor(1, 1, 1));
        cliquer(d.CJour);

        cliquer(d.RestoreCoul);
        QVERIFY(d.isVisible());
        QVERIFY(memesOctets(f.etat().Couleurs.valeurs(), SchemaCouleurs{}.valeurs()));
        QVERIFY(memesOctets(f.etat().CoulAvant, avant));
        QCOMPARE(d.CJour->fond1(), VersQColor(defaut::CoulJours));
        QCOMPARE(d.CFerie->fond(), defaut::CoulFérié);
        QCOMPARE(d.ShapeCadre->couleurBord(), defaut::CoulGrille);
        QCOMPARE(d.Grille->fond(), avant[2]); // kept as it was
        QCOMPARE(d.Cadre->fond(), avant[2]);
        QVERIFY(!existe(p.etat.FichierIni));

        cliquer(d.Annuler);
        QVERIFY(memesOctets(f.etat().Couleurs.valeurs(), avant));
    }

    void revenirPuisValider()
    {
        Programme p;
        Ardemo& f = p.f();
        QVERIFY(f.etat().CalendrierFait);
        f.etat().Couleurs.affecter(schemaEtrange());
        f.Coloration();
        ArdemoCoul d(f);
        d.show();
        cliquer(d.RestoreCoul);
        const int attentes = p.horloge.attentes;
        cliquer(d.Valider);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        // The eight keys in file order, black written as " 0".
        QCOMPARE(contenuIni(p), IniDefauts);
        // The sheet is recoloured and the image rebuilt.
        QCOMPARE(f.chkFerie->palette().color(QPalette::Window), VersQColor(defaut::CoulFérié));
        QVERIFY(p.horloge.attentes > attentes);
        const QImage img = f.Pict1->image();
        QCOMPARE(img.size(), QSize(628, 866));
        QCOMPARE(img.pixelColor(f.CalBase->BtnJour[1][15]->geometry().topLeft() + QPoint(4, 4)),
                 VersQColor(defaut::CoulJours));
        QCOMPARE(img.pixelColor(QPoint(300, 3)), VersQColor(defaut::CoulBordure));
    }

    void validerSansCalendrier()
    {
        Programme p(false);
        Ardemo& f = p.f();
        // Other lines of the file stay as they are.
        {
            std::ofstream(p.etat.FichierIni, std::ios::binary) << "[Taille]\r\nLargeur=120\r\n";
        }
        ArdemoCoul d(f);
        d.show();
        VuDialogue vu;
        choisirCouleur(vu, QColor(0x12, 0x34, 0x56));
        cliquer(d.CWeekEnd);
        cliquer(d.Valider);
        QCOMPARE(contenuIni(p), "[Taille]\r\nLargeur=120\r\n[Couleurs]\r\nCoulTxtEntete= 8388736\r\nCoulNoms= "
                                "11196138\r\nCoulJours= 14282996\r\nCoulGris= 12632256\r\nCoulF\xE9ri\xE9= 16761087\r\n"
                                "CoulWeekEnd= 5649426\r\nGrille= 0\r\nBordure= 13822459\r\n");
        // Recoloured, but no image built.
        QCOMPARE(f.chkWeek->palette().color(QPalette::Window), QColor(0x12, 0x34, 0x56));
        QVERIFY(!f.etat().CalendrierFait);
        QVERIFY(!f.Pict1->aUneImage());
        QCOMPARE(p.horloge.attentes, 0);
    }

    void caseDeFermetureCommeAnnuler()
    {
        Programme p(false);
        Ardemo& f = p.f();
        const auto avant = f.etat().Couleurs.valeurs();
        ArdemoCoul d(f);
        d.show();
        VuDialogue vu;
        choisirCouleur(vu, QColor(200, 0, 0));
        cliquer(d.CNJour);
        QCOMPARE(f.etat().Couleurs.CoulNoms, 200.0);
        d.close();
        QVERIFY(!d.isVisible());
        QVERIFY(memesOctets(f.etat().Couleurs.valeurs(), avant));
        // Escape too.
        ArdemoCoul d2(f);
        d2.show();
        choisirCouleur(vu = {}, QColor(201, 0, 0));
        cliquer(d2.CNJour);
        QTest::keyClick(&d2, Qt::Key_Escape);
        QVERIFY(memesOctets(f.etat().Couleurs.valeurs(), avant));
        QVERIFY(!existe(p.etat.FichierIni));
    }

    void boutonDeBase()
    {
        Programme p;
        Ardemo& f = p.f();
        QString titre;
        bool modal = false;
        auProchainDialogue<ArdemoCoul>([&](ArdemoCoul* d) {
            titre = d->windowTitle();
            modal = QApplication::activeModalWidget() == d;
            d->Valider->click();
        });
        f.Couleurs->click();
        QCOMPARE(titre, QStringLiteral("Choix des couleurs"));
        QVERIFY(modal);
        QCOMPARE(contenuIni(p), IniDefauts);
        QVERIFY(!QApplication::activeModalWidget());
    }
};

ARDEMO_GUI_MAIN(TestCouleurs)
#include "test_couleurs.moc"
