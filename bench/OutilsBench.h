#pragma once
// Shared by the benchmarks: the median of timings, and
// the offscreen platform unless another one is asked for.
#include <QtGlobal>
#include <algorithm>
#include <vector>

#include "app/Horloge.h"

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
