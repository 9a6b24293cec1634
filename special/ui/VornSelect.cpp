#include "app/ui/Ardemo.h"

void Ardemo::Sélection_Click() {}
