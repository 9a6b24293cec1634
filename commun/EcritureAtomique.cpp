#include "commun/EcritureAtomique.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view Marque = ".ardemo-tmp-";
constexpr size_t LongueurAleatoire = 6;

bool estAlnum(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

void synchroniserDossier(const fs::path& dossier)
{
    int fd = ::open(dossier.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd); // some file systems refuse it: the rename is done either way
        ::close(fd);
    }
}

bool toutEcrire(int fd, std::string_view contenu)
{
    const char* p = contenu.data();
    size_t reste = contenu.size();
    while (reste > 0) {
        ssize_t n = ::write(fd, p, reste);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        reste -= static_cast<size_t>(n);
    }
    return true;
}

// Where a write of `chemin` goes, and the file it replaces (if any).
struct Destination {
    bool permise = false;
    bool existe = false;
    fs::path cible;
    struct stat ancien {};
};

Destination destination(const fs::path& chemin)
{
    Destination d;
    d.cible = chemin;
    struct stat st {};
    if (::lstat(chemin.c_str(), &st) != 0) {
        d.permise = errno == ENOENT;
        return d;
    }
    if (S_ISLNK(st.st_mode)) {
        if (st.st_uid != ::geteuid())
            return d;
        std::error_code ec;
        d.cible = fs::canonical(chemin, ec);
        if (ec || ::lstat(d.cible.c_str(), &st) != 0 || st.st_uid != ::geteuid())
            return d;
    }
    if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 || ::access(d.cible.c_str(), W_OK) != 0)
        return d;
    d.permise = true;
    d.existe = true;
    d.ancien = st;
    return d;
}

} // namespace

bool EstFichierTemporaire(std::string_view nom)
{
    if (nom.size() < 2 + Marque.size() + LongueurAleatoire || nom[0] != '.')
        return false;
    for (char c : nom.substr(nom.size() - LongueurAleatoire))
        if (!estAlnum(c))
            return false;
    return nom.substr(nom.size() - LongueurAleatoire - Marque.size(), Marque.size()) == Marque;
}

bool EcrireFichierAtomique(const fs::path& chemin, std::string_view contenu)
{
    std::error_code ec;
    const Destination d = destination(chemin);
    if (!d.permise)
        return false;
    fs::path dossier = d.cible.parent_path();
    if (dossier.empty())
        dossier = ".";
    if (!fs::is_directory(dossier, ec))
        return false;

    static const char lettres[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device rd;
    fs::path tmp;
    int fd = -1;
    for (int essai = 0; essai < 16 && fd < 0; ++essai) {
        std::string nom = "." + d.cible.filename().string() + std::string(Marque);
        for (size_t i = 0; i < LongueurAleatoire; ++i)
            nom += lettres[rd() % (sizeof lettres - 1)];
        tmp = dossier / nom;
        // Private until the rename's mode is set; a new file gets 0666 less the umask.
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, d.existe ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    // Held until the file is renamed, so that a start-up clean-up never takes it.
    ::flock(fd, LOCK_EX | LOCK_NB);

    bool ok = toutEcrire(fd, contenu);
    if (ok && d.existe) {
        if (d.ancien.st_uid != ::geteuid() || d.ancien.st_gid != ::getegid())
            if (::fchown(fd, d.ancien.st_uid, d.ancien.st_gid) != 0)
                (void)!::fchown(fd, static_cast<uid_t>(-1), d.ancien.st_gid);
        ok = ::fchmod(fd, d.ancien.st_mode & 0777) == 0;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ok && std::rename(tmp.c_str(), d.cible.c_str()) == 0;
    if (ok)
        synchroniserDossier(dossier);
    else
        ::unlink(tmp.c_str());
    if (::close(fd) != 0)
        ok = false; // the data reached the disk with fsync; a late error still counts
    if (ok)
        NettoyerTemporaires(dossier, d.cible.filename().string());
    return ok;
}

int NettoyerTemporaires(const fs::path& dossier, std::string_view nomFichier)
{
    std::error_code ec;
    int retires = 0;
    const std::string prefixe = nomFichier.empty() ? "" : "." + std::string(nomFichier) + std::string(Marque);
    for (fs::directory_iterator it(dossier, ec), fin; !ec && it != fin; it.increment(ec)) {
        const fs::path p = it->path();
        const std::string nom = p.filename().string();
        if (!EstFichierTemporaire(nom) || nom.compare(0, prefixe.size(), prefixe) != 0
            || (!prefixe.empty() && nom.size() != prefixe.size() + LongueurAleatoire))
            continue;
        int fd = ::open(p.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st {}, lien {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()
            && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(p.c_str(), &lien) == 0 && lien.st_ino == st.st_ino
            && lien.st_dev == st.st_dev && ::unlink(p.c_str()) == 0)
            ++retires;
        ::close(fd);
    }
    return retires;
}
