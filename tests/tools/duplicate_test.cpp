#include "tools/tool_fixture.h"

namespace {

using DuplicateTest = ToolTest;

TEST_F(DuplicateTest, ASelectedTriangleIsCopiedOneUnitOnEveryAxis) {
  Vertex* a = vertex(0, 0, 0);
  Vertex* b = vertex(1, 0, 0);
  Vertex* c = vertex(0, 1, 0);
  Polygon* p = triangle(a, b, c);
  editor.selectedPolygons.pushFront(p);
  key('d');
  EXPECT_EQ(vertexCount(), 6);
  ASSERT_EQ(polygonCount(), 2);
  Polygon* copy = editor.model->currentGroup->polygons.headItem();
  expectAt(copy->vertices[0], 1, 1, 1);
  expectAt(copy->vertices[1], 2, 1, 1);
  expectAt(copy->vertices[2], 1, 2, 1);
  EXPECT_EQ(editor.selectedVertices.count(), 3);  // the sources, not the copies
  for (Vertex* v : {a, b, c}) EXPECT_TRUE(editor.selectedVertices.contains(v));
  EXPECT_EQ(editor.selectedPolygons.count(), 1);
  EXPECT_EQ(snapshots(), 1);
}

TEST_F(DuplicateTest, ALoneSelectedVertexBecomesALooseCopy) {
  selectedVertex(2, 3, 4);
  key('d');
  ASSERT_EQ(vertexCount(), 2);
  expectAt(editor.model->vertices.headItem(), 3, 4, 5);
  EXPECT_EQ(polygonCount(), 0);
}

}  // namespace
