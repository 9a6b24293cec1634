#pragma once
#include <cstddef>
#include <filesystem>
#include <string>

// Reads a whole regular file of at most `max` bytes. Files from elsewhere may
// be of any size: a larger one is not read past the limit (also when it grows
// while being read). The name is opened once, without waiting (a pipe or a
// device put in the file's place is refused at once, never waited on), and
// what was opened is what is checked and read. Links are followed.
enum class EtatLecture { Lu, Absent, Illisible, TropGros };

EtatLecture LireFichierBorne(const std::filesystem::path& chemin, std::size_t max, std::string& contenu);
