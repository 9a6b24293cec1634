#include "app/ui/Ardemo.h"

void Ardemo::LireReglages() {}
