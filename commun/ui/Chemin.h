#pragma once
// File names between the windows (QString) and the core (the bytes the system
// uses for the name), both ways without loss (commun/NomsFichiers): a name
// that is not valid UTF-8 comes back to its own bytes. For valid names this is
// QFile::encodeName and QFile::decodeName.
#include <QString>
#include <filesystem>

// The bytes of a name from a window or the command line. A name that Qt itself
// decoded with a loss (a file dialog shows U+FFFD for the bytes it cannot
// decode) is looked for in its folder: when exactly one file there decodes to
// it, that file's bytes are taken.
std::filesystem::path CheminFichier(const QString& nom);

// A name from the system (or a core path) for a window or the command line.
QString NomFichier(const std::filesystem::path& chemin);

// The command line's arguments, decoded as NomFichier decodes names.
QString ArgumentLigneDeCommande(const char* argument);
