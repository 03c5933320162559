#include "formats/export_mesh.h"

#include <gtest/gtest.h>

#include "support/fixtures.h"

TEST(ExportMesh, ShadingNormalIsTheNormalTheEditorShadesWith) {
  Model m("m", nullptr);
  Vertex *a = addVertex(m, 0, 0, 0), *b = addVertex(m, 0, 2, 0), *c = addVertex(m, 0, 0, 2);
  Polygon* p = addTriangle(m, a, b, c);
  EXPECT_TRUE(sameVec(shadingNormal(*p, 1), 1, 0, 0));  // flat: the face normal
  p->flipped = 1;
  EXPECT_TRUE(sameVec(shadingNormal(*p, 1), -1, 0, 0));
  p->smooth = 1;
  p->cornerNormals[1] = Vec3{0, 3, 4};  // smooth: the corner normal, made unit
  EXPECT_TRUE(sameVec(shadingNormal(*p, 1), 0, 0.6, 0.8));
  p->cornerNormals[1] = Vec3{};  // none: the face's
  EXPECT_TRUE(sameVec(shadingNormal(*p, 1), -1, 0, 0));
  c->y = 4, c->z = 0;  // a triangle without area still gets a unit normal
  EXPECT_TRUE(sameVec(shadingNormal(*p, 1), 0, 1, 0));
}
