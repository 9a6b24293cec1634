#pragma once
#include <string>

#include "calendar/Date.h"
#include "calendar/Mois.h"
#include "calendar/Regions.h"

// Easter and the French public holidays of a month block.

// Receives the Easter consistency error (the window shows it in a message box
// titled "Erreur").
struct RapportPaques {
    virtual ~RapportPaques() = default;
    virtual void ErreurPaques(const std::string& message) = 0;
};

// Easter Sunday of a year (Gregorian computus). When the computed month is not
// March or April, `rapport` (if any) receives the error text and the date is
// still returned.
Date DimanchePaques(int annee, RapportPaques* rapport = nullptr);

// Text of the Easter consistency error for the computed month n.
std::string MessageErreurPaques(int n);

struct AffichageFeries {
    bool weekEnd = true;   // "WeekEnd" box ticked
    bool feries = true;    // "Jours fériés" box ticked
    Region region = Region::Metropole; // whose holidays, on top of the national ones
};

// Marks the weekend days of the month and the public holidays that the block
// shows (holiday tooltip on any cell, holiday colour on days of the month only).
// The region's own holidays are marked after the national ones, so that their
// tooltip wins where both fall on one day (10 June, the abolition of slavery
// in Guyane, is Pentecost Monday in 2030).
// The block must have been filled by RemplirMois.
void CouleurFerie(BlocMois& bloc, AffichageFeries affichage, RapportPaques* rapport = nullptr);
