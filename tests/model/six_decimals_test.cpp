// Reals in model files: the text must be exactly what "%lf" prints, and
// roundAsWritten must be exactly what reading that text back gives.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/model_image.h"

namespace {

std::string printed(double x) {
  char text[400];
  std::snprintf(text, sizeof text, "%.6f", x);
  return text;
}

bool sameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Values around every decision the rounding makes: exact ties (j / 128 and
// odd halves of a millionth), near-ties either side, signs, zero, and
// magnitudes on both sides of the fast path's limit.
std::vector<double> trickyValues() {
  std::vector<double> values = {0.0,
                                -0.0,
                                1e-7,
                                -1e-7,
                                4.9999999e-7,
                                5e-7,
                                -5e-7,
                                5.000001e-7,
                                1.5e-6,
                                2.5e-6,
                                0.1,
                                -0.1,
                                1.0 / 3,
                                -2.0 / 3,
                                123.4565,
                                0.0000125,
                                1e-300,
                                -1e-300,
                                0x1p31,
                                -0x1p31,
                                0x1p31 - 0.5,
                                0x1p31 + 0.5,
                                0x1p33,
                                0x1p52,
                                0x1p53 + 2,
                                1e15 + 0.5,
                                1e20,
                                -1e20,
                                1.7976931348623157e308};
  for (int j = -4096; j <= 4096; ++j) values.push_back(j / 128.0);
  for (int j = -2000; j <= 2000; ++j) values.push_back((2 * j + 1) * 0.5e-6);
  for (double base : {0.5, 1.25, 1000.0000005, 98765.4321005}) {
    double below = base, above = base;
    for (int step = 0; step < 4; ++step) {
      below = std::nextafter(below, 0.0);
      above = std::nextafter(above, 1e9);
      values.insert(values.end(), {below, above, -below, -above});
    }
  }
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-30, 45);
  for (int i = 0; i < 200000; ++i) values.push_back(std::ldexp(mantissa(random), exponent(random)));
  return values;
}

TEST(SixDecimalsTest, RoundAsWrittenMatchesPrintingAndReadingBack) {
  for (double x : trickyValues()) {
    const double expected = std::strtod(printed(x).c_str(), nullptr);
    ASSERT_TRUE(sameBits(roundAsWritten(x), expected))
        << "x = " << printed(x) << " (" << std::hexfloat << x << ")";
  }
}

TEST(SixDecimalsTest, RoundAsWrittenKeepsNonFiniteValues) {
  EXPECT_EQ(roundAsWritten(INFINITY), INFINITY);
  EXPECT_EQ(roundAsWritten(-INFINITY), -INFINITY);
  EXPECT_TRUE(std::isnan(roundAsWritten(NAN)));
}

TEST(SixDecimalsTest, FileTextOfRealsIsWhatPrintfWrites) {
  std::vector<double> values = trickyValues();
  values.resize(values.size() - values.size() % 3);
  ModelImage image;
  image.groups.emplace_back();
  std::string expected = std::to_string(values.size() / 3) + "\n";
  for (size_t i = 0; i < values.size(); i += 3) {
    image.vertices.push_back(Vec3{values[i], values[i + 1], values[i + 2]});
    expected +=
        printed(values[i]) + " " + printed(values[i + 1]) + " " + printed(values[i + 2]) + "\n";
  }
  expected += "1\n0\n0\n1.000000 1.000000 1.000000 1.000000\n0\n";
  const std::string text = formatModelFile(image);
  const auto [differs, unused] =
      std::mismatch(text.begin(), text.end(), expected.begin(), expected.end());
  const size_t at = differs - text.begin();
  EXPECT_EQ(text.substr(at > 40 ? at - 40 : 0, 80), expected.substr(at > 40 ? at - 40 : 0, 80));
  EXPECT_EQ(text.size(), expected.size());
}

}  // namespace
