#pragma once
#include <cstdint>

// A colour value is red + 256 * green + 65536 * blue (constants written
// 0x00BBGGRR), kept in a double and converted to the nearest 32-bit integer
// when it is applied.

// The largest colour value: white.
constexpr int CouleurMax = 0xFFFFFF;

// The colour value given to a control: the nearest 32-bit integer.
int32_t CouleurEntiere(double valeur);

// Red, green and blue of a colour value (low three bytes of the integer).
struct Rvb {
    int r, g, b;
};
Rvb VersRvb(double valeur);
constexpr double DeRvb(int r, int g, int b) { return r + 256.0 * g + 65536.0 * b; }
