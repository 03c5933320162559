#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "console_fixture.h"

namespace {

constexpr int kLeft = 0;

std::string trace(int cmd) {
  return "Processing Edit Command. Cmd = " + std::to_string(cmd) + " 3\n";
}

std::vector<int> drainQueue(UiContext& ui) {
  std::vector<int> codes;
  for (int code = ui.popCommand(); code != -1; code = ui.popCommand()) codes.push_back(code);
  return codes;
}

std::vector<Widget*> order(Panel& panel) {
  std::vector<Widget*> children;
  for (Widget* w : panel.children()) children.push_back(w);
  return children;
}

class ConsoleEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    c.panel->editCommand(3);  // edit mode on
    drainQueue(c.ui);
  }
  // Hovers the child under window (x, y), as a drawn frame would, and
  // presses the Up or Down square that then sits over its top-right corner.
  void pressSquare(int x, int y, bool up) {
    c.ui.setMousePosition(x, y);
    c.panel->updateHoveredChild();
    const Button* square = up ? c.panel->moveUpControl() : c.panel->moveDownControl();
    c.click(kLeft, static_cast<int>(c.panel->x() + square->x() + 5),
            static_cast<int>(c.panel->y() + square->y() + 5));
  }
  Console c;
};

TEST_F(ConsoleEdit, HoveringAChildPutsUpAndDownInsideItsTopRightCorner) {
  c.ui.setMousePosition(300, 200);  // over the message box
  c.panel->updateHoveredChild();
  EXPECT_EQ(c.panel->hoveredChild(), c.messages.get());
  EXPECT_EQ(c.panel->moveUpControl()->x(), 380);  // 5 + 390 - 10 - 5
  EXPECT_EQ(c.panel->moveUpControl()->y(), 155);  // 35 + 135 - 10 - 5
  EXPECT_EQ(c.panel->moveDownControl()->x(), 380);
  EXPECT_EQ(c.panel->moveDownControl()->y(), 142);  // 3 pixels below Up

  c.ui.setMousePosition(300, 290);  // title band: nothing hovered, squares stay
  c.panel->updateHoveredChild();
  EXPECT_EQ(c.panel->hoveredChild(), nullptr);
  EXPECT_EQ(c.panel->moveUpControl()->y(), 155);
}

TEST_F(ConsoleEdit, NothingIsHoveredOutsideEditMode) {
  c.panel->editCommand(3);
  c.ui.setMousePosition(300, 200);
  c.panel->updateHoveredChild();
  EXPECT_EQ(c.panel->hoveredChild(), nullptr);
}

TEST_F(ConsoleEdit, MoveUpOverThePromptPutsItAboveTheMessages) {
  pressSquare(200, 115, true);
  EXPECT_EQ(order(*c.panel), (std::vector<Widget*>{c.messages.get(), c.prompt.get()}));
  EXPECT_EQ(c.messages->y(), 5);
  EXPECT_EQ(c.prompt->y(), 145);
  EXPECT_EQ(drainQueue(c.ui), std::vector<int>{1});
}

TEST_F(ConsoleEdit, MoveDownOverTheLowestChildChangesNothing) {
  pressSquare(200, 115, false);
  EXPECT_EQ(order(*c.panel), (std::vector<Widget*>{c.prompt.get(), c.messages.get()}));
  EXPECT_EQ(c.prompt->y(), 5);
  EXPECT_EQ(drainQueue(c.ui), std::vector<int>{2});
}

TEST_F(ConsoleEdit, EditModeOffMovesNothingButStillTracesAndPosts) {
  c.ui.setMousePosition(200, 115);
  c.panel->updateHoveredChild();  // squares now over the prompt
  c.panel->editCommand(3);        // edit mode off
  drainQueue(c.ui);
  std::fflush(stdout);
  testing::internal::CaptureStdout();
  c.click(kLeft, 100 + 385, 100 + 20);  // Up square
  std::fflush(stdout);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), trace(1));
  EXPECT_EQ(order(*c.panel), (std::vector<Widget*>{c.prompt.get(), c.messages.get()}));
  EXPECT_EQ(drainQueue(c.ui), std::vector<int>{1});
}

// A tall child A under two short ones:       after Up over A:
//   C  95..115                                 C  95..115
//   B  70..90                                  A  30..90   <- pointer at y 40
//   A   5..65   <- pointer at y 40             B   5..25
// A is still under the pointer after the swap; the walk must stop anyway, or
// A would be swapped again past C.
TEST(PanelEdit, OnePressMovesAtMostOneChildOnePlace) {
  UiContext ui;
  ui.setTitleBarHeight(20);
  Panel panel("Stack", 0, 0, 100, 200, &ui);
  panel.configure(1, 1, 1);
  TextEntry a("A", 5, 0, 90, 60), b("B", 5, 0, 90, 20), cc("C", 5, 0, 90, 20);
  for (TextEntry* e : {&cc, &b, &a}) panel.addEntry(e);
  panel.stackChildren();
  panel.editCommand(3);
  ui.setMousePosition(50, 40);
  panel.editCommand(1);
  EXPECT_EQ(order(panel), (std::vector<Widget*>{&b, &a, &cc}));
  EXPECT_EQ(a.y(), 30);
  EXPECT_EQ(cc.y(), 95);
}

TEST(PanelControls, FirstPressOnTheMinimiseSquareReachesUpAndDownToo) {
  Console c;
  std::fflush(stdout);
  testing::internal::CaptureStdout();
  c.click(kLeft, 100 + 10, 100 + 190);  // minimise square at (5, 185)
  std::fflush(stdout);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), trace(2) + trace(1) + trace(0));
  EXPECT_EQ(drainQueue(c.ui), (std::vector<int>{2, 1, 0}));
  EXPECT_EQ(c.panel->isMinimised(), 1);
  EXPECT_EQ(order(*c.panel), (std::vector<Widget*>{c.prompt.get(), c.messages.get()}));

  // The square now sits at (5, 10) of the 25-pixel strip at y 275.
  std::fflush(stdout);
  testing::internal::CaptureStdout();
  c.click(kLeft, 100 + 10, 275 + 15);
  std::fflush(stdout);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), trace(0));
  EXPECT_EQ(drainQueue(c.ui), std::vector<int>{0});
  EXPECT_EQ(c.panel->isMinimised(), 0);
  EXPECT_EQ(c.panel->y(), 100);
}

}  // namespace
