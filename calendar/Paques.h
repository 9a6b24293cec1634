#pragma once
#include <string>

#include "calendar/Date.h"

// Easter Sunday, from which the movable holidays are counted.

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
