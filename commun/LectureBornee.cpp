#include "commun/LectureBornee.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
struct Descripteur {
    int fd;
    ~Descripteur()
    {
        if (fd >= 0)
            ::close(fd);
    }
};
} // namespace

EtatLecture LireFichierBorne(const fs::path& chemin, std::size_t max, std::string& contenu)
{
    contenu.clear();
    // O_NONBLOCK: opening a pipe does not wait for a writer; it changes nothing
    // for a regular file.
    const Descripteur f{::open(chemin.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    if (f.fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? EtatLecture::Absent : EtatLecture::Illisible;
    struct stat st {};
    if (::fstat(f.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return EtatLecture::Illisible;
    if (static_cast<std::uintmax_t>(st.st_size) > max)
        return EtatLecture::TropGros;
    contenu.reserve(static_cast<std::size_t>(st.st_size));
    char bloc[65536];
    for (;;) {
        const ssize_t n = ::read(f.fd, bloc, sizeof bloc);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return EtatLecture::Illisible;
        if (n == 0)
            return EtatLecture::Lu;
        contenu.append(bloc, static_cast<std::size_t>(n));
        if (contenu.size() > max)
            return EtatLecture::TropGros;
    }
}
