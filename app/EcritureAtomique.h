#pragma once
#include <filesystem>
#include <string_view>

// Writes a whole file through a temporary file in the same folder and a rename,
// so that the file on disk is either the old one or the complete new one.
// Returns false (and leaves the old file and no temporary behind) on failure.
bool EcrireFichierAtomique(const std::filesystem::path& chemin, std::string_view contenu);
