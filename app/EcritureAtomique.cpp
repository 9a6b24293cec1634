#include "app/EcritureAtomique.h"

#include <cstdio>
#include <fcntl.h>
#include <random>
#include <unistd.h>

bool EcrireFichierAtomique(const std::filesystem::path& chemin, std::string_view contenu)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path dossier = chemin.parent_path();
    if (dossier.empty())
        dossier = ".";
    if (!fs::is_directory(dossier, ec))
        return false;

    std::random_device rd;
    fs::path tmp;
    int fd = -1;
    for (int essai = 0; essai < 16 && fd < 0; ++essai) {
        tmp = dossier / ("." + chemin.filename().string() + ".tmp" + std::to_string(rd() % 1000000));
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    }
    if (fd < 0)
        return false;

    bool ok = true;
    const char* p = contenu.data();
    size_t reste = contenu.size();
    while (ok && reste > 0) {
        ssize_t n = ::write(fd, p, reste);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
        } else {
            p += n;
            reste -= static_cast<size_t>(n);
        }
    }
    if (ok && ::fsync(fd) != 0)
        ok = false;
    if (::close(fd) != 0)
        ok = false;
    if (ok && std::rename(tmp.c_str(), chemin.c_str()) != 0)
        ok = false;
    if (!ok)
        fs::remove(tmp, ec);
    return ok;
}
