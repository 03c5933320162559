// The bone tree: building it, moving subtrees, picking bones by rectangle and
// the diagnostic dump.

#include <gtest/gtest.h>

#include "model/model.h"
#include "model/skeleton.h"

namespace {

TEST(SkeletonTest, RootIsAZeroLengthBoneAndOnlyOneCanBeMade) {
  Model model("m", nullptr);
  Bone* root = model.createRoot(1, 2, 3);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(model.hasSkeleton, 1);
  EXPECT_EQ(model.rootBone(), root);
  EXPECT_EQ(model.skeleton->boneCount, 1);
  EXPECT_EQ(root->start, root->end);
  EXPECT_EQ(root->end->y, 2.0);
  EXPECT_EQ(root->parent, nullptr);
  EXPECT_EQ(model.createRoot(0, 0, 0), nullptr);
  EXPECT_EQ(model.rootBone(), root);
}

TEST(SkeletonTest, AddBoneWithoutSkeletonMakesTheRoot) {
  Model model("m", nullptr);
  Bone* root = model.addBone(nullptr, 4, 5, 6);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(model.rootBone(), root);
  EXPECT_EQ(root->end->x, 4.0);
}

TEST(SkeletonTest, ChildrenStartAtTheParentsJointRecord) {
  Model model("m", nullptr);
  Bone* root = model.createRoot(0, 0, 0);
  Bone* first = model.addBone(root, 1, 0, 0);
  Bone* second = model.addBone(root, 0, 1, 0);
  EXPECT_EQ(root->childCount(), 2);
  EXPECT_EQ(model.skeleton->boneCount, 3);
  EXPECT_EQ(first->start, root->end);
  EXPECT_EQ(second->start, root->end);
  EXPECT_EQ(first->parent, root);
  EXPECT_EQ(root->children[1], second);
  EXPECT_NE(first->end, second->end);
}

TEST(SkeletonTest, ABoneTakesMoreThanTenChildren) {
  Model model("m", nullptr);
  Bone* root = model.createRoot(0, 0, 0);
  for (int i = 0; i < 12; ++i)
    EXPECT_EQ(model.skeleton->addChild(root, model.skeleton->newBone(root, i, 0, 0)), i);
  EXPECT_EQ(root->childCount(), 12);
  EXPECT_EQ(model.skeleton->boneCount, 13);
  EXPECT_EQ(root->children[11]->end->x, 11.0);
}

class BoneTreeTest : public testing::Test {
 protected:
  // root (0,0,0) -> arm (1,0,0) -> hand (2,0,0); root -> leg (2,-1,0)
  BoneTreeTest() {
    root = model.createRoot(0, 0, 0);
    arm = model.addBone(root, 1, 0, 0);
    hand = model.addBone(arm, 2, 0, 0);
    leg = model.addBone(root, 2, -1, 0);
  }
  Model model{"m", nullptr};
  Bone *root, *arm, *hand, *leg;
};

TEST_F(BoneTreeTest, MovingTheRootMovesEveryJoint) {
  translateBone(root, 1, 0, 0);
  EXPECT_EQ(root->end->x, 1.0);
  EXPECT_EQ(root->start->x, 1.0);
  EXPECT_EQ(arm->end->x, 2.0);
  EXPECT_EQ(hand->end->x, 3.0);
  EXPECT_EQ(leg->end->x, 3.0);
}

TEST_F(BoneTreeTest, MovingALeafMovesOnlyItsEnd) {
  translateBone(hand, 0, 0, 5);
  EXPECT_EQ(hand->end->z, 5.0);
  EXPECT_EQ(hand->start->z, 0.0);
  EXPECT_EQ(arm->end->z, 0.0);
  EXPECT_EQ(root->end->z, 0.0);
}

TEST_F(BoneTreeTest, FindBonePrefersParentsAndEarlierChildren) {
  testing::internal::CaptureStdout();
  // Side view (x right, y up): the box holds every joint; the root wins.
  EXPECT_EQ(model.findBone(-5, -5, 5, 5, 0, 0), root);
  // Only arm and hand: the parent wins.
  EXPECT_EQ(model.findBone(0.5, -0.5, 2.5, 0.5, 0, 0), arm);
  // Hand and leg: depth first reaches the earlier child's subtree first.
  EXPECT_EQ(model.findBone(1.5, -1.5, 2.5, 0.5, 0, 0), hand);
  // Corners in reverse order; leg lies below the box.
  EXPECT_EQ(model.findBone(2.5, 0.5, 1.5, -0.5, 0, 0), hand);
  // Top view (z right, x up): only hand's joint has x between 1.5 and 2.5.
  EXPECT_EQ(model.findBone(-1, 1.5, 1, 2.5, 2, 0), hand);
  // Front view (z right, y up): only leg's joint is below y = -0.5.
  EXPECT_EQ(model.findBone(-1, -2, 1, -0.5, 1, 0), leg);
  EXPECT_EQ(model.findBone(10, 10, 11, 11, 0, 0), nullptr);
  EXPECT_EQ(model.findBone(-5, -5, 5, 5, 3, 0), nullptr);
  std::string expected;
  for (int lookups = 0; lookups < 8; ++lookups) expected += "Looking up bones...\n";
  EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);
}

TEST_F(BoneTreeTest, FindBoneIgnoresClicksWithoutExtentSilently) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(model.findBone(1, 0, 1, 0, 0, 5), nullptr);
  EXPECT_EQ(model.findBone(0, 0, 3, 0, 0, 5), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(SkeletonTest, FindBoneWithoutSkeletonStillAnnouncesTheLookup) {
  Model model("m", nullptr);
  testing::internal::CaptureStdout();
  EXPECT_EQ(model.findBone(0, 0, 1, 1, 0, 0), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Looking up bones...\n");
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

TEST(SkeletonTest, DumpWithoutSkeletonPrintsNothing) {
  Model model("m", nullptr);
  testing::internal::CaptureStdout();
  model.dumpSkeleton();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

}  // namespace
