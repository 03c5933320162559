#include "tools/tool_fixture.h"

namespace {

// Two triangles hinged on a-b: p = a c b in z = 0 (normal +z), q = a b d in x = 0 (normal +x).
class NormalsTest : public ToolTest {
 protected:
  static std::string normals(const Polygon* t) {
    std::string text;
    for (const Vec3& n : t->cornerNormals) text += vec(n) + " ";
    return text + "face " + vec(t->normal);
  }
  Vertex *a = addVertex(model(), 0, 0, 0), *b = addVertex(model(), 0, 1, 0),
         *c = addVertex(model(), 1, 0, 0), *d = addVertex(model(), 0, 0, 1);
  Polygon *p = addTriangle(model(), a, c, b), *q = addTriangle(model(), a, b, d);
};

// Code 15: each vertex gets the sum of its selected triangles' normals, or where 0 their own.
TEST_F(NormalsTest, SmoothingAveragesTheFaceNormalsAroundEachVertex) {
  Polygon* back = addTriangle(model(), a, b, c);    // p seen from behind
  Polygon* sliver = addTriangle(model(), d, d, b);  // no area: a zero normal
  sliver->cornerNormals[1] = Vec3{7, 7, 7};         // a repeated corner is left alone
  editor.doc.selectedPolygons.pushFront(p);
  editor.doc.selectedPolygons.pushFront(q);
  toolMenuCommand(editor, 15);
  EXPECT_EQ(normals(p), "0.707107,0,0.707107 0,0,1 0.707107,0,0.707107 face 0,0,1");
  EXPECT_EQ(normals(q), "0.707107,0,0.707107 0.707107,0,0.707107 1,0,0 face 1,0,0");
  editor.doc.selectedPolygons.pushFront(back);
  editor.doc.selectedPolygons.pushFront(sliver);
  toolMenuCommand(editor, 15);
  EXPECT_EQ(normals(p), "1,0,0 0,0,1 1,0,0 face 0,0,1");
  EXPECT_EQ(normals(back), "1,0,0 1,0,0 0,0,-1 face 0,0,-1");
  EXPECT_EQ(normals(sliver), "1,0,0 7,7,7 1,0,0 face 0,0,0");
  EXPECT_EQ(snapshots(), 0);
}

// The face normal is the unit cross product; flipping turns it, and keeps it turned.
TEST_F(NormalsTest, FlippingTurnsTheFaceNormal) {
  Polygon* t = addTriangle(model(), addVertex(model(), 1, 1, 1), addVertex(model(), 1, 4, 5),
                           addVertex(model(), -2, 4, 5));
  EXPECT_EQ(vec(t->normal), "0,-0.8,0.6");
  t->flip();
  EXPECT_EQ(vec(t->normal), "0,0.8,-0.6");
  q->flip();
  EXPECT_EQ(vec(q->normal), "-1,0,0");
  q->computeNormal();
  EXPECT_EQ(vec(q->normal), "-1,0,0");
}

}  // namespace
