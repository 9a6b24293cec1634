#pragma once
#include <functional>

#include "calendar/Date.h"

// The program's clock: today's date, and the build's timed pause. A pause
// never blocks: `ensuite` runs once the time is over, from the event loop,
// and the window stays responsive meanwhile. Tests use a clock of their own
// that runs instantly, on the day they choose.
class Horloge {
public:
    virtual ~Horloge() = default;
    // Runs `ensuite` after `secondes` whole seconds.
    virtual void Attendre(int secondes, std::function<void()> ensuite) = 0;
    // The local date (the system's, unless overridden).
    virtual Date Aujourdhui();
};

// A clock whose every pause is already over: the command line's date (the
// one-second pause belongs to the window) and the benchmarks.
class HorlogeSansAttente : public Horloge {
public:
    void Attendre(int, std::function<void()> ensuite) override { ensuite(); }
};
