#include "gui/widget.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Every character 7 pixels wide.
int fakeWidth(const std::string& text) {
  return 7 * static_cast<int>(text.size());
}

TEST(Widget, ContainsItsEdgesAndNothingBeyond) {
  const Widget w(10, 20, 30, 40, "w");
  const double points[][3] = {{10, 20, 1},   {40, 60, 1},    {10, 60, 1},    {40, 20, 1},
                              {9.99, 30, 0}, {40.01, 30, 0}, {20, 19.99, 0}, {20, 60.01, 0}};
  for (const auto& p : points) EXPECT_EQ(w.contains(p[0], p[1]), p[2]) << p[0] << ", " << p[1];
}

// Widget at (10, 20), 100 x 40, margin 5, drawn at offset (100, 200): its
// rectangle spans x 110..210 and y 220..260. The name "abc" is 21 wide.
TEST(Widget, LabelPlacementForEveryAlignmentInsideAndOutside) {
  const struct {
    int alignX, alignY, outside;
    double x, y;
  } cases[] = {
      {0, 0, 0, 115, 243},  // left, top inside: below the top edge by font + margin
      {1, 1, 0, 160, 240},  // middle starts at the middle, it is not centred
      {2, 2, 0, 184, 225},  // right: 210 - 21 - 5; bottom: 220 + 5
      {0, 0, 1, 115, 265},  // top outside: above the rectangle by the margin
      {1, 1, 1, 160, 240},  // middle outside: same as inside
      {2, 2, 1, 184, 208},  // bottom outside: one font height below
  };
  for (const auto& c : cases) {
    Widget w(10, 20, 100, 40, "abc");
    w.setLabelAlignment(c.alignX, c.alignY);
    w.setLabelOutside(c.outside);
    double x = 0, y = 0;
    ASSERT_TRUE(w.labelPosition(100, 200, fakeWidth, &x, &y));
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(c.x, c.y)) << c.alignX << c.alignY << c.outside;
  }
}

TEST(Widget, LabelIsNotPlacedWhenHiddenOrOfUnknownPlacement) {
  Widget w(0, 0, 100, 40, "abc");
  w.setLabelAlignment(2, 1);
  w.setLabelAlignment(3, -1);  // values outside 0..2 leave that axis as it was
  EXPECT_EQ(std::make_pair(w.labelAlignX(), w.labelAlignY()), std::make_pair(2, 1));
  double x = 0, y = 0;
  w.hideLabel();
  EXPECT_FALSE(w.labelPosition(0, 0, fakeWidth, &x, &y));
  w.showLabel();
  w.setLabelOutside(2);
  EXPECT_FALSE(w.labelPosition(0, 0, fakeWidth, &x, &y));
}

TEST(Widget, RatiosFollowTheHolderByMode) {
  // Recorded in a 100 x 80 holder, applied in one of 200 x 160.
  const struct {
    int mode;
    double width, height;
  } cases[] = {{kKeepSize, 30, 40}, {kProportionalSize, 60, 80}, {kFillSize, 200, 160}};
  for (const auto& c : cases) {
    Widget w(10, 20, 30, 40, "w");
    w.setWidthMode(c.mode);
    w.setHeightMode(c.mode);
    w.recordRatios(100, 80);
    w.applyRatios(200, 160);
    const double got[] = {w.x(), w.y(), w.width(), w.height()};
    const double want[] = {20, 40, c.width, c.height};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(got[i], want[i]) << "mode " << c.mode << ", value " << i;
  }
}

}  // namespace
