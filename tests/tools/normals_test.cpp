#include <gtest/gtest.h>

#include <cmath>

#include "support/editor_fixture.h"
#include "support/mesh_builders.h"

namespace {

// Two triangles hinged on the edge a-b: one facing +z, one facing +x.
//
//   b (0,1,0)
//   | \            p = a c b   (in the plane z = 0, normal +z)
//   a--c (1,0,0)   q = a b d   (in the plane x = 0, normal +x, d = (0,0,1))
class NormalsTest : public EditorTest {
 protected:
  NormalsTest() {
    Model& m = *editor.model;
    a = addVertex(m, 0, 0, 0);
    b = addVertex(m, 0, 1, 0);
    c = addVertex(m, 1, 0, 0);
    d = addVertex(m, 0, 0, 1);
    p = addTriangle(m, a, c, b);
    q = addTriangle(m, a, b, d);
  }
  Vertex *a, *b, *c, *d;
  Polygon *p, *q;
  const double h = 1 / std::sqrt(2.0);  // a component of the unit vector (1, 0, 1) / |(1, 0, 1)|
};

TEST_F(NormalsTest, SmoothingAveragesSharedVerticesOnly) {
  List<Polygon> both;
  both.pushFront(p);
  both.pushFront(q);
  editor.smoothPolygons(both);
  EXPECT_EQ(p->smooth + q->smooth, 2);
  for (Polygon* t : {p, q}) {
    for (int i = 0; i < 3; ++i) {
      if (t->vertices[i] == a || t->vertices[i] == b) {
        EXPECT_TRUE(sameVec(t->cornerNormals[i], h, 0, h));
      }
    }
  }
  EXPECT_TRUE(sameVec(p->cornerNormals[1], 0, 0, 1));  // c
  EXPECT_TRUE(sameVec(q->cornerNormals[2], 1, 0, 0));  // d
  EXPECT_TRUE(sameVec(p->normal, 0, 0, 1));            // face normals stay
}

TEST_F(NormalsTest, NormalsThatCancelKeepEachFaceNormal) {
  Polygon* back = addTriangle(*editor.model, a, b, c);  // p seen from behind
  List<Polygon> pair;
  pair.pushFront(p);
  pair.pushFront(back);
  editor.smoothPolygons(pair);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(sameVec(p->cornerNormals[i], 0, 0, 1)) << i;
    EXPECT_TRUE(sameVec(back->cornerNormals[i], 0, 0, -1)) << i;
  }
}

TEST_F(NormalsTest, OnlyTheFirstCornerOfARepeatedVertexIsSmoothed) {
  Polygon* sliver = addTriangle(*editor.model, a, a, c);  // degenerate: zero face normal
  sliver->cornerNormals[1] = Vec3{7, 7, 7};
  List<Polygon> list;
  list.pushFront(p);
  list.pushFront(sliver);
  editor.smoothPolygons(list);
  EXPECT_TRUE(sameVec(sliver->cornerNormals[0], 0, 0, 1));
  EXPECT_TRUE(sameVec(sliver->cornerNormals[1], 7, 7, 7));
  EXPECT_TRUE(sameVec(sliver->cornerNormals[2], 0, 0, 1));
}

TEST_F(NormalsTest, RebuildSmoothsEverySmoothPolygonAndFlattensTheRest) {
  p->smooth = q->smooth = 1;  // smoothed earlier, not selected now
  Vertex* e = addVertex(*editor.model, 5, 0, 0);
  Vertex* f = addVertex(*editor.model, 5, 0, 1);
  Polygon* flat = addTriangle(*editor.model, c, e, f);  // normal -y, shares c with p
  c->x = 2;  // p's face normal is still +z after the move
  editor.rebuildNormals();
  EXPECT_TRUE(sameVec(p->cornerNormals[0], h, 0, h));
  EXPECT_TRUE(sameVec(q->cornerNormals[1], h, 0, h));
  EXPECT_TRUE(sameVec(p->cornerNormals[1], 0, 0, 1));
  EXPECT_TRUE(sameVec(flat->normal, 0, -1, 0));
  for (const Vec3& n : flat->cornerNormals) EXPECT_TRUE(sameVec(n, 0, -1, 0));
  EXPECT_EQ(flat->smooth, 0);
}

TEST_F(NormalsTest, FlattenTurnsSelectedPolygonsBackToFaceNormals) {
  p->smooth = q->smooth = 1;
  editor.rebuildNormals();
  editor.selectedPolygons.pushFront(p);
  editor.flattenPolygons();
  EXPECT_EQ(p->smooth, 0);
  for (const Vec3& n : p->cornerNormals) EXPECT_TRUE(sameVec(n, 0, 0, 1));
  EXPECT_EQ(q->smooth, 1);  // unselected: untouched until the next rebuild
  EXPECT_TRUE(sameVec(q->cornerNormals[0], h, 0, h));
  editor.rebuildNormals();
  EXPECT_TRUE(sameVec(q->cornerNormals[0], 1, 0, 0));  // q is smooth alone now
  EXPECT_EQ(editor.undoStack.size(), 0u);
}

}  // namespace
