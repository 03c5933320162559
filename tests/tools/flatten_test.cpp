#include <gtest/gtest.h>

#include "support/editor_fixture.h"
#include "support/mesh_builders.h"

namespace {

class FlattenTest : public EditorTest {
 protected:
  Model& model() { return *editor.model; }
};

TEST_F(FlattenTest, VerticesMeetOnThePlaneThroughTheMiddleOfTheirBox) {
  Vertex* a = addVertex(model(), 1, 0, 5);
  Vertex* b = addVertex(model(), 2, 1, 6);
  Vertex* c = addVertex(model(), 3, 4, 7);
  Vertex* other = addVertex(model(), 9, 9, 9);
  for (Vertex* v : {a, b, c}) editor.selectedVertices.pushFront(v);
  editor.flattenSelection(kAxisY);
  for (Vertex* v : {a, b, c}) EXPECT_EQ(v->y, 2);
  EXPECT_TRUE(sameVec(Vec3{a->x, b->x, c->x}, 1, 2, 3));  // other axes keep their values
  EXPECT_TRUE(sameVec(Vec3{a->z, b->z, c->z}, 5, 6, 7));
  EXPECT_EQ(other->y, 9);
  EXPECT_EQ(editor.undoStack.size(), 1u);
}

TEST_F(FlattenTest, OneVertexStaysButStillCostsAnUndoStep) {
  Vertex* a = addVertex(model(), 1, 2, 3);
  editor.selectedVertices.pushFront(a);
  editor.flattenSelection(kAxisX);
  editor.flattenSelection(kAxisU);  // no UV point selected at all
  EXPECT_TRUE(sameVec(Vec3{a->x, a->y, a->z}, 1, 2, 3));
  EXPECT_EQ(editor.undoStack.size(), 2u);
}

TEST_F(FlattenTest, UvPointsMeetOnTheMiddleOfTheirBox) {
  Polygon* p = addTriangle(model(), addVertex(model(), 0, 0, 0), addVertex(model(), 1, 0, 0),
                           addVertex(model(), 0, 1, 0));
  const double u[3] = {0.2, 0.6, 0.3}, v[3] = {0.1, 0.5, 0.9};
  for (int i = 0; i < 3; ++i) {
    p->uvs[i].u = u[i];
    p->uvs[i].v = v[i];
    editor.selectedUvs.pushFront(&p->uvs[i]);
  }
  editor.flattenSelection(kAxisU);
  for (int i = 0; i < 3; ++i) {
    EXPECT_DOUBLE_EQ(p->uvs[i].u, 0.4) << i;
    EXPECT_EQ(p->uvs[i].v, v[i]) << i;
  }
  editor.flattenSelection(kAxisV);
  for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(p->uvs[i].v, 0.5) << i;
}

TEST_F(FlattenTest, NormalsFollowTheFlattenedShape) {
  Vertex* a = addVertex(model(), 0, 0, 0);
  Vertex* b = addVertex(model(), 1, 0, 1);
  Vertex* c = addVertex(model(), 0, 1, 2);
  Polygon* p = addTriangle(model(), a, b, c);
  for (Vertex* v : {a, b, c}) editor.selectedVertices.pushFront(v);
  editor.flattenSelection(kAxisZ);
  EXPECT_TRUE(sameVec(p->normal, 0, 0, 1));
  EXPECT_TRUE(sameVec(p->cornerNormals[2], 0, 0, 1));
}

}  // namespace
