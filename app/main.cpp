#include "app/ui/LigneDeCommande.h"
#include "app/ui/Programme.h"

int main(int argc, char* argv[])
{
    // With --sortie the calendar files are made without any window.
    if (const auto fin = LigneDeCommande(argc, argv))
        return *fin;
    return LancerArdemo(argc, argv);
}
