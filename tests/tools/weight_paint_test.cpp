// Weight painting: the brush's arithmetic, strokes of the Weight Paint tool on the arm (radius,
// strength, falloff, add, subtract, smooth, one undo step), /brush, /weights normalize|smooth|auto
// and the colours the views show.

#include <cmath>

#include "model/skin.h"
#include "model/weight_paint.h"
#include "render/weight_colours.h"
#include "support/arm_fixture.h"
#include "tools/tool_fixture.h"
#include "tools/weight_paint.h"

namespace {

TEST(WeightPaintArithmetic, FalloffColourAndDabs) {
  struct Falloff {
    double distance, radius, expected;
  } falloffs[] = {
      {0, 10, 1},       // full strength at the centre
      {5, 10, 0.5625},  // (1 - 0.25)^2
      {10, 10, 0},      // nothing at the edge
      {0, 0, 0},        // a brush of no size paints nothing
  };
  for (const Falloff& f : falloffs)
    EXPECT_DOUBLE_EQ(brushFalloff(f.distance, f.radius), f.expected) << f.distance;
  EXPECT_EQ(weightColour(0.25), (WeightRgb{0.25f, 0, 0.75f}));
  struct Dab {
    BrushMode mode;
    double weight, amount, neighbours, expected;
  } dabs[] = {
      {BrushMode::kAdd, 0, 0.5, 0, 0.5},       // halfway to 1
      {BrushMode::kAdd, 1, 0.5, 0, 1},         // stays at 1
      {BrushMode::kSubtract, 1, 0.5, 0, 0.5},  // halfway to 0
      {BrushMode::kSmooth, 0, 0.5, 0.8, 0.4},  // halfway to the neighbours
      {BrushMode::kAdd, 0.5, 3, 0, 1},         // an amount past 1 counts as 1
  };
  for (const Dab& d : dabs)
    EXPECT_DOUBLE_EQ(paintedWeight(d.mode, d.weight, d.amount, d.neighbours), d.expected);
}

TEST(WeightPaintArithmetic, WeightsStayNormalisedOnFourBones) {
  Bone b[6];
  auto sum = [](const std::vector<BoneWeight>& w) {
    double s = 0;
    for (const BoneWeight& x : w) s += x.weight;
    return s;
  };
  // Four bones already, a fifth painted in: the smallest goes, the rest share what is left.
  std::vector<BoneWeight> four = {{&b[0], 0.4}, {&b[1], 0.3}, {&b[2], 0.2}, {&b[3], 0.1}};
  std::vector<BoneWeight> painted = withWeight(four, &b[4], 0.5);
  ASSERT_EQ(painted.size(), 4u);
  EXPECT_EQ(painted[0].bone, &b[4]);
  EXPECT_DOUBLE_EQ(painted[0].weight, 0.5);
  EXPECT_NEAR(sum(painted), 1, 1e-12);
  EXPECT_EQ(weightOf(painted, &b[3]), 0);
  EXPECT_NEAR(weightOf(painted, &b[0]) / weightOf(painted, &b[1]), 0.4 / 0.3, 1e-12);
  // Alone on its bone, a vertex's weight taken away goes to the heir; without one it stays.
  std::vector<BoneWeight> alone = withWeight({{&b[0], 1}}, &b[0], 0.25, &b[5]);
  ASSERT_EQ(alone.size(), 2u);
  EXPECT_DOUBLE_EQ(weightOf(alone, &b[5]), 0.75);
  EXPECT_DOUBLE_EQ(weightOf(withWeight({{&b[0], 1}}, &b[0], 0.25), &b[0]), 1);
  // Normalising: a bone twice counts once, five become the largest four, zero goes to the root.
  std::vector<BoneWeight> five = {{&b[0], 2}, {&b[1], 1}, {&b[0], 2},
                                  {&b[2], 1}, {&b[3], 1}, {&b[4], 0.5}};
  std::vector<BoneWeight> n = normalisedWeights(five, &b[5]);
  ASSERT_EQ(n.size(), 4u);
  EXPECT_DOUBLE_EQ(weightOf(n, &b[0]), 4.0 / 7);
  EXPECT_EQ(weightOf(n, &b[4]), 0);
  EXPECT_NEAR(sum(n), 1, 1e-12);
  std::vector<BoneWeight> none = normalisedWeights({{&b[1], 0}}, &b[5]);
  ASSERT_EQ(none.size(), 1u);
  EXPECT_EQ(none[0].bone, &b[5]);
}

// The arm in the Side view at 50 pixels a unit, its vertices on whole pixels; the fore bone
// selected and the Weight Paint tool chosen, a brush of 10 pixels (a fifth of a unit: one vertex
// at a time) and strength 0.5.
class WeightPaintTest : public ToolTest {
 protected:
  WeightPaintTest() {
    Viewport& side = editor.viewSet.views[kSideView];
    side.bottom = -3.25, side.top = 2.75;
    editor.doc.selectedBone = arm.fore;
    key('W');
    runConsoleCommand(editor, "/brush 10 0.5");
    editor.doc.markSaved();
  }
  double weight(int v, const Bone* bone = nullptr) {
    const Rig rig = flattenRig(model());
    const SkinBinding binding = bindSkin(model(), rig);
    for (size_t i = 0; i < binding.vertices.size(); ++i)
      if (binding.vertices[i] == arm.v[v])
        return boneWeights(binding, rig.indexOf(bone ? bone : arm.fore))[i];
    return -1;
  }
  // A click at vertex v, `dx` pixels to its right: two dabs (the press and the release).
  void dab(int v, int dx, int modifiers = 0) {
    const int x = glutX(kSideView, arm.v[v]->x) + dx, y = glutY(kSideView, arm.v[v]->y);
    press(kLeftButton, x, y, modifiers);
    release(kLeftButton, x, y, modifiers);
  }
  Arm arm{model()};
};

TEST_F(WeightPaintTest, AStrokePaintsByRadiusStrengthAndFalloff) {
  // Derived fore weights: v0 0, v1 2/3, v2 1, v3 0, v4 1/3, v5 1.
  struct Case {
    const char* what;
    int vertex, dx, modifiers;
    double expected;  // the fore bone's weight on the vertex after the click
    double upper;     // the upper arm's after it
    int steps;        // undo steps the click took
  } cases[] = {
      {"add at the centre", 0, 0, 0, 0.75, 0.25, 1},
      {"add at half the radius", 0, 5, 0, 1 - std::pow(1 - 0.5 * 0.5625, 2),
       std::pow(1 - 0.5 * 0.5625, 2), 1},
      {"add outside the radius", 0, 10, 0, 0, 1, 0},
      {"subtract: the rest to the parent", 2, 0, kCtrl, 0.25, 0.75, 1},
      {"subtract where nothing is", 0, 0, kCtrl, 0, 1, 0},
      {"add where all is the bone's", 2, 0, 0, 1, 0, 0},
      {"smooth toward the neighbours' 1/3", 0, 0, kShift, 0.25, 0.75, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    model().animation->weights.clear();
    editor.doc.undoHistory.clear();
    editor.doc.markSaved();
    const double others[6] = {weight(0), weight(1), weight(2), weight(3), weight(4), weight(5)};
    dab(c.vertex, c.dx, c.modifiers);
    EXPECT_NEAR(weight(c.vertex), c.expected, 1e-9);
    EXPECT_NEAR(weight(c.vertex, arm.upper), c.upper, 1e-9);
    EXPECT_NEAR(weight(c.vertex) + weight(c.vertex, arm.upper) + weight(c.vertex, arm.root), 1,
                1e-12);
    for (int v = 0; v < 6; ++v) {
      if (v != c.vertex) {
        EXPECT_EQ(weight(v), others[v]) << "vertex " << v;
      }
    }
    EXPECT_EQ(snapshots(), c.steps);
    EXPECT_EQ(editor.doc.unsavedChanges(), c.steps > 0);
  }
}

TEST_F(WeightPaintTest, AWholeStrokeIsOneUndoStep) {
  press(kLeftButton, glutX(kSideView, 0), glutY(kSideView, -0.25));
  for (double x : {0.25, 0.5, 0.75, 1.0}) moveTo(glutX(kSideView, x), glutY(kSideView, -0.25));
  release(kLeftButton, glutX(kSideView, 1), glutY(kSideView, -0.25));
  EXPECT_EQ(snapshots(), 1);
  EXPECT_GT(weight(0), 0);
  EXPECT_GT(weight(1), 2.0 / 3);
  EXPECT_FALSE(editor.toolState.stroke);
  undo(editor.doc);
  EXPECT_TRUE(model().animation->weights.empty());  // the model before the stroke
}

TEST_F(WeightPaintTest, TheFullViewPaintsWhereItShowsTheVertex) {
  Viewport& full = editor.viewSet.views[kFullView];
  full.rotY = 90;  // the arm seen end-on: its lower vertices v0 v1 v2 on one pixel
  const ScreenPoint at = WindowProjection(full, 0, 0, 0)(2, -0.25, 0);
  editor.doc.selectedBone = arm.upper;
  const double rotY = full.rotY;
  const int x = static_cast<int>(std::lround(at.x)), y = 600 - static_cast<int>(std::lround(at.y));
  press(kLeftButton, x, y);
  release(kLeftButton, x, y);
  EXPECT_EQ(full.rotY, rotY);  // painting, not turning
  EXPECT_GT(weight(2, arm.upper), 0);
  EXPECT_EQ(snapshots(), 1);
}

TEST_F(WeightPaintTest, RefusalsAndTheBrushCommand) {
  struct Case {
    const char* line;
    const char* answer;
  } cases[] = {
      {"/brush 0 0.5", "Error! The brush radius is a number of pixels from 1 to 2000!|"},
      {"/brush 30 1.5", "Error! The brush strength is a number from 0 to 1!|"},
      {"/brush 25 0.25", "Brush of 25 pixels, strength 0.25.|"},
      {"/weights auto", "Select the vertices whose weights to change.|"},
      {"/weights smooth", "Error! /weights smooth needs the number of passes!|"},
      {"/weights smooth 0", "Error! The passes are a whole number from 1 to 1000!|"},
      {"/weights spin", "Error! /weights takes normalize, smooth N or auto!|"},
  };
  for (const Case& c : cases) EXPECT_EQ(said(c.line), c.answer) << c.line;
  EXPECT_EQ(editor.toolState.brush.radius, 25);
  EXPECT_EQ(editor.toolState.brush.strength, 0.25);
  editor.doc.selectedBone = nullptr;
  selectAllVertices(editor);
  EXPECT_EQ(said("/weights normalize"), "Select the bone whose weights to paint (F3).|");
  const int before = messageCount();
  dab(0, 0);
  EXPECT_EQ(messagesSince(before), "Select the bone whose weights to paint (F3).|");
  EXPECT_EQ(snapshots(), 0);
  // Without a skeleton the tool cannot be chosen.
  editor.doc.replaceModel(std::make_unique<Model>("plain", nullptr));
  editor.toolState.tool = kSelectVertex;
  key('W');
  EXPECT_EQ(editor.toolState.tool, kSelectVertex);
}

TEST_F(WeightPaintTest, WeightsCommandsActOnTheSelectedVertices) {
  editor.doc.selectedVertices.pushFront(arm.v[0]);
  struct Case {
    const char* line;
    double fore, upper;  // on v0 after it
  } cases[] = {
      // v0 follows the upper arm; its neighbours v1, v4, v3 give fore (2/3 + 1/3 + 0) / 3.
      {"/weights smooth 1", 1.0 / 6, 5.0 / 6},
      {"/weights normalize", 1.0 / 6, 5.0 / 6},  // normalised already: no step
  };
  int steps = 0;
  for (const Case& c : cases) {
    runConsoleCommand(editor, c.line);
    EXPECT_NEAR(weight(0), c.fore, 1e-12) << c.line;
    EXPECT_NEAR(weight(0, arm.upper), c.upper, 1e-12) << c.line;
    steps += std::string(c.line) != "/weights normalize";
    EXPECT_EQ(snapshots(), steps) << c.line;
  }
  model().animation->weights[arm.v[0]] = {{arm.fore, 2}, {arm.upper, 2}};
  runConsoleCommand(editor, "/weights normalize");
  EXPECT_EQ(model().animation->weights[arm.v[0]].size(), 2u);
  EXPECT_DOUBLE_EQ(weightOf(model().animation->weights[arm.v[0]], arm.fore), 0.5);
  // /weights auto on v2 at (2, -0.25): squared distances 4.0625 to the root's joint, 1.0625 to
  // the upper arm, 0.0625 to the forearm.
  editor.doc.selectedVertices.clear();
  editor.doc.selectedVertices.pushFront(arm.v[2]);
  runConsoleCommand(editor, "/weights auto");
  const double sum = 1 / 4.0625 + 1 / 1.0625 + 1 / 0.0625;
  EXPECT_NEAR(weight(2), 1 / 0.0625 / sum, 1e-9);
  EXPECT_NEAR(weight(2, arm.upper), 1 / 1.0625 / sum, 1e-9);
  EXPECT_NEAR(weight(2, arm.root), 1 / 4.0625 / sum, 1e-9);
}

TEST_F(WeightPaintTest, ColoursFollowTheSelectedBonesWeights) {
  // Six floats a corner, the newest triangle first: v1 v5 v4 are fore 2/3, 1, 1/3.
  const std::vector<float> corners = weightColourCorners(model(), arm.fore);
  ASSERT_EQ(corners.size(), 4u * 3 * 6);
  const float red[3] = {2.0f / 3, 1, 1.0f / 3};
  for (int k = 0; k < 3; ++k) {
    EXPECT_FLOAT_EQ(corners[k * 6 + 3], red[k]);
    EXPECT_FLOAT_EQ(corners[k * 6 + 5], 1 - red[k]);
  }
}

}  // namespace
