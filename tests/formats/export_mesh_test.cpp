#include "formats/export_mesh.h"

#include <gtest/gtest.h>

#include "support/arm_fixture.h"
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

// Each exported vertex carries its own weights, also on flipped triangles, whose corners leave
// in reverse order: the upper arm's share is 1 at x = 0, 1/3 at v1, 2/3 at v4 and 0 at x = 2.
TEST(ExportMesh, FlippedTrianglesKeepEachCornersWeights) {
  Model m("m", nullptr);
  Arm arm(m);
  arm.p[0]->flipped = arm.p[2]->flipped = 1;
  ExportMesh mesh;
  std::string reason;
  ASSERT_TRUE(buildExportMesh(m, mesh, &reason)) << reason;
  ASSERT_EQ(mesh.primitives.size(), 1u);
  const ExportPrimitive& out = mesh.primitives[0];
  ASSERT_GT(out.vertexCount(), 5u);
  for (size_t v = 0; v < out.vertexCount(); ++v) {
    const float x = out.positions[3 * v], y = out.positions[3 * v + 1];
    float upper = 0;
    for (int k = 0; k < 4; ++k) upper += out.joints[v][k] == 1 ? out.weights[v][k] : 0;
    const float expected = x < 0.5f ? 1 : x > 1.5f ? 0 : y < 0 ? 1.0f / 3 : 2.0f / 3;
    EXPECT_NEAR(upper, expected, 1e-6) << x << "," << y;
  }
}
