// The writer's text, roundAsWritten and the reader agree bit for bit with printf and strtod.

#include <bit>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "formats/model_file.h"
#include "model/model_image.h"

namespace {

std::string printed(double x) {
  char text[400];
  std::snprintf(text, sizeof text, "%.6f", x);
  return text;
}

bool sameBits(double a, double b) {
  return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

// Exact ties (j / 128, odd half-millionths) and neighbours, signed zeros, both sides of
// the fast path's limit (2^31) up to the largest double, and random values.
TEST(SixDecimalsTest, WriterRoundingAndReaderAgreeWithPrintfAndStrtod) {
  std::vector<double> values = {-0.0,       5e-7,       -4.9999999e-7, 123.4565,
                                1e-300,     0x1p31,     0x1p31 - 0.5,  0x1p52,
                                0x1p53 + 2, 1e15 + 0.5, -1e20,         1.7976931348623157e308};
  for (int j = -4096; j <= 4096; ++j) values.insert(values.end(), {j / 128.0, (2 * j + 1) * 5e-7});
  for (double x : {0.5, 1000.0000005, 98765.4321005})
    for (double toward : {0.0, 1e9})
      for (int step = 0; step < 4; ++step) values.push_back(-(x = std::nextafter(x, toward)));
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  for (int i = 0; i < 200000; ++i)
    values.push_back(std::ldexp(mantissa(random), static_cast<int>(random() % 76) - 30));

  ModelImage image;
  image.groups.emplace_back();
  std::string expected = std::to_string(values.size()) + "\n";
  for (double x : values) {
    ASSERT_TRUE(sameBits(roundAsWritten(x), std::strtod(printed(x).c_str(), nullptr)))
        << printed(x);
    image.vertices.push_back(Vec3{x, -x, 0.5});
    expected += printed(x) + " " + printed(-x) + " 0.500000\n";
  }
  expected += "1\n0\n0\n1.000000 1.000000 1.000000 1.000000\n0\n";
  const std::string text = formatModelFile(image);
  ASSERT_TRUE(text == expected);  // too long to print
  ModelImage reread;
  ASSERT_TRUE(parseModelFile(text, reread));
  for (size_t i = 0; i < values.size(); ++i)
    ASSERT_TRUE(sameBits(reread.vertices[i].x, roundAsWritten(values[i]))) << printed(values[i]);
  EXPECT_EQ(roundAsWritten(-INFINITY), -INFINITY);
  EXPECT_TRUE(std::isnan(roundAsWritten(NAN)));
}

}  // namespace
