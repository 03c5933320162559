#include "gui/message_list.h"

#include <gtest/gtest.h>

#include "gui/message_box.h"

namespace {

const char kNotFound[] = "Message not found! (Index out of range)";

// A clock the test moves by hand.
struct FakeClock {
  int64_t now = 1000;
  MessageList::Clock clock() {
    return [this] { return now; };
  }
};

TEST(MessageListTest, NewestLineIsIndexZeroAndOutsideIndicesAreNotFound) {
  FakeClock t;
  MessageList list("Init", 0, t.clock());
  EXPECT_EQ(list.count(), 1);  // a new list is never empty
  list.addMessage("first");
  list.addMessage("second");
  EXPECT_EQ(list.messageAt(0), "second");
  EXPECT_EQ(list.messageAt(1), "first");
  EXPECT_EQ(list.messageAt(2),
            "List initialized. (Name: Init). This is a stupid unnecessary message.");
  EXPECT_EQ(list.messageAt(3), kNotFound);
  EXPECT_EQ(list.messageAt(-1), kNotFound);
}

TEST(MessageListExpiry, OneLineGoesPerLifetimeOnceTheClockPassesTheDeadline) {
  FakeClock t;  // created at 1000: first deadline 3000
  MessageList list("Status", 2, t.clock());
  list.addMessage("a");
  list.addMessage("b");
  t.now = 3000;  // not yet past the deadline
  list.tick();
  EXPECT_EQ(list.count(), 3);
  t.now = 3001;
  list.tick();
  EXPECT_EQ(list.count(), 2);
  EXPECT_EQ(list.messageAt(1), "a");  // the initial line was the oldest
  list.tick();                        // next deadline 5000
  EXPECT_EQ(list.count(), 2);
  t.now = 5001;
  list.tick();
  EXPECT_EQ(list.count(), 1);
  EXPECT_EQ(list.messageAt(0), "b");
  t.now = 7001;
  list.tick();
  EXPECT_EQ(list.count(), 0);
  t.now = 9001;
  list.tick();
  EXPECT_EQ(list.count(), 0);
}

TEST(MessageListExpiry, AfterAQuietSpellLinesGoOnePerTickUntilCaughtUp) {
  FakeClock t;  // deadline 3000
  MessageList list("Status", 2, t.clock());
  for (const char* text : {"a", "b", "c", "d"}) list.addMessage(text);
  t.now = 8000;  // deadlines 3000, 5000 and 7000 have passed, 9000 has not
  list.tick();
  EXPECT_EQ(list.count(), 4);
  list.tick();
  list.tick();
  EXPECT_EQ(list.count(), 2);
  list.tick();
  EXPECT_EQ(list.count(), 2);
}

TEST(MessageListExpiry, LifetimeZeroNeverExpires) {
  FakeClock t;
  MessageList list("Init", 0, t.clock());
  list.addMessage("kept");
  t.now = 1000000;
  for (int i = 0; i < 5; ++i) list.tick();
  EXPECT_EQ(list.count(), 2);
}

TEST(MessageBoxTest, CurrentListIsTheFirstAddedAndUpdateTicksEveryList) {
  FakeClock t;
  MessageBox box("Messages", 0, 0, 100, 200, t.clock());
  MessageList* init = box.currentList();
  MessageList* status = box.addList("Status", 1);
  EXPECT_EQ(box.currentList(), init);
  EXPECT_EQ(init->name(), "Init");
  t.now = 2001;
  box.update();
  EXPECT_EQ(status->count(), 0);
  EXPECT_EQ(init->count(), 1);
}

TEST(MessageBoxTest, VisibleLinesLeaveOneLineHeightSpare) {
  MessageBox tall("Messages", 0, 0, 100, 200);
  tall.update();
  EXPECT_EQ(tall.visibleLines(), 12);  // 200 / 15 - 1 = 12.33
  MessageBox console("Console Messages", 5, 35, 390, 135);
  console.update();
  EXPECT_EQ(console.visibleLines(), 8);  // 135 / 15 - 1
}

}  // namespace
