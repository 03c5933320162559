// The bone tree: building it, picking bones by rectangle, moving subtrees and
// the diagnostic dump (pre-order: depth, end joint, the two parameters).

#include <gtest/gtest.h>

#include "model/skeleton.h"
#include "support/fixtures.h"

namespace {

TEST(SkeletonTest, ChildrenShareJointsArePickedParentsFirstAndMoveWithTheirParents) {
  // root (0,0,0) -> arm (1,0,0) -> hand (2,0,0);  root -> leg (2,-1,0)
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
