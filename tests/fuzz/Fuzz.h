#pragma once
// Shared by the libFuzzer harnesses: the core tests' file reader and writer, a
// private folder for the files they write (in memory when /dev/shm exists, so
// that fsync costs nothing) and a check that reports a broken property as a
// crash, with its text.
#define ARDEMO_SANS_QT
#include "tests/core/Outils.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#define EXIGER(condition)                                                                                    \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);          \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

inline const std::filesystem::path& DossierFuzz()
{
    static const std::filesystem::path dossier = [] {
        std::string modele = std::filesystem::is_directory("/dev/shm") ? "/dev/shm/ardemo-fuzz-XXXXXX"
                                                                       : "/tmp/ardemo-fuzz-XXXXXX";
        std::filesystem::path p = ::mkdtemp(modele.data()) ? modele : "/tmp";
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(DossierFuzz(), ec);
        });
        return p;
    }();
    return dossier;
}

// Files in the folder: a write leaves no temporary behind.
inline int NombreDeFichiers()
{
    const std::filesystem::directory_iterator it(DossierFuzz());
    return int(std::distance(begin(it), end(it)));
}
