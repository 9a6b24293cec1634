#pragma once
#include "app/Horloge.h"

// The real clock: pauses are single-shot timers of the event loop.
class HorlogeSysteme : public Horloge {
public:
    void Attendre(int secondes, std::function<void()> ensuite) override;
};
