#include "tools/tool_fixture.h"

#include "model/skeleton.h"

namespace {

using MeshEditTest = WingTest;

// Without the drag's prepareExtrude only the selected corners move: c stays, its edges get no wall.
TEST_F(MeshEditTest, ExtrudeMovesOnlyTheSelectedCorners) {
  select("ab", "1");
  EXPECT_EQ(printedBy([&] { extrudeSelection(editor); }),
            "wtfwtfCenter: [0.500500 0.500000 0.000500]\n\n");
  EXPECT_EQ(mesh(),
            "0,0,0 1,0,0 1,1,0 0,1,0 2,0,2 1.001,0.001,0.001* 0.001,0.001,0.001* | 6,5,2 0,2,3 "
            "1,4,2 6,5,0~ 5,1,0 | 3,4,0");
}

// Add Bone grows from the selected bone; Move takes its subtree; code 16 gives it triangles.
TEST_F(MeshEditTest, BonesGrowFromTheSelectedBoneMoveWithItAndOwnTriangles) {
  editor.toolState.tool = kAddBone;
  EXPECT_EQ(printedBy([&] { clickIn(kSideView, 1, 2); }), "0 1 2 0 0 0\n");
  Bone* root = editor.doc.selectedBone;
  EXPECT_EQ(printedBy([&] { clickIn(kTopView, 3, 1); }), "0 1 2 0 0 0\n1 1 0 3 0 0\n");
  Bone* arm = editor.doc.selectedBone;
  editor.doc.selectedBone = nullptr;
  EXPECT_EQ(printedBy([&] { clickIn(kFrontView, 1, 1); }), "");  // no bone to grow from
  editor.doc.selectedBone = root;
  moveSelection(editor, 0, 1, 0);
  EXPECT_EQ(printedBy([&] { model().dumpSkeleton(); }), "0 1 3 0 0 0\n1 1 1 3 0 0\n");
  select("", "13");
  editor.doc.selectedBone = arm;
  toolMenuCommand(editor, 16);
  EXPECT_EQ((std::vector<Bone*>{m.p1->bone, m.p2->bone, m.p3->bone}),
            (std::vector<Bone*>{arm, nullptr, arm}));
  editor.doc.selectedBone = nullptr;
  toolMenuCommand(editor, 16);
  EXPECT_EQ(m.p3->bone, nullptr);
}

// The model an undo gives back is the same, list order and all, however often redo and undo
// pass over it, and so is the one a redo gives back.
TEST_F(MeshEditTest, UndoAndRedoGiveTheSameModelEachTime) {
  select("ab", "");
  moveSelection(editor, 1, 0, 0);
  undo(editor.doc);
  const std::string undone = mesh();
  redo(editor.doc);
  const std::string redone = mesh();
  for (int i = 0; i < 3; ++i) {
    undo(editor.doc);
    EXPECT_EQ(mesh(), undone) << i;
    redo(editor.doc);
    EXPECT_EQ(mesh(), redone) << i;
  }
}

using UndoTest = ToolTest;

// Each clamp pulls the vertex a unit in; 'z' gives back the last fifty of sixty, name and all
// (which the console tells).
TEST_F(UndoTest, UndoStepsBackThroughTheLastFiftyEdits) {
  Vertex* v = selectedVertex(100, 0, 0);
  Polygon* p = addTriangle(model(), v, v, v);
  editor.doc.selectedPolygons.pushFront(p);
  editor.doc.selectedUvs.pushFront(&p->uvs[0]);
  editor.doc.selectedBone = model().createRoot(0, 0, 0);
  for (int i = 1; i <= 60; ++i) {
    model().name = "edit" + std::to_string(i);
    editor.toolState.boundingBox.maxX = 100 - i;
    key('`');
  }
  for (int i = 1; i <= 51; ++i) {  // the last one finds nothing left
    key('z');
    const int back = std::min(i, 50);
    EXPECT_EQ(mesh(), num(40 + back) + ",0,0 | 0,0,0") << i;
    EXPECT_EQ(model().name, "edit" + std::to_string(61 - back)) << i;
  }
  EXPECT_EQ(consoleLinesStartingWith("The model is named edit"), 49) << "once a name given back";
  EXPECT_EQ(lastConsoleMessage(), "The model is named edit11 again: F5 saves there.");
  EXPECT_EQ(editor.doc.selectedUvs.count() + (editor.doc.selectedBone != nullptr), 0);
}

}  // namespace
