#pragma once

// A zone of whole month blocks of the calendar image, in pixels of the image:
// ZoneX2 and ZoneY2 are the first column and row past the zone; RatioZone is
// its height divided by its width.
struct ZoneMois {
    int ZoneX1 = 0, ZoneY1 = 0, ZoneX2 = 0, ZoneY2 = 0;
    double RatioZone = 0;
    bool operator==(const ZoneMois&) const = default;
};
