#include "app/ui/Ardemo.h"

void Ardemo::CoulSpéciale_Click() {}
