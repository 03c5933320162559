#pragma once
// Real numbers as the model file writes them ("%lf": six decimals, rounded
// exactly, ties to even), without going through printf. Every number of every
// undo snapshot passes through here, so the common case is integer arithmetic.

#include <cstddef>

// Longest text writeSixDecimals can produce: sign, 309 integer digits, point,
// six decimals.
constexpr size_t kMaxSixDecimalsChars = 1 + 309 + 1 + 6;

// Writes x exactly as printf("%.6f", x) would, without a terminator; returns
// the end of the text. `out` must have room for kMaxSixDecimalsChars.
char* writeSixDecimals(char* out, double x);
