// The colour scheme dialog: samples, Annuler, Revenir, Valider, the holidays' region.
#include <QDir>
#include <QMessageBox>

#include "commun/ui/Couleur.h"
#include "colour/ui/ArdemoCoul.h"
#include "colour/ui/Echantillon.h"
#include "main_gui.h"
#include "Outils.h"
#include "PiloteDialogues.h"
#include "tests/core/Outils.h"

namespace {
bool memesOctets(const auto& a, const auto& b) { return sizeof a == sizeof b && !std::memcmp(&a, &b, sizeof a); }
void cliquer(const ArdemoCoul& d, const char* nom) { QTest::mouseClick(enfant<QWidget>(&d, nom), Qt::LeftButton); }
QComboBox* regions(const ArdemoCoul& d) { return enfant<QComboBox>(&d, "cRegion"); }

// The eight colours in file order, black as " 0", the region in Windows-1252.
const std::string IniDefauts = "[Couleurs]\r\nCoulTxtEntete= 8388736\r\nCoulNoms= 11196138\r\nCoulJours= 14282996\r\n"
                               "CoulGris= 12632256\r\nCoulF\xE9ri\xE9= 16761087\r\nCoulWeekEnd= 8438015\r\n"
                               "Grille= 0\r\nBordure= 13822459\r\n[F\xE9ri\xE9s]\r\nR\xE9gion=";
} // namespace

class TestCouleurs : public QObject {
    Q_OBJECT
private slots:
    // Each sample edits its colour at once, from its colour; "Annuler", the close box and Escape answer
    // "rejected", "Revenir..." gives the defaults; the program's colours (-0 included), sheet and file untouched.
    void modifierRevenirEtAnnuler()
    {
        Programme p(false);
        SchemaCouleurs& c = p.etat.Couleurs;
        c.affecter({1.5, 2, 300.25, 4, 5, 6.75, 7, 8});
        c.CoulGris = -0.0;
        const auto avant = c.valeurs();
        const QColor fondCase = C(p.f()).fond(1, 10);
        for (std::string_view fermeture : {"Annuler", "Escape", "close box"}) {
            ArdemoCoul d(&p.f(), c, Region::Metropole);
            d.show();
            const char* echantillons[] = {"CEntete", "CNJour", "CJour", "CJoursHorsMois",
                                          "CFerie",  "CWeekEnd", "Cadre", "CBordure"}; // in file order
            for (int i = 0; i < 8; ++i) {
                VuDialogue vu;
                choisirCouleur(vu, QColor(10 + i, 0, 0));
                cliquer(d, echantillons[i]);
                QCOMPARE(vu.depart, VersQColor(avant[i]));
                QCOMPARE(d.couleurs().slot(i), 10.0 + i);
            }
            if (fermeture == "Annuler") {
                cliquer(d, "RestoreCoul");
                QVERIFY(memesOctets(d.couleurs().valeurs(), SchemaCouleurs{}.valeurs()));
                QCOMPARE(enfant<Echantillon>(&d, "CFerie")->fond(), defaut::CoulFerie);
                cliquer(d, "Annuler");
            }
            fermeture == "Escape" ? QTest::keyClick(&d, Qt::Key_Escape) : void(d.close());
            VERIFIER(!d.isVisible(), d.result() == QDialog::Rejected);
            QVERIFY2(memesOctets(c.valeurs(), avant), fermeture.data());
        }
        QCOMPARE(C(p.f()).fond(1, 10), fondCase);
        QVERIFY(!QFile::exists(QString::fromStdString(p.etat.FichierIni())));
    }

    // "Annuler" forgets the region; "Valider" keeps it, writes the settings (other lines kept), recolours.
    void validerEtRegion()
    {
        Programme p;
        Ardemo& f = p.annee("2027");
        const int noel2 = 2 + 25; // Sunday 26 December 2027 (1st: Wednesday)
        VERIFIER(C(f).jour(12, noel2).legende == 26, C(f).fond(12, noel2) == VersQColor(defaut::CoulWeekEnd));
        EcrireFichier(p.etat.FichierIni(), "[Taille]\r\nLargeur=120\r\n");
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
        QCOMPARE(f.document().RegionFeries, Region::AlsaceMoselle);
        std::string attendu = "[Taille]\r\nLargeur=120\r\n" + IniDefauts + "Alsace-Moselle\r\n";
        QCOMPARE(LireFichier(p.etat.FichierIni()), attendu.replace(attendu.find(" 8438015"), 8, " 5649426"));
        QCOMPARE(C(f).chkWeek->palette().color(QPalette::Window), QColor(0x12, 0x34, 0x56));
        VERIFIER(C(f).fond(12, noel2) == VersQColor(defaut::CoulFerie), C(f).jour(12, noel2).infoBulle == "Saint-Étienne, semaine 51");
    }

    // A system-wide install: nothing beside the program, settings in ~/.config/ardemo/ (made private),
    // files offered in ~/Pictures or ~; no calendar yet: none built. Last, as it leaves HOME changed.
    void dossierDuProgrammeEnLectureSeule()
    {
        QTemporaryDir programme, maison;
        qputenv("HOME", maison.path().toUtf8());
        qunsetenv("XDG_CONFIG_HOME");
        QDir(maison.path()).mkdir("Pictures");
        QFile::setPermissions(programme.path(), QFile::ReadOwner | QFile::ExeOwner);
        const QString config = maison.path() + "/.config/ardemo";
        HorlogeTest horloge;
        for (Region region : {Region::Geneve, Region::Metropole}) { // "Canton de Gen\xE8ve" read back
            Document etat;
            Ardemo f(etat, horloge, programme.path());
            QCOMPARE((QStringList{QString::fromStdString(etat.FichierIni()), f.dossierImages(), f.dossierDocuments()}),
                     (QStringList{config + "/Pelvado.ini", maison.path() + "/Pictures", maison.path()}));
            QCOMPARE(etat.RegionFeries, region == Region::Geneve ? Region::Metropole : Region::Geneve); // kept
            auProchainDialogue<ArdemoCoul>([region](ArdemoCoul* d) {
                regions(*d)->setCurrentIndex(int(region));
                cliquer(*d, "Valider");
            });
            C(f).Couleurs->click();
            VERIFIER(!f.calendrierFait(), horloge.attentes == 0);
        }
        QCOMPARE(LireFichier((config + "/Pelvado.ini").toStdString()), IniDefauts + "M\xE9tropole\r\n");
        QCOMPARE(std::filesystem::status(config.toStdString()).permissions(), std::filesystem::perms::owner_all);
        QVERIFY(QDir(programme.path()).isEmpty(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden));
        // A configuration folder that cannot be made (a file in its place) is said once, in a message.
        EcrireFichier((maison.path() + "/fichier").toStdString(), "x");
        qputenv("XDG_CONFIG_HOME", (maison.path() + "/fichier").toUtf8());
        Document etat;
        Ardemo f(etat, horloge, programme.path());
        for (int fois = 0; fois < 2; ++fois) {
            auProchainDialogue<ArdemoCoul>([](ArdemoCoul* d) { cliquer(*d, "Valider"); });
            C(f).Couleurs->click();
        }
        QCOMPARE(f.findChildren<QMessageBox*>().size(), 1);
        qunsetenv("XDG_CONFIG_HOME");
    }
};

ARDEMO_GUI_MAIN(TestCouleurs)
#include "test_couleurs.moc"
