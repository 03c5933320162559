#include "tools/tool_fixture.h"

namespace {

using AddVertexTest = ToolTest;

TEST_F(AddVertexTest, ActsAtThePressOnTheViewPlaneWithoutADrag) {
  editor.tool = kAddVertex;
  press(kLeftButton, glutX(kTopView, 1), glutY(kTopView, 0.5));
  EXPECT_EQ(editor.dragMode, kNoDrag);
  ASSERT_EQ(vertexCount(), 1);
  expectAt(editor.model->vertices.headItem(), 0.5, 0, 1);
  release(kLeftButton, glutX(kTopView, 1), glutY(kTopView, 0.5));
  clickIn(kFrontView, 1, 0.5);
  expectAt(editor.model->vertices.headItem(), 0, 0.5, 1);
  EXPECT_EQ(vertexCount(), 2);
  EXPECT_TRUE(editor.selectedVertices.empty());
  EXPECT_EQ(snapshots(), 2);
}

}  // namespace
