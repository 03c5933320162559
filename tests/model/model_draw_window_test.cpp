// The model and its skeleton on screen, read back pixel by pixel. One unit is
// one pixel here, so coordinates below are pixel positions.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "model/model.h"
#include "model/skeleton.h"
#include "support/gl_window.h"

namespace {

using Rgb = std::array<int, 3>;

// Colours pass through 8-bit channels; allow for either rounding.
testing::AssertionResult shows(int x, int y, const Rgb& expected) {
  const Rgb actual = testwindow::pixel(x, y);
  for (int i = 0; i < 3; ++i) {
    if (std::abs(actual[i] - expected[i]) > 1) {
      return testing::AssertionFailure() << "(" << x << ", " << y << ") is " << actual[0] << ","
                                         << actual[1] << "," << actual[2];
    }
  }
  return testing::AssertionSuccess();
}

void clearInPixelSpace() {
  glViewport(0, 0, testwindow::kWidth, testwindow::kHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, testwindow::kWidth, 0, testwindow::kHeight, -10, 10);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glColor3f(1, 1, 1);
}

// A blue right triangle at (100, 100) with legs of 200 pixels, its UV copy
// 400 pixels to the right, and a lone vertex at (600, 500).
class ModelDrawTest : public testing::Test {
 protected:
  void SetUp() override {
    Vertex* corners[3] = {model.newVertex(100, 100, 0), model.newVertex(300, 100, 0),
                          model.newVertex(100, 300, 0)};
    for (Vertex* vertex : corners) model.vertices.pushFront(vertex);
    model.vertices.pushFront(model.newVertex(600.5, 500.5, 0));
    polygon = model.newPolygon(corners[0], corners[1], corners[2], 500, 700, 500, 100, 100, 300);
    model.currentGroup->polygons.pushFront(polygon);
    model.currentGroup->material.red = model.currentGroup->material.green = 0;
  }
  Model model{"m", nullptr};
  Polygon* polygon;
};

TEST_F(ModelDrawTest, PolygonsInMaterialOrSelectionColourPointsOutsideTexturedViews) {
  REQUIRE_WINDOW();
  clearInPixelSpace();
  model.draw(0);
  EXPECT_TRUE(shows(150, 150, {0, 0, 255}));
  EXPECT_TRUE(shows(600, 500, {0, 0, 255}));  // points take the last colour
  polygon->selected = 1;
  clearInPixelSpace();
  model.draw(1);
  EXPECT_TRUE(shows(150, 150, {255, 230, 77}));
  EXPECT_TRUE(shows(600, 500, {0, 0, 0}));
}

TEST_F(ModelDrawTest, UvViewShowsOnlyMappedTriangles) {
  REQUIRE_WINDOW();
  clearInPixelSpace();
  model.drawUvTriangles();
  EXPECT_TRUE(shows(550, 150, {0, 0, 0}));
  polygon->uvMapped = 1;
  model.drawUvTriangles();
  EXPECT_TRUE(shows(550, 150, {255, 255, 255}));
}

TEST(SkeletonDrawTest, BonesBelowTheSelectedBoneAreRed) {
  REQUIRE_WINDOW();
  // root (100, 400.5) -> arm (300, 400.5) -> hand (500, 400.5)
  Model model("m", nullptr);
  Bone* root = model.createRoot(100, 400.5, 0);
  Bone* arm = model.addBone(root, 300, 400.5, 0);
  model.addBone(arm, 500, 400.5, 0);
  const Rgb red{255, 0, 0}, green{0, 255, 0};
  const struct {
    Bone* selected;
    Rgb arm, hand;
  } cases[] = {{nullptr, green, green}, {arm, green, red}, {root, red, red}};
  for (const auto& c : cases) {
    clearInPixelSpace();
    model.drawSkeleton(c.selected);
    EXPECT_TRUE(shows(200, 400, c.arm));
    EXPECT_TRUE(shows(400, 400, c.hand));
  }
}

}  // namespace
