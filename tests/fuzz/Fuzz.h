#pragma once
// Shared by the libFuzzer harnesses: a broken property aborts with its text; files go to a private folder.
#define ARDEMO_SANS_QT
#include "tests/core/Outils.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#define EXIGER(c)                                                                                              \
    ((c) ? void() : (std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #c), std::abort()))

// In memory when /dev/shm exists (fsync costs nothing there); removed at exit.
inline const std::filesystem::path& DossierFuzz()
{
    static const struct Dossier : std::filesystem::path {
        ~Dossier() { std::error_code e; std::filesystem::remove_all(*this, e); }
    } dossier{[] {
        std::string p = std::filesystem::is_directory("/dev/shm") ? "/dev/shm/ardemo-XXXXXX" : "/tmp/ardemo-XXXXXX";
        EXIGER(::mkdtemp(p.data()) != nullptr); // never a shared folder: it is removed whole at exit
        return std::filesystem::path(p);
    }()};
    return dossier;
}

// Files in the folder: a write leaves no temporary behind.
inline int NombreDeFichiers()
{
    return int(std::distance(std::filesystem::directory_iterator(DossierFuzz()), {}));
}
