#pragma once
#include <cstdint>
#include <optional>

#include "commun/Twips.h"
#include "commun/ZoneMois.h"

// What the preview, the print and the documents take from the calendar being
// edited: the printed size, the validated zone (if any), the grid colour
// (the zone's outline).
struct ReglagesSortie {
    int16_t LargeurTwips = 0, HauteurTwips = 0;
    std::optional<ZoneMois> zone;
    double CoulGrille = 0;
};

// Geometry of the preview window and of the zone picture that gets printed.

constexpr int LargeurFermeApercu = 1695;    // close button, twips
constexpr int HauteurFermeApercu = 375;

// Height / width factor of the output: the zone's own proportion with a zone,
// the sheet's otherwise.
double ProportionSortie(bool zoneChoisie, double ratioZone);

// `HauteurTwips` set at opening: `LargeurTwips` times the factor, to the
// nearest whole number (halves to even), kept within 16 bits (5103 -> 7221).
int16_t HauteurTwipsApercu(int16_t largeurTwips, bool zoneChoisie, double ratioZone);

// Value written into the height box at opening: the width box's value times
// the factor, to the nearest whole number (90 -> 127).
double HauteurBoiteApercu(double largeurMm, bool zoneChoisie, double ratioZone);

struct GeometrieApercu {
    int gauche, haut;                  // window's outer corner, twips (screen)
    int largeurFenetre, hauteurFenetre; // outer size with the fixed frame allowances
    RectTwips image;                   // `Pict2`: the picture at print size
    RectTwips boutonFermer;            // `FermeApercu`
    int contourX2, contourY2;          // outline from (0, 0) to here, twips of `Pict2`
};

// The window next to the main window's image. `gaucheFenetre`, `hautFenetre`:
// the main window's outer corner; `gauchePict1`: the image box's left in it.
// L x T: `LargeurTwips` x `HauteurTwips` (the latter from HauteurTwipsApercu).
GeometrieApercu CalculGeometrieApercu(int gaucheFenetre, int hautFenetre, int gauchePict1, int16_t L,
                                      int16_t T);

// The preview fitted into the screen's free area `ecran` (twips; without the
// task bars): when the window at print size does not fit it, the picture is
// scaled down (never up) so that the whole window, its button included, does.
// The window is moved inside the area. `L` x `T`: the picture's size in twips
// as shown; `pourcent`: that size against the print size (100 at true size).
struct ApercuAjuste {
    GeometrieApercu g;
    int16_t L, T;
    int pourcent;
};
ApercuAjuste AjusterApercu(int gaucheFenetre, int hautFenetre, int gauchePict1, int16_t L, int16_t T,
                           const RectTwips& ecran);

// Part of the calendar image that the preview shows and where it goes in the
// L x T picture. Without a zone: the whole image. With a zone: its rectangle
// and the 4 rows below it. Any part outside the image is cut
// off, and `destination` shrinks with it so the scale stays that of the whole
// rectangle (the cut-off part shows the background). `source` is empty (l or h
// 0) when nothing of the image is inside.
struct RectReel {
    double x, y, l, h;
};
struct SourceApercu {
    RectPixels source;   // pixels of the image, always inside it
    RectReel destination; // twips of `Pict2`
};
SourceApercu CalculSourceApercu(bool zoneChoisie, int zoneX1, int zoneY1, int zoneX2, int zoneY2, int L, int T);

// The zone picture `PictSel` built before printing a zone: 2 pixels wider and
// 6 higher than the zone, filled unscaled from the image from (zoneX1, zoneY1)
// on, with an outline from (0, 0) to (contourX2, contourY2). Only the part of
// the image that exists is copied (to `destX`, `destY`); the rest stays the
// background. All sizes are 0 for an empty or absurd zone.
struct ImageZone {
    int largeur, hauteur;           // pixels
    int largeurTwips, hauteurTwips; // at 15 twips per pixel: the size the miniature uses
    RectPixels source;              // pixels of the image copied, inside it (may be empty)
    int destX, destY;               // its place in `PictSel`
    int contourX2, contourY2;
};
ImageZone CalculImageZone(int zoneX1, int zoneY1, int zoneX2, int zoneY2);
