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

// True when the whole text (blanks around allowed) is a number for ValeurTexte.
bool EstNombre(std::string_view texte);

// Decimal text of a whole or real number in its shortest form, without a leading
// blank ("8388736", "-1", "0.5").
std::string TexteNombre(double x);

// As TexteNombre with the sign position: one blank before a non-negative
// number, a minus sign before a negative one (" 8388736", "-1").
std::string TexteNombreSigne(double x);
