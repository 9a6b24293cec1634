#include "app/Emplacements.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool DansLeGroupe(gid_t g)
{
    if (g == getegid())
        return true;
    const int n = getgroups(0, nullptr);
    if (n <= 0)
        return false;
    std::vector<gid_t> groupes(static_cast<size_t>(n));
    const int m = getgroups(n, groupes.data());
    for (int i = 0; i < m; ++i)
        if (groupes[static_cast<size_t>(i)] == g)
            return true;
    return false;
}

} // namespace

bool DossierDuSysteme(const fs::path& dossier)
{
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(dossier, ec), ec);
    if (ec)
        p = dossier;
    for (const char* racine : {"/usr", "/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32", "/opt"}) {
        const fs::path r(racine);
        auto [a, b] = std::mismatch(r.begin(), r.end(), p.begin(), p.end());
        if (a == r.end())
            return true;
    }
    return false;
}

bool DossierModifiable(const fs::path& dossier)
{
    struct stat s {};
    if (dossier.empty() || ::stat(dossier.c_str(), &s) != 0 || !S_ISDIR(s.st_mode))
        return false;
    if (::access(dossier.c_str(), W_OK | X_OK) != 0)
        return false;
    const mode_t ecrire = s.st_uid == geteuid() ? (S_IWUSR | S_IXUSR)
                          : DansLeGroupe(s.st_gid) ? (S_IWGRP | S_IXGRP)
                                                   : (S_IWOTH | S_IXOTH);
    return (s.st_mode & ecrire) == ecrire && !DossierDuSysteme(dossier);
}

EnvironnementUtilisateur EnvironnementDuProcessus()
{
    EnvironnementUtilisateur env;
    if (const char* h = std::getenv("HOME"); h && *h)
        env.home = h;
    else if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
        env.home = pw->pw_dir;
    if (const char* c = std::getenv("XDG_CONFIG_HOME"))
        env.configHome = c;
    return env;
}

Emplacements ChoisirEmplacements(const fs::path& dossierProgramme, bool modifiable, const EnvironnementUtilisateur& env)
{
    Emplacements e;
    e.dossierProgrammeModifiable = modifiable;
    if (modifiable || env.home.empty()) {
        e.fichierIni = dossierProgramme / "Pelvado.ini";
        e.dossierImages = e.dossierDocuments = dossierProgramme;
        return e;
    }
    const fs::path config = fs::path(env.configHome).is_absolute() ? fs::path(env.configHome)
                                                                   : fs::path(env.home) / ".config";
    e.fichierIni = config / "ardemo" / "Pelvado.ini";
    std::error_code ec;
    const auto existant = [&](const fs::path& d) { return !d.empty() && fs::is_directory(d, ec) ? d : fs::path(env.home); };
    e.dossierImages = existant(env.images);
    e.dossierDocuments = existant(env.documents);
    return e;
}

bool CreerDossiers(const fs::path& dossier)
{
    std::error_code ec;
    if (dossier.empty() || fs::is_directory(dossier, ec))
        return !dossier.empty();
    const fs::path parent = dossier.parent_path();
    if (parent != dossier && !CreerDossiers(parent))
        return false;
    return ::mkdir(dossier.c_str(), 0700) == 0 || fs::is_directory(dossier, ec);
}
