#pragma once
// Shared by the benchmarks: a clock without waits, the median of timings, and
// the offscreen platform unless another one is asked for.
#include <QtGlobal>
#include <algorithm>
#include <vector>

#include "app/Horloge.h"

// A clock whose every wait is already over.
struct HorlogeSansAttente : Horloge {
    double t = 1000;
    double SecondesDepuisMinuit() override { return t += 10; }
    void LaisserPasserEvenements() override {}
};

inline double mediane(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline void PlateformeHorsEcran()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}
