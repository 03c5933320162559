// Moving, resizing, minimising and editing a panel, on the console panel as
// built: 400 x 200 at (100, 100), its title band at y 280..300 (y up).

#include <gtest/gtest.h>

#include "gui/console_panel.h"
#include "support/editor_fixture.h"
#include "support/fixtures.h"

namespace {

constexpr int kLeft = kLeftButton, kMiddle = kMiddleButton, kDown = kButtonDown, kUp = kButtonUp;
constexpr char kAsBuilt[] =
    "100,100 400x200 | 5,5 390x25 | 5,35 390x135 | 5,185 10x10 385,185 10x10";

class PanelTest : public EditorTest {
 protected:
  void at(int x, int y) { ui.setMousePosition(x, y); }
  void button(int b, int state) {
    ui.setButton(b, state);
    console.mouseButton(b, state);
  }
  std::string clickAt(int x, int y) {
    at(x, y);
    return printedBy([&] { button(kLeft, kDown), button(kLeft, kUp); });
  }
  std::string queue() {
    std::string codes;
    for (int c = ui.popCommand(); c != -1; c = ui.popCommand()) codes += std::to_string(c);
    return codes;
  }
  // The console, its children from the front (the prompt is 25 high), then
  // its minimise and edit squares.
  std::string layout() {
    std::string text = rectOf(console);
    for (Widget* w : console.children()) text += " | " + rectOf(*w);
    return text + " | " + rectOf(*console.minimiseControl()) + " " + rectOf(*console.editControl());
  }
  UiContext& ui = *editor.ui;
  ConsolePanel built = buildConsolePanel(&ui);
  Panel& console = *built.panel;
};

TEST_F(PanelTest, TitleBandDragMovesItInsideTheWindowUntilTheButtonGoesUp) {
  at(450, 200);
  button(kLeft, kDown);  // the body does not move it
  EXPECT_EQ(console.isMoving(), 0);
  at(150, 290);  // 50 right of the corner and 190 above it
  button(kLeft, kDown);
  const struct {
    int x, y;
    const char* rect;
  } places[] = {{200, 300, "150,110 400x200"},
                {700, 595, "400,400 400x200"},  // stops at the window's edges
                {10, 20, "0,0 400x200"}};
  for (const auto& p : places) {
    at(p.x, p.y);
    console.update();
    EXPECT_EQ(rectOf(console), p.rect);
  }
  button(kLeft, kUp);  // outside the band: still moving
  EXPECT_EQ(console.isMoving(), 1);
  console.update();  // finds the button up
  EXPECT_EQ(console.isMoving(), 0);
  at(50, 190);
  button(kLeft, kDown);
  console.buttonReleased(kRightButton);  // a right release ends it too
  EXPECT_EQ(console.isMoving(), 0);
  button(kLeft, kDown);
  button(kLeft, kUp);
  EXPECT_EQ(console.isMoving(), 0);
}

TEST_F(PanelTest, MiddleDragResizesAboutTheCentreAndRestacksTheChildren) {
  at(300, 200);
  button(kMiddle, kDown);
  at(290, 190);  // left and down by 10: 20 larger each way
  button(kMiddle, kUp);
  EXPECT_EQ(layout(), "90,90 420x220 | 5,5 410x25 | 5,35 410x155 | 5,205 10x10 405,205 10x10");
  EXPECT_EQ(console.savedHeight(), 220);
  button(kMiddle, kDown);
  at(300, 200);
  console.update();
  EXPECT_EQ(console.isResizing(), 1);
  ui.setButton(kMiddle, kUp);  // the release went elsewhere: the update finishes it
  console.update();
  EXPECT_EQ(layout(), kAsBuilt);
  console.configure({.resizable = false, .editable = true, .minimisable = true});
  button(kMiddle, kDown);
  at(280, 180);
  console.buttonReleased(kMiddle);
  EXPECT_EQ(layout() + " " + std::to_string(console.isResizing()), kAsBuilt + std::string(" 0"));
  console.configure({.resizable = true, .editable = true, .minimisable = true});
  console.setMinimised(1);
  button(kMiddle, kDown);
  EXPECT_EQ(console.isResizing(), 0);
}

TEST_F(PanelTest, MinimiseSquareKeepsTheTopEdgeAndItsFirstPressReachesUpAndDownToo) {
  // Up and Down lie on the minimise square until a hovered child moves them.
  EXPECT_EQ(clickAt(110, 290),
            "Processing Edit Command. Cmd = 2 3\nProcessing Edit Command. Cmd = 1 3\n"
            "Processing Edit Command. Cmd = 0 3\n");
  EXPECT_EQ(queue(), "210");
  EXPECT_EQ(rectOf(console) + " " + rectOf(*console.minimiseControl()),
            "100,275 400x25 5,10 10x10");
  clickAt(110, 290);
  EXPECT_EQ(queue(), "0");
  EXPECT_EQ(layout(), kAsBuilt);
  console.configure({.resizable = true, .editable = true, .minimisable = false});
  console.setMinimised(1);
  EXPECT_EQ(layout() + " " + std::to_string(console.isMinimised()), kAsBuilt + std::string(" 0"));
}

TEST_F(PanelTest, AnOutsideLabelKeepsTwelvePixelsAboveItsChild) {
  built.prompt->showLabel();
  EXPECT_EQ(console.stretchSpace(), 123);
  console.stackChildren();
  EXPECT_EQ(built.messages->y(), 47);
}

TEST_F(PanelTest, EditModeMovesTheHoveredChildOnePlaceUpOrDown) {
  printedBy([&] { console.editCommand(3); });
  at(300, 200);  // over the message box: Up and Down go inside its top-right corner
  console.updateHoveredChild();
  EXPECT_EQ(console.hoveredChild(), built.messages.get());
  EXPECT_EQ(rectOf(*console.moveUpControl()) + " " + rectOf(*console.moveDownControl()),
            "380,155 10x10 380,142 10x10");
  at(300, 290);  // the title band: nothing hovered, the squares stay
  console.updateHoveredChild();
  EXPECT_EQ(console.hoveredChild(), nullptr);
  EXPECT_EQ(console.moveUpControl()->y(), 155);
  at(200, 115);  // over the prompt, the lowest child: Up at y 15, Down at y 2
  console.updateHoveredChild();
  clickAt(485, 107);
  EXPECT_EQ(layout(), kAsBuilt);
  clickAt(485, 120);
  EXPECT_EQ(layout(), "100,100 400x200 | 5,5 390x135 | 5,145 390x25 | 5,185 10x10 385,185 10x10");
  EXPECT_EQ(queue(), "21");
  printedBy([&] { console.editCommand(3); });  // edit mode off: Up still posts, moves nothing
  EXPECT_EQ(clickAt(485, 120), "Processing Edit Command. Cmd = 1 3\n");
  EXPECT_EQ(layout(), "100,100 400x200 | 5,5 390x135 | 5,145 390x25 | 5,185 10x10 385,185 10x10");
  EXPECT_EQ(queue(), "1");
}

// A tall child A under two short ones:       after Up over A:
//   C  95..115                                 C  95..115
//   B  70..90                                  A  30..90   <- pointer at y 40
//   A   5..65   <- pointer at y 40             B   5..25
// A is still under the pointer after the swap; one press moves it only once.
TEST(PanelEdit, OnePressMovesAtMostOneChildOnePlace) {
  UiContext ui;
  Panel panel("Stack", 0, 0, 100, 200, &ui);
  TextEntry a("A", 5, 0, 90, 60), b("B", 5, 0, 90, 20), c("C", 5, 0, 90, 20);
  for (TextEntry* e : {&c, &b, &a}) panel.addEntry(e);
  panel.stackChildren();
  SilencedStdout quiet;
  panel.editCommand(3);
  ui.setMousePosition(50, 40);
  panel.editCommand(1);
  EXPECT_EQ(std::vector<double>({b.y(), a.y(), c.y()}), std::vector<double>({5, 30, 95}));
  EXPECT_EQ(panel.children().headItem(), &b);
}

}  // namespace
