// The panels as built; moving, resizing, minimising and editing the console panel: 400 x 200 at
// (100, 100), title band at y 280..300 (y up).

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
  std::string layout() {  // the console, its children from the front, its two squares
    std::string text = rectOf(console);
    for (Widget* w : console.children()) text += " | " + rectOf(*w);
    return text + " | " + rectOf(*console.minimiseControl()) + " " + rectOf(*console.editControl());
  }
  UiContext& ui = *editor.ui;
  ConsolePanel built = buildConsolePanel(&ui);  // the builder the editor uses too
  Panel& console = *built.panel;
};

std::string flags(const Panel& p) {  // resizable, editable, minimisable
  return std::to_string(p.isResizable()) + std::to_string(p.isEditable()) +
         std::to_string(p.isMinimisable());
}

TEST_F(PanelTest, EditorBuildsThePanelsFrontToBackAndCaptionsTheViews) {
  std::string names;
  for (Panel* p : editor.widgets) names += p->name() + " " + rectOf(*p) + " " + flags(*p) + "|";
  EXPECT_EQ(names,
            "Fancy Tools :O 100,100 180x254 000|Menu :P 100,100 180x20 000|"
            "Menu :J 100,100 180x236 000|Menu :D 100,100 180x56 000|UV Mapper 100,100 300x325 101|"
            "Console 100,100 400x200 111|");
  EXPECT_EQ(editor.consoleWidget->children().headItem(), editor.consolePrompt);
  EXPECT_EQ(editor.viewCaption(3), "View 3: Full [-4.00:4.00 x -3.00:3.00]");
}

TEST_F(PanelTest, TitleBandDragMovesItInsideTheWindowUntilTheButtonGoesUp) {
  at(450, 200);
  button(kLeft, kDown);  // the body does not move it
  EXPECT_EQ(console.isMoving(), 0);
  at(150, 290);
  button(kLeft, kDown);
  std::string places;  // it stops at the window's edges
  for (auto [x, y] : {std::pair{200, 300}, {700, 595}, {10, 20}}) {
    at(x, y);
    console.update();
    places += rectOf(console) + "|";
  }
  EXPECT_EQ(places, "150,110 400x200|400,400 400x200|0,0 400x200|");
  button(kLeft, kUp);  // outside the band: still moving
  EXPECT_EQ(console.isMoving(), 1);
  console.update();  // finds the button up
  EXPECT_EQ(console.isMoving(), 0);
  at(50, 190);
  button(kLeft, kDown);
  console.buttonReleased(kRightButton);  // a right release ends it too
  EXPECT_EQ(console.isMoving(), 0);
  button(kLeft, kDown), button(kLeft, kUp);
  EXPECT_EQ(console.isMoving(), 0);
}

TEST_F(PanelTest, MiddleDragResizesAboutTheCentreAndRestacksTheChildren) {
  at(300, 200);
  button(kMiddle, kDown);
  at(290, 190);  // 20 larger each way
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
  at(300, 200);  // the message box: Up and Down go inside its top-right corner
  console.updateHoveredChild();
  EXPECT_EQ(console.hoveredChild(), built.messages.get());
  EXPECT_EQ(rectOf(*console.moveUpControl()) + rectOf(*console.moveDownControl()),
            "380,155 10x10380,142 10x10");
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
}

}  // namespace
