#include "commun/Verrou.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int EssaisOuverture = 8;
constexpr std::chrono::nanoseconds PasAttente = std::chrono::milliseconds(10);

// The file of that name, opened for writing when allowed (some network file
// systems lock only such descriptors), else for reading; created when the name
// leads nowhere (never through a link). -1 when neither is possible.
int ouvrir(const std::filesystem::path& fichier)
{
    for (int essai = 0; essai < EssaisOuverture; ++essai) {
        for (int mode : {O_RDWR, O_RDONLY}) {
            const int fd = ::open(fichier.c_str(), mode | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
            if (fd >= 0)
                return fd;
            if (errno != EACCES && errno != EPERM && errno != EROFS)
                break;
        }
        if (errno != ENOENT)
            return -1;
        const int fd = ::open(fichier.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd; // EEXIST: made meanwhile, or a link leading nowhere
    }
    return -1;
}

bool memeFichier(int fd, const std::filesystem::path& fichier)
{
    struct stat a {
    }, b{};
    return ::fstat(fd, &a) == 0 && ::stat(fichier.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

VerrouFichier::VerrouFichier(const std::filesystem::path& fichier, std::chrono::milliseconds attente)
{
    const auto fin = std::chrono::steady_clock::now() + attente;
    // As long as the lock obtained is that of a file replaced meanwhile (the
    // copy that held it renamed its new file over the name), the newer file's
    // lock is waited for: never a write without the lock for being late.
    for (;;) {
        const int fd = ouvrir(fichier);
        struct stat st {};
        if (fd < 0)
            return;
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return;
        }
        // Tried without blocking, again every few milliseconds until the wait is over.
        int r;
        for (;;) {
            r = ::flock(fd, LOCK_EX | LOCK_NB);
            const int erreur = errno;
            if (r == 0 || (erreur != EINTR && erreur != EWOULDBLOCK))
                break;
            if (erreur == EINTR)
                continue;
            const auto reste = fin - std::chrono::steady_clock::now();
            if (reste <= reste.zero()) {
                m_etat = EtatVerrou::Occupe;
                break;
            }
            const timespec pause{0, std::min<long>(PasAttente.count(), std::chrono::nanoseconds(reste).count())};
            ::nanosleep(&pause, nullptr);
        }
        if (r != 0) {
            ::close(fd);
            return;
        }
        if (!memeFichier(fd, fichier)) {
            ::close(fd); // the name now leads to a newer file: that one is locked instead
            continue;
        }
        m_fd = fd;
        m_etat = EtatVerrou::Tenu;
        return;
    }
}

VerrouFichier::~VerrouFichier()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing releases the lock
}
