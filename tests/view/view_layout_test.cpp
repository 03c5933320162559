#include <gtest/gtest.h>

#include "support/editor_fixture.h"
#include "view/view_layout.h"

namespace {

using ViewLayoutTest = EditorTest;

TEST_F(ViewLayoutTest, FourViewsSplitTheWindowAndOneViewFillsIt) {
  const char* const four[] = {
      "0,0-400,300 400x300 [-4:4 x -3:3]", "400,0-800,300 400x300 [-4:4 x -3:3]",
      "0,300-400,600 400x300 [-4:4 x -3:3]", "400,300-800,600 400x300 [-4:4 x -3:3]"};
  const char* const names[] = {"Side", "Front", "Top", "Full"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(viewState(editor.views[i]), four[i]);
    EXPECT_EQ(editor.viewCaption(i),
              "View " + std::to_string(i) + ": " + names[i] + " [-4.00:4.00 x -3.00:3.00]");
  }
  // The split lines belong to the right and upper views.
  const int under[] = {editor.viewAt(399, 299), editor.viewAt(400, 299), editor.viewAt(399, 300),
                       editor.viewAt(400, 300)};
  EXPECT_EQ(std::vector<int>(under, under + 4), (std::vector<int>{0, 1, 2, 3}));
  special(kKeyF8);  // one view, the Full view; F4 steps on to the Side view
  special(kKeyF4);
  EXPECT_EQ(viewState(editor.views[kSideView]), "0,0-800,600 800x600 [-4:4 x -3:3]");
  EXPECT_EQ(editor.viewAt(799, 599), kSideView);
  special(kKeyF8);
  EXPECT_EQ(viewState(editor.views[kSideView]), four[0]);
  mainPanel.setSize(1000, 600);  // a wider window keeps the half width of 4
  editor.layoutViews();
  EXPECT_EQ(viewState(editor.views[kFrontView]), "500,0-1000,300 500x300 [-4:4 x -2.4:2.4]");
}

TEST_F(ViewLayoutTest, ScrollMovesByPixelsZoomKeepsTheCentreAndPixelsMapToUnits) {
  Viewport& v = editor.views[kFrontView];
  scrollViewBy(40, -30, v);  // a tenth of the view right and down
  EXPECT_EQ(viewState(v), "400,0-800,300 400x300 [-3.2:4.8 x -3.6:2.4]");
  EXPECT_EQ(editor.viewCaption(1), "View 1: Front [-3.20:4.80 x -3.60:2.40]");
  EXPECT_DOUBLE_EQ(v.viewX(500), -1.2);
  EXPECT_DOUBLE_EQ(v.viewY(75), -2.1);
  zoomViewBy(-100, v);  // stops at a half width of 1
  EXPECT_EQ(viewState(v), "400,0-800,300 400x300 [-0.2:1.8 x -1.35:0.15]");
  zoomViewBy(4, v);
  EXPECT_EQ(viewState(v), "400,0-800,300 400x300 [-0.6:2.2 x -1.65:0.45]");
}

TEST_F(ViewLayoutTest, UvViewSitsCentredBelowTheUvMapperTitleAndTakesPointsWhileShown) {
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
