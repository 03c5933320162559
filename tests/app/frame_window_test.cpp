// Whole frames drawn into the test window and read back, one test per thing
// drawn. Window coordinates count y upward, as glReadPixels does. In the four
// views the Side view's origin is at (200, 150), the Front view's at
// (600, 150), the Top view's at (200, 450) and the Full view's at (600, 450),
// 50 pixels a unit.

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>

#include "app/editor.h"
#include "app/input_codes.h"
#include "support/editor_window.h"
#include "support/fixtures.h"
#include "tools/polygon_ops.h"

namespace {

using Rgb = std::array<int, 3>;

bool near(const Rgb& a, const Rgb& b) {
  return std::abs(a[0] - b[0]) <= 4 && std::abs(a[1] - b[1]) <= 4 && std::abs(a[2] - b[2]) <= 4;
}

// Pixels of the rectangle whose colour is (or, with `same` false, is not) near the colour.
int count(int x0, int y0, int x1, int y1, const Rgb& colour, bool same = true) {
  int n = 0;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) n += near(testwindow::pixel(x, y), colour) == same;
  }
  return n;
}

const Rgb kRed{255, 51, 51}, kGreen{51, 255, 51}, kBlue{51, 51, 255}, kGrid{76, 76, 76},
    kBox{230, 153, 102}, kWhite{255, 255, 255}, kYellow{255, 255, 0}, kBlack{0, 0, 0},
    kSplit{178, 178, 178};

class FrameTest : public EditorWindowTest {
 protected:
  void SetUp() override {
    EditorWindowTest::SetUp();
    if (editor) pointAt(700, 580);  // the Full view's top right corner, away from everything
  }
  void draw() {
    editor->framePump();
    editor->drawFrame();
  }
  // Whether each point, within one pixel (lines on pixel boundaries land on
  // either side), has the colour.
  void expectColour(const Rgb& colour, std::initializer_list<std::array<int, 2>> points,
                    bool shown = true) {
    for (auto [x, y] : points) {
      const Rgb got = testwindow::pixel(x, y);
      EXPECT_EQ(count(x - 1, y - 1, x + 1, y + 1, colour) > 0, shown)
          << "(" << x << ", " << y << ") is " << got[0] << "," << got[1] << "," << got[2];
    }
  }
  void expectNo(const Rgb& colour, std::initializer_list<std::array<int, 2>> points) {
    expectColour(colour, points, false);
  }
};

TEST_F(FrameTest, EachViewShowsTheAxesInTheirColoursFromItsOrigin) {
  draw();
  expectColour(kRed, {{350, 150}, {200, 550}});    // Side: X right; Top: X up
  expectColour(kGreen, {{200, 250}, {600, 250}});  // Side and Front: Y up
  expectColour(kBlue, {{750, 150}, {350, 450}});   // Front and Top: Z right
  expectColour(kSplit, {{400, 480}});
  editor->layoutMode = 0;
  editor->singleView = kSideView;
  editor->layoutViews();  // the Side view alone, 100 pixels a unit, without split lines
  draw();
  expectColour(kGreen, {{400, 450}});
  expectColour(kRed, {{700, 300}});
  expectNo(kSplit, {{400, 480}});
}

TEST_F(FrameTest, FlatViewsShowAGridLineEveryUnitUnlessItIsHidden) {
  draw();
  // Side, Front and Top: one line across at -1, one up at 1.
  expectColour(kGrid, {{250, 60}, {300, 100}, {650, 60}, {700, 100}, {250, 360}, {300, 400}});
  expectNo(kGrid, {{225, 60}, {650, 360}});  // between lines, and in the Full view
  editor->showGrid = 0;
  draw();
  expectNo(kGrid, {{250, 60}, {700, 100}});
  expectNo(kRed, {{350, 150}});
}

TEST_F(FrameTest, BoundingBoxShowsInFlatUntexturedViewsOnly) {
  // x from -2.5 to -1.5, y from 1.5 to 2.5, z from 0.5 to 1.5: off the grid lines.
  editor->boundingBox = Box3{-2.5, -1.5, 1.5, 2.5, 0.5, 1.5};
  draw();
  expectColour(kBox, {{100, 275}, {650, 275}, {240, 375}});
  expectNo(kBox, {{500, 575}});  // the Full view never shows it
  editor->views[kSideView].renderMode = kTextured;
  draw();
  expectNo(kBox, {{100, 275}});
  expectColour(kBox, {{650, 275}});
}

TEST_F(FrameTest, VerticesShowAsMarkerSquaresAndSelectedOnesInYellowOutline) {
  Vertex* v = addVertex(*editor->model, 2, 2, 1);
  for (Viewport& view : editor->views) view.renderMode = kFlatShaded;
  draw();  // a marker is 0.08 units, 4 pixels, wide; a selected one's outline twice that
  expectColour(kWhite, {{300, 250}, {650, 250}, {250, 550}, {700, 550}});
  expectNo(kWhite, {{305, 250}, {300, 256}});
  editor->selectedVertices.pushFront(v);
  editor->views[kFullView].renderMode = kTextured;
  draw();
  expectColour(kYellow, {{296, 250}, {304, 250}, {300, 254}});
  expectNo(kYellow, {{300, 250}});
  expectNo(kWhite, {{700, 550}});
}

// A Move drag carries the selected vertex's outline along, with a pink line
// back to where it was; a Scale drag shows the selection's box scaled about
// its centre; spline points are cyan boxes; a Scroll View drag moves the
// picture before the release.
TEST_F(FrameTest, DragsPreviewTheirResult) {
  editor->selectedVertices.pushFront(addVertex(*editor->model, 2.2, 2.2, 0));
  editor->dragMode = kToolDrag;
  editor->tool = kMove;
  editor->moveOffset = {1, 0, 0};
  draw();
  expectColour(kYellow, {{356, 260}, {364, 260}});
  expectColour({255, 178, 178}, {{335, 260}});
  editor->tool = kScale2D;
  editor->selectionCentre = {-2.1, -2, 0};
  editor->selectionMin = {-2.5, -2.5, -0.5};
  editor->selectionMax = {-1.5, -1.5, 0.5};
  editor->scaleFactor = {2, 1, 1};
  editor->splinePoints.pushFront(editor->keepSplinePoint({-2.2, 1.2, 0}));
  draw();
  expectColour(kWhite, {{45, 60}, {145, 60}, {90, 75}});  // x -3.1 to -1.1, y -2.5 to -1.5
  expectColour({128, 255, 255}, {{86, 210}});
  editor->dragMode = kScrollView;
  editor->views[kSideView].panX = 0.8;
  draw();
  expectColour(kGreen, {{240, 250}});
  expectNo(kGreen, {{200, 250}});
}

// A triangle in the Side view from (-3.5, -2.5) to (-0.5, -2.5) and
// (-3.5, 0.5): pixels (25, 25), (175, 25) and (25, 175). Lit from (10, 10, 10),
// flat shading takes the last corner's light: the 0.2 ambient light on the
// white ambient material plus the colour times 10 / |(13.5, 9.5, 10)| = 0.518.
TEST_F(FrameTest, TrianglesShowInTheirMaterialOrSelectionColourAndLit) {
  Model& m = *editor->model;
  Polygon* p = addTriangle(m, addVertex(m, -3.5, -2.5, 0), addVertex(m, -0.5, -2.5, 0),
                           addVertex(m, -3.5, 0.5, 0));
  m.currentGroup->material.red = m.currentGroup->material.green = 0;
  rebuildNormals(*editor);
  draw();
  expectColour({0, 0, 255}, {{110, 25}, {110, 90}});  // unlit lines
  expectNo({0, 0, 255}, {{60, 60}});
  editor->views[kSideView].renderMode = kFlatShaded;
  draw();
  expectColour({51, 51, 183}, {{60, 60}});
  p->selected = 1;
  draw();
  expectColour({183, 170, 91}, {{60, 60}});
  editor->views[kSideView].renderMode = kWireframe;
  draw();
  expectColour({255, 230, 77}, {{110, 25}});
}

TEST_F(FrameTest, BonesBelowTheSelectedBoneAreRedAndTheRestGreen) {
  // root (-3.5, 2.5) -> arm (-1.5, 2.5) -> hand (0.5, 2.5): y 275, x 25, 125, 225.
  Model& m = *editor->model;
  Bone* root = m.createRoot(-3.5, 2.5, 0);
  Bone* arm = m.addBone(root, -1.5, 2.5, 0);
  m.addBone(arm, 0.5, 2.5, 0);
  const Rgb red{255, 0, 0}, green{0, 255, 0};
  for (Bone* selected : {static_cast<Bone*>(nullptr), arm, root}) {
    editor->selectedBone = selected;
    draw();
    expectColour(selected == root ? red : green, {{75, 275}});  // the arm
    expectColour(selected ? red : green, {{175, 275}});         // the hand
    if (selected == arm) expectColour(kWhite, {{125, 283}});    // a box round its end
  }
}

TEST_F(FrameTest, RubberBandFollowsASelectOrBoxDrag) {
  editor->pressX = 50;
  editor->pressY = 50;
  pointAt(150, 120);
  editor->tool = kCreateBox;
  for (int mode : {kRubberBand, kToolDrag}) {
    editor->dragMode = mode;
    draw();
    expectColour(kWhite, {{100, 50}, {150, 80}});
    expectNo(kWhite, {{100, 85}});
  }
  editor->tool = kMove;
  draw();
  expectNo(kWhite, {{100, 50}});
}

TEST_F(FrameTest, ViewUnderThePointerIsFramedAndEveryViewCaptioned) {
  pointAt(100, 100);  // in the Side view
  editor->showGrid = 0;
  draw();
  expectColour({230, 230, 0}, {{200, 1}});  // the frame's bottom edge, then its top edge
  expectColour({204, 204, 153}, {{200, 298}});
  expectNo({230, 230, 0}, {{600, 1}});
  for (int i = 0; i < 4; ++i) {  // captions start 5 pixels in from the corner
    const int left = i % 2 * 400, bottom = i / 2 * 300;
    EXPECT_GT(count(left + 5, bottom + 4, left + 120, bottom + 17, kBlack, false), 60) << i;
    EXPECT_EQ(count(left + 2, bottom + 4, left + 4, bottom + 17, kBlack, false), 0) << i;
  }
  EXPECT_EQ(count(0, 299, 0, 300, kSplit), 1) << "the split line starts at the edge";
}

// Panel colours over the black views: a colour of the table times its alpha.
TEST_F(FrameTest, PanelsDrawFrontFirstWithTheirPartsInTheirColours) {
  const Rgb band{161, 138, 207}, body{166, 166, 179}, entry{77, 77, 77};
  editor->panelsShown = 1;
  draw();
  // The UV Mapper, in front, hides the console's title band where they overlap;
  // its UV view, black, spans (122, 122)-(378, 378).
  expectColour(band, {{460, 290}});
  expectColour(body, {{460, 210}, {390, 290}, {119, 119}, {381, 381}});
  expectColour(entry, {{460, 117}});
  expectColour(kBlack, {{123, 123}, {377, 377}});
  editor->widgets.moveToFront(editor->consoleWidget);
  editor->ui->setFocusedEntry(editor->consolePrompt);
  pointAt(460, 210);
  draw();
  expectColour(band, {{390, 290}});
  expectColour({179, 179, 179}, {{460, 210}});  // under the pointer
  expectColour({102, 102, 102}, {{460, 117}});  // focused
  editor->panelsShown = 0;
  editor->mouseMoved(300, 200);  // a right press pops up the menu at (305, 182)
  editor->mouseButton(kRightButton, kButtonDown);
  pointAt(470, 190);
  draw();
  expectColour({204, 204, 230}, {{450, 188}});  // the bottom row, under the pointer
  expectColour({179, 179, 191}, {{450, 209}});
  expectNo(entry, {{460, 117}});
}

TEST_F(FrameTest, UvViewShowsMappedTrianglesOfTheCurrentGroupOnly) {
  Model& m = *editor->model;
  Vertex* a = addVertex(m, 0, 0, 0);
  Polygon* mapped = m.newPolygon(a, a, a, 0.25, 0.75, 0.25, 0.25, 0.25, 0.75);
  mapped->uvMapped = 1;
  m.currentGroup->polygons.pushFront(mapped);
  m.currentGroup->polygons.pushFront(m.newPolygon(a, a, a, 0.5, 0.9, 0.5, 0.5, 0.5, 0.9));
  editor->panelsShown = 1;
  draw();  // the UV view spans (122, 122)-(378, 378): u 0.5, v 0.25 is (250, 186)
  expectColour(kWhite, {{250, 186}, {186, 250}});
  expectNo(kWhite, {{315, 250}});
  mapped->uvs[0].selected = 1;  // (186, 186), moved a quarter to the right
  editor->dragMode = kToolDrag;
  editor->tool = kMove;
  editor->activeView = kUvView;
  editor->moveOffset = {0.25, 0, 0};
  draw();
  expectColour(kYellow, {{250, 183}});
  expectColour({128, 128, 0}, {{186, 183}});
}

TEST_F(FrameTest, CursorLabelStaysInFrontOfPanelsAndAMoveEndsWhenThePointerLeaves) {
  editor->panelsShown = 1;
  pointAt(420, 200);  // over the console only: the label shows white at 0.8 over the view
  draw();
  EXPECT_GT(count(425, 205, 520, 217, Rgb{204, 204, 204}), 5) << "the tool";
  EXPECT_GT(count(425, 180, 520, 195, Rgb{204, 204, 204}), 5) << "the coordinates";
  pointAt(300, 290);  // the console's title band
  editor->consoleWidget->mouseButton(kLeftButton, kButtonDown);
  ASSERT_EQ(editor->consoleWidget->isMoving(), 1);
  editor->drawFrame();  // half transparent, outlined 3 pixels out
  expectColour({77, 77, 77}, {{460, 210}});
  expectColour({26, 26, 26}, {{503, 200}});
  pointAt(700, 580);
  editor->drawFrame();
  EXPECT_EQ(editor->consoleWidget->isMoving(), 0);
}

}  // namespace
