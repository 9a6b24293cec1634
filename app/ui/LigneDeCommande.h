#pragma once
#include <optional>

#include "app/ui/OptionsFenetre.h"

// The command line. With --sortie, calendars are made without any window or
// display:
//   ardemo --annee 2027 --sortie 2027.pdf --annee 2028 --sortie 2028.pdf
// each file taking the options given before it. Without --sortie the window
// opens with the options applied, and with the .Cal and .ics files named.

struct Lancement {
    std::optional<int> fin; // the exit status when the command line did it all
    OptionsFenetre fenetre; // otherwise, what the window opens with
};

// Files made (0), --help or --version (0), or wrong arguments, no display for
// the window, a file that could not be read or written (2, with a one-line
// message on the error output).
Lancement LigneDeCommande(int argc, char* argv[]);
