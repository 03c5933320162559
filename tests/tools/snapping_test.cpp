// Snapping: each gesture of the mouse tools in each flat view, on a grid or to vertices, lands on
// exact coordinates; off, the pointer's own. Two selected vertices, a (0, 0, 0) and b (2, 2, 2),
// 50 pixels a unit.

#include "tools/tool_fixture.h"

#include "console/console_commands.h"

namespace {

struct Gesture {
  const char* what;
  const char* snap;  // the /snap word, or "" for none
  int view, tool;
  double h0, v0, h1, v1;
  const char* result;  // the box's corners for Box and Cylinder, else the vertices
};

const Gesture kGestures[] = {
    {"move by whole steps", "0.5", kSideView, kMove, 0.1, 0.1, 0.8, 1.3, "0.5,1,0* 2.5,3,2*"},
    {"move in Top", "1", kTopView, kMove, 0, 0, 1.4, -0.6, "-1,0,1* 1,2,3*"},
    {"move vertex to vertex", "vertex", kSideView, kMove, 0.06, 0.04, 1.96, 2.06, "2,2,0* 4,4,2*"},
    {"move from no vertex", "vertex", kSideView, kMove, 1, 1, 1.5, 1, "0.5,0,0* 2.5,2,2*"},
    {"move unsnapped", "", kSideView, kMove, 0.1, 0.1, 0.8, 1.3, "0.7,1.2,0* 2.7,3.2,2*"},
    {"rotate by 15 degrees", "1", kSideView, kRotate, 0, 0, 0, -0.5,
     "-0.224745,0.292893,0* 2.224745,1.707107,2*"},
    {"rotate unsnapped", "", kSideView, kRotate, 0, 0, 0, -0.5,
     "-0.216316,0.278492,0* 2.216316,1.721508,2*"},
    {"scale by tenths", "0.5", kSideView, kScale2D, 0, 0, 0.34, 0.12, "-0.7,-0.2,0* 2.7,2.2,2*"},
    {"scale 3D by tenths", "vertex", kFrontView, kScale3D, 0, 0, 0, 0.12,
     "-0.2,-0.2,-0.2* 2.2,2.2,2.2*"},
    {"box on the grid", "0.5", kTopView, kCreateBox, 0.2, 0.3, 1.1, 1.4, "0.5 1.5 0 1 0 1"},
    {"box unsnapped", "", kSideView, kCreateBox, 0.2, 0.3, 1.1, 1.4, "0.2 1.1 0.3 1.4 0 1"},
    {"box between vertices", "vertex", kSideView, kCreateBox, 0.04, 0, 2, 1.96, "0 2 0 2 0 1"},
    {"cylinder on the grid", "1", kFrontView, kCreateCylinder, 0.2, 0.4, 2.6, 2.2, "0 2 0 2 0 3"},
    {"vertex on the grid", "0.25", kSideView, kAddVertex, 0.3, 0.62, 0.3, 0.62,
     "0,0,0* 2,2,2* 0.25,0.5,0"},
    {"vertex on a vertex", "vertex", kFrontView, kAddVertex, 2.04, 1.97, 2.04, 1.97,
     "0,0,0* 2,2,2* 0,2,2"},
    {"vertex unsnapped", "", kTopView, kAddVertex, 0.3, 0.62, 0.3, 0.62,
     "0,0,0* 2,2,2* 0.62,0,0.3"},
};

void PrintTo(const Gesture& g, std::ostream* out) {
  *out << g.what;
}

class SnappingTest : public ToolTest, public ::testing::WithParamInterface<Gesture> {};

std::string corners(const BoxCorners& c) {
  return num(c.x0) + " " + num(c.x1) + " " + num(c.y0) + " " + num(c.y1) + " " + num(c.z0) + " " +
         num(c.z1);
}

TEST_P(SnappingTest, GesturesLandOnExactCoordinates) {
  const Gesture& g = GetParam();
  selectedVertex(0, 0, 0);
  selectedVertex(2, 2, 2);
  if (*g.snap) runConsoleCommand(editor, std::string("/snap ") + g.snap);
  editor.toolState.tool = g.tool;
  dragIn(g.view, g.h0, g.v0, g.h1, g.v1);
  const bool box = g.tool == kCreateBox || g.tool == kCreateCylinder;
  const std::string vertices = mesh().substr(0, mesh().find(" |"));
  EXPECT_EQ(box ? corners(editor.toolState.boxCorner) : vertices, g.result) << g.what;
}

INSTANTIATE_TEST_SUITE_P(EveryTool, SnappingTest, ::testing::ValuesIn(kGestures));

// The key turns the last choice off and on again, the flat views' captions say so, and a step
// must be above 0.
TEST_F(ToolTest, SnappingIsToldInTheCaptionsAndToggledByKey) {
  auto caption = [&](int view) {
    const std::string c = editor.viewCaption(view);
    return c.substr(c.find(']') + 1);
  };
  for (const char* word : {"0", "-1", "x"}) {
    runConsoleCommand(editor, std::string("/snap ") + word);
    EXPECT_EQ(lastConsoleMessage(), "Error! /snap takes a step above 0, vertex or off!") << word;
  }
  EXPECT_EQ(caption(0), "");
  runConsoleCommand(editor, "/snap 0.25");
  EXPECT_EQ(lastConsoleMessage(), "Snapping to a grid of 0.25 units.");
  EXPECT_EQ(caption(1) + "|" + caption(3), "  snap 0.25|");
  key('g');
  EXPECT_EQ(caption(2), "");
  key('g');
  EXPECT_EQ(caption(2), "  snap 0.25");
  runConsoleCommand(editor, "/snap vertex");
  runConsoleCommand(editor, "/snap off");
  EXPECT_EQ(caption(0), "");
  key('g');
  EXPECT_EQ(caption(0), "  snap vertex");
}

}  // namespace
