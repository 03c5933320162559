#include <gtest/gtest.h>

#include "support/editor_fixture.h"
#include "support/mesh_builders.h"

namespace {

using FlattenTest = EditorTest;

TEST_F(FlattenTest, VerticesMeetOnThePlaneThroughTheMiddleOfTheirBox) {
  Model& m = *editor.model;
  Vertex* a = addVertex(m, 1, 0, 5);
  Vertex* b = addVertex(m, 2, 1, 6);
  Vertex* c = addVertex(m, 3, 4, 9);
  Vertex* other = addVertex(m, 9, 9, 9);
  Polygon* p = addTriangle(m, a, b, c);
  for (Vertex* v : {a, b, c}) editor.selectedVertices.pushFront(v);
  editor.flattenSelection(kAxisY);
  EXPECT_TRUE(sameVec(positionOf(a), 1, 2, 5));
  EXPECT_TRUE(sameVec(positionOf(b), 2, 2, 6));
  EXPECT_TRUE(sameVec(positionOf(c), 3, 2, 9));
  EXPECT_EQ(other->y, 9);
  EXPECT_TRUE(sameVec(p->normal, 0, -1, 0));  // normals follow the flattened shape
  EXPECT_EQ(editor.undoStack.size(), 1u);
}

TEST_F(FlattenTest, UvPointsMeetOnTheMiddleOfTheirBoxAndOneItemStays) {
  Model& m = *editor.model;
  Polygon* p = addTriangle(m, addVertex(m, 0, 0, 0), addVertex(m, 1, 0, 0), addVertex(m, 0, 1, 0));
  const double u[3] = {0.2, 0.6, 0.3}, v[3] = {0.1, 0.5, 0.9};
  for (int i = 0; i < 3; ++i) p->uvs[i].u = u[i], p->uvs[i].v = v[i];
  editor.selectedUvs.pushFront(&p->uvs[0]);
  editor.flattenSelection(kAxisU);  // one point: nothing moves, one undo step all the same
  EXPECT_EQ(p->uvs[0].u, u[0]);
  for (UvPoint& uv : p->uvs) editor.selectedUvs.pushFront(&uv);
  editor.flattenSelection(kAxisU);
  for (int i = 0; i < 3; ++i) {
    EXPECT_DOUBLE_EQ(p->uvs[i].u, 0.4) << i;
    EXPECT_EQ(p->uvs[i].v, v[i]) << i;
  }
  EXPECT_EQ(editor.undoStack.size(), 2u);
}

}  // namespace
