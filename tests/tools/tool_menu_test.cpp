#include "tools/tool_fixture.h"

namespace {

using ToolMenuTest = WingTest;

std::string uvText(const Polygon* p) {
  std::string text;
  for (const UvPoint& uv : p->uvs)
    text += " " + num(uv.u) + "," + num(uv.v) + (uv.selected ? "*" : "");
  return text.substr(1);
}

// Selection c, e, p1 unless given; a menu code, for a tool a drag (-0.5, -0.5) to (1.5, 1.5); a
// key. Rows with `uvs` map p1 (mapP1), drag in the UV view, give p1's, p3's UVs, mapped count.
TEST_F(ToolMenuTest, EachEditGivesExactlyThisModel) {
  struct Case {
    int code, view;
    const char* toolAfter;
    std::string trace, mesh;
    int snapshots;
    const char *vertices = "ce", *polygons = "1";
    char key = 0;
    const char* uvs = nullptr;
  };
  // clang-format off
  const std::string band =
      "make selection on 0 from [-0.500000 -0.500000] -> [1.500000 1.500000]\n",
      scaled = "center x: 1.500000 y: 0.500000 z: 1.000000\nmin x: ",
      boxCentre = "Center: [0.500000 0.500000 0.500000]\n\n",
      radius = "radius: 1.000000 cx: 1.000000 cy: 0.500000 [",
      wing = "0,0,0 1,0,0 1,1,0* 0,1,0 2,0,2*", rest = " | 0,1,2* 0,2,3 1,4,2 | 3,4,0",
      plain = "0,0,0 1,0,0 1,1,0 0,1,0 2,0,2", tris = " | 0,1,2 0,2,3 1,4,2 | 3,4,0",
      uvClicks = "Clicked in UV Mapper\nClicked in UV Mapper\n",
      uvMesh = "0,0,0 1,0,0 1,1,0* 0,1,0 2,0,2 | 0,1,2* 0,2,3 1,4,2* | 3,4,0",
      lifted = "Center: [0.500500 0.500500 0.000500]\n\n", box = " | 0,1,2 0,2,3 1,4,2 5,6,7 7,8,5 "
      "5,6,10~ 10,9,5~ 6,10,11 11,7,6 7,8,11~ 11,12,8 12,8,5~ 5,9,12~ 9,12,11 11,10,9 | 3,4,0";
  const int S = kSideView, F = kFrontView, T = kTopView, A = kFullView, U = kUvView;
  const Case cases[] = {
      {18, S, "Select Polygon", band + "Found polygon!Found polygon!",
       wing + " | 0,1,2* 0,2,3* 1,4,2 | 3,4,0", 0},
      {19, S, "Select Bone", band + "Looking up bones...\n", wing + rest, 0},
      {20, S, "Move", "", "0,0,0 1,0,0 3,3,0* 0,1,0 4,2,2*" + rest, 1},
      // A hundredth of a radian per pixel; upward drags turn the negative way.
      {21, S, "Rotate", "", "0,0,0 1,0,0 0.809113,0.349416,0* 0,1,0 2.190887,0.650584,2*" + rest,
       1},
      {0, S, {}, "", "0,0,0 1,0,0 2,1,0* 0,1,0 1,0,2*" + rest, 1, "ce", "1", 'R'},
      {0, F, {}, "", "0,0,0 1,0,0 1,1.5,1.5* 0,1,0 2,-0.5,0.5*" + rest, 1, "ce", "1", 'R'},
      {0, T, {}, "", "0,0,0 1,0,0 0.5,1,1.5* 0,1,0 2.5,0,0.5*" + rest, 1, "ce", "1", 'R'},
      {0, A, {}, "", wing + rest, 1, "ce", "1", 'R'},
      {0, 0, {}, "", "0,0,0 1,1,0* 2,0,2 | 0,1,1 0,1,1 1,2,1 | 1,2,0", 1, "bdc", "", 'n'},
      {0, 0, {}, "", "0,0,0 1,1,0 0,1,0 2,0,2* | 0,3,1 0,1,2 3,3,1 | 2,3,0", 1, "bbeg", "", 'n'},
      {0, 0, {}, "", plain + tris, 1, "gg", "", 'n'},
      {0, 0, {}, "", "0,0,0 1,0,0 1,1,0 0,1,0 | 0,1,2 |", 1, "e", "2", 127},
      {0, 0, {}, "", "0,0,0* 1,0,0* 1,1,0* 0,1,0 2,0,2* 2,2,1 3,1,3 2,1,1 1,1,1 | 0,1,2 0,2,3 "
       "1,4,2* 7,6,5 | 3,4,0", 1, "a", "3", 'd'},
      {9, 0, {}, "", "1,0,0* 1,0,0* 1,1,0 0,1,0 1,0,2*" + tris, 1, "abe", ""},
      {10, 0, {}, "", "0,0,0 1,0,0 1,0.5,0* 0,1,0 2,0.5,2*" + tris, 1, "ce", ""},
      {11, 0, {}, "", "0,0,1* 1,0,0 1,1,0 0,1,0 2,0,1*" + tris, 1, "ae", ""},
      {9, 0, {}, "", plain + "*" + tris, 1, "e", ""},
      {0, 0, {}, "", "0,0,0 1,0,0 1,1,0 0,1,0 1,0,1" + tris, 1, "", "", '`'},
      {0, 0, {}, "", plain + " | 0,1,2~* 0,2,3 1,4,2~* | 3,4,0", 0, "", "113", 'f'},
      {0, 0, {}, "Center: [1.000000 0.500000 1.000000]\n\n",
       plain + " | 0,1,2~* 0,2,3~* 1,4,2~* | 3,4,0", 0, "", "123", 'o'},
      {0, 0, {}, "Num verts: 3\nPolygon Created!\n",
       plain + " | 0,1,2 0,2,3 1,4,2 4,1,0 | 3,4,0", 1, "abe", "", 'p'},
      {0, 0, {}, "Num verts: 4\n", "0,0,0* 1,0,0* 1,1,0 0,1,0* 2,0,2*" + tris, 0, "abde", "", 'p'},
      {22, S, "Scale 2D", scaled + "-1.000000 y: -2.000000 z: 0.000000\ntesttest",
       "0,0,0 1,0,0 -1,3,0* 0,1,0 4,-2,2*" + rest, 1},
      {22, F, "Scale 2D", scaled + "1.000000 y: -2.000000 z: -4.000000\ntesttest",
       "0,0,0 1,0,0 1,3,-4* 0,1,0 2,-2,6*" + rest, 1},
      {23, T, "Scale 3D", scaled + "-1.000000 y: -2.000000 z: -4.000000\ntesttest",
       "0,0,0 1,0,0 -1,3,-4* 0,1,0 4,-2,6*" + rest, 1},
      {24, S, {}, boxCentre, plain + " -0.5,-0.5,0* 1.5,-0.5,0* 1.5,-0.5,1* "
       "-0.5,-0.5,1* -0.5,1.5,0* 1.5,1.5,0* 1.5,1.5,1* -0.5,1.5,1*" + box, 1},
      {24, F, {}, boxCentre, plain + " 0,-0.5,-0.5* 1,-0.5,-0.5* 1,-0.5,1.5* "
       "0,-0.5,1.5* 0,1.5,-0.5* 1,1.5,-0.5* 1,1.5,1.5* 0,1.5,1.5*" + box, 1},
      {24, T, {}, boxCentre, plain + " -0.5,0,-0.5* 1.5,0,-0.5* 1.5,0,1.5* "
       "-0.5,0,1.5* -0.5,1,-0.5* 1.5,1,-0.5* 1.5,1,1.5* -0.5,1,1.5*" + box, 1},
      {24, U, {}, uvClicks, wing + rest, 0},
      // Two levels of three sides in the Side view, one elsewhere; cap centres last.
      {25, S, {}, radius + "-0.500000 1.500000 -0.500000 1.500000 0.000000 2.000000]\n",
       wing + " -0.5,1.5,1* -0.5,0,1.866025* -0.5,0,0.133975* 0.5,1.5,1* 0.5,0,1.866025* "
       "0.5,0,0.133975* 1.5,1.5,1* 1.5,0,1.866025* 1.5,0,0.133975* -0.5,0.5,1* 1.5,0.5,1* | 0,1,2* "
       "0,2,3 1,4,2 5,6,14 6,7,14 7,5,14 11,12,15~ 12,13,15~ 13,11,15~ 5,8,9 5,6,9~ 6,9,10 6,7,10~ "
       "7,10,8~ 7,8,5~ 8,11,12 8,9,12~ 9,12,13 9,10,13~ 10,13,11~ 10,11,8~ | 3,4,0", 1},
      {25, F, {}, radius + "0.000000 2.000000 -0.500000 1.500000 -0.500000 1.500000]\n",
       wing + " 2,0.5,-0.5* 0.5,1.366025,-0.5* 0.5,-0.366025,-0.5* 2,0.5,1.5* 0.5,1.366025,1.5* "
       "0.5,-0.366025,1.5* 1,0.5,-0.5* 1,0.5,1.5* | 0,1,2* 0,2,3 1,4,2 5,6,11 6,7,11 7,5,11 "
       "8,9,12~ 9,10,12~ 10,8,12~ 5,8,9 5,6,9~ 6,9,10 6,7,10~ 7,10,8 7,8,5 | 3,4,0", 1},
      {25, T, {}, radius + "-0.500000 1.500000 0.000000 2.000000 -0.500000 1.500000]\n",
       wing + " 0.5,2,-0.5* 1.366025,0.5,-0.5* -0.366025,0.5,-0.5* 0.5,2,1.5* 1.366025,0.5,1.5* "
       "-0.366025,0.5,1.5* 0.5,1,-0.5* 0.5,1,1.5* | 0,1,2* 0,2,3 1,4,2 5,6,11~ 6,7,11~ 7,5,11~ "
       "8,9,12 9,10,12 10,8,12 5,8,9~ 5,6,9 6,9,10~ 6,7,10~ 7,10,8~ 7,8,5~ | 3,4,0", 1},
      {25, U, {}, uvClicks, wing + rest, 0},
      {26, T, "Add Vertex", "", wing + " -0.5,0,-0.5" + rest, 1},
      {26, U, "Add Vertex", uvClicks, wing + rest, 1},
      {27, F, "Add Bone", "0 0 1.5 1.5 0 0\n", wing + rest, 0},
      {28, S, "Create Spline", "", wing + rest, 0},
      {28, U, "Create Spline", uvClicks, wing + rest, 0},  // no model plane there: no point
      // The first motion extrudes p1 and hands the new corners to Move; no wall on a shared edge.
      {29, S, "Move", lifted, "0,0,0 1,0,0 1,1,0 0,1,0 2,0,2 3.001,3.001,0.001* "
       "3.001,2.001,0.001* 2.001,2.001,0.001* | 7,6,5 0,2,3 1,4,2 7,5,0 5,2,0 6,5,1 5,2,1~ 7,6,0~ "
       "6,1,0 | 3,4,0", 2},
      {29, S, "Move", lifted, plain + " 3.001,2.001,0.001* 2.001,3.001,0.001* "
       "3.001,3.001,0.001* 2.001,2.001,0.001* | 8,5,7 8,7,6 1,4,2 5,7,1 7,2,1~ 8,5,0~ 5,1,0 8,6,0 "
       "6,3,0 7,6,2 6,3,2~ | 3,4,0", 2, "", "12"},
      {29, S, "Extrude", "", plain + tris, 0, "", ""},
      // The box of the selected triangles spans the texture, along the view's axes.
      {8, S, {}, "view: 0\nU: 0.500000 V: 0.000000\nU: 1.000000 V: 0.000000\nU: 0.500000 "
       "V: 1.000000\nview: 0\nU: 0.000000 V: 0.000000\nU: 0.500000 V: 0.000000\nU: 0.500000 V: "
       "1.000000\n", uvMesh, 1, "c", "13", 0, "0,0 0.5,0* 0.5,1* / 0.5,0 1,0 0.5,1 3"},
      {8, F, {}, "view: 1\n", uvMesh, 1, "c", "13", 0, "0,0 0,0* 0,1* / 0,0 1,0 0,1 3"},
      {8, T, {}, "view: 2\n", uvMesh, 1, "c", "13", 0, "0,0 0,0.5* 0,0.5* / 0,0.5 1,1 0,0.5 3"},
      {8, A, {}, "view: 3\n", uvMesh, 1, "c", "13", 0, "0.2,0.2 0.8,0.2* 0.2,0.8* / 0,0 0,0 0,0 3"},
      {12, 0, {}, "", uvMesh, 1, "c", "13", 0, "0.2,0.2 0.5,0.2* 0.5,0.8* / 0,0 0,0 0,0 0"},
      {13, 0, {}, "", uvMesh, 1, "c", "13", 0, "0.2,0.2 0.8,0.5* 0.2,0.5* / 0,0 0,0 0,0 0"},
      {20, U, "Move", uvClicks, uvMesh, 1, "c", "13", 0,
       "0.2,0.2 1,0* 0.575,0.425* / 0,0 0,0 0,0 0"},
      {22, U, "Scale 2D", uvClicks, uvMesh, 1, "c", "13", 0,
       "0.2,0.2 1.025,0.425* -0.025,0.575* / 0,0 0,0 0,0 0"},
  };
  // clang-format on
  editor.toolState.cylinderSides = 3;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << &c - cases);
    startOver();
    if (c.uvs) mapP1(true);
    select(c.vertices, c.polygons);
    editor.viewSet.activeView = c.view;
    editor.toolState.cylinderLevels = c.view == kSideView ? 2 : 1;
    const bool uv = c.view == kUvView;  // the drag stays inside the UV Mapper
    editor.panelsShown = uv;
    const std::string trace = printedBy([&] {
      if (c.code) toolMenuCommand(editor, c.code);
      if (c.code >= 17 && c.uvs) dragIn(kUvView, 0.5, 0.5, 0.875, 0.125);
      if (c.code >= 17 && !c.uvs)
        dragIn(c.view, uv ? 0.25 : -0.5, uv ? 0.25 : -0.5, uv ? 0.75 : 1.5, uv ? 0.75 : 1.5);
      moveTo(glutX(c.view, 0), glutY(c.view, 0));
      if (c.key) key(c.key);
    });
    EXPECT_EQ(editor.toolName(), c.toolAfter ? c.toolAfter : "Select Vertex");
    // UV map rows after the first pin the start of the trace only.
    EXPECT_EQ(c.code == 8 ? trace.substr(0, c.trace.size()) : trace, c.trace);
    EXPECT_EQ(mesh(), c.mesh);
    EXPECT_EQ(snapshots(), c.snapshots);
    const int mapped = m.p3->uvMapped + m.p3->uvs[1].mapped + m.e->uvMapped;
    EXPECT_EQ(uvText(m.p1) + " / " + uvText(m.p3) + " " + std::to_string(mapped),
              c.uvs ? c.uvs : "0,0 0,0 0,0 / 0,0 0,0 0,0 0");
  }
}

}  // namespace
