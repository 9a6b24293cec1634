#include "app/ui/Ardemo.h"

void Ardemo::Imprimer_Click() {}
