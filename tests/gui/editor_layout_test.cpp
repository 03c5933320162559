// The interface as the Editor builds it at start-up.

#include <gtest/gtest.h>

#include "support/editor_fixture.h"
#include "support/fixtures.h"

namespace {

using LayoutTest = EditorTest;

// A menu page's rows from the top, each with the height of its bottom edge.
std::string rows(Panel* page) {
  std::string text;
  for (Button* b : page->buttons())
    text += b->name() + "@" + std::to_string(static_cast<int>(b->y())) + " ";
  return text;
}

// Resizable, editable and minimisable.
std::string flags(const Panel* p) {
  return std::to_string(p->isResizable()) + std::to_string(p->isEditable()) +
         std::to_string(p->isMinimisable());
}

TEST_F(LayoutTest, PanelsStandFrontToBackAsBuiltAndTheConsoleHoldsPromptAndMessages) {
  std::string names;
  for (Panel* p : editor.widgets) names += p->name() + "|";
  EXPECT_EQ(names, "Fancy Tools :O|Menu :P|Menu :J|Menu :D|UV Mapper|Console|");
  Panel& console = *editor.consoleWidget;
  EXPECT_EQ(rectOf(console) + " " + flags(&console), "100,100 400x200 111");
  EXPECT_EQ(rectOf(*editor.uvMapperWidget) + " " + flags(editor.uvMapperWidget),
            "100,100 300x325 101");
  EXPECT_EQ(rectOf(*editor.consolePrompt), "5,5 390x25");  // the front child, stacked lowest
  EXPECT_EQ(console.children().headItem(), editor.consolePrompt);
  EXPECT_EQ(rectOf(*editor.consoleMessages), "5,35 390x135");
  EXPECT_EQ(rectOf(*console.minimiseControl()), "5,185 10x10");
  EXPECT_EQ(rectOf(*console.editControl()), "385,185 10x10");
  EXPECT_EQ(lastConsoleMessage(),
            "List initialized. (Name: Init). This is a stupid unnecessary message.");
}

TEST_F(LayoutTest, MenuPagesHoldRowsOfEighteenPixelsUnderTheirTitle) {
  EXPECT_EQ(rows(editor.menuPages[0]), "Flatten on V@18 Flatten on U@0 ");
  EXPECT_EQ(rows(editor.menuPages[1]),
            "Assign Polys to Bone@180 Smooth Polygons@162 Flatten Polygons@144 Flatten on Z@126 "
            "Flatten on Y@108 Flatten on X@90 UV Map Selected@72 Render: Textured@54 "
            "Render: Smoothshade@36 Render: Flatshade@18 Render: Wireframe@0 ");
  EXPECT_EQ(rows(editor.menuPages[2]), "");
  EXPECT_EQ(rows(editor.menuPages[3]),
            "Extrude@216 Create Spline@198 Create Bone@180 Create Vertex@162 "
            "Create Cylinder@144 Create Box@126 Scale 3D@108 Scale 2D@90 Rotate@72 Move@54 "
            "Select Bone@36 Select Polygon@18 Select Vertex@0 ");
  const int heights[] = {56, 218, 20, 254};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(rectOf(*editor.menuPages[i]), "100,100 180x" + std::to_string(heights[i]));
    EXPECT_EQ(flags(editor.menuPages[i]), "000");
  }
  Button* top = editor.menuPages[3]->buttons().headItem();
  EXPECT_EQ(rectOf(*top), "0,216 180x18");
  EXPECT_EQ(top->labelAlignX() * 10 + top->labelAlignY(), 2);  // left and bottom
  EXPECT_EQ(editor.activeMenu, editor.menuPages[1]);
}

TEST_F(LayoutTest, ARowPostsItsCodeForTheNextFrameAndTheTitleBandPostsNothing) {
  Panel* page = editor.menuPages[3];
  editor.ui->setMousePosition(150, 100 + 240);  // the title band
  EXPECT_EQ(page->mouseButton(kLeftButton, kButtonDown), 0);
  editor.ui->setMousePosition(150, 100 + 198 + 9);  // "Create Spline"
  EXPECT_EQ(page->mouseButton(kLeftButton, kButtonDown), 1);
  EXPECT_EQ(editor.ui->queuedCommands(), 1);
  editor.framePump();
  EXPECT_EQ(editor.tool, kCreateSpline);
}

}  // namespace
