#pragma once
// How console parameters become numbers: the longest leading number of the
// word, 0 when there is none. Only plain decimal numbers count (no "inf",
// "nan" or hexadecimal), and a number too large for its type gives 0, so no
// non-finite value can come from what the user types.

#include <string>

double realParameter(const std::string& word);
int integerParameter(const std::string& word);
