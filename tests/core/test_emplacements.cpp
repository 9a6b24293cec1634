// Where the settings and the saved files go: beside the program when its
// folder is the user's, else in the user's own folders.
#include <QtTest>

#include <fstream>

#include "app/Emplacements.h"

namespace fs = std::filesystem;

class TestEmplacements : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path base() const { return dir.path().toStdString(); }

private slots:
    void dossierModifiable()
    {
        std::ofstream(base() / "fichier") << "x";
        fs::create_directory_symlink("/usr/lib", base() / "lien");
        // Folder (relative: inside a fresh one), mode given to it (0: left alone).
        // 0555 is refused for root as well: the permission bits decide, not the privilege.
        for (auto [dossier, mode, modifiable] : {std::tuple{"p", 0755, true}, {"p", 0555, false}, {"p", 0655, false},
                                                 {"absent", 0, false}, {"fichier", 0, false}, {"/usr/bin", 0, false},
                                                 {"lien", 0, false}, {"/tmp", 0, true}}) {
            fs::create_directory(base() / "p");
            const fs::path d = base() / dossier;
            if (mode)
                fs::permissions(d, fs::perms(mode));
            QCOMPARE(std::pair(QString(dossier) + QString::number(mode, 8), DossierModifiable(d)),
                     std::pair(QString(dossier) + QString::number(mode, 8), modifiable));
        }
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
            {false, "conf", "maison/.config/ardemo/Pelvado.ini", "maison", "maison"}, // relative: ignored; no pictures folder
        };
        for (const auto& c : cas) {
            const EnvironnementUtilisateur env{(base() / "maison").string(), c.configHome,
                                               c.configHome == "conf" ? fs::path() : base() / "maison/Images",
                                               base() / "maison/Documents"};
            const Emplacements e = ChoisirEmplacements(base() / "prog", c.modifiable, env);
            QCOMPARE((std::array{e.fichierIni, e.dossierImages, e.dossierDocuments}),
                     (std::array{base() / c.ini, base() / c.images, base() / c.documents}));
        }
    }
};

QTEST_APPLESS_MAIN(TestEmplacements)
#include "test_emplacements.moc"
