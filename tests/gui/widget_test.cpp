#include "gui/widget.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Every character 7 pixels wide.
int fakeWidth(const std::string& text) {
  return 7 * static_cast<int>(text.size());
}

struct Placement {
  int alignX, alignY, outside;
  double x, y;
};

TEST(WidgetContains, EdgesAreInsideAndJustBeyondIsNot) {
  const Widget w(10, 20, 30, 40, "w");
  EXPECT_EQ(w.contains(10, 20), 1);  // lower-left corner
  EXPECT_EQ(w.contains(40, 60), 1);  // upper-right corner
  EXPECT_EQ(w.contains(10, 60), 1);
  EXPECT_EQ(w.contains(40, 20), 1);
  EXPECT_EQ(w.contains(9.99, 30), 0);
  EXPECT_EQ(w.contains(40.01, 30), 0);
  EXPECT_EQ(w.contains(20, 19.99), 0);
  EXPECT_EQ(w.contains(20, 60.01), 0);
}

TEST(WidgetLabel, OutOfRangeAlignmentLeavesThatAxisUnchanged) {
  Widget w(0, 0, 10, 10, "w");
  w.setLabelAlignment(2, 2);
  w.setLabelAlignment(3, 1);
  EXPECT_EQ(w.labelAlignX(), 2);
  EXPECT_EQ(w.labelAlignY(), 1);
  w.setLabelAlignment(0, -1);
  EXPECT_EQ(w.labelAlignX(), 0);
  EXPECT_EQ(w.labelAlignY(), 1);
}

// Widget at (10, 20), 100 x 40, margin 5, drawn at offset (100, 200); its
// rectangle spans x 110..210 and y 220..260. The name "abc" is 21 wide.
TEST(WidgetLabel, PlacementForEveryAlignmentInsideAndOutside) {
  const Placement cases[] = {
      {0, 0, 0, 115, 243},  // left, top inside: below the top edge by font + margin
      {1, 1, 0, 160, 240},  // middle starts at the middle, it is not centred
      {2, 2, 0, 184, 225},  // right: 210 - 21 - 5; bottom: 220 + 5
      {0, 0, 1, 115, 265},  // top outside: above the rectangle by the margin
      {1, 1, 1, 160, 240},  // middle outside: same as inside
      {2, 2, 1, 184, 208},  // bottom outside: one font height below
  };
  for (const Placement& c : cases) {
    Widget w(10, 20, 100, 40, "abc");
    w.setLabelAlignment(c.alignX, c.alignY);
    w.setLabelOutside(c.outside);
    double x = 0, y = 0;
    ASSERT_TRUE(w.labelPosition(100, 200, fakeWidth, &x, &y));
    EXPECT_EQ(x, c.x) << c.alignX << "/" << c.alignY << " outside " << c.outside;
    EXPECT_EQ(y, c.y) << c.alignX << "/" << c.alignY << " outside " << c.outside;
  }
}

TEST(WidgetLabel, HiddenOrUnknownOutsideFlagDrawsNothing) {
  Widget w(0, 0, 100, 40, "abc");
  double x = 0, y = 0;
  w.hideLabel();
  EXPECT_FALSE(w.labelPosition(0, 0, fakeWidth, &x, &y));
  w.showLabel();
  w.setLabelOutside(2);
  EXPECT_FALSE(w.labelPosition(0, 0, fakeWidth, &x, &y));
}

TEST(WidgetRatios, RoundTripKeepsModesZeroAndOneAndFillTakesTheArgument) {
  Widget keep(10, 20, 30, 40, "keep");
  Widget prop(10, 20, 30, 40, "prop");
  prop.setWidthMode(kProportionalSize);
  prop.setHeightMode(kProportionalSize);
  Widget fill(10, 20, 30, 40, "fill");
  fill.setWidthMode(kFillSize);
  fill.setHeightMode(kFillSize);
  for (Widget* w : {&keep, &prop, &fill}) {
    w->recordRatios(100, 80);
    w->applyRatios(100, 80);
    EXPECT_EQ(w->x(), 10) << w->name();
    EXPECT_EQ(w->y(), 20) << w->name();
  }
  EXPECT_EQ(keep.width(), 30);
  EXPECT_EQ(keep.height(), 40);
  EXPECT_EQ(prop.width(), 30);
  EXPECT_EQ(prop.height(), 40);
  EXPECT_EQ(fill.width(), 100);
  EXPECT_EQ(fill.height(), 80);
}

TEST(WidgetRatios, DoublingTheHolderScalesProportionalSizeAndEveryPosition) {
  Widget keep(10, 20, 30, 40, "keep");
  Widget prop(10, 20, 30, 40, "prop");
  prop.setWidthMode(kProportionalSize);
  prop.setHeightMode(kProportionalSize);
  for (Widget* w : {&keep, &prop}) {
    w->recordRatios(100, 80);
    w->applyRatios(200, 160);
    EXPECT_EQ(w->x(), 20);
    EXPECT_EQ(w->y(), 40);
  }
  EXPECT_EQ(keep.width(), 30);
  EXPECT_EQ(keep.height(), 40);
  EXPECT_EQ(prop.width(), 60);
  EXPECT_EQ(prop.height(), 80);
}

}  // namespace
