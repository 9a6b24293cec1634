#pragma once
#include <filesystem>
#include <string>

// Where the program keeps its settings and proposes to save its files.
//
// The program's folder is used when it is the user's to write: a portable or
// per-user install, where Pelvado.ini lives beside the program. A folder that
// belongs to the system (a system-wide install in /usr/bin, a read-only
// folder) is never written to: the settings then go to the user's
// configuration folder and the files to the user's pictures and documents.

// True when the folder's permission bits let this user (its user and group
// ids, as for an ordinary process: a superuser gets no exception) create files
// in it, the system agrees (no read-only mount, no ACL refusing it), and it is
// not a system folder.
bool DossierModifiable(const std::filesystem::path& dossier);

// True for the folders of the system's programs and libraries (/usr, /bin,
// /sbin, /lib*, /opt and what is below them), symbolic links resolved.
bool DossierDuSysteme(const std::filesystem::path& dossier);

// What the choice depends on besides the program's folder: $HOME,
// $XDG_CONFIG_HOME and the user's pictures and documents folders (empty when
// unknown).
struct EnvironnementUtilisateur {
    std::string home;
    std::string configHome;
    std::filesystem::path images;
    std::filesystem::path documents;
};

// The environment of this process ($HOME, else the password database); the
// pictures and documents folders are left to the caller.
EnvironnementUtilisateur EnvironnementDuProcessus();

struct Emplacements {
    bool dossierProgrammeModifiable = true;
    std::filesystem::path fichierIni;      // settings file
    std::filesystem::path dossierImages;   // proposed by the image save dialog
    std::filesystem::path dossierDocuments; // proposed by the .Cal dialogs
};

// Chosen once at start-up. Program folder writable: everything beside the
// program. Otherwise $XDG_CONFIG_HOME/ardemo/Pelvado.ini (~/.config/ardemo/
// when that variable is unset or not an absolute path), and the pictures and
// documents folders when they exist, else the home folder.
Emplacements ChoisirEmplacements(const std::filesystem::path& dossierProgramme, bool modifiable,
                                 const EnvironnementUtilisateur& env);

// Creates the missing folders of `dossier`, each readable by its owner only
// (0700). False when it is still missing.
bool CreerDossiers(const std::filesystem::path& dossier);
