#include "console/number_conversion.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

namespace {
// Skips a leading '+', which from_chars does not accept.
const char* numberStart(const std::string& word) {
  const char* p = word.c_str();
  if (*p == '+' && (p[1] == '-' || p[1] == '+')) return nullptr;
  return *p == '+' ? p + 1 : p;
}
}  // namespace

double realParameter(const std::string& word) {
  const char* p = numberStart(word);
  if (!p) return 0;
  const char* digits = (*p == '-') ? p + 1 : p;
  if (!(*digits >= '0' && *digits <= '9') && *digits != '.') return 0;
  double value = 0;
  auto [end, error] =
      std::from_chars(p, word.c_str() + word.size(), value, std::chars_format::general);
  if (error != std::errc() || !std::isfinite(value)) return 0;
  return value;
}

int integerParameter(const std::string& word) {
  const char* p = numberStart(word);
  if (!p) return 0;
  long long value = 0;
  auto [end, error] = std::from_chars(p, word.c_str() + word.size(), value);
  // Digits beyond the range of any integer still say which end they lie at.
  if (error == std::errc::result_out_of_range) return *p == '-' ? INT_MIN : INT_MAX;
  if (error != std::errc()) return 0;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}
