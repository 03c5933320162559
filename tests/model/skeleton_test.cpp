// The bone tree: building it, moving subtrees, picking bones by rectangle and
// the diagnostic dump.

#include <gtest/gtest.h>

#include "model/model.h"
#include "model/skeleton.h"

namespace {

TEST(SkeletonTest, RootComesFirstAndOnlyOnceChildrenShareTheParentsJoint) {
  Model model("m", nullptr);
  Bone* root = model.addBone(nullptr, 1, 2, 3);  // without skeleton: the root
  ASSERT_EQ(model.rootBone(), root);
  EXPECT_EQ(root->start, root->end);
  EXPECT_EQ(model.createRoot(0, 0, 0), nullptr);

  Bone* first = model.addBone(root, 1, 0, 0);
  Bone* second = model.addBone(root, 0, 1, 0);
  EXPECT_EQ(root->childCount(), 2);
  EXPECT_EQ(model.skeleton->boneCount, 3);
  EXPECT_EQ(first->start, root->end);
  EXPECT_EQ(second->start, root->end);
  EXPECT_EQ(second->parent, root);
  for (int i = 0; i < 10; ++i) model.addBone(root, i, 0, 0);
  EXPECT_EQ(root->childCount(), 12);
}

// root (0,0,0) -> arm (1,0,0) -> hand (2,0,0);  root -> leg (2,-1,0)
class BoneTreeTest : public testing::Test {
 protected:
  Model model{"m", nullptr};
  Bone* root = model.createRoot(0, 0, 0);
  Bone* arm = model.addBone(root, 1, 0, 0);
  Bone* hand = model.addBone(arm, 2, 0, 0);
  Bone* leg = model.addBone(root, 2, -1, 0);
};

TEST_F(BoneTreeTest, MovingABoneMovesItsSubtreeOnly) {
  translateBone(hand, 0, 0, 5);
  EXPECT_EQ(hand->end->z, 5.0);
  EXPECT_EQ(arm->end->z, 0.0);
  translateBone(root, 1, 0, 0);  // the root's start is its end
  EXPECT_EQ(root->start->x, 1.0);
  EXPECT_EQ(arm->end->x, 2.0);
  EXPECT_EQ(hand->end->x, 3.0);
  EXPECT_EQ(leg->end->x, 3.0);
}

TEST_F(BoneTreeTest, FindBoneSearchesDepthFirstParentsBeforeChildren) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(model.findBone(-5, -5, 5, 5, 0, 0), root);
  EXPECT_EQ(model.findBone(0.5, -0.5, 2.5, 0.5, 0, 0), arm);   // arm and hand
  EXPECT_EQ(model.findBone(2.5, 0.5, 1.5, -1.5, 0, 0), hand);  // hand before the later leg
  EXPECT_EQ(model.findBone(-1, -2, 1, -0.5, 1, 0), leg);       // front: z right, y up
  EXPECT_EQ(model.findBone(-1, 1.5, 1, 1.5, 2, 0), nullptr);   // no extent: silent
  EXPECT_EQ(model.findBone(-1, 1.5, 1, 2.5, 2, 0), hand);      // top: z right, x up
  EXPECT_EQ(model.findBone(-5, -5, 5, 5, 3, 0), nullptr);
  std::string expected;
  for (int lookups = 0; lookups < 6; ++lookups) expected += "Looking up bones...\n";
  EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);
}

TEST_F(BoneTreeTest, DumpPrintsDepthJointAndParametersPreOrder) {
  hand->paramA = 0.25;
  leg->end->z = 1.0 / 3;
  leg->paramB = -1e7;
  testing::internal::CaptureStdout();
  model.dumpSkeleton();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "0 0 0 0 0 0\n"
            "1 1 0 0 0 0\n"
            "2 2 0 0 0.25 0\n"
            "1 2 -1 0.333333 0 -1e+07\n");
}

}  // namespace
