// The interface as the Editor builds it at start-up.

#include <gtest/gtest.h>

#include "support/editor_fixture.h"

namespace {

using LayoutTest = EditorTest;

// Resizable, editable and minimisable.
std::string flags(const Panel& p) {
  return std::to_string(p.isResizable()) + std::to_string(p.isEditable()) +
         std::to_string(p.isMinimisable());
}

TEST_F(LayoutTest, PanelsStandFrontToBackAsBuiltAndTheConsoleHoldsPromptAndMessages) {
  std::string names;
  for (Panel* p : editor.widgets) names += p->name() + " " + rectOf(*p) + " " + flags(*p) + "|";
  EXPECT_EQ(names,
            "Fancy Tools :O 100,100 180x254 000|Menu :P 100,100 180x20 000|"
            "Menu :J 100,100 180x218 000|Menu :D 100,100 180x56 000|UV Mapper 100,100 300x325 101|"
            "Console 100,100 400x200 111|");
  Panel& console = *editor.consoleWidget;
  EXPECT_EQ(rectOf(*editor.consolePrompt), "5,5 390x25");  // the front child, stacked lowest
  EXPECT_EQ(console.children().headItem(), editor.consolePrompt);
  EXPECT_EQ(rectOf(*editor.consoleMessages), "5,35 390x135");
  EXPECT_EQ(rectOf(*console.minimiseControl()), "5,185 10x10");
  EXPECT_EQ(rectOf(*console.editControl()), "385,185 10x10");
  EXPECT_EQ(lastConsoleMessage(),
            "List initialized. (Name: Init). This is a stupid unnecessary message.");
}

// Rows of eighteen pixels under the title, each with the height of its bottom edge.
TEST_F(LayoutTest, MenuPagesHoldRowsOfEighteenPixelsUnderTheirTitle) {
  std::string rows;
  for (Button* b : editor.menuPages[3]->buttons())
    rows += b->name() + "@" + std::to_string(static_cast<int>(b->y())) + " ";
  EXPECT_EQ(rows,
            "Extrude@216 Create Spline@198 Create Bone@180 Create Vertex@162 "
            "Create Cylinder@144 Create Box@126 Scale 3D@108 Scale 2D@90 Rotate@72 Move@54 "
            "Select Bone@36 Select Polygon@18 Select Vertex@0 ");
  Button* top = editor.menuPages[3]->buttons().headItem();
  EXPECT_EQ(rectOf(*top), "0,216 180x18");
  EXPECT_EQ(top->labelAlignX() * 10 + top->labelAlignY(), 2);  // left and bottom
  EXPECT_EQ(editor.activeMenu, editor.menuPages[1]);
}

}  // namespace
