#include "gui/text_entry.h"

#include <gtest/gtest.h>

#include <string>

#include "gui/ui_context.h"

namespace {

const std::string kAllSpaces(TextEntry::kCapacity, ' ');

void typeAll(TextEntry& entry, const std::string& keys) {
  for (char c : keys) entry.typeKey(static_cast<unsigned char>(c));
}

TEST(TextEntryTyping, BackspaceRemovesAndEnterFinishesTheLine) {
  TextEntry entry("Prompt", 5, 5, 390, 25);
  typeAll(entry, "ab\bc");
  EXPECT_EQ(entry.typed().substr(0, 3), "ac ");
  entry.typeKey('\r');
  EXPECT_EQ(entry.isLineReady(), 1);
  EXPECT_EQ(entry.length(), 0);
  EXPECT_EQ(entry.typed(), kAllSpaces);
  EXPECT_EQ(entry.takeLine(), "ac");
}

TEST(TextEntryTyping, EnterAndBackspaceOnAnEmptyEntryChangeNothing) {
  TextEntry entry("Prompt", 5, 5, 390, 25);
  entry.typeKey('\b');
  entry.typeKey('\r');
  EXPECT_EQ(entry.length(), 0);
  EXPECT_EQ(entry.isLineReady(), 0);
  EXPECT_EQ(entry.typed(), kAllSpaces);
}

TEST(TextEntryTyping, LineHasNoPaddingAndTakingItTwiceGivesTheSameText) {
  TextEntry entry("Prompt", 5, 5, 390, 25);
  typeAll(entry, "/polycount\r");
  EXPECT_EQ(entry.takeLine(), "/polycount");
  EXPECT_EQ(entry.isLineReady(), 0);
  EXPECT_EQ(entry.takeLine(), "/polycount");
}

TEST(TextEntryTyping, FullBufferIgnoresFurtherCharacters) {
  TextEntry entry("Prompt", 5, 5, 390, 25);
  typeAll(entry, std::string(TextEntry::kCapacity, 'x'));
  entry.typeKey('y');
  EXPECT_EQ(entry.length(), TextEntry::kCapacity);
  EXPECT_EQ(entry.typed(), std::string(TextEntry::kCapacity, 'x'));
  typeAll(entry, "\bz\r");
  EXPECT_EQ(entry.takeLine(), std::string(TextEntry::kCapacity - 1, 'x') + "z");
}

TEST(UiContextQueue, CodesComeOutInTheOrderTheyWerePosted) {
  UiContext ui;
  EXPECT_EQ(ui.popCommand(), -1);
  ui.pushCommand(3);
  ui.pushCommand(7);
  ui.pushCommand(3);
  EXPECT_EQ(ui.popCommand(), 3);
  EXPECT_EQ(ui.popCommand(), 7);
  EXPECT_EQ(ui.popCommand(), 3);
  EXPECT_EQ(ui.popCommand(), -1);
}

}  // namespace
