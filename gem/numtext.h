// Number texts shared by files, the drawing and the dialogs: always a point, never a thousands separator.
#pragma once

#include "gem/vector3.h"

#include <string>

// v rounded to d decimals (nearest, ties to even, on the exact binary value), right-aligned in a
// field of at least w characters; a wider value is written in full. A zero never carries a minus.
std::string fixed(Real v, int w, int d);

// fixed(v, w, d) with every blank among its first w characters turned into "0".
std::string ZeroPadded(Real v, int w, int d);

// Two decimals when |v| is not a whole number at two decimals, else the whole number in a field of 5.
std::string NumberText(Real v);

// Integer written without blanks.
std::string IntText(long long v);

// The text right-aligned in a field of w characters (never cut).
std::string PadLeft(const std::string& s, int w);

// Blanks removed at both ends / at the end.
std::string Trim(const std::string& s);
std::string TrimRight(const std::string& s);

// Rounds to the nearest whole number, ties to even.
Real RoundEven(Real v);
