#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "commun/Twips.h"

// Placing the printed picture on the paper.
//
// The print dialog shows the sheet in miniature (`PictPage`, 344 x 486 pixels)
// with the picture in miniature (`PictMP`) at its place. The miniature's left
// and top, in pixels of `PictPage`, are the values of the two scroll bars; the
// home position is 5, 5. Each bar step beyond home moves the printer's origin
// by `PasX` (or `PasY`) twips, so that the picture, always painted at (0, 0),
// lands where the miniature shows it.
//
// Bar ranges: the lowest value is 5 (home: the picture starts at the printable
// area's corner and never left of or above it). The highest is the room left
// on the miniature page; when there is none (the print nears or passes the
// paper's size, or already reaches past the paper's far edge from home) the
// bar is held at 5 with a step of 0, so the picture stays at home.

constexpr int LargeurPictPage = 344;
constexpr int HauteurPictPage = 486;
constexpr int16_t PositionDepart = 5;

// The current printer's page, in twips.
struct PageImprimante {
    int32_t LargeurPapier = 0, HauteurPapier = 0;
    int32_t LargeurImprimable = 0, HauteurImprimable = 0;
    // Left and top edges of the printable area measured from the paper's
    // left and top edges; when the printer does not tell, half the margin.
    std::optional<double> BordGauche, BordHaut;
};

struct MiseEnPage {
    int W = LargeurPictPage, H = HauteurPictPage; // `PictPage` in pixels
    bool Valide = false;       // false: page or picture sizes unusable; picture at home
    double EchellePage = 0;    // miniature pixels per twip of paper
    double LargeurMP = 0;      // `PictMP` width and height, pixels
    double HauteurMP = 0;
    int16_t MargeX = 0, MargeY = 0; // paper less printable size, twips
    double PasX = 0, PasY = 0;      // twips per bar step
    int16_t MinH = PositionDepart, MaxH = PositionDepart; // `HScroll1` range
    int16_t MinV = PositionDepart, MaxV = PositionDepart; // `VScroll1` range
    int16_t ValeurH = PositionDepart, ValeurV = PositionDepart;
    float OrigineGauche = 0, OrigineHaut = 0; // printer origin, twips (<= 0)
};

// Miniature size and bar ranges. `largeurSource`, `hauteurSource`: the picture
// to print as the main window reports its size (twips); the miniature keeps
// that aspect. The bar values are kept inside the new ranges.
void AjusteImage(MiseEnPage& mp, int32_t largeurPapier, int16_t L, double largeurSource,
                 double hauteurSource);

// Margins and steps from the printer's page for a print of L x T twips; sends
// the picture home (bars at 5, origin 0, 0). Call after AjusteImage.
void AjustImprimante(MiseEnPage& mp, const PageImprimante& page, int16_t L, int16_t T);

// Both, in that order: what choosing a printer does.
void ChoixImprimante(MiseEnPage& mp, const PageImprimante& page, int16_t L, int16_t T,
                     double largeurSource, double hauteurSource);

// A bar took the value v (clamped into its range): moves the miniature and the
// printer origin. Return the value kept.
int16_t HScroll1_Change(MiseEnPage& mp, int v);
int16_t VScroll1_Change(MiseEnPage& mp, int v);

// A place of the picture as the two bar values, to put back on a later print.
struct PositionBarres {
    int16_t h = PositionDepart, v = PositionDepart;
};
// Both bars to that place, kept in their ranges, as the change handlers do.
void PlacerBarres(MiseEnPage& mp, PositionBarres p);

// The arrow table: left and top of the miniature for arrow 0 to 8, in pixels,
// before it is turned into bar values. 0 1 2 / 3 4 5 / 6 7 8 read as the page.
struct PositionMiniature {
    float gauche, haut;
};
PositionMiniature PositionFleche(const MiseEnPage& mp, int index);

// Arrow 0 to 8: bars to the whole parts of PositionFleche (kept in range),
// then the change handlers. Other indexes are ignored.
void AppliquerFleche(MiseEnPage& mp, int index);

// The miniature's rectangle in `PictPage` (size to the nearest pixel).
RectPixels RectMiniature(const MiseEnPage& mp);

// Where the picture's top-left corner lies on the paper, twips from the
// paper's top-left corner, for the present bar state.
struct PositionPapier {
    double x, y;
};
PositionPapier PositionSurPapier(const MiseEnPage& mp, const PageImprimante& page);

// The grid dividing the miniature page into quarters: three vertical lines
// (full height) at x[i], three horizontal lines (full width) at y[i].
struct GrillePage {
    std::array<int, 3> x, y;
};
GrillePage LignesGrille(int W = LargeurPictPage, int H = HauteurPictPage);
