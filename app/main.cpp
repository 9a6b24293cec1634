#include "app/ui/LigneDeCommande.h"
#include "app/ui/Programme.h"

int main(int argc, char* argv[])
{
    // With --sortie the calendar files are made without any window.
    const Lancement lancement = LigneDeCommande(argc, argv);
    if (lancement.fin)
        return *lancement.fin;
    return LancerArdemo(argc, argv, lancement.fenetre);
}
