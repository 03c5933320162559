#include <vector>

#include <gtest/gtest.h>

#include "model/skeleton.h"
#include "support/fixtures.h"

namespace {

// Picking and moving bones are pinned by the selection and move tests.
TEST(SkeletonTest, OneRootNoBoneWithoutAParentAndNoMoveOutOfTheDoubles) {
  Model model("m", nullptr);
  Bone* root = model.addBone(nullptr, 0, 0, 0);  // without a skeleton: the root
  EXPECT_EQ(model.createRoot(0, 0, 0), nullptr);
  EXPECT_EQ(model.addBone(nullptr, 0, 0, 0), nullptr);
  Bone* arm = model.addBone(root, 1, 0, 0);
  EXPECT_EQ(root->children, std::vector<Bone*>{arm});
  EXPECT_EQ(printedBy([&] {
              EXPECT_EQ(model.findBone(-1, 1.5, 1, 1.5, 2, 0), nullptr);  // no extent: silent
              EXPECT_EQ(model.findBone(-5, -5, 5, 5, 3, 0), nullptr);
            }),
            "Looking up bones...\n");
  translateBone(arm, 0, 1e308, 0);
  translateBone(arm, 0, 1e308, 0);  // would leave the doubles: kept
  EXPECT_TRUE(sameVec(positionOf(arm->end), 1, 1e308, 0));
}

}  // namespace
