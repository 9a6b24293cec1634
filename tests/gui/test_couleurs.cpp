// The colour scheme dialog: samples, Annuler, Revenir, Valider, the holidays' region.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QtTest>
#include <cstring>
#include <fstream>

#include "app/ui/Couleur.h"
#include "app/ui/Feuille.h"
#include "app/ui/Styles.h"
#include "colour/ui/ArdemoCoul.h"
#include "colour/ui/Echantillon.h"
#include "main_gui.h"
#include "Outils.h"
#include "PiloteDialogues.h"

namespace {
bool memesOctets(const std::array<double, 8>& a, const std::array<double, 8>& b) { return std::memcmp(a.data(), b.data(), sizeof a) == 0; }

std::string contenuIni(const std::string& fichier)
{
    std::ifstream f(fichier, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void cliquer(const ArdemoCoul& d, const char* nom) { QTest::mouseClick(enfant<QWidget>(&d, nom), Qt::LeftButton); }
QComboBox* regions(const ArdemoCoul& d) { return enfant<QComboBox>(&d, "cRegion"); }

const std::string IniDefauts = "[Couleurs]\r\nCoulTxtEntete= 8388736\r\nCoulNoms= 11196138\r\nCoulJours= 14282996\r\n"
                               "CoulGris= 12632256\r\nCoulF\xE9ri\xE9= 16761087\r\nCoulWeekEnd= 8438015\r\n"
                               "Grille= 0\r\nBordure= 13822459\r\n";
} // namespace

class TestCouleurs : public QObject {
    Q_OBJECT
private slots:
    void modifierRevenirEtAnnuler()
    {
        Programme p(false);
        SchemaCouleurs& c = p.etat.Couleurs;
        c.affecter({1.5, 2, 300.25, 4, 5, 6.75, 7, 8});
        c.CoulGris = -0.0;
        const auto avant = c.valeurs();
        const QColor fondCase = C(p.f()).CalBase->BtnJour[1][10]->fond;
        // "Annuler", the close box and Escape bring back the colours of the opening, -0 included.
        for (std::string_view fermeture : {"Annuler", "Escape", "close box"}) {
            ArdemoCoul d(p.f());
            d.show();
            // Each sample edits its own slot at once, starting from its colour.
            const std::pair<const char*, double SchemaCouleurs::*> cas[] = {
                {"CEntete", &SchemaCouleurs::CoulTxtEntete}, {"CNJour", &SchemaCouleurs::CoulNoms},
                {"CJour", &SchemaCouleurs::CoulJours},       {"CJoursHorsMois", &SchemaCouleurs::CoulGris},
                {"CFerie", &SchemaCouleurs::CoulFerie},      {"CWeekEnd", &SchemaCouleurs::CoulWeekEnd},
                {"Cadre", &SchemaCouleurs::CoulGrille},      {"CBordure", &SchemaCouleurs::CoulBordure}};
            int rouge = 10;
            for (auto [nom, slot] : cas) {
                VuDialogue vu;
                choisirCouleur(vu, QColor(rouge, 0, 0));
                cliquer(d, nom);
                QCOMPARE(vu.depart, VersQColor(avant[rouge - 10]));
                QCOMPARE(c.*slot, double(rouge++));
            }
            if (fermeture == "Annuler") { // and "Revenir aux couleurs d'origine" gives the defaults
                cliquer(d, "RestoreCoul");
                QVERIFY(memesOctets(c.valeurs(), SchemaCouleurs{}.valeurs()));
                QCOMPARE(enfant<Echantillon>(&d, "CFerie")->fond(), defaut::CoulFerie);
                cliquer(d, "Annuler");
            }
            fermeture == "Escape" ? QTest::keyClick(&d, Qt::Key_Escape) : void(d.close());
            QVERIFY(!d.isVisible() && d.result() == QDialog::Rejected);
            QVERIFY2(memesOctets(c.valeurs(), avant), fermeture.data());
        }
        // Nothing reaches the sheet or the file.
        QCOMPARE(C(p.f()).CalBase->BtnJour[1][10]->fond, fondCase);
        QVERIFY(!QFile::exists(QString::fromStdString(p.etat.FichierIni)));
    }

    void validerEtRegion()
    {
        Programme p;
        Ardemo& f = p.f();
        f.etat().AnChoisi = "2027";
        f.Fabrication();
        CaseJour* noel2 = C(f).CalBase->BtnJour[12][2 + 25]; // Sunday 26 December 2027 (1st: Wednesday)
        QVERIFY(noel2->legende == "26" && noel2->fond == VersQColor(defaut::CoulWeekEnd));
        std::ofstream(p.etat.FichierIni, std::ios::binary) << "[Taille]\r\nLargeur=120\r\n";
        // The region chosen: "Annuler" forgets it; "Valider", through the main window's modal dialog, keeps it.
        for (bool valider : {false, true}) {
            const int attentes = p.horloge.attentes;
            int region = -1;
            auProchainDialogue<ArdemoCoul>([&](ArdemoCoul* d) {
                region = regions(*d)->currentIndex();
                regions(*d)->setCurrentIndex(regions(*d)->findText("Alsace-Moselle"));
                VuDialogue vu;
                choisirCouleur(vu, QColor(0x12, 0x34, 0x56));
                cliquer(*d, "CWeekEnd");
                cliquer(*d, valider ? "Valider" : "Annuler");
            });
            C(f).Couleurs->click();
            QCOMPARE(region, int(Region::Metropole));
            QCOMPARE(p.horloge.attentes > attentes, valider); // the image rebuilt
        }
        QCOMPARE(f.etat().RegionFeries, Region::AlsaceMoselle);
        // The eight keys in file order (black as " 0"), the region in Windows-1252, other lines kept.
        std::string attendu = IniDefauts;
        attendu.replace(attendu.find(" 8438015"), 8, " 5649426");
        QCOMPARE(contenuIni(p.etat.FichierIni), "[Taille]\r\nLargeur=120\r\n" + attendu + "[F\xE9ri\xE9s]\r\nR\xE9gion=Alsace-Moselle\r\n");
        QCOMPARE(C(f).chkWeek->palette().color(QPalette::Window), QColor(0x12, 0x34, 0x56));
        QVERIFY(noel2->fond == VersQColor(defaut::CoulFerie) && noel2->toolTip() == " Saint-Étienne ");
    }

    void dossierDuProgrammeEnLectureSeule()
    {
        // A system-wide install: nothing is written beside the program, the settings
        // go to ~/.config/ardemo/ (made at the first write), the save dialogs propose
        // the pictures folder, or the home folder. No calendar yet: none is built.
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
            QVERIFY(!etat.CalendrierFait && horloge.attentes == 0);
        }
        QCOMPARE(contenuIni((config + "/Pelvado.ini").toStdString()), IniDefauts + "[F\xE9ri\xE9s]\r\nR\xE9gion=M\xE9tropole\r\n");
        QCOMPARE(QFileInfo(config).permissions() & 0x7777, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                                | QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
        QCOMPARE(QDir(programme.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden), QStringList());
        QFile::setPermissions(programme.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("HOME", homeAvant);
        if (!configAvant.isNull())
            qputenv("XDG_CONFIG_HOME", configAvant);
    }
};

ARDEMO_GUI_MAIN(TestCouleurs)
#include "test_couleurs.moc"
