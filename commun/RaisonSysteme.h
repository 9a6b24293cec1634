#pragma once
#include <cerrno> // the callers pass errno
#include <string>

// Why the system refused a file, in French and in a few words, from the error
// number it gave (errno): "dossier inexistant", "permission refusée", "disque
// plein"... Said after the file's name in the program's messages.
std::string RaisonSysteme(int code);
