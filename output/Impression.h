#pragma once
#include <cstdint>
#include <vector>

#include "output/MiseEnPage.h"

// Printing one page: the printer's page in twips, the print quality and the
// rectangle the picture is painted into, in the printer's own units.

constexpr int TwipsParPoint = 20; // 1440 twips, 72 points per inch

// The page as the printer reports it: paper size and the unprintable margins
// of its driver (left, top, right, bottom), in points. Margins wider than the
// paper leave a printable size of 0.
PageImprimante PageDepuisPoints(double largeurPt, double hauteurPt, double gauchePt, double hautPt,
                                double droitePt, double basPt);

// Print quality code (-1 draft, -2 low, -3 medium, -4 high) as a resolution in
// dots per inch. `offertes`: the resolutions the printer offers; with two or
// more, draft takes the lowest, high the highest and the two others are spread
// between them; otherwise 150, 300, 600, 1200. 0 for any other code (the
// printer keeps its resolution).
int ResolutionQualite(int code, std::vector<int> offertes);

// Where the picture goes on the device: L x T twips at the place the layout
// gives on the paper. `dpiX`, `dpiY`: the device's units per inch; `origineX`,
// `origineY`: where the device's (0, 0) lies, points from the paper's corner.
struct RectAppareil {
    double x, y, l, h;
};
RectAppareil RectImpression(const MiseEnPage& mp, const PageImprimante& page, int16_t L, int16_t T, double dpiX,
                            double dpiY, double origineX = 0, double origineY = 0);
