#pragma once
#include "commun/Twips.h"
#include "commun/ZoneMois.h"

// Selection of a zone of whole month blocks on the calendar image, in pixels
// of the image box.

// The press point and the release point of a left-button drag.
struct TraceZone {
    double SelX1 = 0, SelY1 = 0; // press
    double SelX2 = 0, SelY2 = 0; // release
    int LargMois = 209;          // one month block of the image
    int HautMois = 216;
};

// Orders each axis, takes each coordinate to the nearest whole number (halves
// to even), then snaps outwards: ZoneX1 = (SelX1 \ LargMois) x LargMois,
// ZoneX2 = (SelX2 \ LargMois) x LargMois + LargMois, the same down the rows,
// where \ drops the remainder (towards zero). A click without movement gives the
// block under the pointer; the zone may reach past the image when the button is
// released outside it. Coordinates are held within +-1 000 000 pixels; block
// sizes below 1 give an empty zone with RatioZone 0.
ZoneMois CalculerZone(const TraceZone& trace);
