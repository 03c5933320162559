#include "tools/tool_fixture.h"

#include "model/skeleton.h"
#include "tools/polygon_ops.h"
#include "tools/tool_menu.h"
#include "tools/transforms.h"

namespace {

using MeshEditTest = WingTest;

// A key, or a menu code, with vertices (by letter) and polygons (by number)
// selected oldest first: the whole model after it, what it printed and the
// undo steps it took.
TEST_F(MeshEditTest, EachEditGivesExactlyThisModel) {
  struct Case {
    int key, code;
    const char *vertices, *polygons, *mesh, *trace;
    int snapshots;
  };
  // clang-format off
  const Case cases[] = {
      // Weld into the newest, in every group; vertices of other models take no part.
      {'n', 0, "bdc", "", "0,0,0 1,1,0* 2,0,2 | 0,1,1 0,1,1 1,2,1 | 1,2,0", "", 1},
      {'n', 0, "bbeg", "", "0,0,0 1,1,0 0,1,0 2,0,2* | 0,3,1 0,1,2 3,3,1 | 2,3,0", "", 1},
      {'n', 0, "gg", "", "0,0,0 1,0,0 1,1,0 0,1,0 2,0,2 | 0,1,2 0,2,3 1,4,2 | 3,4,0", "", 1},
      // Delete takes every triangle of a deleted vertex along, in any group.
      {127, 0, "e", "2", "0,0,0 1,0,0 1,1,0 0,1,0 | 0,1,2 |", "", 1},
      // Duplicate one unit further on; the corners join the selection.
      {'d', 0, "a", "3", "0,0,0* 1,0,0* 1,1,0* 0,1,0 2,0,2* 2,2,1 3,1,3 2,1,1 1,1,1 | 0,1,2 0,2,3 "
       "1,4,2* 7,6,5 | 3,4,0", "", 1},
      // Flatten onto the middle of the box, with two vertices or more.
      {0, 9, "abe", "", "1,0,0* 1,0,0* 1,1,0 0,1,0 1,0,2* | 0,1,2 0,2,3 1,4,2 | 3,4,0", "", 1},
      {0, 10, "ce", "", "0,0,0 1,0,0 1,0.5,0* 0,1,0 2,0.5,2* | 0,1,2 0,2,3 1,4,2 | 3,4,0", "", 1},
      {0, 11, "ae", "", "0,0,1* 1,0,0 1,1,0 0,1,0 2,0,1* | 0,1,2 0,2,3 1,4,2 | 3,4,0", "", 1},
      {0, 9, "e", "", "0,0,0 1,0,0 1,1,0 0,1,0 2,0,2* | 0,1,2 0,2,3 1,4,2 | 3,4,0", "", 1},
      // Clamp into the bounding box, [0, 1] on every axis.
      {'`', 0, "", "", "0,0,0 1,0,0 1,1,0 0,1,0 1,0,1 | 0,1,2 0,2,3 1,4,2 | 3,4,0", "", 1},
      // Flip each once; orient away from the middle of the box.
      {'f', 0, "", "113", "0,0,0 1,0,0 1,1,0 0,1,0 2,0,2 | 0,1,2~* 0,2,3 1,4,2~* | 3,4,0", "", 0},
      {'o', 0, "", "123", "0,0,0 1,0,0 1,1,0 0,1,0 2,0,2 | 0,1,2~* 0,2,3~* 1,4,2~* | 3,4,0",
       "Center: [1.000000 0.500000 1.000000]\n\n", 0},
      // A triangle from exactly three vertices, newest first.
      {'p', 0, "abe", "", "0,0,0 1,0,0 1,1,0 0,1,0 2,0,2 | 0,1,2 0,2,3 1,4,2 4,1,0 | 3,4,0",
       "Num verts: 3\nPolygon Created!\n", 1},
      {'p', 0, "abde", "", "0,0,0* 1,0,0* 1,1,0 0,1,0* 2,0,2* | 0,1,2 0,2,3 1,4,2 | 3,4,0",
       "Num verts: 4\n", 0},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << &c - cases);
    startOver();
    select(c.vertices, c.polygons);
    const std::string trace =
        printedBy([&] { c.key ? key(c.key) : toolMenuCommand(editor, c.code); });
    EXPECT_EQ(mesh(), c.mesh);
    EXPECT_EQ(trace, c.trace);
    EXPECT_EQ(snapshots(), c.snapshots);
  }
}

// New vertices just off the old ones carry the selected triangles, and each
// boundary edge gets two walls, turned to face out.
TEST_F(MeshEditTest, ExtrudeWallsTheBoundaryOfTheSelectedTriangles) {
  select("", "12");  // as a drag does it: the triangles' corners are selected first
  EXPECT_EQ(printedBy([&] {
              prepareExtrude(editor);
              extrudeSelection(editor);
            }),
            "Center: [0.500500 0.500500 0.000500]\n\n");
  EXPECT_EQ(mesh(),  // no wall on the shared edge a c
            "0,0,0 1,0,0 1,1,0 0,1,0 2,0,2 1.001,0.001,0.001* 0.001,1.001,0.001* "
            "1.001,1.001,0.001* 0.001,0.001,0.001* | 8,5,7 8,7,6 1,4,2 5,7,1 7,2,1~ 8,5,0~ 5,1,0 "
            "8,6,0 6,3,0 7,6,2 6,3,2~ | 3,4,0");
  startOver();
  select("ab", "1");  // c is not selected: it stays, and its edges get no wall
  EXPECT_EQ(printedBy([&] { extrudeSelection(editor); }),
            "wtfwtfCenter: [0.500500 0.500000 0.000500]\n\n");
  EXPECT_EQ(mesh(),
            "0,0,0 1,0,0 1,1,0 0,1,0 2,0,2 1.001,0.001,0.001* 0.001,0.001,0.001* | 6,5,2 0,2,3 "
            "1,4,2 6,5,0~ 5,1,0 | 3,4,0");
  startOver();
  editor.tool = kExtrude;
  dragIn(kSideView, 0, 0, 1, 1);  // no triangle selected: the drag does nothing
  EXPECT_EQ(editor.tool, kExtrude);
  EXPECT_EQ(snapshots(), 0);
}

// Add Bone makes the root, then children of the selected bone; Move takes the
// selected bone and all below it when no vertex is selected; code 16 gives
// the selected triangles to the selected bone, or to the root without one.
TEST_F(MeshEditTest, BonesGrowFromTheSelectedBoneMoveWithItAndOwnTriangles) {
  auto skeleton = [&] { return printedBy([&] { model().dumpSkeleton(); }); };
  editor.tool = kAddBone;
  EXPECT_EQ(printedBy([&] { clickIn(kSideView, 1, 2); }), "0 1 2 0 0 0\n");
  Bone* root = editor.selectedBone;
  EXPECT_EQ(printedBy([&] { clickIn(kTopView, 3, 1); }), "0 1 2 0 0 0\n1 1 0 3 0 0\n");
  Bone* arm = editor.selectedBone;
  editor.selectedBone = nullptr;
  EXPECT_EQ(printedBy([&] { clickIn(kFrontView, 1, 1); }), "");  // no bone to grow from
  editor.selectedBone = root;
  moveSelection(editor, 0, 1, 0);
  EXPECT_EQ(skeleton(), "0 1 3 0 0 0\n1 1 1 3 0 0\n");
  select("", "13");
  editor.selectedBone = arm;
  toolMenuCommand(editor, 16);
  EXPECT_EQ(m.p1->bone, arm);
  EXPECT_EQ(m.p2->bone, nullptr);
  EXPECT_EQ(m.p3->bone, arm);
  editor.selectedBone = nullptr;
  toolMenuCommand(editor, 16);
  EXPECT_EQ(m.p3->bone, nullptr);
}

using UndoTest = ToolTest;

// Each clamp pulls the vertex one unit further in; 'z' steps back through the
// last fifty of sixty, each giving back the model as saved, name and all,
// with nothing selected.
TEST_F(UndoTest, UndoStepsBackThroughTheLastFiftyEdits) {
  key('z');  // nothing to undo
  EXPECT_EQ(mesh(), "|");
  Vertex* v = selectedVertex(100, 0, 0);
  Polygon* p = addTriangle(model(), v, v, v);
  editor.selectedPolygons.pushFront(p);
  editor.selectedUvs.pushFront(&p->uvs[0]);
  editor.selectedBone = model().createRoot(0, 0, 0);
  for (int i = 1; i <= 60; ++i) {
    model().name = "edit" + std::to_string(i);
    editor.boundingBox.maxX = 100 - i;
    key('`');
  }
  size_t kept = 0;  // snapshots are compact: each costs what one image of the model costs
  for (const Snapshot& snapshot : editor.undoStack) kept += snapshot.image.memoryBytes();
  EXPECT_EQ(kept, editor.undoStack.size() * captureImage(model()).memoryBytes());
  EXPECT_EQ(editor.undoStack.size(), 50u);
  for (int i = 1; i <= 51; ++i) {  // the last one finds nothing left
    key('z');
    const int back = std::min(i, 50);
    EXPECT_EQ(mesh(), num(40 + back) + ",0,0 | 0,0,0") << i;
    EXPECT_EQ(model().name, "edit" + std::to_string(61 - back)) << i;
  }
  EXPECT_EQ(editor.selectedUvs.count() + (editor.selectedBone != nullptr), 0);
}

}  // namespace
