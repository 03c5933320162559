// Face normals and the bone tree, with exact results.

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "model/skeleton.h"
#include "support/fixtures.h"

namespace {

bool near(const Vec3& n, const double* expected, double sign) {
  return std::abs(n.x - sign * expected[0]) < 1e-15 && std::abs(n.y - sign * expected[1]) < 1e-15 &&
         std::abs(n.z - sign * expected[2]) < 1e-15;
}

// (P1 - P0) x (P2 - P1) at unit length, or zero without a direction; negated when flipped.
TEST(ModelTest, FaceNormalIsTheUnitCrossProductOrZero) {
  const double cases[][4][3] = {
      {{0, 0, 0}, {0, 0, 3}, {0, 3, 0}, {-1, 0, 0}},
      {{1, 1, 1}, {1, 4, 5}, {-2, 4, 5}, {0, -0.8, 0.6}},
      {{0, 0, 0}, {2, 0, 0}, {2, 0, -2}, {0, 1, 0}},
      {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {0, 0, 0}},           // coincident corners
      {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {0, 0, 0}},           // collinear corners
      {{0, 0, 0}, {NAN, 0, 0}, {0, 1, 0}, {0, 0, 0}},         // an undefined corner
      {{0, 0, 0}, {1e300, 0, 0}, {0, 1e300, 0}, {0, 0, 0}}};  // an area beyond doubles
  Model model("m", nullptr);
  for (const auto& c : cases) {
    Vertex* v[3];
    for (int i = 0; i < 3; ++i) v[i] = model.newVertex(c[i][0], c[i][1], c[i][2]);
    Polygon* p = model.newPolygon(v[0], v[1], v[2], 0.1, 0.2, 0.3, 0.4, 0.5, 0.6);
    EXPECT_TRUE(near(p->normal, c[3], 1) && near(p->cornerNormals[2], c[3], 1)) << c[1][1];
    p->flip();
    p->computeNormal();  // still flipped
    EXPECT_TRUE(near(p->normal, c[3], -1) && p->flipped == 1) << c[1][1];
    EXPECT_TRUE(p->uvs[2].vertex == v[2] && p->uvs[2].u == 0.3 && p->uvs[1].v == 0.5);
  }
}

TEST(SkeletonTest, ChildrenShareJointsArePickedParentsFirstAndMoveWithTheirParents) {
  Model model{"m", nullptr};
  Bone* root = model.addBone(nullptr, 0, 0, 0);  // without a skeleton: the root
  Bone* arm = model.addBone(root, 1, 0, 0);
  Bone* hand = model.addBone(arm, 2, 0, 0);
  Bone* leg = model.addBone(root, 2, -1, 0);
  EXPECT_EQ(model.createRoot(0, 0, 0), nullptr);  // one root only
  EXPECT_EQ(model.addBone(nullptr, 0, 0, 0), nullptr);
  EXPECT_EQ(model.skeleton->boneCount, 4);
  EXPECT_EQ(root->children, (std::vector<Bone*>{arm, leg}));
  EXPECT_TRUE(root->start == root->end && hand->start == arm->end && hand->parent == arm);
  const std::string trace = printedBy([&] {
    EXPECT_EQ(model.findBone(-5, -5, 5, 5, 0, 0), root);
    EXPECT_EQ(model.findBone(0.5, -0.5, 2.5, 0.5, 0, 0), arm);   // arm and hand
    EXPECT_EQ(model.findBone(2.5, 0.5, 1.5, -1.5, 0, 0), hand);  // hand before the later leg
    EXPECT_EQ(model.findBone(-1, -2, 1, -0.5, 1, 0), leg);       // front: z right, y up
    EXPECT_EQ(model.findBone(-1, 1.5, 1, 1.5, 2, 0), nullptr);   // no extent: silent
    EXPECT_EQ(model.findBone(-1, 1.5, 1, 2.5, 2, 0), hand);      // top: z right, x up
    EXPECT_EQ(model.findBone(-5, -5, 5, 5, 3, 0), nullptr);
    EXPECT_EQ(Model("bare", nullptr).findBone(-5, -5, 5, 5, 0, 0), nullptr);
  });
  std::string seven;
  for (int i = 0; i < 7; ++i) seven += "Looking up bones...\n";
  EXPECT_EQ(trace, seven);
  translateBone(hand, 0, 0, 5);
  translateBone(root, 1, 0, 0);
  translateBone(arm, 0, 1e308, 0);
  translateBone(arm, 0, 1e308, 0);  // would leave the doubles: kept
  hand->paramA = 0.25;
  leg->end->z = 1.0 / 3;
  leg->paramB = -1e7;
  EXPECT_EQ(printedBy([&] { model.dumpSkeleton(); }),
            "0 1 0 0 0 0\n1 2 1e+308 0 0 0\n2 3 1e+308 5 0.25 0\n1 3 -1 0.333333 0 -1e+07\n");
}

}  // namespace
