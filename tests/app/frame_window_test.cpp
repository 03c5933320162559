// Whole frames drawn into the test window and checked by pixels. Window
// coordinates here count y upward from the bottom, as glReadPixels does.

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <set>

#include "app/editor.h"
#include "app/gl_platform.h"
#include "support/editor_window.h"

namespace {

using Rgb = std::array<int, 3>;

bool near(const Rgb& a, const Rgb& b, int tolerance = 4) {
  for (int i = 0; i < 3; ++i) {
    if (std::abs(a[i] - b[i]) > tolerance) return false;
  }
  return true;
}

// True when a pixel within one of (x, y) has the colour: lines on exact pixel
// boundaries land on either side.
bool around(int x, int y, const Rgb& colour) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (near(testwindow::pixel(x + dx, y + dy), colour)) return true;
    }
  }
  return false;
}

const Rgb kRed{255, 51, 51}, kGreen{51, 255, 51}, kBlue{51, 51, 255}, kGrid{76, 76, 76},
    kBox{230, 153, 102}, kBlack{0, 0, 0}, kWhite{255, 255, 255};

class FrameTest : public EditorWindowTest {
 protected:
  void SetUp() override {
    EditorWindowTest::SetUp();
    if (!editor) return;
    pointAt(700, 580);  // top right corner of the Full view, away from everything
  }

  void draw() {
    editor->framePump();
    editor->drawFrame();
  }

  Vertex* vertex(double x, double y, double z) {
    Vertex* v = editor->model->newVertex(x, y, z);
    editor->model->vertices.pushFront(v);
    return v;
  }

  // A unit cube from 0 to 1 whose triangles face outward.
  void addUnitCube() {
    Vertex* v[8];
    for (int i = 0; i < 8; ++i) v[i] = vertex(i & 1, (i >> 1) & 1, (i >> 2) & 1);
    const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                             {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& f : faces) {
      for (int t = 0; t < 2; ++t) {
        Polygon* p = editor->model->newPolygon(v[f[0]], v[f[1 + t]], v[f[2 + t]]);
        editor->model->currentGroup->polygons.pushFront(p);
      }
    }
  }

  int countNear(int x0, int y0, int x1, int y1, const Rgb& colour) {
    int n = 0;
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) n += near(testwindow::pixel(x, y), colour);
    }
    return n;
  }
};

TEST_F(FrameTest, WindowIsEightHundredBySixHundredAndEmptyAreasAreBlack) {
  EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 800);
  EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 600);
  draw();
  EXPECT_TRUE(near(testwindow::pixel(120, 120), kBlack));
  EXPECT_TRUE(near(testwindow::pixel(520, 520), kBlack));
}

TEST_F(FrameTest, FlatViewsShowTheirAxesInTheirOwnColours) {
  draw();
  // Side: origin at (200, 150), X right, Y up; 50 pixels a unit.
  EXPECT_TRUE(around(350, 150, kRed));
  EXPECT_TRUE(around(200, 250, kGreen));
  // Front: origin at (600, 150), Z right, Y up.
  EXPECT_TRUE(around(750, 150, kBlue));
  EXPECT_TRUE(around(600, 250, kGreen));
  // Top: origin at (200, 450), Z right, X up.
  EXPECT_TRUE(around(350, 450, kBlue));
  EXPECT_TRUE(around(200, 550, kRed));
}

TEST_F(FrameTest, GridLinesLieOneUnitApartAndHideWithTheGrid) {
  draw();
  EXPECT_TRUE(around(250, 60, kGrid));
  EXPECT_TRUE(around(100, 60, kGrid));
  EXPECT_FALSE(around(225, 60, kGrid));
  editor->showGrid = 0;
  draw();
  EXPECT_FALSE(around(250, 60, kGrid));
}

TEST_F(FrameTest, BoundingBoxShowsInFlatViewsOnly) {
  draw();
  EXPECT_TRUE(around(225, 200, kBox));  // Side: top edge at y = 1
  EXPECT_EQ(countNear(590, 440, 660, 510, kBox), 0) << "Full view";
  editor->boundingBox = Box3{-2, -1, 1, 2, 0, 1};
  draw();
  EXPECT_TRUE(around(125, 250, kBox));
  EXPECT_EQ(countNear(410, 310, 790, 590, kBox), 0) << "the Full view never shows it";
}

TEST_F(FrameTest, VerticesShowAsMarkerSquaresAndSelectedOnesAsYellowOutlines) {
  Vertex* v = vertex(2, 2, 0);
  editor->views[kSideView].renderMode = kFlatShaded;  // filled polygons: solid markers
  draw();
  EXPECT_TRUE(around(300, 250, kWhite));  // Side view marker, 4 pixels wide
  EXPECT_TRUE(around(301, 251, kWhite));
  EXPECT_FALSE(around(306, 250, kWhite));
  editor->selectedVertices.pushFront(v);
  draw();
  EXPECT_GT(countNear(292, 242, 308, 258, Rgb{255, 255, 0}), 8);
}

TEST_F(FrameTest, RubberBandFollowsASelectDrag) {
  editor->dragMode = kRubberBand;
  editor->pressX = 50;
  editor->pressY = 50;
  pointAt(150, 120);
  draw();
  EXPECT_TRUE(around(100, 50, kWhite));
  EXPECT_TRUE(around(150, 80, kWhite));
  EXPECT_FALSE(around(100, 85, kWhite));
}

TEST_F(FrameTest, ViewUnderThePointerIsHighlightedAndCaptioned) {
  pointAt(100, 100);  // in the Side view
  draw();
  EXPECT_TRUE(around(200, 1, Rgb{230, 230, 0}));
  EXPECT_TRUE(around(200, 298, Rgb{204, 204, 153}));
  EXPECT_FALSE(around(600, 1, Rgb{230, 230, 0}));
  EXPECT_GT(countNear(5, 5, 180, 16, Rgb{204, 204, 153}), 20) << "caption text";
}

TEST_F(FrameTest, OneViewLayoutFillsTheWindowWithoutFrames) {
  editor->layoutMode = 0;
  editor->singleView = kSideView;
  editor->layoutViews();
  draw();
  // 800 pixels for 8 units: the origin at the centre, 100 pixels a unit.
  EXPECT_TRUE(around(400, 450, kGreen));
  EXPECT_TRUE(around(700, 300, kRed));
  EXPECT_FALSE(around(400, 100, Rgb{178, 178, 178}));
}

TEST_F(FrameTest, CursorLabelStaysInFrontOfThePanels) {
  editor->panelsShown = 1;
  pointAt(420, 200);  // over the console only
  draw();
  // The label is drawn first: its text (white at 0.8) blends over the black
  // view, and the panel drawn later does not cover it.
  EXPECT_GT(countNear(425, 205, 520, 217, Rgb{204, 204, 204}), 5);
  EXPECT_GT(countNear(425, 180, 520, 195, Rgb{204, 204, 204}), 5) << "the coordinates";
}

TEST_F(FrameTest, FlatShadingLightsFacesDifferently) {
  addUnitCube();
  Viewport& full = editor->views[kFullView];
  full.rotX = 30;
  full.rotY = -40;
  full.renderMode = kFlatShaded;
  draw();
  auto greyShades = [&] {
    std::set<Rgb> shades;
    for (int y = 420; y <= 510; ++y) {
      for (int x = 570; x <= 670; ++x) {
        Rgb p = testwindow::pixel(x, y);
        if (p[0] > 20 && p[0] == p[1] && p[1] == p[2] && p[0] < 250) shades.insert(p);
      }
    }
    return shades;
  };
  EXPECT_GE(greyShades().size(), 2u);
  full.renderMode = kWireframe;  // unlit lines in the material's plain white
  draw();
  EXPECT_TRUE(greyShades().empty());
}

}  // namespace
