// The colour scheme dialog: samples, editing, Annuler, Revenir, Valider.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
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
// The colour dialog's controls, by name.
Echantillon* echantillon(const ArdemoCoul& d, const char* nom) { return enfant<Echantillon>(&d, nom); }
vkCommand* bouton(const ArdemoCoul& d, const char* nom) { return enfant<vkCommand>(&d, nom); }
QComboBox* regions(const ArdemoCoul& d) { return enfant<QComboBox>(&d, "cRegion"); }
FormeCadre* forme(const ArdemoCoul& d) { return static_cast<FormeCadre*>(enfant<QWidget>(&d, "ShapeCadre")); }
} // namespace

class TestCouleurs : public QObject {
    Q_OBJECT
private slots:
    void ouvertureEtFermeture()
    {
        Programme p(false);
        Ardemo& f = p.f();
        f.move(40, 30);
        f.etat().Couleurs.CoulGrille = DeRvb(1, 2, 3);
        ArdemoCoul d(f);
        // The samples show the scheme; the grid's is a day cell in a frame of the grid colour.
        const SchemaCouleurs& c = f.etat().Couleurs;
        QCOMPARE(echantillon(d, "CEntete")->texte(), c.CoulTxtEntete);
        QCOMPARE(echantillon(d, "CFerie")->fond(), c.CoulFerie);
        QCOMPARE(bouton(d, "CJour")->fond1(), VersQColor(c.CoulJours));
        QCOMPARE(echantillon(d, "Grille")->fond(), c.CoulJours);
        QCOMPARE(forme(d)->couleurBord(), c.CoulGrille);

        // The close box and Escape act as "Annuler".
        const auto avant = c.valeurs();
        for (bool echap : {false, true}) {
            ArdemoCoul d2(f);
            d2.show();
            VuDialogue vu;
            choisirCouleur(vu, QColor(200, 0, 0));
            cliquer(echantillon(d2, "CNJour"));
            QCOMPARE(c.CoulNoms, 200.0);
            if (echap)
                QTest::keyClick(&d2, Qt::Key_Escape);
            else
                d2.close();
            QVERIFY(!d2.isVisible() && memesOctets(c.valeurs(), avant));
        }
        QVERIFY(!existe(p.etat.FichierIni));
    }

    void modifierRevenirEtAnnuler()
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
        cliquer(echantillon(d, "CFerie"));
        QCOMPARE(vu.depart, VersQColor(5));
        QVERIFY(memesOctets(f.etat().Couleurs.valeurs(), avant));

        // Each sample edits its own slot at once, and shows it.
        const std::pair<const char*, double SchemaCouleurs::*> cas[] = {
            {"CEntete", &SchemaCouleurs::CoulTxtEntete}, {"CNJour", &SchemaCouleurs::CoulNoms},
            {"CJour", &SchemaCouleurs::CoulJours},       {"CJoursHorsMois", &SchemaCouleurs::CoulGris},
            {"CFerie", &SchemaCouleurs::CoulFerie},      {"CWeekEnd", &SchemaCouleurs::CoulWeekEnd},
            {"CBordure", &SchemaCouleurs::CoulBordure},  {"Grille", &SchemaCouleurs::CoulGrille},
        };
        int rouge = 10;
        for (auto [nom, slot] : cas) {
            choisirCouleur(vu = {}, QColor(rouge, 0, 0));
            cliquer(enfant<QWidget>(&d, nom));
            QCOMPARE(f.etat().Couleurs.*slot, double(rouge++));
        }
        QCOMPARE(echantillon(d, "CEntete")->texte(), 10.0);
        QCOMPARE(echantillon(d, "CBordure")->fond(), 16.0);
        QCOMPARE(forme(d)->couleurBord(), 17.0);
        // Cadre edits the same slot as Grille, starting from it.
        choisirCouleur(vu = {}, QColor(0, 0, 99));
        cliquer(echantillon(d, "Cadre"));
        QCOMPARE(vu.depart, QColor(17, 0, 0));
        QVERIFY(f.etat().Couleurs.CoulGrille == DeRvb(0, 0, 99) && forme(d)->couleurBord() == DeRvb(0, 0, 99));
        // "Revenir aux couleurs d'origine": the defaults, shown at once; the grid
        // samples keep their day-cell look.
        cliquer(bouton(d, "RestoreCoul"));
        QVERIFY(d.isVisible() && memesOctets(f.etat().Couleurs.valeurs(), SchemaCouleurs{}.valeurs()));
        QVERIFY(echantillon(d, "CFerie")->fond() == defaut::CoulFerie && forme(d)->couleurBord() == defaut::CoulGrille);
        QVERIFY(echantillon(d, "Grille")->fond() == avant[2] && echantillon(d, "Cadre")->fond() == avant[2]);
        // Nothing reaches the sheet or the file before "Valider"; "Annuler" brings back the colours of the opening.
        QCOMPARE(f.CalBase->BtnJour[1][10]->fond, fondCase);
        cliquer(bouton(d, "Annuler"));
        QVERIFY(!d.isVisible() && d.result() == QDialog::Rejected);
        QVERIFY(memesOctets(f.etat().Couleurs.valeurs(), avant)); // -0 included
        QVERIFY(!existe(p.etat.FichierIni));
    }

    void revenirPuisValider()
    {
        Programme p;
        Ardemo& f = p.f();
        QVERIFY(f.etat().CalendrierFait);
        f.etat().Couleurs.affecter(schemaEtrange());
        f.Coloration();
        // Through the main window's button: a modal dialog.
        bool modal = false;
        const int attentes = p.horloge.attentes;
        auProchainDialogue<ArdemoCoul>([&](ArdemoCoul* d) {
            modal = QApplication::activeModalWidget() == d;
            cliquer(enfant<vkCommand>(d, "RestoreCoul"));
            cliquer(enfant<vkCommand>(d, "Valider"));
        });
        f.Couleurs->click();
        QVERIFY(modal);
        // The eight keys in file order, black written as " 0".
        QCOMPARE(contenuIni(p), IniDefauts);
        // The sheet is recoloured and the image rebuilt.
        QCOMPARE(f.chkFerie->palette().color(QPalette::Window), VersQColor(defaut::CoulFerie));
        QVERIFY(p.horloge.attentes > attentes);
        QCOMPARE(f.Pict1->image().pixelColor(QPoint(300, 3)), VersQColor(defaut::CoulBordure));
    }

    void validerSansCalendrier()
    {
        Programme p(false);
        Ardemo& f = p.f();
        // Other lines of the file stay as they are.
        std::ofstream(p.etat.FichierIni, std::ios::binary) << "[Taille]\r\nLargeur=120\r\n";
        ArdemoCoul d(f);
        d.show();
        VuDialogue vu;
        choisirCouleur(vu, QColor(0x12, 0x34, 0x56));
        cliquer(echantillon(d, "CWeekEnd"));
        cliquer(bouton(d, "Valider"));
        QVERIFY(!d.isVisible() && d.result() == QDialog::Accepted);
        std::string attendu = IniDefauts;
        attendu.replace(attendu.find(" 8438015"), 8, " 5649426");
        QCOMPARE(contenuIni(p), "[Taille]\r\nLargeur=120\r\n" + attendu);
        // Recoloured, but no image built.
        QCOMPARE(f.chkWeek->palette().color(QPalette::Window), QColor(0x12, 0x34, 0x56));
        QVERIFY(!f.etat().CalendrierFait && !f.Pict1->aUneImage() && p.horloge.attentes == 0);
    }

    void regionDesFeries()
    {
        Programme p;
        Ardemo& f = p.f();
        f.etat().AnChoisi = "2027";
        f.Fabrication();
        CaseJour* noel2 = f.CalBase->BtnJour[12][2 + 25]; // Sunday 26 December 2027 (1st: Wednesday)
        const QColor weekEnd = VersQColor(defaut::CoulWeekEnd), ferie = VersQColor(defaut::CoulFerie);
        QVERIFY(noel2->legende == "26" && noel2->fond == weekEnd);
        const QImage avant = f.Pict1->image();
        QCOMPARE(f.chkFerie->toolTip(), QString("Jours fériés de : Métropole"));
        // The seven regions; "Annuler" forgets the choice.
        for (bool valider : {false, true}) {
            ArdemoCoul d(f);
            d.show();
            QCOMPARE(regions(d)->count(), NombreRegions);
            QCOMPARE(regions(d)->currentText(), QString("Métropole"));
            regions(d)->setCurrentIndex(regions(d)->findText("Alsace-Moselle"));
            cliquer(valider ? bouton(d, "Valider") : bouton(d, "Annuler"));
        }
        // "Valider" keeps it, in Windows-1252, and the calendar is rebuilt with it.
        QCOMPARE(f.etat().RegionFeries, Region::AlsaceMoselle);
        QCOMPARE(contenuIni(p), IniDefauts + "[F\xE9ri\xE9s]\r\nR\xE9gion=Alsace-Moselle\r\n");
        QCOMPARE(f.chkFerie->toolTip(), QString("Jours fériés de : Alsace-Moselle"));
        QVERIFY(noel2->fond == ferie && noel2->toolTip() == " Saint-Étienne ");
        QVERIFY(f.Pict1->image() != avant);
        // Another region replaces it, its é as one byte.
        ArdemoCoul d(f);
        regions(d)->setCurrentIndex(regions(d)->findText("La Réunion"));
        d.Valider_Click();
        QVERIFY(contenuIni(p).ends_with("R\xE9gion=La R\xE9union\r\n") && noel2->fond == weekEnd);

        // At the next start: read whatever the case and accents; unknown means Métropole.
        const std::pair<const char*, Region> fichiers[] = {
            {"[f\xC9RI\xC9S]\r\nR\xC9GION=la reunion\r\n", Region::LaReunion},
            {"[F\xE9ri\xE9s]\r\nR\xE9gion=Corse\r\n", Region::Metropole}};
        for (const auto& [contenu, region] : fichiers) {
            std::ofstream(p.etat.FichierIni, std::ios::binary) << contenu;
            mdlVorn etat;
            Ardemo relance(etat, p.horloge, p.f().dossierProgramme());
            QCOMPARE(etat.RegionFeries, region);
            ArdemoCoul d(relance);
            QCOMPARE(regions(d)->currentText(), QString::fromUtf8(NomRegion(region)));
        }
    }

    void dossierDuProgrammeEnLectureSeule()
    {
        // A system-wide install: nothing is written beside the program, the
        // settings go to ~/.config/ardemo/ (made at the first write), the save
        // dialogs propose the pictures folder, or the home folder.
        QTemporaryDir programme, maison;
        const QByteArray homeAvant = qgetenv("HOME"), configAvant = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", maison.path().toUtf8());
        qunsetenv("XDG_CONFIG_HOME");
        QDir(maison.path()).mkdir("Pictures");
        QFile::setPermissions(programme.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
        const QString config = maison.path() + "/.config/ardemo";
        HorlogeTest horloge;
        for (Region region : {Region::Guyane, Region::Metropole}) {
            mdlVorn etat;
            Ardemo f(etat, horloge, programme.path());
            QCOMPARE(QString::fromStdString(etat.FichierIni), config + "/Pelvado.ini");
            QCOMPARE(f.dossierImages(), maison.path() + "/Pictures");
            QCOMPARE(f.dossierDocuments(), maison.path());
            QCOMPARE(etat.RegionFeries, region == Region::Guyane ? Region::Metropole : Region::Guyane); // kept
            ArdemoCoul d(f);
            regions(d)->setCurrentIndex(int(region));
            d.Valider_Click();
        }
        QCOMPARE(QFileInfo(config).permissions() & 0x7777, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                                | QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
        QVERIFY(QFile::exists(config + "/Pelvado.ini"));
        QCOMPARE(QDir(programme.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden), QStringList());
        QFile::setPermissions(programme.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("HOME", homeAvant);
        if (!configAvant.isNull())
            qputenv("XDG_CONFIG_HOME", configAvant);
    }
};

ARDEMO_GUI_MAIN(TestCouleurs)
#include "test_couleurs.moc"
