#include "model/export_mesh.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "support/format_fixtures.h"
#include "support/fixtures.h"

TEST(ExportMesh, OneVertexPerDistinctPositionNormalTextureCoordinateAndBone) {
  Model m("m", nullptr);
  SquareWithWing s(m);  // listed p3, p2, p1
  Bone* arm = m.addBone(m.addBone(nullptr, 0, 0, 0), 1, 0, 0);
  s.p3->bone = arm;
  s.p1->uvs[0].u = 0.5;  // p1's corner at a has a texture coordinate of its own
  ExportMesh mesh;
  ASSERT_TRUE(buildExportMesh(m, mesh, nullptr));
  ASSERT_EQ(mesh.primitives.size(), 1u);
  const ExportPrimitive& p = mesh.primitives[0];
  // p3 = b e c on the arm; p2 = a c d and p1 = a' b c on the root share c only.
  EXPECT_EQ(p.indices, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 6, 7, 4}));
  EXPECT_EQ(p.bones, (std::vector<uint16_t>{1, 1, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(p.positions, (std::vector<float>{1, 0, 0, 2, 0, 0, 1, 1, 0, 0, 0, 0,
                                             1, 1, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0}));
  EXPECT_EQ(p.uvs[12], 0.5f);
  for (size_t i = 0; i < p.vertexCount(); ++i)
    EXPECT_EQ(std::vector<float>(p.normals.begin() + 3 * i, p.normals.begin() + 3 * i + 3),
              (std::vector<float>{0, 0, 1}));
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
  p->cornerNormals[1] = Vec3{};  // a corner without one falls back on the face
  EXPECT_TRUE(sameVec(shadingNormal(*p, 1), -1, 0, 0));
  c->y = 4;  // a triangle without area still gets a unit normal
  c->z = 0;
  EXPECT_TRUE(sameVec(shadingNormal(*p, 1), 0, 1, 0));
}

TEST(ExportMesh, RandomModelsGiveBackEveryCornerFromDistinctVertices) {
  std::mt19937 rng(17);
  for (int round = 0; round < 40; ++round) {
    Model m("m", nullptr);
    buildRandomModel(m, rng, "", static_cast<int>(rng() % 4));
    for (Polygon* p : m.currentGroup->polygons) p->smooth = rng() % 2;
    ExportMesh mesh;
    ASSERT_TRUE(buildExportMesh(m, mesh, nullptr));
    std::map<const Bone*, int> boneNumber;
    if (m.skeleton)
      forEachBone(m.skeleton->root, [&](Bone* b, int) { boneNumber[b] = boneNumber.size(); });
    size_t primitive = 0;
    for (PolygonGroup* group : m.groups) {
      const ExportPrimitive& p = mesh.primitives[primitive++];
      std::set<std::vector<float>> distinct;
      for (size_t v = 0; v < p.vertexCount(); ++v) {
        distinct.insert({p.positions[3 * v], p.positions[3 * v + 1], p.positions[3 * v + 2],
                         p.normals[3 * v], p.normals[3 * v + 1], p.normals[3 * v + 2], p.uvs[2 * v],
                         p.uvs[2 * v + 1], float(p.bones[v])});
      }
      EXPECT_EQ(distinct.size(), p.vertexCount());
      size_t corner = 0;
      for (Polygon* polygon : group->polygons) {
        for (int k = 0; k < 3; ++k, ++corner) {
          const uint32_t v = p.indices[corner];
          const Vertex& want = *polygon->vertices[k];
          const Vec3 n = shadingNormal(*polygon, k);
          EXPECT_EQ(
              std::vector<float>(p.positions.begin() + 3 * v, p.positions.begin() + 3 * v + 3),
              (std::vector<float>{float(want.x), float(want.y), float(want.z)}));
          EXPECT_EQ(p.normals[3 * v + 2], float(n.z));
          EXPECT_EQ(p.uvs[2 * v + 1], float(polygon->uvs[k].v));
          EXPECT_EQ(p.bones[v], polygon->bone ? boneNumber.at(polygon->bone) : 0);
        }
      }
      EXPECT_EQ(corner, p.indices.size());
    }
  }
}
