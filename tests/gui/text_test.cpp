#include "gui/text.h"

#include <gtest/gtest.h>

namespace {

int fivePixels(unsigned char) {
  return 5;
}
// A narrow 'i' shows that the limit counts pixels, not characters.
int narrowI(unsigned char c) {
  return c == 'i' ? 2 : 6;
}

TEST(ClippedLength, StopsAtTheCharacterThatReachesTheLimit) {
  EXPECT_EQ(clippedLength("abcdefg", 20, fivePixels), 4);  // 4 x 5 reaches 20 exactly
  EXPECT_EQ(clippedLength("abcdefg", 21, fivePixels), 5);  // the 5th crosses 21 and is kept
  EXPECT_EQ(clippedLength("iiiiab", 10, narrowI), 5);      // 2+2+2+2+6 = 14
}

TEST(ClippedLength, NarrowTextIsWholeAndEmptyTextIsNothing) {
  EXPECT_EQ(clippedLength("abc", 100, fivePixels), 3);
  EXPECT_EQ(clippedLength("", 20, fivePixels), 0);
}

TEST(ClippedLength, FirstCharacterIsDrawnEvenWithNoRoom) {
  EXPECT_EQ(clippedLength("abc", 0, fivePixels), 1);
}

}  // namespace
