#pragma once
#include "calendar/Date.h"

// The clock used by the build's timed waits: seconds since midnight, and a way
// to let the window's pending events run while waiting; and today's date.
// Tests use a clock of their own that runs instantly, on the day they choose.
class Horloge {
public:
    virtual ~Horloge() = default;
    virtual double SecondesDepuisMinuit() = 0;
    virtual void LaisserPasserEvenements() = 0;
    // The local date (the system's, unless overridden).
    virtual Date Aujourdhui();
};

// A clock whose every wait is already over: the command line's date (the
// one-second wait belongs to the window) and the benchmarks.
class HorlogeSansAttente : public Horloge {
public:
    double SecondesDepuisMinuit() override { return t += 2; }
    void LaisserPasserEvenements() override {}

private:
    double t = 0;
};

// Timed wait of n whole seconds: from the clock's time at the start taken to the
// nearest second (halves to even) until n seconds later, so it lasts between
// n - 0.5 and n + 0.5 seconds. A wait that crosses midnight ends normally.
void AttenteMinutee(Horloge& horloge, int secondes);
