// Where the settings and the saved files go: beside the program when its folder is the user's, else the user's own.
#include "app/Emplacements.h"
#include "tests/core/Outils.h"

namespace fs = std::filesystem;
using namespace std::literals;

class TestEmplacements : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    fs::path base() const { return dir.path().toStdString(); }

private slots:
    void emplacements()
    {
        EcrireFichier(base() / "fichier", "x");
        fs::create_directory_symlink("/usr/lib", base() / "lien");
        // Folder (relative: inside a fresh one), mode given to it (0: left alone), writable.
        // 0555 is refused for root as well: the permission bits decide, not the privilege.
        for (auto [dossier, mode, modifiable] : {std::tuple{"p", 0755, true}, {"p", 0555, false}, {"p", 0655, false},
                                                 {"absent", 0, false}, {"fichier", 0, false}, {"/usr/bin", 0, false},
                                                 {"lien", 0, false}, {"/tmp", 0, true}}) {
            fs::create_directory(base() / "p");
            if (mode) fs::permissions(base() / dossier, fs::perms(mode));
            QVERIFY2(DossierModifiable(base() / dossier) == modifiable, qPrintable(dossier + QString::number(mode, 8)));
        }
        // Program's folder writable, XDG_CONFIG_HOME; settings file, pictures, documents (home: Images, no Documents).
        fs::create_directories(base() / "maison/Images");
        for (auto [modifiable, configHome, ini, images, documents] :
             {std::tuple{true, ""s, "prog/Pelvado.ini", "prog", "prog"},
              {false, (base() / "conf").string(), "conf/ardemo/Pelvado.ini", "maison/Images", "maison"},
              {false, ""s, "maison/.config/ardemo/Pelvado.ini", "maison/Images", "maison"},
              {false, "conf"s, "maison/.config/ardemo/Pelvado.ini", "maison", "maison"}}) { // relative: ignored
            const fs::path photos = configHome == "conf" ? fs::path() : base() / "maison/Images"; // and none known
            const Emplacements e = ChoisirEmplacements(
                base() / "prog", modifiable, {(base() / "maison").string(), configHome, photos, base() / "maison/Documents"});
            QCOMPARE((std::array{e.fichierIni, e.dossierImages, e.dossierDocuments}),
                     (std::array{base() / ini, base() / images, base() / documents}));
        }
    }
};

QTEST_APPLESS_MAIN(TestEmplacements)
#include "test_emplacements.moc"
