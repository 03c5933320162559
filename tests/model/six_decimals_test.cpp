// Reals in model files: the text must be exactly what "%lf" prints, and
// roundAsWritten exactly what reading that text back gives.

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

// Around every decision the rounding makes: exact ties (j / 128, odd halves
// of a millionth), their neighbours, signed zeros, and magnitudes on both
// sides of the fast path's limit (2^31), up to the largest double.
std::vector<double> trickyValues() {
  std::vector<double> values = {-0.0,       5e-7,         -4.9999999e-7, 123.4565,
                                1e-300,     0x1p31 - 0.5, 0x1p31,        0x1p52,
                                0x1p53 + 2, 1e15 + 0.5,   -1e20,         1.7976931348623157e308};
  for (int j = -4096; j <= 4096; ++j) values.insert(values.end(), {j / 128.0, (2 * j + 1) * 5e-7});
  for (double x : {0.5, 1000.0000005, 98765.4321005}) {
    for (double toward : {0.0, 1e9}) {
      for (int step = 0; step < 4; ++step) values.push_back(-(x = std::nextafter(x, toward)));
    }
  }
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-30, 45);
  for (int i = 0; i < 200000; ++i) values.push_back(std::ldexp(mantissa(random), exponent(random)));
  return values;
}

TEST(SixDecimalsTest, RoundAsWrittenIsPrintingAndReadingBack) {
  for (double x : trickyValues()) {
    const double expected = std::strtod(printed(x).c_str(), nullptr);
    const double rounded = roundAsWritten(x);
    ASSERT_EQ(std::memcmp(&rounded, &expected, sizeof rounded), 0)
        << printed(x) << " (" << std::hexfloat << x << ")";
  }
  EXPECT_EQ(roundAsWritten(-INFINITY), -INFINITY);
  EXPECT_TRUE(std::isnan(roundAsWritten(NAN)));
}

TEST(SixDecimalsTest, FileTextOfRealsIsWhatPrintfWrites) {
  ModelImage image;
  image.groups.emplace_back();
  std::string expected;
  for (double x : trickyValues()) {
    image.vertices.push_back(Vec3{x, -x, 0.5});
    expected += printed(x) + " " + printed(-x) + " 0.500000\n";
  }
  expected = std::to_string(image.vertices.size()) + "\n" + expected +
             "1\n0\n0\n1.000000 1.000000 1.000000 1.000000\n0\n";
  const std::string text = formatModelFile(image);
  const size_t differs =
      std::mismatch(text.begin(), text.end(), expected.begin(), expected.end()).first -
      text.begin();
  EXPECT_EQ(text.substr(differs > 40 ? differs - 40 : 0, 80),
            expected.substr(differs > 40 ? differs - 40 : 0, 80));
  EXPECT_EQ(text.size(), expected.size());
}

}  // namespace
