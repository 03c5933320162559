#include "gui/text_entry.h"

#include <gtest/gtest.h>

#include <string>

#include "gui/text.h"
#include "gui/ui_context.h"

namespace {

// Types the keys; the finished line, or "-" when Enter finished none.
std::string typeAll(TextEntry& entry, const std::string& keys) {
  for (char c : keys) entry.typeKey(static_cast<unsigned char>(c));
  return entry.isLineReady() ? entry.takeLine() : "-";
}

TEST(TextEntry, BackspaceRemovesAndEnterFinishesANonEmptyLine) {
  TextEntry entry("Prompt", 5, 5, 390, 25);
  EXPECT_EQ(typeAll(entry, "\b\r"), "-");
  EXPECT_EQ(typeAll(entry, "ab\bc"), "-");
  EXPECT_EQ(entry.typed(), "ac" + std::string(TextEntry::kCapacity - 2, ' '));
  EXPECT_EQ(typeAll(entry, "\r"), "ac");
  EXPECT_EQ(entry.typed(), std::string(TextEntry::kCapacity, ' '));
  EXPECT_EQ(entry.takeLine(), "ac");  // taking it again gives the same text
  const std::string full(TextEntry::kCapacity, 'x');
  EXPECT_EQ(typeAll(entry, full + "y\bz\r"), full.substr(1) + "z");  // a full buffer ignores y
}

int narrowI(unsigned char c) {
  return c == 'i' ? 2 : 6;
}

TEST(ClippedLength, KeepsTheCharacterThatReachesTheLimitAndAlwaysTheFirst) {
  EXPECT_EQ(clippedLength("abcdefg", 24, narrowI), 4);  // 4 x 6 reaches 24 exactly
  EXPECT_EQ(clippedLength("abcdefg", 25, narrowI), 5);  // the 5th crosses 25 and is kept
  EXPECT_EQ(clippedLength("iiiiab", 10, narrowI), 5);   // 2 + 2 + 2 + 2 + 6: pixels, not characters
  EXPECT_EQ(clippedLength("abc", 100, narrowI), 3);
  EXPECT_EQ(clippedLength("", 20, narrowI), 0);
  EXPECT_EQ(clippedLength("abc", 0, narrowI), 1);
}

TEST(UiContext, CodesComeOutInTheOrderTheyWerePosted) {
  UiContext ui;
  for (int code : {3, 7, 3}) ui.pushCommand(code);
  std::string codes;
  for (int i = 0; i < 4; ++i) codes += std::to_string(ui.popCommand()) + " ";
  EXPECT_EQ(codes, "3 7 3 -1 ");
}

}  // namespace
