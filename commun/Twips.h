#pragma once
#include "commun/Nombres.h"

// Geometry is designed in twips; the screen it is made for has 15 twips per pixel.
constexpr int TwipsParPixel = 15;
constexpr double TwipsParMm = 56.7;
// The calendar image, pixels.
constexpr int LargeurImage = 628;
constexpr int HauteurImage = 866;
// Printed height of the whole sheet for its width.
constexpr double ProportionFeuille = 1.415;

struct RectTwips {
    int gauche, haut, largeur, hauteur;
};

// A rectangle in pixels: left, top, width, height.
struct RectPixels {
    int x = 0, y = 0, l = 0, h = 0;
    bool contient(int px, int py) const { return px >= x && px < x + l && py >= y && py < y + h; }
    bool operator==(const RectPixels&) const = default;
};

inline int TwipsVersPixels(double twips) { return static_cast<int>(ArrondiPair(twips / TwipsParPixel)); }
inline RectPixels VersPixels(const RectTwips& r)
{
    return {TwipsVersPixels(r.gauche), TwipsVersPixels(r.haut), TwipsVersPixels(r.largeur),
            TwipsVersPixels(r.hauteur)};
}
// Font sizes are given in points; on the 96-dpi design screen a point is 4/3 pixel.
inline int PointsVersPixels(double points) { return static_cast<int>(ArrondiPair(points * 96.0 / 72.0)); }
