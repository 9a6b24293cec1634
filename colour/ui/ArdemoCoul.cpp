#include "app/ui/Ardemo.h"

void Ardemo::Couleurs_Click() {}
