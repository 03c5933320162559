// Framing boxes in views and the grid at any zoom, against the geometry they must satisfy.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "view/view_fit.h"

namespace {

std::mt19937 gRandom(11);
double uniform(double low, double high) {
  return std::uniform_real_distribution<double>(low, high)(gRandom);
}

// Random boxes, from a point to 20,000 units wide, anywhere within 50,000 units of the origin, in
// views of random proportions. Each view keeps its proportions and shows the box whole: a flat
// view centred and as tight as the margin of a tenth allows (or at the smallest zoom), the Full
// view about the box's centre with room for the ball around it, so at any turn. Every corner of
// the whole model lies within the view's depth.
TEST(ViewFitTest, EveryViewShowsTheBoxWholeAndTightInItsProportions) {
  for (int round = 0; round < 300; ++round) {
    const double size = round % 5 == 0 ? 0 : std::pow(10, uniform(-2, 4.3));
    const Vec3 at{uniform(-5e4, 5e4), uniform(-5e4, 5e4), uniform(-5e4, 5e4)};
    ModelBounds box;
    box.add(at.x, at.y, at.z);
    box.add(at.x + size * uniform(0, 1), at.y + size * uniform(0, 1), at.z + size * uniform(0, 1));
    ModelBounds whole = box;
    whole.add(uniform(-6e4, 6e4), uniform(-6e4, 6e4), uniform(-6e4, 6e4));
    for (int kind = kSideView; kind <= kFullView; ++kind) {
      SCOPED_TRACE(testing::Message() << "round " << round << ", view " << kind);
      Viewport view(kind);
      view.pixelWidth = uniform(50, 900), view.pixelHeight = uniform(50, 900);
      fitView(view, box, whole);
      const double width = view.right - view.left, height = view.top - view.bottom;
      EXPECT_NEAR(height / width, view.pixelHeight / view.pixelWidth, 1e-9);
      EXPECT_NEAR(width, 2 * view.zoom, 1e-9 * view.zoom);
      // The box's shadow on the view's plane: for the Full view the ball's.
      double h0, h1, v0, v1;
      const Vec3 c = box.centre();
      if (kind == kFullView) {
        EXPECT_EQ(view.pivot, c);
        h1 = v1 = std::hypot(box.max.x - c.x, box.max.y - c.y, box.max.z - c.z);
        h0 = v0 = -h1;
      } else {
        h0 = kind == kSideView ? box.min.x : box.min.z,
        h1 = kind == kSideView ? box.max.x : box.max.z;
        v0 = kind == kTopView ? box.min.x : box.min.y,
        v1 = kind == kTopView ? box.max.x : box.max.y;
      }
      EXPECT_NEAR((view.left + view.right) / 2, (h0 + h1) / 2, 1e-9 * view.zoom);
      EXPECT_NEAR((view.bottom + view.top) / 2, (v0 + v1) / 2, 1e-9 * view.zoom);
      const double filled = std::max((h1 - h0) / width, (v1 - v0) / height);
      if (view.zoom > 1) {
        EXPECT_NEAR(filled, 1 / 1.1, 1e-9);
      } else {
        EXPECT_EQ(view.zoom, 1);
        EXPECT_LE(filled, 1 / 1.1 + 1e-9);
      }
      EXPECT_GE(view.depth, 100);
      for (int i = 0; i < 8; ++i) {
        const double x = i & 1 ? whole.max.x : whole.min.x, y = i & 2 ? whole.max.y : whole.min.y,
                     z = i & 4 ? whole.max.z : whole.min.z;
        EXPECT_LE(std::hypot(x - view.pivot.x, y - view.pivot.y, z - view.pivot.z), view.depth);
      }
    }
  }
}

// At any zoom the grid lines of a view lie on multiples of their step, at least 4 pixels apart,
// ten times closer falling under 4, and they cross the whole view, no line missing at either
// edge; a unit grid is the one drawn at start-up, from the whole number toward zero.
TEST(ViewFitTest, GridThinsOutByTensToLinesAtLeastFourPixelsApart) {
  Viewport start(kSideView);
  start.left = -4, start.right = 4, start.bottom = -3, start.top = 3;
  const ViewGrid unit = viewGrid(start);
  EXPECT_EQ(unit.across.first, -4);
  EXPECT_EQ(unit.across.count, 8);
  EXPECT_EQ(unit.up.first, -3);
  EXPECT_EQ(unit.up.count, 6);
  EXPECT_EQ(unit.reach, 100000);
  for (int round = 0; round < 300; ++round) {
    Viewport view(kTopView);
    view.pixelWidth = uniform(50, 900);
    const double width = std::pow(10, uniform(-1, 7)), left = uniform(-3, 3) * width;
    view.left = left, view.right = left + width, view.bottom = -width, view.top = width / 3;
    const double perUnit = view.pixelWidth / width;
    const ViewGrid grid = viewGrid(view);
    for (const auto& [lines, low, high] : {std::tuple{grid.across, view.left, view.right},
                                           std::tuple{grid.up, view.bottom, view.top}}) {
      SCOPED_TRACE(testing::Message() << "round " << round << ": " << low << " to " << high);
      EXPECT_GE(lines.step * perUnit, 4);
      if (lines.step > 1) {
        EXPECT_LT(lines.step / 10 * perUnit, 4);
      }
      EXPECT_EQ(std::fmod(lines.first, lines.step), 0);
      EXPECT_LT(std::abs(lines.first - low), lines.step + 1e-9 * width);  // none missing
      EXPECT_LT(lines.first + (lines.count - 1) * lines.step, high);
      EXPECT_GE(lines.first + lines.count * lines.step, high - 1e-9 * width);
    }
    EXPECT_GE(grid.reach, std::max({std::abs(view.left), std::abs(view.right), view.bottom}));
  }
}

}  // namespace
