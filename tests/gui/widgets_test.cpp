// The toolkit's leaf widgets on their own: geometry, labels, typing, messages.

#include <gtest/gtest.h>

#include <string>

#include "gui/message_box.h"
#include "gui/message_list.h"
#include "gui/text.h"
#include "gui/text_entry.h"
#include "gui/widget.h"

namespace {

// At (10, 20), 100 x 40, margin 5, offset (100, 200): x 110..210, y 220..260; "abc" 21 wide.
TEST(Widget, LabelPlacementForEveryAlignmentInsideAndOutside) {
  const struct {
    int alignX, alignY, outside;
    double x, y;
  } cases[] = {
      {0, 0, 0, 115, 243},    // left, top inside: below the top edge by font + margin
      {-1, -1, 0, 115, 243},  // never set: left, top
      {1, 1, 0, 160, 240},    // middle starts at the middle, it is not centred
      {2, 2, 0, 184, 225},    // right: 210 - 21 - 5; bottom: 220 + 5
      {0, 0, 1, 115, 265},    // top outside: above the rectangle by the margin
      {1, 1, 1, 160, 240},    // middle outside: same as inside
      {2, 2, 1, 184, 208},    // bottom outside: one font height below
      {2, 1, 2, 0, 0},        // of unknown placement: not placed
      {2, 1, 3, 0, 0},        // hidden: not placed
  };
  auto sevenWide = [](const std::string& text) { return 7 * static_cast<int>(text.size()); };
  for (const auto& c : cases) {
    Widget w(10, 20, 100, 40, "abc");
    if (c.alignX >= 0) w.setLabelAlignment(c.alignX, c.alignY);
    w.setLabelAlignment(3, -1);  // values outside 0..2 leave that axis as it was
    c.outside == 3 ? w.hideLabel() : w.setLabelOutside(c.outside);
    double x = 0, y = 0;
    EXPECT_EQ(w.labelPosition(100, 200, sevenWide, &x, &y), c.outside < 2);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(c.x, c.y)) << c.alignX << c.alignY << c.outside;
  }
}

TEST(Widget, RatiosFollowTheHolderByMode) {
  const struct {
    int mode;
    double width, height;
  } cases[] = {{kKeepSize, 30, 40}, {kProportionalSize, 60, 80}, {kFillSize, 200, 160}};
  for (const auto& c : cases) {
    Widget w(10, 20, 30, 40, "w");
    w.setWidthMode(c.mode), w.setHeightMode(c.mode);
    w.recordRatios(100, 80), w.applyRatios(200, 160);  // a holder twice as large
    EXPECT_EQ(std::vector<double>({w.x(), w.y(), w.width(), w.height()}),
              std::vector<double>({20, 40, c.width, c.height}))
        << "mode " << c.mode;
  }
}

TEST(TextEntry, BackspaceRemovesAndEnterFinishesANonEmptyLine) {
  TextEntry entry("Prompt", 5, 5, 390, 25);
  auto typeAll = [&](const std::string& keys) {
    for (char c : keys) entry.typeKey(static_cast<unsigned char>(c));
    return entry.isLineReady() ? entry.takeLine() : "-";  // "-": no line finished
  };
  EXPECT_EQ(typeAll("\b\r"), "-");
  EXPECT_EQ(typeAll("ab\bc"), "-");
  EXPECT_EQ(entry.typed(), "ac" + std::string(TextEntry::kCapacity - 2, ' '));
  EXPECT_EQ(typeAll("\r"), "ac");
  EXPECT_EQ(entry.typed(), std::string(TextEntry::kCapacity, ' '));
  EXPECT_EQ(typeAll("p\rq\r"), "p");  // lines entered before any is taken wait in order
  EXPECT_EQ(typeAll(""), "q");
  EXPECT_EQ(typeAll(""), "-");
  const std::string full(TextEntry::kCapacity, 'x');
  EXPECT_EQ(typeAll(full + "y\bz\r"), full.substr(1) + "z");  // a full buffer ignores y
}

// Pixels, not characters: the character that reaches the limit is kept, and always the first.
TEST(ClippedLength, KeepsTheCharacterThatReachesTheLimitAndAlwaysTheFirst) {
  auto narrowI = [](unsigned char c) { return c == 'i' ? 2 : 6; };
  const std::pair<const char*, int> cases[][2] = {
      {{"abcdefg", 24}, {"", 4}}, {{"abcdefg", 25}, {"", 5}}, {{"iiiiab", 10}, {"", 5}},
      {{"abc", 100}, {"", 3}},    {{"abc", 0}, {"", 1}},      {{"", 20}, {"", 0}}};
  for (const auto& c : cases)
    EXPECT_EQ(clippedLength(c[0].first, c[0].second, narrowI), c[1].second) << c[0].first;
}

TEST(MessageList, NewestLineIsIndexZeroAndOutsideIndicesAreNotFound) {
  MessageList list("Status", 0);
  list.addMessage("first");
  list.addMessage("second");
  std::string texts;
  for (int i : {0, 1, 2, 3, -1}) texts += list.messageAt(i) + "|";
  EXPECT_EQ(texts,
            "second|first|List initialized. (Name: Status). This is a stupid unnecessary message.|"
            "Message not found! (Index out of range)|Message not found! (Index out of range)|");
}

// One line goes per tick past the deadline, which then moves on by one lifetime; the time until
// then (what the window's timer waits) is 0 once a line is due, -1 when none ever will be.
TEST(MessageList, LinesExpireOnePerTickAfterEachDeadline) {
  int64_t now = 1000;
  MessageList list("Status", 2, [&] { return now; });  // first deadline 3000
  list.addMessage("a");
  list.addMessage("b");
  MessageList kept("Init", 0, [&] { return now; });  // a lifetime of 0 never expires
  std::string counts, waits;
  for (int64_t t : {3000, 3001, 3001, 9001, 9001, 20000}) {
    now = t;
    waits += std::to_string(list.msUntilExpiry()) + " ";
    list.tick();
    kept.tick();
    counts += std::to_string(list.count()) + std::to_string(kept.count()) + " ";
  }
  EXPECT_EQ(counts, "31 21 21 11 01 01 ");
  EXPECT_EQ(waits, "1 0 2000 0 0 -1 ");
  EXPECT_EQ(kept.msUntilExpiry(), -1);
}

// A box 40 x 60 shows its first list in 3 rows of 15 pixels, 30 wide (each character 6, 'i' 2),
// the newest at the bottom: a row ends before its last spaces that fit, a word wider than a row
// breaks where it would cross. It scrolls back by rows no further than the top of the oldest
// line, and forward to the newest; it ticks every list it holds.
TEST(MessageBox, ShowsItsFirstListInWrappedRowsScrollsWithinThemAndTicksEveryList) {
  int64_t now = 1000;
  MessageBox box("Messages", 5, 35, 40, 60, [&] { return now; });
  MessageList* status = box.addList("Status", 1);
  for (const char* line : {"iiiiiiiiiiiiiii x", "one   two three", "four"})
    box.currentList()->addMessage(line);
  box.update();
  std::string seen;
  for (int rows : {0, 3, 1000, -1, -1000}) {
    box.scrollBy(rows);
    for (const std::string& row : box.shownRows([](unsigned char c) { return c == 'i' ? 2 : 6; }))
      seen += row + "|";
    seen += " ";
  }
  EXPECT_EQ(seen,
            "four|three|two| one|x|iiiiiiiiiiiiiii| ized.|initial|List| (Name|ized.|initial| "
            "four|three|two| ");
  now = 2001;
  box.update();
  EXPECT_EQ(status->count() * 10 + box.currentList()->count(), 4);  // the greeting went
}

}  // namespace
