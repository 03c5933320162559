#include "console/tokenizer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "console/number_conversion.h"

namespace {

using Words = std::vector<std::string>;

TEST(TokenizerTest, SplitsAtRunsOfBlanksOnly) {
  Tokenizer t;
  EXPECT_EQ(t.split("/save  model.txt "), (Words{"/save", "model.txt"}));
  EXPECT_EQ(t.split("/a\tb c"), (Words{"/a\tb", "c"}));  // a tab is part of a word
  EXPECT_EQ(t.split("   "), Words{});
  EXPECT_EQ(t.split(" /x"), (Words{"/x"}));
}

TEST(NumberConversionTest, ReadsTheLongestLeadingNumber) {
  EXPECT_DOUBLE_EQ(realParameter("2.5"), 2.5);
  EXPECT_DOUBLE_EQ(realParameter("-0.25abc"), -0.25);
  EXPECT_DOUBLE_EQ(realParameter("+3"), 3);
  EXPECT_DOUBLE_EQ(realParameter(".5"), 0.5);
  EXPECT_DOUBLE_EQ(realParameter("1e2"), 100);
  EXPECT_EQ(realParameter("abc"), 0);
  EXPECT_EQ(realParameter(""), 0);
  EXPECT_EQ(integerParameter("1.9"), 1);
  EXPECT_EQ(integerParameter("-12x"), -12);
  EXPECT_EQ(integerParameter("x12"), 0);
}

TEST(NumberConversionTest, NeverYieldsANonFiniteValue) {
  for (const char* word : {"inf", "-inf", "nan", "infinity", "1e999", "-1e999", "0x10"}) {
    double v = realParameter(word);
    EXPECT_TRUE(std::isfinite(v)) << word;
  }
  EXPECT_EQ(realParameter("1e999"), 0);
  EXPECT_EQ(integerParameter("99999999999999999999"), 0);
  EXPECT_EQ(integerParameter("2147483647"), 2147483647);
}

}  // namespace
