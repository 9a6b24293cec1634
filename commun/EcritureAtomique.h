#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Writes a whole file through a temporary file in the same folder and a rename,
// so that the file on disk is either the old one or the complete new one: the
// temporary is flushed to the disk before the rename and the folder after it.
// Returns false (and leaves the old file and no temporary behind) on failure,
// errno then telling why (see RaisonSysteme).
//
// Rules for an existing file:
// - The new file keeps the old one's permission bits (rwx for owner, group and
//   others) and, where the process may set them, its owner and group.
// - A file that grants write permission to nobody (made read-only, e.g. 0444)
//   or that this process may not write is not replaced.
// - Anything but a regular file (a folder, a device, a pipe) is not replaced.
// - A symbolic link is written through, to its final target, only when the link
//   and the target are both owned by this process's user and the target is a
//   regular file; the link stays a link. Any other link (dangling, made by
//   someone else, or naming a file of someone else) is left alone and the write
//   fails.
// A new file gets the usual mode of new files (0666 less the umask).
bool EcrireFichierAtomique(const std::filesystem::path& chemin, std::string_view contenu);

// Several files written together, each by the rules above: every one is
// written to its temporary and flushed first, and they are renamed only when
// all of them are; when one cannot be written none is replaced and no
// temporary is left. (Only a rename refused once all are written, which needs
// the folder to change meanwhile, leaves the files before it replaced.)
// `enEchec`, when given, receives the index of the file that failed.
bool EcrireFichiersAtomiques(const std::vector<std::pair<std::filesystem::path, std::string_view>>& fichiers,
                             std::size_t* enEchec = nullptr);
// The same with contents made one at a time: `produire(i, contenu)` fills the
// i-th file's bytes (false: it cannot, and nothing is written), which go to
// its temporary before the next is made, so that only one is held in memory.
bool EcrireFichiersAtomiques(const std::vector<std::filesystem::path>& chemins,
                             const std::function<bool(std::size_t, std::string&)>& produire,
                             std::size_t* enEchec = nullptr);

// Temporary files are named ".<file name>.ardemo-tmp-XXXXXX" (six letters or
// digits) and locked while they are written. Writers of one folder hold its
// lock shared from a temporary's creation to its lock, and a clean-up holds it
// exclusively to remove one, so that writers at once never lose a temporary
// (where folders cannot be locked, a writer whose temporary was taken makes
// another). The file name is cut as needed
// (at a character's boundary) for the whole name to fit the folder's longest
// name, so that a file of any valid name can be written.
bool EstFichierTemporaire(std::string_view nom);

// Removes the temporary files that an interrupted write (a kill, a power loss)
// left in `dossier`: regular files owned by this process's user, named as above
// (of the file `nomFichier` only, when it is not empty) and not locked by a
// write in progress. Nothing else is touched. Returns how many were removed.
int NettoyerTemporaires(const std::filesystem::path& dossier, std::string_view nomFichier = {});
