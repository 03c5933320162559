#include "tools/tool_fixture.h"

#include "model/skeleton.h"

namespace {

using MoveToolTest = ToolTest;

// A drag one unit right and half a unit up, in each flat view.
TEST_F(MoveToolTest, DragMovesAlongTheViewsAxesOnly) {
  struct Case {
    int view;
    Vec3 moved;
  };
  const Case cases[] = {
      {kSideView, {1, 0.5, 0}}, {kFrontView, {0, 0.5, 1}}, {kTopView, {0.5, 0, 1}}};
  editor.tool = kMove;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.view);
    Vertex* v = vertex(2, 3, 4);
    editor.selectedVertices.clear();
    editor.selectedVertices.pushFront(v);
    dragIn(c.view, 0, 0, 1, 0.5);
    expectAt(v, 2 + c.moved.x, 3 + c.moved.y, 4 + c.moved.z);
  }
  EXPECT_EQ(snapshots(), 3);
  EXPECT_EQ(editor.tool, kMove);
}

TEST_F(MoveToolTest, AClickStillTakesASnapshotAndMovesByZero) {
  Vertex* v = selectedVertex(1, 1, 1);
  editor.tool = kMove;
  clickIn(kSideView, 0.5, 0.5);
  EXPECT_EQ(snapshots(), 1);
  expectAt(v, 1, 1, 1);
}

TEST_F(MoveToolTest, UvPointsStopAtTheTextureEdges) {
  Polygon* p = triangle(vertex(0, 0, 0), vertex(1, 0, 0), vertex(0, 1, 0));
  p->uvs[0].u = 0.875;
  p->uvs[0].v = 0.125;
  editor.selectedUvs.pushFront(&p->uvs[0]);
  Vertex* corner = p->vertices[0];
  editor.selectedVertices.pushFront(corner);  // vertices stay put in the UV view
  editor.panelsShown = 1;
  editor.tool = kMove;
  dragIn(kUvView, 0.5, 0.5, 0.75, 0.25);
  EXPECT_EQ(editor.activeView, kUvView);
  EXPECT_EQ(p->uvs[0].u, 1);
  EXPECT_EQ(p->uvs[0].v, 0);
  expectAt(corner, 0, 0, 0);
}

TEST_F(MoveToolTest, WithoutVerticesTheSelectedBoneAndItsDescendantsMove) {
  Bone* root = editor.model->addBone(nullptr, 0, 0, 0);
  Bone* arm = editor.model->addBone(root, 1, 0, 0);
  Bone* hand = editor.model->addBone(arm, 2, 0, 0);
  editor.selectedBone = arm;
  editor.moveSelection(0, 1, 0);
  expectAt(root->end, 0, 0, 0);
  expectAt(arm->end, 1, 1, 0);
  expectAt(hand->end, 2, 1, 0);

  Vertex* v = selectedVertex(5, 5, 5);  // selected vertices take precedence
  editor.moveSelection(1, 0, 0);
  expectAt(v, 6, 5, 5);
  expectAt(arm->end, 1, 1, 0);
}

}  // namespace
