#include "tools/polygon_ops.h"
#include "tools/tool_fixture.h"
#include "tools/tool_menu.h"

namespace {

// Two triangles hinged on the edge a-b:
//
//   b (0,1,0)
//   | \            p = a c b   (in the plane z = 0, normal +z)
//   a--c (1,0,0)   q = a b d   (in the plane x = 0, normal +x, d = (0,0,1))
class NormalsTest : public ToolTest {
 protected:
  // The three corner normals, then the face normal.
  static std::string normals(const Polygon* t) {
    std::string text;
    for (const Vec3& n : t->cornerNormals) text += num(n.x) + "," + num(n.y) + "," + num(n.z) + " ";
    return text + "face " + num(t->normal.x) + "," + num(t->normal.y) + "," + num(t->normal.z);
  }
  Vertex *a = addVertex(model(), 0, 0, 0), *b = addVertex(model(), 0, 1, 0),
         *c = addVertex(model(), 1, 0, 0), *d = addVertex(model(), 0, 0, 1);
  Polygon *p = addTriangle(model(), a, c, b), *q = addTriangle(model(), a, b, d);
};

// Code 15 gives each vertex the normalised sum of its selected triangles'
// face normals; where the sum cancels, each triangle keeps its own.
TEST_F(NormalsTest, SmoothingAveragesTheFaceNormalsAroundEachVertex) {
  Polygon* back = addTriangle(model(), a, b, c);    // p seen from behind
  Polygon* sliver = addTriangle(model(), d, d, b);  // no area: a zero normal
  sliver->cornerNormals[1] = Vec3{7, 7, 7};         // a repeated corner is left alone
  editor.selectedPolygons.pushFront(p);
  editor.selectedPolygons.pushFront(q);
  toolMenuCommand(editor, 15);
  EXPECT_EQ(normals(p), "0.707107,0,0.707107 0,0,1 0.707107,0,0.707107 face 0,0,1");
  EXPECT_EQ(normals(q), "0.707107,0,0.707107 0.707107,0,0.707107 1,0,0 face 1,0,0");
  editor.selectedPolygons.pushFront(back);
  editor.selectedPolygons.pushFront(sliver);
  toolMenuCommand(editor, 15);
  EXPECT_EQ(normals(p), "1,0,0 0,0,1 1,0,0 face 0,0,1");
  EXPECT_EQ(normals(back), "1,0,0 1,0,0 0,0,-1 face 0,0,-1");
  EXPECT_EQ(normals(sliver), "1,0,0 7,7,7 1,0,0 face 0,0,0");
  EXPECT_EQ(snapshots(), 0);
}

// Every edit rebuilds the normals: smooth triangles are smoothed among
// themselves, the others (code 14 makes them so) get the face normal.
TEST_F(NormalsTest, RebuildKeepsEachTrianglesShading) {
  p->smooth = q->smooth = 1;
  Polygon* flat = addTriangle(model(), c, addVertex(model(), 5, 0, 0), addVertex(model(), 5, 0, 1));
  c->x = 2;
  rebuildNormals(editor);
  EXPECT_EQ(normals(q), "0.707107,0,0.707107 0.707107,0,0.707107 1,0,0 face 1,0,0");
  EXPECT_EQ(normals(flat), "0,-1,0 0,-1,0 0,-1,0 face 0,-1,0");
  editor.selectedPolygons.pushFront(p);
  toolMenuCommand(editor, 14);
  EXPECT_EQ(normals(p), "0,0,1 0,0,1 0,0,1 face 0,0,1");
  rebuildNormals(editor);
  EXPECT_EQ(normals(q), "1,0,0 1,0,0 1,0,0 face 1,0,0");  // smooth alone now
}

}  // namespace
