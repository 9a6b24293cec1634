#include "commun/EcritureAtomique.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <random>
#include <sched.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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
    // errno tells why a write is refused.
    if (S_ISLNK(st.st_mode)) {
        if (st.st_uid != ::geteuid())
            return errno = EPERM, d;
        std::error_code ec;
        d.cible = fs::canonical(chemin, ec);
        if (ec || ::lstat(d.cible.c_str(), &st) != 0)
            return d;
        if (st.st_uid != ::geteuid())
            return errno = EPERM, d;
    }
    if (!S_ISREG(st.st_mode))
        return errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL, d;
    if ((st.st_mode & 0222) == 0)
        return errno = EACCES, d;
    if (::access(d.cible.c_str(), W_OK) != 0)
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

namespace {

// The start of the temporary names of `nomFichier`: "." + the name + the mark,
// the name cut (never in the middle of a UTF-8 character) so that the whole
// temporary name fits the longest name the folder takes.
std::string prefixeTemporaire(std::string_view nomFichier, long longueurMax)
{
    const long place = longueurMax - 1 - static_cast<long>(Marque.size() + LongueurAleatoire);
    size_t n = nomFichier.size();
    if (place < 1)
        n = std::min<size_t>(n, 1);
    else if (n > static_cast<size_t>(place)) {
        n = static_cast<size_t>(place);
        while (n > 1 && (static_cast<unsigned char>(nomFichier[n]) & 0xC0) == 0x80)
            --n; // nomFichier[n] is the first byte left out
    }
    // Built by appends: GCC 12 sees a false overlap (-Wrestrict) in "." + string.
    std::string prefixe(".");
    prefixe.append(nomFichier.substr(0, n));
    prefixe.append(Marque);
    return prefixe;
}

long longueurNomMax(const fs::path& dossier)
{
    const long n = ::pathconf(dossier.c_str(), _PC_NAME_MAX);
    return n > 0 ? n : 255;
}

// A flock on a folder, for the time of the object; holds nothing when the
// folder cannot be opened or locked at once. Writers hold it
// shared while they create and lock a temporary, clean-ups exclusively while
// they remove one.
class VerrouDossier {
public:
    VerrouDossier(const fs::path& dossier, int mode)
        : m_fd(::open(dossier.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        // A writer waits for a clean-up's few system calls, but never for long
        // (a stopped clean-up): it then goes on unprotected, checking its name.
        for (int essai = 0; m_fd >= 0 && essai < 1000; ++essai) {
            if (::flock(m_fd, mode | LOCK_NB) == 0)
                return;
            m_occupe = errno == EWOULDBLOCK;
            if (!m_occupe || mode == LOCK_EX)
                return; // a clean-up leaves the file to a later one
            ::sched_yield();
        }
    }
    ~VerrouDossier()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    VerrouDossier(const VerrouDossier&) = delete;
    VerrouDossier& operator=(const VerrouDossier&) = delete;
    // Another process holds the folder's lock.
    bool occupe() const { return m_occupe; }

private:
    int m_fd;
    bool m_occupe = false;
};

// One file being written: its temporary, written and flushed, waiting for its rename.
struct Ecriture {
    Destination d;
    fs::path dossier, tmp;
    int fd = -1;
};

// Checks the destination, writes the temporary and flushes it. On failure
// nothing is left and false is returned.
bool preparer(const fs::path& chemin, std::string_view contenu, Ecriture& e)
{
    std::error_code ec;
    e.d = destination(chemin);
    if (!e.d.permise)
        return false;
    e.dossier = e.d.cible.parent_path();
    if (e.dossier.empty())
        e.dossier = ".";
    if (!fs::is_directory(e.dossier, ec))
        return errno = ec ? ec.value() : ENOTDIR, false;

    static const char lettres[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device rd;
    const std::string prefixe = prefixeTemporaire(e.d.cible.filename().native(), longueurNomMax(e.dossier));
    // The folder's shared lock is held from the temporary's creation to its own
    // lock: a clean-up (which takes the folder's lock exclusively) never sees a
    // temporary of a live write unlocked.
    std::optional<VerrouDossier> dossier(std::in_place, e.dossier, LOCK_SH);
    for (int essai = 0; essai < 16 && e.fd < 0; ++essai) {
        std::string nom = prefixe;
        for (size_t i = 0; i < LongueurAleatoire; ++i)
            nom += lettres[rd() % (sizeof lettres - 1)];
        e.tmp = e.dossier / nom;
        // Private until the rename's mode is set; a new file gets 0666 less the umask.
        e.fd = ::open(e.tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, e.d.existe ? 0600 : 0666);
        if (e.fd < 0) {
            if (errno != EEXIST)
                return false;
            continue;
        }
        // Held until the file is renamed, so that a clean-up never takes it. Where
        // the folder could not be locked, a clean-up may have taken the name
        // meanwhile: another name is tried then.
        struct stat ouvert {}, nomme {};
        if ((::flock(e.fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) || ::fstat(e.fd, &ouvert) != 0 || ::lstat(e.tmp.c_str(), &nomme) != 0
            || ouvert.st_ino != nomme.st_ino || ouvert.st_dev != nomme.st_dev) {
            ::close(e.fd);
            e.fd = -1;
        }
    }
    dossier.reset();
    if (e.fd < 0)
        return false;

    bool ok = toutEcrire(e.fd, contenu);
    if (ok && e.d.existe) {
        if (e.d.ancien.st_uid != ::geteuid() || e.d.ancien.st_gid != ::getegid())
            if (::fchown(e.fd, e.d.ancien.st_uid, e.d.ancien.st_gid) != 0)
                (void)!::fchown(e.fd, static_cast<uid_t>(-1), e.d.ancien.st_gid);
        ok = ::fchmod(e.fd, e.d.ancien.st_mode & 0777) == 0;
    }
    ok = ok && ::fsync(e.fd) == 0;
    if (!ok) {
        const int raison = errno;
        ::unlink(e.tmp.c_str());
        ::close(e.fd);
        e.fd = -1;
        errno = raison;
    }
    return ok;
}

void abandonner(Ecriture& e)
{
    if (e.fd < 0)
        return;
    const int raison = errno; // the failure's, kept for the caller
    ::unlink(e.tmp.c_str());
    ::close(e.fd);
    e.fd = -1;
    errno = raison;
}

} // namespace

bool EcrireFichiersAtomiques(const std::vector<fs::path>& chemins,
                             const std::function<bool(size_t, std::string&)>& produire, size_t* enEchec)
{
    std::vector<Ecriture> ecritures(chemins.size());
    std::string contenu;
    for (size_t i = 0; i < chemins.size(); ++i) {
        contenu.clear();
        if (!produire(i, contenu) || !preparer(chemins[i], contenu, ecritures[i])) {
            for (Ecriture& e : ecritures)
                abandonner(e);
            if (enEchec)
                *enEchec = i;
            return false;
        }
    }
    // Every file is on the disk: the renames remain, which only fail when the
    // folder itself changes meanwhile.
    bool ok = true;
    for (size_t i = 0; i < ecritures.size(); ++i) {
        Ecriture& e = ecritures[i];
        if (!ok || std::rename(e.tmp.c_str(), e.d.cible.c_str()) != 0) {
            if (ok && enEchec)
                *enEchec = i;
            ok = false;
            abandonner(e);
            continue;
        }
        synchroniserDossier(e.dossier);
        const bool ferme = ::close(e.fd) == 0; // the data reached the disk with fsync; a late error still counts
        e.fd = -1;
        if (!ferme && enEchec)
            *enEchec = i;
        ok = ferme;
    }
    if (ok)
        for (const Ecriture& e : ecritures)
            NettoyerTemporaires(e.dossier, e.d.cible.filename().native());
    return ok;
}

bool EcrireFichiersAtomiques(const std::vector<std::pair<fs::path, std::string_view>>& fichiers, size_t* enEchec)
{
    std::vector<fs::path> chemins;
    for (const auto& f : fichiers)
        chemins.push_back(f.first);
    return EcrireFichiersAtomiques(
        chemins, [&](size_t i, std::string& contenu) { return contenu.assign(fichiers[i].second), true; }, enEchec);
}

bool EcrireFichierAtomique(const fs::path& chemin, std::string_view contenu)
{
    return EcrireFichiersAtomiques({{chemin, contenu}});
}

int NettoyerTemporaires(const fs::path& dossier, std::string_view nomFichier)
{
    std::error_code ec;
    int retires = 0;
    const std::string prefixe = nomFichier.empty() ? "" : prefixeTemporaire(nomFichier, longueurNomMax(dossier));
    for (fs::directory_iterator it(dossier, ec), fin; !ec && it != fin; it.increment(ec)) {
        const fs::path p = it->path();
        const std::string nom = p.filename().string();
        if (!EstFichierTemporaire(nom) || nom.compare(0, prefixe.size(), prefixe) != 0
            || (!prefixe.empty() && nom.size() != prefixe.size() + LongueurAleatoire))
            continue;
        // Never while a writer is between creating its temporary and locking it.
        const VerrouDossier verrou(dossier, LOCK_EX);
        if (verrou.occupe())
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
