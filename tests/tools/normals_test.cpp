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

// Code 15: each vertex gets the normalised sum of its selected triangles' face normals; where
// that cancels, each triangle keeps its own.
TEST_F(NormalsTest, SmoothingAveragesTheFaceNormalsAroundEachVertex) {
  Polygon* back = addTriangle(model(), a, b, c);    // p seen from behind
  Polygon* sliver = addTriangle(model(), d, d, b);  // no area: a zero normal
  sliver->cornerNormals[1] = Vec3{7, 7, 7};         // a repeated corner is left alone
  editor.selectedPolygons.pushFront(p);
  editor.selectedPolygons.pushFront(q);
  editor.toolMenuCommand(15);
  EXPECT_EQ(normals(p), "0.707107,0,0.707107 0,0,1 0.707107,0,0.707107 face 0,0,1");
  EXPECT_EQ(normals(q), "0.707107,0,0.707107 0.707107,0,0.707107 1,0,0 face 1,0,0");
  editor.selectedPolygons.pushFront(back);
  editor.selectedPolygons.pushFront(sliver);
  editor.toolMenuCommand(15);
  EXPECT_EQ(normals(p), "1,0,0 0,0,1 1,0,0 face 0,0,1");
  EXPECT_EQ(normals(back), "1,0,0 1,0,0 0,0,-1 face 0,0,-1");
  EXPECT_EQ(normals(sliver), "1,0,0 7,7,7 1,0,0 face 0,0,0");
  EXPECT_EQ(snapshots(), 0);
}

// A rebuild smooths smooth triangles among themselves; the others (code 14) get the face normal.
TEST_F(NormalsTest, RebuildKeepsEachTrianglesShading) {
  p->smooth = q->smooth = 1;
  Polygon* flat = addTriangle(model(), c, addVertex(model(), 5, 0, 0), addVertex(model(), 5, 0, 1));
  c->x = 2;
  editor.rebuildNormals();
  EXPECT_EQ(normals(q), "0.707107,0,0.707107 0.707107,0,0.707107 1,0,0 face 1,0,0");
  EXPECT_EQ(normals(flat), "0,-1,0 0,-1,0 0,-1,0 face 0,-1,0");
  editor.selectedPolygons.pushFront(p);
  editor.toolMenuCommand(14);
  EXPECT_EQ(normals(p), "0,0,1 0,0,1 0,0,1 face 0,0,1");
  editor.rebuildNormals();
  EXPECT_EQ(normals(q), "1,0,0 1,0,0 1,0,0 face 1,0,0");  // smooth alone now
}

}  // namespace
