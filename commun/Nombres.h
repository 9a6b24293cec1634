#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Number conversions shared by the whole program.

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double ArrondiPair(double x);

// ArrondiPair, then clamped into the 16-bit / 32-bit signed range. `ok` (when
// given) tells whether the value fitted without clamping.
int16_t VersEntier16(double x, bool* ok = nullptr);
int32_t VersEntier32(double x, bool* ok = nullptr);

// Numeric value of a text: leading blanks (spaces, tabs), then the longest
// number at the start: optional sign, digits, decimal point, exponent (E or D),
// or "&H" hexadecimal / "&O" octal. Blanks inside the digits are skipped.
// 0 when no number starts the text.
double ValeurTexte(std::string_view texte);

// Quotient and remainder rounded towards minus infinity, so that dates before
// the epoch (and before year 0) behave like the others.
constexpr int64_t DivBas(int64_t a, int64_t b)
{
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

constexpr int64_t ModBas(int64_t a, int64_t b)
{
    return a - DivBas(a, b) * b;
}

// Decimal text of a whole or real number in its shortest form, without a leading
// blank ("8388736", "-1", "0.5").
std::string TexteNombre(double x);

// As TexteNombre with the sign position: one blank before a non-negative
// number, a minus sign before a negative one (" 8388736", "-1").
std::string TexteNombreSigne(double x);
