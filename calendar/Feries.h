#pragma once
#include "calendar/Mois.h"
#include "calendar/Paques.h"
#include "calendar/Regions.h"

// The public holidays of a month block.

struct AffichageFeries {
    bool weekEnd = true;   // "WeekEnd" box ticked
    bool feries = true;    // "Jours fériés" box ticked
    Region region = Region::Metropole; // whose holidays (on top of the French national ones in France)
};

// Marks the weekend days of the month and the public holidays that the block
// shows (holiday tooltip on any cell, holiday colour on days of the month only).
// The region's own holidays are marked after the national ones, so that their
// tooltip wins where both fall on one day (10 June, the abolition of slavery
// in Guyane, is Pentecost Monday in 2030). A neighbour's days replace the
// French national ones.
// The block must have been filled by RemplirMois.
void CouleurFerie(BlocMois& bloc, AffichageFeries affichage, RapportPaques* rapport = nullptr);
