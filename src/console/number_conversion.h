#pragma once
// How console parameters become numbers: the longest leading number of the
// word, 0 when there is none. Only plain decimal numbers count (no "inf",
// "nan" or hexadecimal). An integer beyond the int range becomes the nearest
// one that fits; a real too large for a double gives 0, so no non-finite
// value can come from what the user types.

#include <string>

double realParameter(const std::string& word);
int integerParameter(const std::string& word);
