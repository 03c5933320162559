#include "formats/six_decimals.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "formats/model_file.h"
#include "model/model_image.h"

namespace {

// Below this magnitude x * 10^6 stays under 2^51, where adding and taking off
// 1.5 * 2^52 rounds to an integer (ties to even) and k ± 0.5 is exact.
constexpr double kFastLimit = 0x1p31;

// The integer nearest to the exact x * 10^6, ties to even, as a double. The
// product is rounded once; half-integers are representable here and rounding
// is monotonic, so the product lands on the exact value's side of every
// half-integer, unless it lands on one. Only then can the guess be wrong, and
// fma, which gives the sign of the exact distance to the two half-integers
// around the guess, settles it.
bool roundedMillionths(double x, double& millionths) {
  if (!(std::fabs(x) < kFastLimit)) return false;  // also NaN
  constexpr double kRoundingShift = 0x1.8p52;
  const double product = x * 1e6;
  const double k = (product + kRoundingShift) - kRoundingShift;
  if (std::fabs(product - k) != 0.5) {
    millionths = k;
    return true;
  }
  const double aboveUpperHalf = std::fma(x, 1e6, -(k + 0.5));
  const double aboveLowerHalf = std::fma(x, 1e6, -(k - 0.5));
  const bool odd = static_cast<int64_t>(k) & 1;
  if (aboveUpperHalf > 0 || (aboveUpperHalf == 0 && odd)) {
    millionths = k + 1;
  } else if (aboveLowerHalf < 0 || (aboveLowerHalf == 0 && odd)) {
    millionths = k - 1;
  } else {
    millionths = k;
  }
  return true;
}

char* writeWithCharconv(char* out, double x) {
  return std::to_chars(out, out + kMaxSixDecimalsChars, x, std::chars_format::fixed, 6).ptr;
}

}  // namespace

char* writeSixDecimals(char* out, double x) {
  double millionths;
  if (!roundedMillionths(x, millionths)) return writeWithCharconv(out, x);
  // printf keeps the sign of a negative number that rounds to zero.
  if (std::signbit(x)) *out++ = '-';
  const uint64_t magnitude = static_cast<uint64_t>(std::fabs(millionths));
  out = std::to_chars(out, out + 12, magnitude / 1000000).ptr;
  *out++ = '.';
  uint32_t fraction = static_cast<uint32_t>(magnitude % 1000000);
  for (int digit = 5; digit >= 0; --digit) {
    out[digit] = static_cast<char>('0' + fraction % 10);
    fraction /= 10;
  }
  return out + 6;
}

double roundAsWritten(double x) {
  double millionths;
  if (roundedMillionths(x, millionths)) {
    // Both operands are exact, so the quotient is the double nearest to the
    // written decimal, which is what reading it back gives.
    return std::copysign(millionths / 1e6, x);
  }
  if (!std::isfinite(x) || std::fabs(x) >= 0x1p52) return x;  // already whole
  char text[kMaxSixDecimalsChars];
  char* end = writeWithCharconv(text, x);
  double read = x;
  std::from_chars(text, end, read);
  return read;
}
