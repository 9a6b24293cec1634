#pragma once
// Shared by the libFuzzer harnesses: a private folder for the files they write
// (in memory when /dev/shm exists, so that fsync costs nothing) and a check
// that reports a broken property as a crash, with its text.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
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

inline std::string LireOctets(const std::filesystem::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

inline void EcrireOctets(const std::filesystem::path& p, std::string_view s)
{
    std::ofstream(p, std::ios::binary | std::ios::trunc).write(s.data(), std::streamsize(s.size()));
}

// Files in the folder: a write leaves no temporary behind.
inline int NombreDeFichiers()
{
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(DossierFuzz()))
        ++n;
    return n;
}
