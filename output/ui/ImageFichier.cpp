#include "app/ui/Ardemo.h"

void Ardemo::SauveFichier_Click() {}
void Ardemo::SauvePPapier_Click() {}
