#include "console/number_conversion.h"

#include <gtest/gtest.h>

namespace {

// The longest leading decimal number, integers beyond the int range clamped; else 0.
TEST(NumberConversionTest, ReadsTheLongestLeadingNumberOrZero) {
  struct Case {
    const char* word;
    double real;
    int integer;
  };
  // clang-format off
  const Case cases[] = {
      {"2.5", 2.5, 2}, {"-0.25abc", -0.25, 0}, {"+3", 3, 3}, {".5", 0.5, 0}, {"0.5", 0.5, 0},
      {"9", 9, 9}, {"1e2", 100, 1}, {"-12x", -12, -12}, {"abc", 0, 0}, {"", 0, 0},
      {"+-1", 0, 0}, {"inf", 0, 0}, {"nan", 0, 0}, {"1e999", 0, 1}, {"-1e999", 0, -1},
      {"0x10", 0, 0}, {"2147483647", 2147483647, 2147483647}, {"99999999999999999999", 1e20, 2147483647},
      {"-5000000000", -5e9, -2147483647 - 1},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(realParameter(c.word), c.real) << c.word;
    EXPECT_EQ(integerParameter(c.word), c.integer) << c.word;
  }
}

}  // namespace
