#include <gtest/gtest.h>

#include <cmath>

#include "support/editor_fixture.h"
#include "support/mesh_builders.h"

namespace {

// Two triangles hinged on the edge a-b:
//
//   b (0,1,0)
//   | \            p = a c b   (in the plane z = 0, normal +z)
//   a--c (1,0,0)   q = a b d   (in the plane x = 0, normal +x, d = (0,0,1))
class NormalsTest : public EditorTest {
 protected:
  Model& m = *editor.model;
  Vertex *a = addVertex(m, 0, 0, 0), *b = addVertex(m, 0, 1, 0), *c = addVertex(m, 1, 0, 0),
         *d = addVertex(m, 0, 0, 1);
  Polygon *p = addTriangle(m, a, c, b), *q = addTriangle(m, a, b, d);
  const double h = 1 / std::sqrt(2.0);  // (h, 0, h) is the unit vector along (1, 0, 1)
};

TEST_F(NormalsTest, SmoothingAveragesSharedVerticesOnly) {
  List<Polygon> both;
  both.pushFront(p);
  both.pushFront(q);
  editor.smoothPolygons(both);
  EXPECT_EQ(p->smooth + q->smooth, 2);
  EXPECT_TRUE(sameVec(p->cornerNormals[0], h, 0, h));  // a
  EXPECT_TRUE(sameVec(p->cornerNormals[2], h, 0, h));  // b
  EXPECT_TRUE(sameVec(q->cornerNormals[1], h, 0, h));  // b
  EXPECT_TRUE(sameVec(p->cornerNormals[1], 0, 0, 1));  // c, unshared
  EXPECT_TRUE(sameVec(q->cornerNormals[2], 1, 0, 0));  // d, unshared
  EXPECT_TRUE(sameVec(p->normal, 0, 0, 1));            // face normals stay
}

TEST_F(NormalsTest, CancellingNormalsKeepTheFaceNormalAndRepeatsSetTheFirstCorner) {
  Polygon* back = addTriangle(m, a, b, c);    // p seen from behind
  Polygon* sliver = addTriangle(m, d, d, b);  // degenerate: zero face normal
  sliver->cornerNormals[1] = Vec3{7, 7, 7};
  List<Polygon> list;
  for (Polygon* t : {p, back, sliver}) list.pushFront(t);
  editor.smoothPolygons(list);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(sameVec(p->cornerNormals[i], 0, 0, 1)) << i;
    EXPECT_TRUE(sameVec(back->cornerNormals[i], 0, 0, -1)) << i;
  }
  EXPECT_TRUE(sameVec(sliver->cornerNormals[0], 0, 0, 0));  // d: only the sliver's own zero
  EXPECT_TRUE(sameVec(sliver->cornerNormals[1], 7, 7, 7));
}

TEST_F(NormalsTest, RebuildSmoothsEverySmoothPolygonAndFlattensTheRest) {
  p->smooth = q->smooth = 1;  // smoothed earlier, not selected now
  Polygon* flat = addTriangle(m, c, addVertex(m, 5, 0, 0), addVertex(m, 5, 0, 1));
  c->x = 2;  // p still faces +z; flat faces -y
  editor.rebuildNormals();
  EXPECT_TRUE(sameVec(q->cornerNormals[1], h, 0, h));
  EXPECT_TRUE(sameVec(p->cornerNormals[1], 0, 0, 1));
  for (const Vec3& n : flat->cornerNormals) EXPECT_TRUE(sameVec(n, 0, -1, 0));

  editor.selectedPolygons.pushFront(p);
  editor.flattenPolygons();
  EXPECT_EQ(p->smooth, 0);
  for (const Vec3& n : p->cornerNormals) EXPECT_TRUE(sameVec(n, 0, 0, 1));
  editor.rebuildNormals();
  EXPECT_TRUE(sameVec(q->cornerNormals[1], 1, 0, 0));  // q is smooth alone now
  EXPECT_EQ(editor.undoStack.size(), 0u);
}

}  // namespace
