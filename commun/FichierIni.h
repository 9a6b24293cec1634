#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "commun/LectureBornee.h"

// Settings files in the INI text format: a "[section]" line opens a section,
// "key=value" lines follow, lines starting with ';' are comments. Section and
// key names are 8-bit text (Windows-1252, so "CoulF\xE9ri\xE9" is spelled with the
// single byte 0xE9) and match without regard to case, for the ASCII letters and
// for the accented letters of that code page (0xE9 matches 0xC9). Values are
// raw bytes. The first section and the first key of a given name count.

// Files larger than this are neither read (LireIni finds nothing in them) nor
// rewritten; ExaminerIni says so.
constexpr std::uintmax_t TailleMaxIni = 4 * 1024 * 1024;

// How a settings file reads: Lu, Absent, Illisible (not a regular file, no
// permission) or TropGros (over TailleMaxIni), so that a caller can say why its
// settings are not taken rather than go on with the defaults silently.
EtatLecture ExaminerIni(const std::filesystem::path& fichier);

// Value of `cle` in `section` of `fichier`, blanks around it removed and one
// pair of enclosing quotes ('...' or "...") dropped, cut at a NUL byte; `defaut`
// when the file, the section or the key is missing. At most taille - 1
// characters are returned (so 254 with the usual 255).
std::string LireIni(const std::filesystem::path& fichier, std::string_view section, std::string_view cle,
                    std::string_view defaut = "", size_t taille = 255);

// Sets `cle` of `section` to `valeur`, written "cle=valeur": replaces the key's
// line in place, or adds the key after the last key of its section, or adds the
// section at the end, or creates the file. Every other line keeps its bytes;
// the lines written end in CR LF. The file is replaced through a temporary file
// and a rename. Returns false, leaving the file as it was, when it cannot be
// written (missing or read-only folder, full disk, file too large or not a
// regular file, a file made read-only, a link that is not the user's: see
// EcrireFichierAtomique) or when a name or the value cannot be stored on one
// line. The file keeps its permission bits.
// Each read-modify-write holds the file's lock (VerrouFichier), so that two
// copies of the program writing at once never undo each other's change.
bool EcrireIni(const std::filesystem::path& fichier, std::string_view section, std::string_view cle,
               std::string_view valeur);

// Several keys set in order in one rewrite of the file, as EcrireIni sets one;
// nothing is written when one of them cannot be.
struct EntreeIni {
    std::string_view section, cle, valeur;
    // Set only when the file has no such key yet: a key found keeps its value.
    bool siAbsente = false;
};
bool EcrireIni(const std::filesystem::path& fichier, std::span<const EntreeIni> entrees);

// The same, saying what became of the write, with a bounded wait for the lock:
// `attente` at most (AttenteVerrou by default; zero: one try, for a caller that
// must not block and retries later). The bool versions above wait
// AttenteVerrou and give false for anything but Ecrit.
enum class EcritureIni {
    Ecrit,    // written, or already so
    Occupe,   // another process held the file's lock for the whole wait: nothing written, try again later
    TropGros, // the file, or the file once changed, is over TailleMaxIni: not rewritten
    Refusee,  // a name or value that cannot be stored on one line, a file that cannot be read or written
};
EcritureIni EcrireIniAttente(const std::filesystem::path& fichier, std::span<const EntreeIni> entrees,
                             std::chrono::milliseconds attente);

// Why a write was not made, in French (UTF-8); empty for Ecrit.
std::string MotifEcritureIni(EcritureIni etat);
