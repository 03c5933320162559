#include <gtest/gtest.h>

#include "support/editor_fixture.h"

namespace {

using ViewLayoutTest = EditorTest;

TEST_F(ViewLayoutTest, FourViewsSplitAnEightHundredBySixHundredWindow) {
  const int rects[4][4] = {{0, 0, 400, 300}, {400, 0, 800, 300}, {0, 300, 400, 600},
                           {400, 300, 800, 600}};
  for (int i = 0; i < 4; ++i) {
    const Viewport& v = editor.views[i];
    EXPECT_EQ(v.rectLeft, rects[i][0]) << i;
    EXPECT_EQ(v.rectBottom, rects[i][1]) << i;
    EXPECT_EQ(v.rectRight, rects[i][2]) << i;
    EXPECT_EQ(v.rectTop, rects[i][3]) << i;
    EXPECT_DOUBLE_EQ(v.left, -4);
    EXPECT_DOUBLE_EQ(v.right, 4);
    EXPECT_DOUBLE_EQ(v.bottom, -3);
    EXPECT_DOUBLE_EQ(v.top, 3);
  }
  EXPECT_EQ(editor.viewCaption(0), "View 0: Side [-4.00:4.00 x -3.00:3.00]");
}

TEST_F(ViewLayoutTest, PixelsMapToViewCoordinates) {
  const Viewport& side = editor.views[kSideView];
  EXPECT_DOUBLE_EQ(side.viewX(200), 0);
  EXPECT_DOUBLE_EQ(side.viewY(150), 0);
  EXPECT_DOUBLE_EQ(side.viewX(400), 4);
  const Viewport& full = editor.views[kFullView];
  EXPECT_DOUBLE_EQ(full.viewX(400), -4);
  EXPECT_DOUBLE_EQ(full.viewY(600), 3);
}

TEST_F(ViewLayoutTest, SplitLinesBelongToTheRightAndUpperViews) {
  EXPECT_EQ(editor.viewAt(399, 299), 0);
  EXPECT_EQ(editor.viewAt(400, 299), 1);
  EXPECT_EQ(editor.viewAt(399, 300), 2);
  EXPECT_EQ(editor.viewAt(400, 300), 3);
}

TEST_F(ViewLayoutTest, ZoomStopsAtAHalfWidthOfOne) {
  Viewport& v = editor.views[kSideView];
  editor.zoomViewBy(-100, v);
  EXPECT_DOUBLE_EQ(v.zoom, 1.0);
  EXPECT_DOUBLE_EQ(v.right - v.left, 2.0);
  EXPECT_DOUBLE_EQ(v.top - v.bottom, 1.5);
  editor.zoomViewBy(4, v);
  EXPECT_NEAR(v.zoom, 1.4, 1e-12);
}

TEST_F(ViewLayoutTest, KeyboardScrollKeepsTheVisibleSize) {
  Viewport& v = editor.views[kFrontView];
  editor.scrollViewBy(40, -30, v);
  EXPECT_DOUBLE_EQ(v.right - v.left, 8);
  EXPECT_DOUBLE_EQ(v.top - v.bottom, 6);
  EXPECT_DOUBLE_EQ(v.left, -4 + 0.8);
  EXPECT_DOUBLE_EQ(v.bottom, -3 - 0.6);
}

TEST_F(ViewLayoutTest, OneViewLayoutMapsTheWholeWindowToTheShownView) {
  special(kKeyF8);
  EXPECT_EQ(editor.layoutMode, 0);
  const Viewport& full = editor.views[kFullView];
  EXPECT_EQ(full.rectLeft, 0);
  EXPECT_EQ(full.rectBottom, 0);
  EXPECT_EQ(full.rectRight, 800);
  EXPECT_EQ(full.rectTop, 600);
  EXPECT_DOUBLE_EQ(full.viewX(400), 0);  // the centre of the window is the view's centre
  for (int x : {0, 399, 400, 799}) EXPECT_EQ(editor.viewAt(x, 10), kFullView);

  special(kKeyF4);  // Full -> Side, which now fills the window
  EXPECT_EQ(editor.singleView, kSideView);
  EXPECT_EQ(editor.views[kSideView].rectRight, 800);
  EXPECT_EQ(editor.viewAt(700, 500), kSideView);

  special(kKeyF8);  // back to four views: the layout is as before
  EXPECT_EQ(editor.views[kSideView].rectRight, 400);
  EXPECT_DOUBLE_EQ(editor.views[kSideView].left, -4);
  EXPECT_DOUBLE_EQ(editor.views[kSideView].top, 3);
}

TEST_F(ViewLayoutTest, UvMapperPanelCapturesPointsOnlyWhileShown) {
  // The UV Mapper spans (100, 100)-(400, 425) in window coordinates.
  EXPECT_EQ(editor.viewAt(150, 150), 0);
  editor.panelsShown = 1;
  EXPECT_EQ(editor.viewAt(150, 150), kUvView);
  editor.uvMapperWidget->setMinimised(1);
  EXPECT_NE(editor.viewAt(150, 150), kUvView);
}

TEST_F(ViewLayoutTest, ReshapeReappliesZoomWithTheNewProportions) {
  mainPanel.setSize(1000, 600);
  editor.layoutViews();
  const Viewport& side = editor.views[kSideView];
  EXPECT_EQ(side.rectRight, 500);
  EXPECT_DOUBLE_EQ(side.right - side.left, 8);
  EXPECT_DOUBLE_EQ(side.top - side.bottom, 8 * 300.0 / 500.0);
}

}  // namespace
