#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "console_fixture.h"

namespace {

constexpr int kLeft = 0, kMiddle = 1, kRight = 2;
constexpr int kDown = 0, kUp = 1;

void expectRect(const Widget& w, double x, double y, double width, double height) {
  EXPECT_EQ(w.x(), x) << w.name();
  EXPECT_EQ(w.y(), y) << w.name();
  EXPECT_EQ(w.width(), width) << w.name();
  EXPECT_EQ(w.height(), height) << w.name();
}

TEST(PanelLayout, ConsoleStacksThePromptLowestAndStretchesTheMessages) {
  Console c;
  expectRect(*c.prompt, 5, 5, 390, 25);
  expectRect(*c.messages, 5, 35, 390, 135);
  // 200 - (2 * 5 + 20 + 25) - 2 * 5
  EXPECT_EQ(c.panel->stretchSpace(), 135);
  EXPECT_EQ(c.panel->children().headItem(), c.prompt.get());
}

TEST(PanelLayout, OutsideLabelsReserveRoomWhenShown) {
  Console c;
  c.prompt->showLabel();  // outside, so 12 pixels above it are kept free
  EXPECT_EQ(c.panel->stretchSpace(), 123);
  c.panel->stackChildren();
  EXPECT_EQ(c.messages->y(), 47);
}

class PanelMove : public ::testing::Test {
 protected:
  // Grabs the title band 50 right of the corner and 190 above it.
  void SetUp() override {
    c.ui.setMousePosition(150, 290);
    c.ui.setButton(kLeft, kDown);
    c.panel->mouseButton(kLeft, kDown);
  }
  void dragTo(int x, int y) {
    c.ui.setMousePosition(x, y);
    c.panel->update();
  }
  Console c;
};

TEST_F(PanelMove, FollowsThePointerKeepingTheGrabOffset) {
  ASSERT_EQ(c.panel->isMoving(), 1);
  dragTo(200, 300);
  EXPECT_EQ(c.panel->x(), 150);
  EXPECT_EQ(c.panel->y(), 110);
}

TEST_F(PanelMove, StopsWithItsEdgesOnTheWindowEdges) {
  dragTo(700, 595);
  EXPECT_EQ(c.panel->x(), 400);  // 800 - 400
  EXPECT_EQ(c.panel->y(), 400);  // 600 - 200
  dragTo(10, 20);
  EXPECT_EQ(c.panel->x(), 0);
  EXPECT_EQ(c.panel->y(), 0);
}

TEST_F(PanelMove, EndsOnReleaseInTheBandOnRightReleaseOrWhenTheButtonIsUp) {
  c.panel->mouseButton(kLeft, kUp);
  EXPECT_EQ(c.panel->isMoving(), 0);

  c.panel->mouseButton(kLeft, kDown);
  c.panel->buttonReleased(kRight);
  EXPECT_EQ(c.panel->isMoving(), 0);

  c.panel->mouseButton(kLeft, kDown);
  c.ui.setButton(kLeft, kUp);
  dragTo(200, 300);  // the last update still follows the pointer, then ends
  EXPECT_EQ(c.panel->isMoving(), 0);
  dragTo(300, 300);
  EXPECT_EQ(c.panel->x(), 150);
}

TEST(PanelMoveStart, PressInTheBodyDoesNotMove) {
  Console c;
  c.ui.setMousePosition(450, 200);
  EXPECT_EQ(c.panel->mouseButton(kLeft, kDown), 0);
  EXPECT_EQ(c.panel->isMoving(), 0);
  EXPECT_EQ(c.ui.popCommand(), -1);
}

TEST(PanelResize, MiddleDragLeftAndDownGrowsAboutTheCentre) {
  Console c;
  c.ui.setMousePosition(300, 200);
  c.ui.setButton(kMiddle, kDown);
  c.panel->mouseButton(kMiddle, kDown);
  ASSERT_EQ(c.panel->isResizing(), 1);
  c.ui.setMousePosition(290, 190);
  c.ui.setButton(kMiddle, kUp);
  c.panel->mouseButton(kMiddle, kUp);

  EXPECT_EQ(c.panel->isResizing(), 0);
  expectRect(*c.panel, 90, 90, 420, 220);
  EXPECT_EQ(c.panel->savedHeight(), 220);
  // The prompt keeps its height, the messages take the whole new stretch space.
  expectRect(*c.prompt, 5, 5, 410, 25);
  expectRect(*c.messages, 5, 35, 410, 155);
  expectRect(*c.panel->minimiseControl(), 5, 205, 10, 10);
  expectRect(*c.panel->editControl(), 405, 205, 10, 10);
}

TEST(PanelResize, UpdateFinishesAResizeWhoseButtonWentUpUnseen) {
  Console c;
  c.ui.setMousePosition(300, 200);
  c.ui.setButton(kMiddle, kDown);
  c.panel->mouseButton(kMiddle, kDown);
  c.ui.setMousePosition(310, 210);  // right and up: shrink by 20
  c.panel->update();
  EXPECT_EQ(c.panel->isResizing(), 1);
  c.ui.setButton(kMiddle, kUp);
  c.panel->update();
  EXPECT_EQ(c.panel->isResizing(), 0);
  expectRect(*c.panel, 110, 110, 380, 180);
}

TEST(PanelResize, NotResizableOrMinimisedKeepsItsSize) {
  Console c;
  c.panel->configure(0, 1, 1);
  c.ui.setMousePosition(300, 200);
  c.panel->mouseButton(kMiddle, kDown);
  EXPECT_EQ(c.panel->isResizing(), 1);  // the preview still shows
  c.ui.setMousePosition(280, 180);
  c.panel->buttonReleased(kMiddle);
  EXPECT_EQ(c.panel->isResizing(), 0);
  expectRect(*c.panel, 100, 100, 400, 200);

  c.panel->configure(1, 1, 1);
  c.panel->setMinimised(1);
  c.panel->mouseButton(kMiddle, kDown);
  EXPECT_EQ(c.panel->isResizing(), 0);
}

TEST(PanelMinimise, KeepsTheTopEdgeAndRestoresTheSavedHeight) {
  Console c;
  c.panel->setMinimised(1);
  EXPECT_EQ(c.panel->isMinimised(), 1);
  expectRect(*c.panel, 100, 275, 400, 25);
  EXPECT_EQ(c.panel->minimiseControl()->y(), 10);
  c.panel->setMinimised(0);
  expectRect(*c.panel, 100, 100, 400, 200);
  EXPECT_EQ(c.panel->minimiseControl()->x(), 5);
  EXPECT_EQ(c.panel->minimiseControl()->y(), 185);
}

TEST(PanelMinimise, DoesNothingOnAPanelThatIsNotMinimisable) {
  Console c;
  c.panel->configure(1, 1, 0);
  c.panel->setMinimised(1);
  EXPECT_EQ(c.panel->isMinimised(), 0);
  expectRect(*c.panel, 100, 100, 400, 200);
}

class MenuPage : public ::testing::Test {
 protected:
  void build(int count, int withTitle) {
    for (int i = 0; i < count; ++i) {
      owned.push_back(std::make_unique<Button>("Item", 0, 0, 100, 50, 4 + i, 0));
      items.pushFront(owned.back().get());
    }
    page = std::make_unique<Panel>("Menu :J", 100, 100, 100, 200, &ui);
    page->makeMenu(&items, 180, withTitle, 18);
  }
  UiContext ui;
  std::vector<std::unique_ptr<Button>> owned;
  List<Button> items;
  std::unique_ptr<Panel> page;
};

TEST_F(MenuPage, ElevenRowsUnderATitleStackFirstItemOnTop) {
  build(11, 1);
  EXPECT_EQ(page->height(), 218);  // 11 x 18 + 20
  EXPECT_EQ(page->width(), 180);
  EXPECT_EQ(page->margin(), 0);
  EXPECT_EQ(&page->buttons(), &items);
  EXPECT_EQ(page->isResizable() + page->isEditable() + page->isMinimisable(), 0);
  expectRect(*items.headItem(), 0, 180, 180, 18);  // directly under the band
  expectRect(*items.tailItem(), 0, 0, 180, 18);    // on the bottom edge
  EXPECT_EQ(items.headItem()->labelAlignX(), 0);
  EXPECT_EQ(items.headItem()->labelAlignY(), 2);
}

TEST_F(MenuPage, EmptyPageIsJustItsTitleBand) {
  build(0, 1);
  EXPECT_EQ(page->height(), 20);
  EXPECT_EQ(page->children().count(), 0);
}

TEST_F(MenuPage, PressOnARowPostsItsCodeAndReportsTheHit) {
  build(3, 1);  // items from the head: 6 (top row), 5, 4 (bottom row)
  ui.setMousePosition(150, 109);
  EXPECT_EQ(page->mouseButton(kLeft, kDown), 1);
  EXPECT_EQ(ui.popCommand(), 4);
  EXPECT_EQ(ui.popCommand(), -1);
  ui.setMousePosition(150, 145);
  EXPECT_EQ(page->mouseButton(kLeft, kDown), 1);
  EXPECT_EQ(ui.popCommand(), 6);
}

TEST(PanelPress, ToggleButtonFlipsBeforeItsCodeIsPosted) {
  UiContext ui;
  Button toggle("Wire", 0, 0, 100, 50, 9, 1);
  List<Button> items;
  items.pushFront(&toggle);
  Panel page("Page", 0, 0, 100, 200, &ui);
  page.makeMenu(&items, 100, 0, 20);
  ui.setMousePosition(50, 10);
  page.mouseButton(kLeft, kDown);
  EXPECT_EQ(toggle.isChecked(), 1);
  EXPECT_EQ(ui.popCommand(), 9);
}

TEST(PanelPress, LeftPressOnTheEntryFocusesIt) {
  Console c;
  c.ui.setMousePosition(200, 115);
  c.panel->mouseButton(kMiddle, kDown);
  EXPECT_EQ(c.ui.focusedEntry(), nullptr);
  c.panel->mouseButton(kLeft, kDown);
  EXPECT_EQ(c.ui.focusedEntry(), c.prompt.get());
}

}  // namespace
