#include "model/export_mesh.h"

#include <gtest/gtest.h>

#include "support/fixtures.h"

// Corners differing by bone, normal, u or v are apart; a and c on p2 and p4 are
// shared. Each group numbers its own vertices.
TEST(ExportMesh, OneVertexPerDistinctPositionNormalTextureCoordinateAndBone) {
  Model m("m", nullptr);
  SquareWithWing s(m);
  Bone* arm = m.addBone(m.addBone(nullptr, 0, 0, 0), 1, 0, 0);
  Polygon* p4 = addTriangle(m, s.a, s.c, s.d);  // listed p4, p3, p2, p1
  s.p2->bone = p4->bone = arm;
  p4->uvs[2].u = 0.5;
  s.p1->uvs[2].v = 0.25;
  s.p3->smooth = 1;
  s.p3->cornerNormals[0] = Vec3{0, 3, 4};  // the others fall back on the face's
  PolygonGroup* other = m.newGroup();
  m.groups.pushBack(other);
  addTriangle(m, s.a, s.c, s.d, other);
  ExportMesh mesh;
  ASSERT_TRUE(buildExportMesh(m, mesh, nullptr));
  ASSERT_EQ(mesh.primitives.size(), 2u);
  const ExportPrimitive& p = mesh.primitives[0];
  EXPECT_EQ(p.indices, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 0, 1, 6, 7, 8, 9}));
  EXPECT_EQ(p.bones, (std::vector<uint16_t>{1, 1, 1, 0, 0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(p.positions, (std::vector<float>{0, 0, 0, 1, 1, 0, 0, 1, 0, 1, 0, 0, 2, 0, 0,
                                             1, 1, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 1, 1, 0}));
  EXPECT_EQ(p.uvs,
            (std::vector<float>{0, 0, 0, 0, 0.5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0.25}));
  std::vector<float> normals;
  for (int v = 0; v < 10; ++v)
    normals.insert(normals.end(), {0, v == 3 ? 0.6f : 0, v == 3 ? 0.8f : 1});
  EXPECT_EQ(p.normals, normals);
  EXPECT_EQ(mesh.primitives[1].indices, (std::vector<uint32_t>{0, 1, 2}));
  EXPECT_EQ(mesh.primitives[1].positions, (std::vector<float>{0, 0, 0, 1, 1, 0, 0, 1, 0}));
  ASSERT_EQ(mesh.bones.size(), 2u);
  EXPECT_EQ(mesh.bones[1].parent, 0);
  EXPECT_TRUE(sameVec(mesh.bones[1].start, 0, 0, 0));
  EXPECT_TRUE(sameVec(mesh.bones[1].end, 1, 0, 0));
}

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
