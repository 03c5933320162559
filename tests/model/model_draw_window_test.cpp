// The model and its skeleton on screen, read back pixel by pixel. One window
// unit is one pixel here, so coordinates below are pixel positions.

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
testing::AssertionResult looksLike(const Rgb& actual, const Rgb& expected) {
  for (int i = 0; i < 3; ++i) {
    if (std::abs(actual[i] - expected[i]) > 1) {
      return testing::AssertionFailure()
             << "pixel " << actual[0] << "," << actual[1] << "," << actual[2] << " is not "
             << expected[0] << "," << expected[1] << "," << expected[2];
    }
  }
  return testing::AssertionSuccess();
}

void pixelSpace() {
  glViewport(0, 0, testwindow::kWidth, testwindow::kHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, testwindow::kWidth, 0, testwindow::kHeight, -10, 10);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
}

// A triangle with its right angle at (100, 100) and legs of 200 pixels.
Polygon* addTriangle(Model& model) {
  Vertex* a = model.newVertex(100, 100, 0);
  Vertex* b = model.newVertex(300, 100, 0);
  Vertex* c = model.newVertex(100, 300, 0);
  for (Vertex* v : {a, b, c}) model.vertices.pushFront(v);
  Polygon* polygon = model.newPolygon(a, b, c);
  model.currentGroup->polygons.pushFront(polygon);
  return polygon;
}

TEST(ModelDrawTest, PolygonsTakeTheMaterialColourOrTheSelectionColour) {
  REQUIRE_WINDOW();
  Model model("m", nullptr);
  Polygon* polygon = addTriangle(model);
  model.currentGroup->material.red = 0;
  model.currentGroup->material.green = 0;
  pixelSpace();
  model.draw(0);
  EXPECT_TRUE(looksLike(testwindow::pixel(150, 150), Rgb{0, 0, 255}));
  EXPECT_TRUE(looksLike(testwindow::pixel(250, 250), Rgb{0, 0, 0}));

  polygon->selected = 1;
  pixelSpace();
  model.draw(1);
  EXPECT_TRUE(looksLike(testwindow::pixel(150, 150), Rgb{255, 230, 77}));
}

TEST(ModelDrawTest, VerticesAppearAsPointsOutsideTheTexturedView) {
  REQUIRE_WINDOW();
  Model model("m", nullptr);
  model.vertices.pushFront(model.newVertex(400.5, 300.5, 0));
  pixelSpace();
  glColor3f(1, 1, 1);
  model.draw(0);
  EXPECT_TRUE(looksLike(testwindow::pixel(400, 300), Rgb{255, 255, 255}));

  pixelSpace();
  glColor3f(1, 1, 1);
  model.draw(1);
  EXPECT_TRUE(looksLike(testwindow::pixel(400, 300), Rgb{0, 0, 0}));
}

TEST(ModelDrawTest, UvViewShowsOnlyMappedTriangles) {
  REQUIRE_WINDOW();
  Model model("m", nullptr);
  Polygon* polygon = addTriangle(model);
  const double uv[3][2] = {{500, 100}, {700, 100}, {500, 300}};
  for (int i = 0; i < 3; ++i) {
    polygon->uvs[i].u = uv[i][0];
    polygon->uvs[i].v = uv[i][1];
  }
  pixelSpace();
  glColor3f(1, 1, 1);
  model.drawUvTriangles();
  EXPECT_TRUE(looksLike(testwindow::pixel(550, 150), Rgb{0, 0, 0}));

  polygon->uvMapped = 1;
  model.drawUvTriangles();
  EXPECT_TRUE(looksLike(testwindow::pixel(550, 150), Rgb{255, 255, 255}));
}

TEST(ModelDrawTest, BonesBelowTheSelectedBoneAreRed) {
  REQUIRE_WINDOW();
  // root (100, 400.5) -> arm (300, 400.5) -> hand (500, 400.5)
  Model model("m", nullptr);
  Bone* root = model.createRoot(100, 400.5, 0);
  Bone* arm = model.addBone(root, 300, 400.5, 0);
  model.addBone(arm, 500, 400.5, 0);

  pixelSpace();
  model.drawSkeleton(nullptr);
  EXPECT_TRUE(looksLike(testwindow::pixel(200, 400), Rgb{0, 255, 0}));
  EXPECT_TRUE(looksLike(testwindow::pixel(400, 400), Rgb{0, 255, 0}));

  pixelSpace();
  model.drawSkeleton(arm);
  EXPECT_TRUE(looksLike(testwindow::pixel(200, 400), Rgb{0, 255, 0}));  // the selected bone itself
  EXPECT_TRUE(looksLike(testwindow::pixel(400, 400), Rgb{255, 0, 0}));

  pixelSpace();
  model.drawSkeleton(root);
  EXPECT_TRUE(looksLike(testwindow::pixel(200, 400), Rgb{255, 0, 0}));
  EXPECT_TRUE(looksLike(testwindow::pixel(400, 400), Rgb{255, 0, 0}));
}

}  // namespace
