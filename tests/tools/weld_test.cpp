#include <gtest/gtest.h>

#include "support/editor_fixture.h"
#include "support/mesh_builders.h"

namespace {

//  d-----c
//  | p2 /|
//  |  /p1|  p3
//  a-----b-----e      p1 = a b c, p2 = a c d, p3 = b e c
class WeldTest : public EditorTest {
 protected:
  WeldTest() {
    Model& m = *editor.model;
    a = addVertex(m, 0, 0, 0);
    b = addVertex(m, 1, 0, 0);
    c = addVertex(m, 1, 1, 0);
    d = addVertex(m, 0, 1, 0);
    e = addVertex(m, 2, 0, 0);
    p1 = addTriangle(m, a, b, c);
    p2 = addTriangle(m, a, c, d);
    p3 = addTriangle(m, b, e, c);
  }
  void select(std::initializer_list<Vertex*> oldestFirst) {
    for (Vertex* v : oldestFirst) editor.selectedVertices.pushFront(v);
  }
  static void expectCorners(const Polygon* p, const Vertex* x, const Vertex* y, const Vertex* z) {
    EXPECT_EQ(p->vertices[0], x);
    EXPECT_EQ(p->vertices[1], y);
    EXPECT_EQ(p->vertices[2], z);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(p->uvs[i].vertex, p->vertices[i]) << i;
  }
  Vertex *a, *b, *c, *d, *e;
  Polygon *p1, *p2, *p3;
};

TEST_F(WeldTest, ThreeVerticesBecomeTheLastSelectedOne) {
  select({b, d, c});  // c was selected last
  editor.weldSelectedVertices();
  EXPECT_EQ(editor.model->vertices.count(), 3);
  EXPECT_TRUE(editor.model->vertices.contains(c));
  EXPECT_FALSE(editor.model->vertices.contains(b));
  EXPECT_FALSE(editor.model->vertices.contains(d));
  EXPECT_TRUE(sameVec(Vec3{c->x, c->y, c->z}, 1, 1, 0));  // nothing is averaged
  expectCorners(p1, a, c, c);                             // triangles with two equal corners stay
  expectCorners(p2, a, c, c);
  expectCorners(p3, c, e, c);
  EXPECT_EQ(editor.model->currentGroup->polygons.count(), 3);
  ASSERT_EQ(editor.selectedVertices.count(), 1);
  EXPECT_EQ(editor.selectedVertices.headItem(), c);
  EXPECT_EQ(editor.undoStack.size(), 1u);
}

TEST_F(WeldTest, OneVertexIsNotWelded) {
  select({b});
  editor.weldSelectedVertices();
  EXPECT_EQ(editor.model->vertices.count(), 5);
  expectCorners(p1, a, b, c);
  EXPECT_EQ(editor.undoStack.size(), 1u);
}

TEST_F(WeldTest, VerticesNoLongerInTheModelAreSkipped) {
  Model earlier("earlier", editor.model->textures);
  Vertex* ghost = addVertex(earlier, 1, 0, 0);
  select({b, b, e, ghost});  // b listed twice; the newest is not in this model
  editor.weldSelectedVertices();
  EXPECT_EQ(editor.model->vertices.count(), 4);  // b merged into e
  expectCorners(p1, a, e, c);
  expectCorners(p3, e, e, c);
  EXPECT_TRUE(earlier.vertices.contains(ghost));
  ASSERT_EQ(editor.selectedVertices.count(), 1);
  EXPECT_EQ(editor.selectedVertices.headItem(), e);

  editor.selectedVertices.clear();
  select({ghost, ghost});
  editor.weldSelectedVertices();
  EXPECT_EQ(editor.model->vertices.count(), 4);
  EXPECT_EQ(editor.selectedVertices.count(), 2);
}

}  // namespace
