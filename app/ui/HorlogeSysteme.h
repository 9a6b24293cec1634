#pragma once
#include "app/Horloge.h"

// The real clock: the time of day, and the event loop run between looks.
class HorlogeSysteme : public Horloge {
public:
    double SecondesDepuisMinuit() override;
    void LaisserPasserEvenements() override;
};
