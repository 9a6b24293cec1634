#pragma once
#include <optional>

// Calendars made from the command line, without any window or display:
//   ardemo --annee 2027 --sortie 2027.pdf --sortie 2027.png
// Returns the exit status when the arguments asked for something: files made
// (0), --help or --version (0), or wrong arguments or a file that could not be
// read or written (2, with a one-line message on the error output). Returns
// nullopt when the program should open its window as usual: no arguments, or
// no --sortie among them.
std::optional<int> LigneDeCommande(int argc, char* argv[]);
