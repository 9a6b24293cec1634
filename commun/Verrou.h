#pragma once
#include <filesystem>

// An advisory lock (flock) on a file that is replaced by renames, held for
// the life of the object: the lock is taken on the file the name designates at
// that moment (links followed), taken again when another process renamed a
// new file over the name meanwhile, and the file is created empty when it is
// missing. Processes that take it before reading and writing the file do so
// one at a time (a copy waits while another holds it: the time of one
// read-modify-write). Best effort: when the file cannot be opened, created or
// locked (some network file systems), the object holds nothing and the caller
// goes on without it.
class VerrouFichier {
public:
    explicit VerrouFichier(const std::filesystem::path& fichier);
    ~VerrouFichier();
    VerrouFichier(const VerrouFichier&) = delete;
    VerrouFichier& operator=(const VerrouFichier&) = delete;

    bool tenu() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};
