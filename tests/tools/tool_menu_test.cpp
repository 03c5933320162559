#include "tools/tool_menu.h"
#include "tools/tool_fixture.h"

namespace {

using ToolMenuTest = WingTest;

// A tool button's code, then a left drag from (-0.5, -0.5) to (1.5, 1.5) in a
// view's own coordinates (100 pixels right and up) with c, e and p1 selected;
// code 0 is the 'R' key over the view instead.
TEST_F(ToolMenuTest, AfterAToolCodeADragGivesExactlyThisModel) {
  struct Case {
    int code, view;
    const char* toolAfter;
    std::string trace, mesh;
    int snapshots;
  };
  // clang-format off
  const std::string band = "make selection on 0 from [-0.500000 -0.500000] -> [1.500000 1.500000]"
                           "\n",
                    uvClicks = "Clicked in UV Mapper\nClicked in UV Mapper\n",
                    scaled = "center x: 1.500000 y: 0.500000 z: 1.000000\nmin x: ",
                    boxCentre = "Center: [0.500000 0.500000 0.500000]\n\n",
                    radius = "radius: 1.000000 cx: 1.000000 cy: 0.500000 [",
                    wing = "0,0,0 1,0,0 1,1,0* 0,1,0 2,0,2*",
                    rest = " | 0,1,2* 0,2,3 1,4,2 | 3,4,0";
  const std::string box =
      " | 0,1,2 0,2,3 1,4,2 5,6,7 7,8,5 5,6,10~ 10,9,5~ 6,10,11 11,7,6 7,8,11~ 11,12,8 12,8,5~ "
      "5,9,12~ 9,12,11 11,10,9 | 3,4,0";
  const Case cases[] = {
      {17, kSideView, "Select Vertex", band, "0,0,0* 1,0,0* 1,1,0* 0,1,0* 2,0,2 | 0,1,2* 0,2,3 "
       "1,4,2 | 3,4,0", 0},
      {18, kSideView, "Select Polygon", band + "Found polygon!Found polygon!",
       wing + " | 0,1,2* 0,2,3* 1,4,2 | 3,4,0", 0},
      {19, kSideView, "Select Bone", band + "Looking up bones...\n", wing + rest, 0},
      {20, kSideView, "Move", "", "0,0,0 1,0,0 3,3,0* 0,1,0 4,2,2*" + rest, 1},
      // A hundredth of a radian per pixel; upward drags turn the negative way.
      {21, kSideView, "Rotate", "", "0,0,0 1,0,0 0.809113,0.349416,0* 0,1,0 2.190887,0.650584,2*" +
       rest, 1},
      // A quarter turn about the view's depth axis through the middle of the box.
      {0, kSideView, "Select Vertex", "", "0,0,0 1,0,0 2,1,0* 0,1,0 1,0,2*" + rest, 1},
      {0, kFrontView, "Select Vertex", "", "0,0,0 1,0,0 1,1.5,1.5* 0,1,0 2,-0.5,0.5*" + rest, 1},
      {0, kTopView, "Select Vertex", "", "0,0,0 1,0,0 0.5,1,1.5* 0,1,0 2.5,0,0.5*" + rest, 1},
      {0, kFullView, "Select Vertex", "", wing + rest, 1},
      // Half a unit of drag doubles the size about the middle of the box.
      {22, kSideView, "Scale 2D", scaled + "-1.000000 y: -2.000000 z: 0.000000\ntesttest",
       "0,0,0 1,0,0 -1,3,0* 0,1,0 4,-2,2*" + rest, 1},
      {22, kFrontView, "Scale 2D", scaled + "1.000000 y: -2.000000 z: -4.000000\ntesttest",
       "0,0,0 1,0,0 1,3,-4* 0,1,0 2,-2,6*" + rest, 1},
      {23, kTopView, "Scale 3D", scaled + "-1.000000 y: -2.000000 z: -4.000000\ntesttest",
       "0,0,0 1,0,0 -1,3,-4* 0,1,0 4,-2,6*" + rest, 1},
      // One unit deep from 0, every face turned out, the new corners selected.
      {24, kSideView, "Select Vertex", boxCentre, "0,0,0 1,0,0 1,1,0 0,1,0 2,0,2 -0.5,-0.5,0* "
       "1.5,-0.5,0* 1.5,-0.5,1* -0.5,-0.5,1* -0.5,1.5,0* 1.5,1.5,0* 1.5,1.5,1* -0.5,1.5,1*" + box,
       1},
      {24, kFrontView, "Select Vertex", boxCentre, "0,0,0 1,0,0 1,1,0 0,1,0 2,0,2 0,-0.5,-0.5* "
       "1,-0.5,-0.5* 1,-0.5,1.5* 0,-0.5,1.5* 0,1.5,-0.5* 1,1.5,-0.5* 1,1.5,1.5* 0,1.5,1.5*" + box,
       1},
      {24, kTopView, "Select Vertex", boxCentre, "0,0,0 1,0,0 1,1,0 0,1,0 2,0,2 -0.5,0,-0.5* "
       "1.5,0,-0.5* 1.5,0,1.5* -0.5,0,1.5* -0.5,1,-0.5* 1.5,1,-0.5* 1.5,1,1.5* -0.5,1,1.5*" + box,
       1},
      {24, kUvView, "Select Vertex", uvClicks, wing + rest, 0},
      // The section spans the drag's height; the rings (two levels of three in
      // the Side view, one elsewhere) and the cap centres join the selection;
      // the triangles turn by the middle of p1, selected before.
      {25, kSideView, "Select Vertex",
       radius + "-0.500000 1.500000 -0.500000 1.500000 0.000000 2.000000]\n",
       wing + " -0.5,1.5,1* -0.5,0,1.866025* -0.5,0,0.133975* 0.5,1.5,1* 0.5,0,1.866025* "
       "0.5,0,0.133975* 1.5,1.5,1* 1.5,0,1.866025* 1.5,0,0.133975* -0.5,0.5,1* 1.5,0.5,1* | 0,1,2* "
       "0,2,3 1,4,2 5,6,14 6,7,14 7,5,14 11,12,15~ 12,13,15~ 13,11,15~ 5,8,9 5,6,9~ 6,9,10 6,7,10~ "
       "7,10,8~ 7,8,5~ 8,11,12 8,9,12~ 9,12,13 9,10,13~ 10,13,11~ 10,11,8~ | 3,4,0", 1},
      {25, kFrontView, "Select Vertex",
       radius + "0.000000 2.000000 -0.500000 1.500000 -0.500000 1.500000]\n",
       wing + " 2,0.5,-0.5* 0.5,1.366025,-0.5* 0.5,-0.366025,-0.5* 2,0.5,1.5* 0.5,1.366025,1.5* "
       "0.5,-0.366025,1.5* 1,0.5,-0.5* 1,0.5,1.5* | 0,1,2* 0,2,3 1,4,2 5,6,11 6,7,11 7,5,11 "
       "8,9,12~ 9,10,12~ 10,8,12~ 5,8,9 5,6,9~ 6,9,10 6,7,10~ 7,10,8 7,8,5 | 3,4,0", 1},
      {25, kTopView, "Select Vertex",
       radius + "-0.500000 1.500000 0.000000 2.000000 -0.500000 1.500000]\n",
       wing + " 0.5,2,-0.5* 1.366025,0.5,-0.5* -0.366025,0.5,-0.5* 0.5,2,1.5* 1.366025,0.5,1.5* "
       "-0.366025,0.5,1.5* 0.5,1,-0.5* 0.5,1,1.5* | 0,1,2* 0,2,3 1,4,2 5,6,11~ 6,7,11~ 7,5,11~ "
       "8,9,12 9,10,12 10,8,12 5,8,9~ 5,6,9 6,9,10~ 6,7,10~ 7,10,8~ 7,8,5~ | 3,4,0", 1},
      {25, kUvView, "Select Vertex", uvClicks, wing + rest, 0},
      {26, kTopView, "Add Vertex", "", wing + " -0.5,0,-0.5" + rest, 1},  // at the press
      {26, kUvView, "Add Vertex", uvClicks, wing + rest, 1},              // no plane there
      {27, kFrontView, "Add Bone", "0 0 1.5 1.5 0 0\n", wing + rest, 0},   // the root
      {28, kSideView, "Create Spline", "", wing + rest, 0},
      // The first motion extrudes p1 and hands the new corners to Move.
      {29, kSideView, "Move", "Center: [0.500500 0.500500 0.000500]\n\n",
       "0,0,0 1,0,0 1,1,0 0,1,0 2,0,2 3.001,3.001,0.001* 3.001,2.001,0.001* 2.001,2.001,0.001* | "
       "7,6,5 0,2,3 1,4,2 7,5,0 5,2,0 6,5,1 5,2,1~ 7,6,0~ 6,1,0 | 3,4,0", 2},
  };
  // clang-format on
  editor.cylinderSides = 3;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "code " << c.code << " in view " << c.view);
    startOver();
    select("ce", "1");
    editor.cylinderLevels = c.view == kSideView ? 2 : 1;
    const bool uv = c.view == kUvView;  // the UV Mapper shows it; the drag stays inside
    editor.panelsShown = uv;
    const std::string trace = printedBy([&] {
      if (c.code) {
        toolMenuCommand(editor, c.code);
        dragIn(c.view, uv ? 0.25 : -0.5, uv ? 0.25 : -0.5, uv ? 0.75 : 1.5, uv ? 0.75 : 1.5);
      } else {
        moveTo(glutX(c.view, 0), glutY(c.view, 0));
        key('R');
      }
    });
    EXPECT_EQ(editor.toolName(), c.toolAfter);
    EXPECT_EQ(trace, c.trace);
    EXPECT_EQ(mesh(), c.mesh);
    EXPECT_EQ(snapshots(), c.snapshots);
  }
}

// The release acts as the tool current then: a select tool chosen during a
// Move drag selects like a rubber band, and nothing moves.
TEST_F(ToolMenuTest, ToolChosenDuringADragEndsIt) {
  select("ce", "1");
  toolMenuCommand(editor, 20);
  press(kLeftButton, glutX(kSideView, -0.5), glutY(kSideView, -0.5));
  moveTo(glutX(kSideView, 1.5), glutY(kSideView, 1.5));
  toolMenuCommand(editor, 17);
  printedBy([&] { release(kLeftButton, glutX(kSideView, 1.5), glutY(kSideView, 1.5)); });
  EXPECT_EQ(mesh(), "0,0,0* 1,0,0* 1,1,0* 0,1,0* 2,0,2 | 0,1,2* 0,2,3 1,4,2 | 3,4,0");
  EXPECT_EQ(snapshots(), 0);
}

TEST_F(ToolMenuTest, RenderCodesSetTheActiveViewsModeAndPanelCodesDoNothing) {
  editor.activeView = kTopView;
  for (int code : {7, 5, 6, 4, 6}) {
    toolMenuCommand(editor, code);
    EXPECT_EQ(editor.views[kTopView].renderMode, code - 4);
  }
  select("ce", "1");
  for (int code : {0, 1, 2, 3, 30, -1}) toolMenuCommand(editor, code);
  for (const Viewport& v : editor.views) {
    EXPECT_EQ(v.renderMode, v.kind == kTopView ? kSmoothShaded : kWireframe);
  }
  EXPECT_EQ(editor.tool, kSelectVertex);
  EXPECT_EQ(mesh(), "0,0,0 1,0,0 1,1,0* 0,1,0 2,0,2* | 0,1,2* 0,2,3 1,4,2 | 3,4,0");
  EXPECT_EQ(snapshots(), 0);
}

// Front-most first, left to right, a new row below when the window's 800
// pixels are full; everything that can be is minimised.
TEST_F(ToolMenuTest, ArrangeLaysThePanelsOutInRowsFromTheTopLeft) {
  arrangeWidgets(editor);
  std::string layout;
  for (Panel* p : editor.widgets) {
    layout += p->name() + " " + num(p->x()) + "," + num(p->y()) + " " + num(p->width()) + "x" +
              num(p->height()) + (p->isMinimised() ? " minimised; " : "; ");
  }
  EXPECT_EQ(layout,
            "Fancy Tools :O 5,341 180x254; Menu :P 185,575 180x20; Menu :J 365,377 180x218; "
            "Menu :D 545,539 180x56; UV Mapper 5,540 300x25 minimised; Console 305,540 400x25 "
            "minimised; ");
}

}  // namespace
