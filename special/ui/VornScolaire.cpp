#include "app/ui/Ardemo.h"

void Ardemo::CalScolaire_Click() {}
