// Where the settings and the saved files go: beside the program when its
// folder is the user's, else in the user's own folders.
#include <QtTest>

#include <filesystem>
#include <fstream>

#include "app/Emplacements.h"

namespace fs = std::filesystem;

class TestEmplacements : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path base() const { return dir.path().toStdString(); }

private slots:
    void dossierModifiable_data()
    {
        QTest::addColumn<QString>("dossier"); // relative: inside a fresh folder
        QTest::addColumn<int>("mode");        // given to it; 0: left alone
        QTest::addColumn<bool>("modifiable");
        // 0555 is refused for root as well: the permission bits decide, not the privilege.
        QTest::newRow("0755") << "p" << 0755 << true;
        QTest::newRow("0555") << "p" << 0555 << false;
        QTest::newRow("0655, no search") << "p" << 0655 << false;
        QTest::newRow("missing") << "absent" << 0 << false;
        QTest::newRow("a file") << "fichier" << 0 << false;
        QTest::newRow("/usr/bin") << "/usr/bin" << 0 << false;
        QTest::newRow("link to /usr/lib") << "lien" << 0 << false;
        QTest::newRow("/tmp, sticky 1777") << "/tmp" << 0 << true;
    }

    void dossierModifiable()
    {
        QFETCH(QString, dossier);
        QFETCH(int, mode);
        QFETCH(bool, modifiable);
        fs::create_directory(base() / "p");
        fs::permissions(base() / "p", fs::perms(0755));
        std::ofstream(base() / "fichier") << "x";
        fs::remove(base() / "lien");
        fs::create_directory_symlink("/usr/lib", base() / "lien");
        const fs::path d = base() / dossier.toStdString();
        if (mode)
            fs::permissions(d, fs::perms(mode));
        QCOMPARE(DossierModifiable(d), modifiable);
        fs::permissions(base() / "p", fs::perms(0755));
    }

    void choix()
    {
        // Folders relative to a fresh one; the home folder has Images, not Documents.
        fs::create_directories(base() / "maison/Images");
        const struct {
            bool modifiable;
            std::string configHome, ini, images, documents;
        } cas[] = {
            {true, "", "prog/Pelvado.ini", "prog", "prog"},
            {false, (base() / "conf").string(), "conf/ardemo/Pelvado.ini", "maison/Images", "maison"},
            {false, "", "maison/.config/ardemo/Pelvado.ini", "maison/Images", "maison"},
            {false, "conf", "maison/.config/ardemo/Pelvado.ini", "maison/Images", "maison"}, // relative: ignored
        };
        for (const auto& c : cas) {
            const EnvironnementUtilisateur env{(base() / "maison").string(), c.configHome, base() / "maison/Images",
                                               base() / "maison/Documents"};
            const Emplacements e = ChoisirEmplacements(base() / "prog", c.modifiable, env);
            QCOMPARE(e.fichierIni, base() / c.ini);
            QCOMPARE(e.dossierImages, base() / c.images);
            QCOMPARE(e.dossierDocuments, base() / c.documents);
        }
        // No pictures folder: the home folder.
        EnvironnementUtilisateur env{(base() / "maison").string(), "", {}, base() / "maison/Images"};
        QCOMPARE(ChoisirEmplacements(base() / "prog", false, env).dossierImages, base() / "maison");
    }
};

QTEST_APPLESS_MAIN(TestEmplacements)
#include "test_emplacements.moc"
