#include "gui/message_list.h"

#include <gtest/gtest.h>

#include "gui/message_box.h"

namespace {

const char kGreeting[] = "List initialized. (Name: Status). This is a stupid unnecessary message.";

TEST(MessageList, NewestLineIsIndexZeroAndOutsideIndicesAreNotFound) {
  MessageList list("Status", 0);
  list.addMessage("first");
  list.addMessage("second");
  const int indices[] = {0, 1, 2, 3, -1};
  const char* const texts[] = {"second", "first", kGreeting,
                               "Message not found! (Index out of range)",
                               "Message not found! (Index out of range)"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(list.messageAt(indices[i]), texts[i]) << indices[i];
}

// Lines go one per tick once the clock has passed the deadline, which then
// moves on by one lifetime, so after a quiet spell they drain one per tick.
TEST(MessageList, LinesExpireOnePerTickAfterEachDeadline) {
  int64_t now = 1000;
  MessageList list("Status", 2, [&] { return now; });  // first deadline 3000
  list.addMessage("a");
  list.addMessage("b");
  const struct {
    int64_t now;
    int count;
  } ticks[] = {{3000, 3}, {3001, 2}, {3001, 2}, {9001, 1}, {9001, 0}, {20000, 0}};
  for (const auto& t : ticks) {
    now = t.now;
    list.tick();
    EXPECT_EQ(list.count(), t.count) << t.now;
  }
  MessageList kept("Init", 0, [&] { return now; });  // a lifetime of 0 never expires
  now = 1000000;
  kept.tick();
  EXPECT_EQ(kept.count(), 1);
}

TEST(MessageBox, ShowsItsFirstListTicksEveryListAndFitsLinesOfFifteenPixels) {
  int64_t now = 1000;
  MessageBox box("Messages", 5, 35, 390, 135, [&] { return now; });
  MessageList* init = box.currentList();
  MessageList* status = box.addList("Status", 1);
  status->addMessage("b");
  EXPECT_EQ(box.currentList(), init);
  EXPECT_EQ(init->name(), "Init");
  now = 2001;
  box.update();
  EXPECT_EQ(status->count(), 1);  // the greeting went
  EXPECT_EQ(init->count(), 1);
  EXPECT_EQ(box.visibleLines(), 8);  // 135 / 15 - 1
  box.setHeight(200);
  box.update();
  EXPECT_EQ(box.visibleLines(), 12);  // 200 / 15 - 1, rounded down
}

}  // namespace
