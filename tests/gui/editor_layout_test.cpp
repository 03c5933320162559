// The interface and the views as the Editor lays them out.

#include <gtest/gtest.h>

#include "support/editor_fixture.h"

namespace {

using LayoutTest = EditorTest;

// Resizable, editable and minimisable.
std::string flags(const Panel& p) {
  return std::to_string(p.isResizable()) + std::to_string(p.isEditable()) +
         std::to_string(p.isMinimisable());
}

TEST_F(LayoutTest, PanelsStandFrontToBackAsBuiltWithThePromptFirstInTheConsole) {
  std::string names;
  for (Panel* p : editor.widgets) names += p->name() + " " + rectOf(*p) + " " + flags(*p) + "|";
  EXPECT_EQ(names,
            "Fancy Tools :O 100,100 180x254 000|Menu :P 100,100 180x20 000|"
            "Menu :J 100,100 180x218 000|Menu :D 100,100 180x56 000|UV Mapper 100,100 300x325 101|"
            "Console 100,100 400x200 111|");
  EXPECT_EQ(editor.consoleWidget->children().headItem(), editor.consolePrompt);
}

TEST_F(LayoutTest, FourViewsSplitTheWindowAndOneViewFillsIt) {
  const char* const names[] = {"Side", "Front", "Top", "Full"};
  std::string four;
  for (int i = 0; i < 4; ++i) {
    four += viewState(editor.views[i]) + " " +
            std::to_string(editor.viewAt(399 + i % 2, 299 + i / 2)) + "|";
    EXPECT_EQ(editor.viewCaption(i),
              "View " + std::to_string(i) + ": " + names[i] + " [-4.00:4.00 x -3.00:3.00]");
  }
  // The split lines belong to the right and upper views.
  EXPECT_EQ(four,
            "0,0-400,300 400x300 [-4:4 x -3:3] 0|400,0-800,300 400x300 [-4:4 x -3:3] 1|"
            "0,300-400,600 400x300 [-4:4 x -3:3] 2|400,300-800,600 400x300 [-4:4 x -3:3] 3|");
  special(kKeyF8);  // one view, the Full view; F4 steps on to the Side view
  special(kKeyF4);
  EXPECT_EQ(viewState(editor.views[kSideView]), "0,0-800,600 800x600 [-4:4 x -3:3]");
  EXPECT_EQ(editor.viewAt(799, 599), kSideView);
  special(kKeyF8);
  EXPECT_EQ(viewState(editor.views[kSideView]), "0,0-400,300 400x300 [-4:4 x -3:3]");
  mainPanel.setSize(1000, 600);  // a wider window keeps the half width of 4
  editor.layoutViews();
  EXPECT_EQ(viewState(editor.views[kFrontView]), "500,0-1000,300 500x300 [-4:4 x -2.4:2.4]");
}

TEST_F(LayoutTest, UvViewSitsCentredBelowTheUvMapperTitleAndTakesPointsWhileShown) {
  EXPECT_EQ(editor.viewAt(150, 150), kSideView);
  editor.panelsShown = 1;
  EXPECT_EQ(editor.viewAt(150, 150), kUvView);
  editor.placeUvView();
  EXPECT_EQ(viewState(editor.uvView()), "122,122-378,378 256x256 [0:1 x 0:1]");
  editor.uvMapperWidget->setPosition(200, 50);
  editor.placeUvView();
  EXPECT_EQ(viewState(editor.uvView()), "222,72-478,328 256x256 [0:1 x 0:1]");
  editor.uvMapperWidget->setMinimised(1);
  EXPECT_EQ(editor.viewAt(250, 360), kTopView);  // the strip at y 350..375 is no view
}

}  // namespace
