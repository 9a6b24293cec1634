#pragma once
#include <chrono>
#include <filesystem>
#include <string>

// An advisory lock (flock) on a file that is replaced by renames, held for
// the life of the object: the lock is taken on the file the name designates at
// that moment (links followed), taken again when another process renamed a
// new file over the name meanwhile, and the file is created empty when it is
// missing. Processes that take it before reading and writing the file do so
// one at a time (a copy waits while another holds it: the time of one
// read-modify-write). Best effort: when the file cannot be opened, created or
// locked (some network file systems), the object holds nothing and the caller
// goes on without it.
//
// The wait is bounded: a process that holds the lock longer (a copy stopped
// with SIGSTOP, `flock Pelvado.ini sleep 15`) makes it end `Occupe`, holding
// nothing, after `attente`; a wait of zero tries once, without waiting, for a
// caller that must not block (a window retries later from its event loop).
enum class EtatVerrou {
    Tenu,
    Occupe,     // another process held it for the whole wait
    SansVerrou, // cannot be opened, created or locked here: the caller goes on without it
};

// Long enough for any read-modify-write of another copy, short enough to be waited for.
constexpr std::chrono::milliseconds AttenteVerrou{2000};

class VerrouFichier {
public:
    explicit VerrouFichier(const std::filesystem::path& fichier, std::chrono::milliseconds attente = AttenteVerrou);
    ~VerrouFichier();
    VerrouFichier(const VerrouFichier&) = delete;
    VerrouFichier& operator=(const VerrouFichier&) = delete;

    bool tenu() const { return m_fd >= 0; }
    EtatVerrou etat() const { return m_etat; }

private:
    int m_fd = -1;
    EtatVerrou m_etat = EtatVerrou::SansVerrou;
};
