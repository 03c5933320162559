#include "tools/tool_fixture.h"

#include "model/skeleton.h"

namespace {

using BoneToolTest = ToolTest;

TEST_F(BoneToolTest, FirstClickMakesTheRootAndLaterClicksChildrenOfTheSelectedBone) {
  editor.tool = kAddBone;
  std::string out = printed([&] { clickIn(kSideView, 1, 2); });
  ASSERT_TRUE(editor.model->hasSkeleton);
  Bone* root = editor.model->rootBone();
  EXPECT_EQ(editor.selectedBone, root);
  expectAt(root->end, 1, 2, 0);
  EXPECT_EQ(out, "0 1 2 0 0 0\n");

  out = printed([&] { clickIn(kTopView, 3, 1); });  // (1, 0, 3)
  Bone* child = editor.selectedBone;
  ASSERT_NE(child, root);
  EXPECT_EQ(child->parent, root);
  EXPECT_EQ(child->start, root->end);
  expectAt(child->end, 1, 0, 3);
  EXPECT_EQ(out, "0 1 2 0 0 0\n1 1 0 3 0 0\n");

  clickIn(kFrontView, 1, 1);
  EXPECT_EQ(editor.selectedBone->parent, child);
  EXPECT_EQ(editor.model->skeleton->boneCount, 3);
  EXPECT_EQ(snapshots(), 0);
  EXPECT_EQ(editor.tool, kAddBone);
}

TEST_F(BoneToolTest, WithASkeletonButNoSelectedBoneNothingHappens) {
  editor.model->addBone(nullptr, 0, 0, 0);
  editor.tool = kAddBone;
  EXPECT_EQ(printed([&] { clickIn(kSideView, 1, 1); }), "");
  EXPECT_EQ(editor.model->skeleton->boneCount, 1);
  EXPECT_EQ(editor.selectedBone, nullptr);
}

}  // namespace
