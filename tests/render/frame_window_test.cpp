// Frames read back from a real window, y up, one test per thing drawn. Origins: Side (200, 150),
// Front (600, 150), Top (200, 450), Full (600, 450); 50 pixels a unit.

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

#include <glm/gtc/quaternion.hpp>

#include "app/editor_frame.h"
#include "gui/text.h"
#include "images/texture_cache.h"
#include "model/animation.h"
#include "model/skeleton.h"
#include "render/frame_draw.h"
#include "render/gl_platform.h"
#include "support/arm_fixture.h"
#include "support/bmp_file.h"
#include "support/editor_fixture.h"
#include "support/failing_allocations.h"
#include "support/fixtures.h"

namespace {

bool gWindowOpen = false;
struct WindowEnvironment : ::testing::Environment {
  void SetUp() override {
    if (!std::getenv("DISPLAY")) return;
    int argc = 1;
    char name[] = "window_tests";
    char* argv[] = {name, nullptr};
    openWindow(&argc, argv);
    glutDisplayFunc([] {});
    setInitialGlState();
    gWindowOpen = true;
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new WindowEnvironment);

using Rgb = std::array<int, 3>;

const Rgb kRed{255, 51, 51}, kGreen{51, 255, 51}, kBlue{51, 51, 255}, kGrid{76, 76, 76},
    kBox{230, 153, 102}, kWhite{255, 255, 255}, kYellow{255, 255, 0}, kBlack{0, 0, 0},
    kSplit{178, 178, 178};

class FrameTest : public EditorTest {
 protected:
  void SetUp() override {
    if (!gWindowOpen) GTEST_SKIP() << "no X display";
    editor.drawing.keepViewPictures = false;  // the tests below change the editor's fields directly
    pointAt(700, 580);  // the Full view's top right corner, away from everything
  }
  void draw(bool pump = true) {
    if (pump) editor.framePump();
    drawFrame(editor);
    frame = readBackBuffer(800, 600);
  }
  int count(int x0, int y0, int x1, int y1, const Rgb& c, bool same = true) {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) {
        const unsigned char* p = &frame[(y * 800 + x) * 3];
        n += (std::abs(p[0] - c[0]) <= 4 && std::abs(p[1] - c[1]) <= 4 &&
              std::abs(p[2] - c[2]) <= 4) == same;
      }
    return n;
  }
  void pointAt(int x, int y) { moveTo(x, 600 - y); }
  // Textures the current group with a 2 x 2 image (red, green / blue, white) whose id is not its
  // name in OpenGL (failed reads use ids up), every corner of `mapped` at (u, u).
  void texture(std::initializer_list<Polygon*> mapped, double u) {
    writeFile(dir.file("t.bmp"), tinyBmp());
    connectTextureUploads(editor.ui->textures());
    TextureCache& cache = *editor.ui->textures();
    printedBy([&] {
      while (cache.lastId() < 200) cache.acquire(dir.file("none.bmp"), true);
    });
    editor.doc.model->currentGroup->material.textured = 1;
    editor.doc.model->currentGroup->material.textureName = dir.file("t.bmp");
    for (Polygon* p : mapped) {
      for (UvPoint& uv : p->uvs) uv.u = uv.v = u, uv.mapped = 1;
      p->uvMapped = 1;
    }
  }
  ScratchDir dir;
  // Draws a frame; each point, within a pixel (lines fall either side), has the colour.
  void expectColour(const Rgb& c, std::initializer_list<std::array<int, 2>> points,
                    bool shown = true) {
    draw();
    for (auto [x, y] : points)
      EXPECT_EQ(count(x - 1, y - 1, x + 1, y + 1, c) > 0, shown) << x << ", " << y;
  }
  std::vector<unsigned char> frame;
};

TEST_F(FrameTest, EachViewShowsTheAxesInTheirColoursFromItsOrigin) {
  expectColour(kRed, {{350, 150}, {200, 550}});    // Side: X right; Top: X up
  expectColour(kGreen, {{200, 250}, {600, 250}});  // Side and Front: Y up
  expectColour(kBlue, {{750, 150}, {350, 450}});   // Front and Top: Z right
  expectColour(kSplit, {{400, 480}});
  editor.viewSet.layoutMode = 0, editor.viewSet.singleView = kSideView;
  editor.layoutViews();  // the Side view alone, 100 pixels a unit, without split lines
  expectColour(kGreen, {{400, 450}});
  expectColour(kRed, {{700, 300}});
  expectColour(kSplit, {{400, 480}}, false);
}

TEST_F(FrameTest, FlatViewsShowAGridLineEveryUnitUnlessItIsHidden) {
  // Side, Front and Top: one line across at -1, one up at 1.
  expectColour(kGrid, {{250, 60}, {300, 100}, {650, 60}, {700, 100}, {250, 360}, {300, 400}});
  expectColour(kGrid, {{225, 60}, {650, 360}}, false);  // between lines, and in the Full view
  editor.viewSet.showGrid = 0;
  expectColour(kGrid, {{250, 60}, {700, 100}}, false);
  expectColour(kRed, {{350, 150}}, false);
}

TEST_F(FrameTest, BoundingBoxShowsInFlatUntexturedViewsOnly) {
  // x from -2.5 to -1.5, y from 1.5 to 2.5, z from 0.5 to 1.5: off the grid lines.
  editor.toolState.boundingBox = Box3{-2.5, -1.5, 1.5, 2.5, 0.5, 1.5};
  expectColour(kBox, {{100, 275}, {650, 275}, {240, 375}});
  expectColour(kBox, {{500, 575}}, false);  // the Full view never shows it
  editor.viewSet.views[kSideView].renderMode = kTextured;
  expectColour(kBox, {{100, 275}}, false);
  expectColour(kBox, {{650, 275}});
}

TEST_F(FrameTest, VerticesShowAsMarkerSquaresAndSelectedOnesInYellowOutline) {
  Vertex* v = addVertex(*editor.doc.model, 2, 2, 1);
  for (Viewport& view : editor.viewSet.views) view.renderMode = kFlatShaded;
  // a marker is 0.08 units, 4 pixels, wide; a selected one's outline twice that
  expectColour(kWhite, {{300, 250}, {650, 250}, {250, 550}, {700, 550}});
  expectColour(kWhite, {{305, 250}, {300, 256}}, false);
  editor.doc.selectedVertices.pushFront(v);
  editor.viewSet.views[kFullView].renderMode = kTextured;
  expectColour(kYellow, {{296, 250}, {304, 250}, {300, 254}});
  expectColour(kYellow, {{300, 250}}, false);
  expectColour(kWhite, {{700, 550}}, false);
}

// Move: the outline moves, a pink line back; Scale: the box scaled about the centre; spline
// points: cyan boxes; Scroll View: the picture moves before the release.
TEST_F(FrameTest, DragsPreviewTheirResult) {
  editor.doc.selectedVertices.pushFront(addVertex(*editor.doc.model, 2.2, 2.2, 0));
  editor.toolState.dragMode = kToolDrag, editor.toolState.tool = kMove,
  editor.toolState.moveOffset = {1, 0, 0};
  expectColour(kYellow, {{356, 260}, {364, 260}});
  expectColour({255, 178, 178}, {{335, 260}});
  editor.toolState.tool = kScale2D, editor.toolState.selectionCentre = {-2.1, -2, 0},
  editor.toolState.scaleFactor = {2, 1, 1};
  editor.toolState.selectionMin = {-2.5, -2.5, -0.5},
  editor.toolState.selectionMax = {-1.5, -1.5, 0.5};
  editor.toolState.splinePoints.pushFront(editor.toolState.keepSplinePoint({-2.2, 1.2, 0}));
  expectColour(kWhite, {{45, 60}, {145, 60}, {90, 75}});  // x -3.1 to -1.1, y -2.5 to -1.5
  expectColour({128, 255, 255}, {{86, 210}});
  editor.toolState.dragMode = kScrollView, editor.viewSet.views[kSideView].panX = 0.8;
  expectColour(kGreen, {{240, 250}});
  expectColour(kGreen, {{200, 250}}, false);
  editor.pointer.pressX = 50, editor.pointer.pressY = 50,
  editor.toolState.tool = kCreateBox;  // a rubber band, a box drag
  pointAt(150, 120);
  for (int mode : {kRubberBand, kToolDrag})
    editor.toolState.dragMode = mode, expectColour(kWhite, {{100, 50}, {150, 80}});
}

// Corners at pixels (25, 25), (175, 25), (25, 175). Flat shading takes the last corner's light
// from (10, 10, 10): 0.2 ambient plus the colour times 10 / |(13.5, 9.5, 10)| = 0.518.
TEST_F(FrameTest, TrianglesShowInTheirMaterialOrSelectionColourAndLit) {
  Model& m = *editor.doc.model;
  Polygon* p = addTriangle(m, addVertex(m, -3.5, -2.5, 0), addVertex(m, -0.5, -2.5, 0),
                           addVertex(m, -3.5, 0.5, 0));
  m.currentGroup->material.red = m.currentGroup->material.green = 0;
  rebuildNormals(editor);
  expectColour({0, 0, 255}, {{110, 25}, {110, 90}});  // unlit lines
  expectColour({0, 0, 255}, {{60, 60}}, false);
  editor.viewSet.views[kSideView].renderMode = kFlatShaded;
  expectColour({51, 51, 183}, {{60, 60}});
  texture({p}, 0.75);  // Textured is unlit: a white texel on the blue material shows pure blue
  editor.viewSet.views[kSideView].renderMode = kTextured;
  expectColour({0, 0, 255}, {{60, 60}});
  expectColour({51, 51, 183}, {{60, 60}}, false);
  editor.viewSet.views[kSideView].renderMode = kFlatShaded;
  p->selected = 1;
  expectColour({183, 170, 91}, {{60, 60}});
  editor.viewSet.views[kSideView].renderMode = kWireframe;
  expectColour({255, 230, 77}, {{110, 25}});
}

TEST_F(FrameTest, BonesBelowTheSelectedBoneAreRedAndTheRestGreen) {
  // root -> arm -> hand at pixels x 25, 125, 225, y 275.
  Model& m = *editor.doc.model;
  Bone* root = m.createRoot(-3.5, 2.5, 0);
  Bone* arm = m.addBone(root, -1.5, 2.5, 0);
  m.addBone(arm, 0.5, 2.5, 0);
  for (Bone* selected : {static_cast<Bone*>(nullptr), arm, root}) {
    editor.doc.selectedBone = selected;
    expectColour({255 * (selected == root), 255 * (selected != root), 0}, {{75, 275}});  // the arm
    expectColour({255 * !!selected, 255 * !selected, 0}, {{175, 275}});                  // the hand
    if (selected == arm) expectColour(kWhite, {{125, 283}});  // a box round its end
  }
}

// Animation mode: the views show the posed model (unlit, the red texel on magenta), the Timeline
// the selected bone's key at frame 10 and the cursor at 20 on its strip from x = 201 to 599, until
// it is left.
TEST_F(FrameTest, AnimationModeShowsThePoseAndTheTimelineUntilItIsLeftOrMemoryRunsOut) {
  Arm arm(*editor.doc.model);
  Material& look = editor.doc.model->currentGroup->material;
  look.red = 1, look.green = 0, look.blue = 1;  // magenta
  texture({arm.p[0], arm.p[1], arm.p[2], arm.p[3]}, 0.25);
  for (Viewport& v : editor.viewSet.views) v.renderMode = kTextured;
  editor.doc.selectedBone = arm.fore;
  editor.doc.model->animation->add("bend").tracks[arm.fore] = {
      {10, {glm::angleAxis(1.5707963267948966, glm::dvec3(0, 0, 1))}}};
  const Rgb red{255, 0, 0}, strip{209, 209, 219};
  const std::array<int, 2> rest{275, 160}, bent{255, 180};  // the forearm's middle, as posed
  expectColour(red, {rest});
  expectColour(red, {bent}, false);
  key('A');
  printedBy([&] { runConsoleCommand(editor, "/frame 20"); });
  expectColour(red, {rest}, false);
  expectColour(red, {bent});
  expectColour({255, 217, 26}, {{367, 51}});
  expectColour({230, 26, 26}, {{533, 45}});
  expectColour(strip, {{450, 40}});
  // A held 'k' colours the posed mesh by the selected bone's weights: none on the root, blue.
  editor.doc.selectedBone = arm.root;
  editor.setKeyState('k', 1);
  expectColour({0, 0, 255}, {bent});
  expectColour({0, 0, 255}, {rest}, false);
  editor.setKeyState('k', 0);
  editor.doc.selectedBone = arm.fore;
  key('A');
  expectColour(red, {rest});
  expectColour(strip, {{450, 40}}, false);
  // Short of memory a frame draws what it can: the model call by call, the pose without the
  // triangles that found no memory (said once); a pose it cannot make ends the mode.
  editor.viewSet.showGrid = 0;  // its axis would hide the bones
  Vertex* far = addVertex(*editor.doc.model, 100, 100, 100);
  for (int i = 0; i < 2000; ++i) addVertex(*editor.doc.model, 100, 100, 100);  // arrays over 64 KB
  for (int i = 0; i < 600; ++i) addTriangle(*editor.doc.model, far, far, far);
  auto drawnShortOfMemory = [&] {
    {
      FailingAllocations noMemory(64 << 10);
      editor.framePump(), drawFrame(editor);
    }
    frame = readBackBuffer(800, 600);
    return FailingAllocations::failures;  // of this frame
  };
  EXPECT_GT(drawnShortOfMemory(), 0);
  EXPECT_GT(count(274, 159, 276, 161, red), 0);
  key('A');
  EXPECT_GT(drawnShortOfMemory() + drawnShortOfMemory(), 0);
  EXPECT_GT(count(224, 149, 226, 151, {0, 255, 0}), 0) << "the skeleton is drawn";
  EXPECT_EQ(consoleLinesStartingWith("Not enough memory to draw everything: parts of the views "
                                     "are left out."),
            1);
  ++editor.animation.rigRevision;  // the pose made anew
  drawnShortOfMemory();
  EXPECT_EQ(lastConsoleMessage(), "Animation mode is off: not enough memory to pose the model.");
}

TEST_F(FrameTest, PanelsDrawFrontFirstWithTheirPartsInTheirColours) {
  const Rgb band{161, 138, 207}, body{166, 166, 179}, entry{77, 77, 77};
  editor.panelsShown = true;
  // The UV Mapper, in front, hides the console's title band; its black UV view spans 122..378.
  expectColour(band, {{460, 290}});
  expectColour(body, {{460, 210}, {390, 290}, {119, 119}, {381, 381}});
  expectColour(entry, {{460, 117}});
  expectColour(kBlack, {{123, 123}, {377, 377}});
  editor.widgets.moveToFront(editor.consoleWidget);
  editor.ui->setFocusedEntry(editor.consolePrompt);
  pointAt(460, 210);
  expectColour(band, {{390, 290}});
  expectColour({179, 179, 179}, {{460, 210}});  // under the pointer
  expectColour({102, 102, 102}, {{460, 117}});  // focused
  editor.panelsShown = false;
  press(kRightButton, 300, 200);  // pops up the menu at (305, 182)
  pointAt(470, 190);
  expectColour({204, 204, 230}, {{450, 188}});  // the bottom row, under the pointer
  expectColour({179, 179, 191}, {{450, 209}});
  expectColour(entry, {{460, 117}}, false);
}

// Chart borders light blue, seams red over them, an edge inside a chart white.
TEST_F(FrameTest, UvViewShowsMappedTrianglesOfTheCurrentGroupOnlyWithBordersAndSeams) {
  Model& m = *editor.doc.model;
  Vertex *a = addVertex(m, 0, 0, 0), *b = addVertex(m, 1, 0, 0), *c = addVertex(m, 0, 1, 0),
         *d = addVertex(m, 1, 1, 0);
  Polygon* mapped = m.newPolygon(a, b, c, 0.25, 0.75, 0.25, 0.25, 0.25, 0.75);
  Polygon* beside = m.newPolygon(b, d, c, 0.75, 0.75, 0.25, 0.25, 0.75, 0.75);
  mapped->uvMapped = beside->uvMapped = 1;
  m.currentGroup->polygons.pushFront(mapped);
  m.currentGroup->polygons.pushFront(beside);
  m.currentGroup->polygons.pushFront(m.newPolygon(a, a, a, 0.5, 0.9, 0.5, 0.5, 0.5, 0.9));
  m.seams.mark(b, a);
  editor.doc.changedWithoutUndoStep();  // as every edit does, so that the outlines are found again
  editor.panelsShown = true;
  // u 0.5, v 0.25 is (250, 186)
  expectColour(kRed, {{250, 186}});
  expectColour({77, 204, 255}, {{186, 250}, {314, 250}});
  expectColour(kWhite, {{250, 250}});
  expectColour(kWhite, {{250, 327}}, false);  // the unmapped triangle
  mapped->uvs[0].selected = 1;                // (186, 186), moved a quarter to the right
  editor.toolState.dragMode = kToolDrag, editor.toolState.tool = kMove,
  editor.viewSet.activeView = kUvView;
  editor.toolState.moveOffset = {0.25, 0, 0};
  expectColour(kYellow, {{250, 183}});
  expectColour({128, 128, 0}, {{186, 183}});
}

// A view's caption goes on with "snap 0.5" in the flat views and "mirror x" in all four.
TEST_F(FrameTest, ViewCaptionsSayWhenSnappingOrMirroringIsOn) {
  std::string plain[4];
  for (int i = 0; i < 4; ++i) plain[i] = editor.viewCaption(i);
  const auto beyondPlain = [&](int view) {  // lit pixels past the plain caption's end
    const int x = (view % 2 ? 405 : 5) + textWidth(plain[view]) + 2, y = view < 2 ? 3 : 303;
    return count(x, y, x + 80, y + 14, kBlack, false);
  };
  const struct {
    const char* commands;
    bool flatViews, fullView;
  } rows[] = {{"", false, false},
              {"/snap 0.5", true, false},
              {"/mirror x", true, true},
              {"/snap off", true, true},
              {"/mirror off", false, false}};
  for (const auto& row : rows) {
    if (*row.commands) printedBy([&] { runConsoleCommand(editor, row.commands); });
    draw();
    for (int view = 0; view < 4; ++view)
      EXPECT_EQ(beyondPlain(view) > 30, view == kFullView ? row.fullView : row.flatViews)
          << row.commands << ", view " << view << ": " << beyondPlain(view);
  }
}

TEST_F(FrameTest, CursorLabelStaysInFrontOfPanelsAndAMoveEndsWhenThePointerLeaves) {
  editor.panelsShown = true;
  pointAt(420, 200);  // over the console only: the tool name shows white at 0.8 over the view
  draw();
  EXPECT_GT(count(425, 205, 520, 217, Rgb{204, 204, 204}), 5) << "the tool";
  pointAt(300, 290);  // the console's title band
  editor.consoleWidget->mouseButton(kLeftButton, kButtonDown);
  ASSERT_EQ(editor.consoleWidget->isMoving(), 1);
  draw(false);  // half transparent, outlined 3 pixels out
  EXPECT_GT(count(459, 209, 461, 211, {77, 77, 77}), 0);
  EXPECT_GT(count(502, 199, 504, 201, {26, 26, 26}), 0);
  pointAt(700, 580);
  drawFrame(editor);
  EXPECT_EQ(editor.consoleWidget->isMoving(), 0);
}

// "/refimage side FILE 4" of a grey 4 x 2 image: 4 units by 2 about the Side view's origin, the
// pixels 100..299 x 100..199, and none of its grey elsewhere; "off" takes it away.
TEST_F(FrameTest, AReferenceImageShowsBehindTheSideViewUntilHiddenOrTurnedOff) {
  writeFile(dir.file("sketch.bmp"), bmpFile(4, 2, 24, std::string(24, '\xA0')));
  connectTextureUploads(editor.ui->textures());
  editor.viewSet.showGrid = 0, editor.toolState.boundingBoxActive = false;  // nothing over it
  printedBy([&] { runConsoleCommand(editor, "/refimage side " + dir.file("sketch.bmp") + " 4"); });
  draw();
  EXPECT_EQ(count(100, 100, 299, 199, {160, 160, 160}), 200 * 100);
  EXPECT_EQ(count(0, 0, 799, 599, {160, 160, 160}), 200 * 100);
  key('T');  // hidden, then shown again
  draw();
  EXPECT_EQ(count(0, 0, 799, 599, {160, 160, 160}), 0);
  key('T');
  draw();
  EXPECT_EQ(count(100, 100, 299, 199, {160, 160, 160}), 200 * 100);
  printedBy([&] { runConsoleCommand(editor, "/refimage side off"); });
  draw();
  EXPECT_EQ(count(0, 0, 799, 599, {160, 160, 160}), 0);
}

// After /fit each view holds the whole model within its rectangle: a magenta box from (-9000,
// 2000, 4000) to (-3000, 9000, 5000), wholly beyond the depth a view has at start-up, fills a flat
// view to a tenth of its limiting side, and shows whole in the turned Full view.
TEST_F(FrameTest, FitShowsTheWholeModelInEveryView) {
  addUnitBox(*editor.doc.model, true);
  for (Vertex* v : editor.doc.model->vertices)
    v->x = -9000 + 6000 * v->x, v->y = 2000 + 7000 * v->y, v->z = 4000 + 1000 * v->z;
  editor.doc.model->currentGroup->material.green = 0;
  rebuildNormals(editor);
  editor.viewSet.views[kFullView].rotX = 30, editor.viewSet.views[kFullView].rotY = 50;
  printedBy([&] { runConsoleCommand(editor, "/fit"); });
  draw();
  for (int i = kSideView; i <= kFullView; ++i) {
    const Viewport& v = editor.viewSet.views[i];
    int x0 = 800, x1 = -1, y0 = 600, y1 = -1;
    for (int y = v.rectBottom; y < v.rectTop; ++y)
      for (int x = v.rectLeft; x < v.rectRight; ++x)
        if (count(x, y, x, y, {255, 0, 255}))
          x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    SCOPED_TRACE(testing::Message()
                 << "view " << i << ": " << x0 << "," << y0 << " - " << x1 << "," << y1);
    EXPECT_TRUE(v.rectLeft + 2 < x0 && x1 < v.rectRight - 2 && v.rectBottom + 2 < y0 &&
                y1 < v.rectTop - 2);
    if (i == kFullView) {
      EXPECT_GT(std::max(x1 - x0, y1 - y0), 120);
      continue;
    }
    const double across = i == kSideView ? 6000 : 1000, up = i == kTopView ? 6000 : 7000;
    EXPECT_NEAR(x1 - x0, across / (v.right - v.left) * v.pixelWidth, 2);
    EXPECT_NEAR(y1 - y0, up / (v.top - v.bottom) * v.pixelHeight, 2);
    EXPECT_NEAR(std::max(x1 - x0, (y1 - y0) * 4 / 3), 400 / 1.1, 2);
  }
}

// Each line of /help fits a row of the console's message box, and each timeline button's label
// lies inside its button, 2 pixels clear of its edges.
TEST_F(FrameTest, HelpLinesAndTimelineLabelsFitWhereTheyAreShown) {
  const MessageList& lines = *editor.consoleMessages->currentList();
  printedBy([&] { runConsoleCommand(editor, "/help"); });
  ASSERT_GT(lines.count(), 20);
  for (int i = 0; i < lines.count(); ++i)
    EXPECT_LE(textWidth(lines.messageAt(i)), editor.consoleMessages->width() - 10)
        << lines.messageAt(i);
  for (Button* b : editor.timelineWidget->buttons()) {
    double x = 0, y = 0;
    ASSERT_TRUE(b->labelPosition(0, 0, textWidth, &x, &y));
    EXPECT_TRUE(x >= b->x() + 2 && x + textWidth(b->name()) <= b->x() + b->width() - 2 &&
                y >= b->y() + 2 && y + fontHeight() - kFontDescent <= b->y() + b->height() - 2)
        << b->name();
  }
}

// Far out the grid keeps its lines at least 4 pixels apart: at 20 units a pixel, a line every
// 100 units, 5 pixels apart (a unit grid would be solid grey).
TEST_F(FrameTest, GridFarOutDrawsEveryHundredthLine) {
  Viewport& side = editor.viewSet.views[kSideView];
  side.zoom = 4000;
  applyZoom(side);
  draw();
  std::vector<int> lines;
  for (int x = 0; x < 400; ++x)
    if (count(x, 62, x, 62, kGrid)) lines.push_back(x);
  ASSERT_GT(lines.size(), 60u);
  for (size_t i = 1; i < lines.size(); ++i) EXPECT_GE(lines[i] - lines[i - 1], 4) << lines[i];
}

// Batched drawing (vertex arrays, only marker faces that can show, corners computed on the CPU)
// gives the plain frame in random layouts, modes, turns, zooms, selections and edits since the
// last frame, but for marker edges moved by one pixel: a pixel that differs has its colour in the
// other frame within one pixel, both ways.
TEST_F(FrameTest, BatchedFrameMatchesThePlainFrameInRandomStates) {
  std::mt19937 random(3);
  auto uniform = [&](double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
  };
  auto below = [&](int n) { return static_cast<int>(random() % n); };
  Model& m = *editor.doc.model;
  PolygonGroup* second = m.newGroup();
  second->material.red = 0.2, second->material.green = 0.6, second->material.blue = 0.9;
  m.groups.pushBack(second);
  std::vector<Vertex*> made;
  for (int i = 0; i < 450; ++i) {
    made.push_back(addVertex(m, uniform(-3.2, 3.2), uniform(-2.5, 2.5), uniform(-3.2, 3.2)));
    if (i % 3 < 2) continue;
    Polygon* p = addTriangle(m, made[i - 2], made[i - 1], made[i], i % 4 == 2 ? second : nullptr);
    p->selected = i % 5 == 2;
    p->smooth = i % 2;
  }
  rebuildNormals(editor);
  for (int i = 0; i < 450; i += 9) editor.doc.selectedVertices.pushFront(made[i]);
  Bone* bone = m.createRoot(0, 0, 0);
  for (int i = 0; i < 30; ++i)
    bone = m.addBone(i % 3 ? bone : m.rootBone(), uniform(-3, 3), uniform(-2, 2), uniform(-3, 3));
  editor.doc.selectedBone = bone->parent;
  editor.toolState.tool = kMove;
  editor.viewSet.showGrid = 0;  // its blue axis would pass for the second group
  const std::vector<std::function<void()>> edits = {
      [&] { Model::setPolygonsSelected(m.currentGroup->polygons, below(2)); },
      [&] { made[below(450)]->x += uniform(-1, 1); },
      [&] { m.currentGroup->material.green = uniform(0, 1); },
      [&] { m.currentGroup->polygons.remove(m.currentGroup->polygons.headItem()); },
      [&] { rebuildNormals(editor); }};
  // First turns that put marker faces (nearly) edge-on, then random states.
  const double turns[][3] = {{0, 0, 0},   {90, 0, 0},   {0, 90, 0},   {0, 0, 90},  {180, 0, 0},
                             {45, 45, 0}, {0, -90, 30}, {89.7, 0, 0}, {0, 90.3, 0}};
  auto drawn = [&](int batched) {
    editor.drawing.batchDrawing = batched;
    drawFrame(editor);
    return readBackBuffer(800, 600);
  };
  for (int round = 0; round < 30; ++round) {
    const bool turned = round < 9;
    editor.viewSet.layoutMode = turned ? 0 : below(3) ? 1 : 0;
    editor.viewSet.singleView = turned ? kFullView : below(4);
    editor.layoutViews();
    Viewport& full = editor.viewSet.views[kFullView];
    full.rotX = turned ? turns[round][0] : uniform(-360, 360);
    full.rotY = turned ? turns[round][1] : uniform(-360, 360);
    full.rotZ = turned ? turns[round][2] : uniform(-360, 360);
    for (int k = 0; k < 4; ++k) {
      Viewport& v = editor.viewSet.views[k];
      v.renderMode = turned ? kFlatShaded : below(3);
      v.left = v.right = uniform(-1, 1);
      v.bottom = v.top = uniform(-1, 1);
      v.zoom = uniform(1, 6);
      applyZoom(v);
    }
    editor.viewSet.vertexMarkerScale = below(3) == 0 ? 0 : 1;  // without markers the points show
    editor.toolState.dragMode =
        below(2) ? kToolDrag : kNoDrag;  // a Move shows outlines moved, lines back
    editor.toolState.moveOffset = {uniform(-1, 1), uniform(-1, 1), uniform(-1, 1)};
    drawn(1);  // arrays of the model before the edit
    edits[below(static_cast<int>(edits.size()))]();
    const std::vector<unsigned char> batched = drawn(1), plain = drawn(0);
    ASSERT_EQ(plain.size(), 800u * 600 * 3);
    auto at = [](int x, int y) {
      return (std::clamp(y, 0, 599) * 800 + std::clamp(x, 0, 799)) * 3;
    };
    auto differs = [&](int x, int y) {
      return !std::equal(&plain[at(x, y)], &plain[at(x, y) + 3], &batched[at(x, y)]);
    };
    auto near = [&](const std::vector<unsigned char>& in, int x, int y, const unsigned char* c) {
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if (std::equal(c, c + 3, &in[at(x + dx, y + dy)])) return true;
      return false;
    };
    // An edge one pixel over: the colour one frame has here, the other has next to it, and the
    // differences are strips, never a block three pixels wide.
    int differing = 0, farOff = 0, secondGroup = 0;
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x) {
        const int i = at(x, y);
        secondGroup += plain[i + 2] > plain[i] + 40 && plain[i + 1] > plain[i] + 20;
        if (!differs(x, y)) continue;
        ++differing;
        int around = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) around += differs(x + dx, y + dy);
        farOff +=
            around == 9 || !(near(plain, x, y, &batched[i]) || near(batched, x, y, &plain[i]));
      }
    EXPECT_EQ(farOff, 0) << "round " << round;
    EXPECT_LT(differing, 400) << "round " << round;
    EXPECT_GT(secondGroup, 200) << "round " << round << ": the model is on screen";
  }
}

}  // namespace

// A session played as the window delivers it, with kept view pictures: after every step the frame
// equals, pixel for pixel, the frame drawn from scratch, and only the views whose content the step
// changed (bit i for view i, 4 the UV view) are drawn again.
TEST_F(FrameTest, KeptPicturesGiveTheFrameDrawnFromScratchAndRedrawOnlyChangedViews) {
  Model& m = *editor.doc.model;
  addUnitBox(m, true);
  m.createRoot(-1, 1, 0);
  rebuildNormals(editor);
  for (Viewport& v : editor.viewSet.views) v.renderMode = kSmoothShaded;
  struct Step {
    const char* what;
    std::function<void()> act;
    int redrawn;
  };
  const auto typeLine = [&](const char* line) {
    for (const char* c = line; *c; ++c) key(*c);
  };
  writeFile(dir.file("t.bmp"), tinyBmp());
  connectTextureUploads(editor.ui->textures());
  // A texture whose id is the name OpenGL gave the Side view's picture (failed reads use ids up).
  const auto loadTexture = [&] {
    TextureCache& cache = *editor.ui->textures();
    while (cache.lastId() + 1 <
           static_cast<int>(editor.drawing.keptViews.picture(kSideView).texture))
      cache.acquire(dir.file(std::to_string(cache.lastId())));
    runConsoleCommand(editor, "/loadtex " + dir.file("t.bmp"));
  };
  const std::vector<Step> steps = {
      {"first frame", [] {}, 15},
      {"pointer over the Side view", [&] { moveTo(100, 500); }, 0},
      {"pointer over the Full view", [&] { moveTo(600, 100); }, 0},
      {"Scale 2D from the menu", [&] { editor.ui->pushCommand(22); }, 0},
      {"texture loaded", loadTexture, 15},  // the model's look changed
      {"panels shown, the UV view first drawn", [&] { special(kKeyHome); }, 16},
      {"hover over the console", [&] { moveTo(460, 390); }, 0},
      {"prompt focused", [&] { click(kLeftButton, 460, 483); }, 0},
      {"typing", [&] { typeLine("/setbb -2 2 -1 1 -1 1"); }, 0},
      {"command run", [&] { key(13); }, 31},
      {"console grabbed", [&] { press(kLeftButton, 460, 310); }, 0},
      {"console dragged", [&] { moveTo(430, 280); }, 0},
      {"console dropped", [&] { release(kLeftButton, 430, 280); }, 0},
      {"panels hidden", [&] { special(kKeyHome); }, 0},
      {"Full view grabbed", [&] { press(kLeftButton, 600, 150); }, 0},
      {"Full view turned", [&] { moveTo(630, 160); }, 8},
      {"Full view let go", [&] { release(kLeftButton, 630, 160); }, 0},
      {"Side view grabbed", [&] { press(kMiddleButton, 200, 450); }, 0},
      {"Side view scrolled", [&] { moveTo(220, 440); }, 1},
      {"Side view let go", [&] { release(kMiddleButton, 220, 440); }, 0},
      {"Top view zoomed", [&] { moveTo(200, 150), special(kKeyPageUp); }, 4},
      {"Front view scrolled by key", [&] { moveTo(600, 450), special(kKeyLeft); }, 2},
      // Too low for the menu to open downward: its bottom row at the pointer, Flatshade 4th.
      {"pop-up menu over the Front view", [&] { press(kRightButton, 500, 350); }, 0},
      {"hover over the menu", [&] { moveTo(550, 300); }, 0},
      {"Front view flat shaded", [&] { click(kLeftButton, 550, 287); }, 2},
      {"all vertices selected", [&] { special(kKeyF1, kShift); }, 15},
      {"all polygons selected", [&] { special(kKeyF2, kShift); }, 15},
      {"UV map from the menu", [&] { editor.ui->pushCommand(8); }, 15},
      {"panels shown, the UV view drawn again", [&] { special(kKeyHome); }, 16},
      {"pointer over the UV view", [&] { moveTo(250, 250); }, 0},
      {"panels hidden again", [&] { special(kKeyHome); }, 0},
      {"Move tool", [&] { key('m'); }, 15},
      {"move begun", [&] { press(kLeftButton, 200, 450); }, 15},
      {"move dragged", [&] { moveTo(230, 450); }, 15},
      {"move ended", [&] { release(kLeftButton, 230, 450); }, 15},
      {"undone", [&] { key('z'); }, 15},
      {"'l' held", [&] { editor.setKeyState('l', 1); }, 15},
      {"'l' let go", [&] { editor.setKeyState('l', 0); }, 15},
      {"'k' held", [&] { editor.setKeyState('k', 1); }, 15},
      {"'k' let go", [&] { editor.setKeyState('k', 0); }, 15},
      {"grid hidden", [&] { special(kKeyF9); }, 15},
      {"pointer moved", [&] { moveTo(300, 300); }, 0},
      {"window resized",
       [&] {
         mainPanel.setSize(700, 500), editor.ui->setWindowSize(700, 500);
         editor.layoutViews();
       },
       15},
      {"one-view layout", [&] { special(kKeyF8); }, 8},
      {"four-view layout", [&] { special(kKeyF8); }, 8},
  };
  for (const Step& step : steps) {
    step.act();
    editor.framePump();
    editor.drawing.keepViewPictures = true;
    drawFrame(editor);
    const std::vector<unsigned char> kept = readBackBuffer(800, 600);
    EXPECT_EQ(editor.drawing.viewsRedrawn, step.redrawn) << step.what;
    editor.drawing.keepViewPictures = false;
    drawFrame(editor);
    const std::vector<unsigned char> scratch = readBackBuffer(800, 600);
    int differing = 0;
    for (size_t i = 0; i < kept.size(); i += 3)
      differing += !std::equal(&kept[i], &kept[i + 3], &scratch[i]);
    EXPECT_EQ(differing, 0) << step.what;
  }
  EXPECT_EQ(editor.viewSet.views[kFrontView].renderMode, kFlatShaded);
  const Polygon* first =
      editor.doc.model->currentGroup->polygons.headItem();  // undo made a new model
  ASSERT_TRUE(first);
  EXPECT_EQ(first->uvMapped, 1);
  EXPECT_EQ(editor.toolState.boundingBox.minX, -2);
}
