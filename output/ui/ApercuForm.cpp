#include "app/ui/Ardemo.h"

void Ardemo::Apercu_Click() {}
void Ardemo::FermerApercu() { etat().ApercuOuvert = Faux; }
void Ardemo::MontrerApercu() {}
