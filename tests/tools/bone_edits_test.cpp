// Bone names and mirrored bones: the name rules and side suffixes, /bonename's answers, and
// /mirrorbones and /mirrorweights on a small body across x = 0, each one undo step.

#include "tools/tool_fixture.h"

#include "console/console_commands.h"
#include "document/undo.h"
#include "model/animation.h"
#include "model/bone_names.h"
#include "model/skeleton.h"

namespace {

TEST(BoneNamesTest, NamesAndSwappedSides) {
  const std::pair<const char*, const char*> kSides[] = {
      {"arm.L", "arm.R"}, {"arm.R", "arm.L"}, {"leg_L", "leg_R"}, {"leg_R", "leg_L"},
      {"ear.l", "ear.r"}, {"ear_r", "ear_l"}, {"spine", "spine"}, {"armL", "armL"},
      {".L", ".L"},       {"arm.X", "arm.X"}, {"a.L.b", "a.L.b"}, {"", ""}};
  for (const auto& [name, swapped] : kSides) EXPECT_EQ(swappedSide(name), swapped) << name;
  const std::pair<std::string, bool> kNames[] = {
      {"hip", true},   {std::string(63, 'n'), true},  {"mixamorig:Hips", true},
      {"", false},     {std::string(64, 'n'), false}, {"upper arm", false},
      {"a\tb", false}, {"sk\x1Bin", false},           {"caf\xC3\xA9", false}};
  for (const auto& [name, usable] : kNames) EXPECT_EQ(isBoneName(name), usable) << name;
}

// A body across x = 0: the root at the origin, a spine up to (0, 1, 0), a left arm out to x = 1
// with a hand beyond it, and a pair of legs that mirror each other by name only. Two vertices
// weighted by hand sit at x = 1 and their partners at x = -1.
class BoneEditsTest : public ToolTest {
 protected:
  BoneEditsTest() {
    Model& m = model();
    root = m.createRoot(0, 0, 0);
    spine = m.addBone(root, 0, 1, 0);
    arm = m.addBone(spine, 1, 1, 0);
    hand = m.addBone(arm, 2, 1, 0);
    Bone* leg = m.addBone(root, 0.5, -1, 0);
    m.addBone(root, -0.5, -1.2, 0)->name = "leg.R";  // not at the left leg's mirrored place
    spine->name = "spine", arm->name = "arm.L", hand->name = "hand.L", leg->name = "leg.L";
    for (double x : {1.0, -1.0}) side[x > 0] = {addVertex(m, x, 1, 0), addVertex(m, x, 0, 0)};
    m.animation->weights[side[1][0]] = {{arm, 0.75}, {spine, 0.25}};
    m.animation->weights[side[1][1]] = {{leg, 1}};
    editor.doc.markSaved();
  }
  // Each bone depth first: "name@end<parent" ("-" for no name).
  std::string bones() {
    std::string text;
    forEachBone(model().skeleton->root, [&](Bone* b, int) {
      text += (b->name.empty() ? "-" : b->name) + "@" + vec(positionOf(b->end)) + "<" +
              (b->parent ? b->parent->name : "") + " ";
    });
    return text;
  }
  std::string weightsOf(Vertex* v) {
    std::string text;
    for (const BoneWeight& w : model().animation->weights[v])
      text += (w.bone->name.empty() ? "-" : w.bone->name) + "=" + num(w.weight) + " ";
    return text;
  }
  Bone *root, *spine, *arm, *hand;
  std::array<Vertex*, 2> side[2];  // by side, negative first
};

TEST_F(BoneEditsTest, BoneNameNamesTheSelectedBoneOnceAndOnlyWithAUsableName) {
  const std::pair<const char*, const char*> kLines[] = {
      {"/bonename neck", "Select the bone to name.|"},
      {"/bonename hip", "Bone named hip.|"},  // from here on the spine is selected
      {"/bonename hip", ""},
      {"/bonename arm.L", "Error! Another bone is named arm.L already!|"},
      {"/bonename sk\x1Bin", "Error! A bone name is one word of at most 63 printable characters!|"},
      {"/bonename", "Error! Not right # of parameters!|"}};
  int steps = 0;
  for (const auto& [line, answer] : kLines) {
    EXPECT_EQ(said(line), answer) << line;
    editor.doc.selectedBone = spine;
    steps += std::string(answer).starts_with("Bone named");
    EXPECT_EQ(snapshots(), steps) << line;
  }
  EXPECT_EQ(spine->name, "hip");
  EXPECT_TRUE(editor.doc.unsavedChanges());
  undo(editor.doc);
  EXPECT_EQ(model().skeleton->root->children[0]->name, "spine");
}

TEST_F(BoneEditsTest, MirrorBonesCopiesThePositiveSideOnceUnderMirroredParents) {
  const std::string before = bones();
  // The left leg's copy finds its swapped name taken, so it has none.
  EXPECT_EQ(said("/mirrorbones x"), "Mirror bones: 3 bones on the positive side of x copied.|");
  EXPECT_EQ(bones(),
            "-@0,0,0< spine@0,1,0< arm.L@1,1,0<spine hand.L@2,1,0<arm.L arm.R@-1,1,0<spine "
            "hand.R@-2,1,0<arm.R leg.L@0.5,-1,0< leg.R@-0.5,-1.2,0< -@-0.5,-1,0< ");
  EXPECT_EQ(said("/mirrorbones x"),
            "Mirror bones: every bone on the positive side of x has its "
            "mirror already.|");
  EXPECT_EQ(snapshots(), 1);
  undo(editor.doc);
  EXPECT_EQ(bones(), before);
  // Across y the spine goes down, unnamed for want of a side, and the arm under its copy.
  EXPECT_EQ(said("/mirrorbones y"), "Mirror bones: 3 bones on the positive side of y copied.|");
  EXPECT_EQ(bones(),
            "-@0,0,0< spine@0,1,0< arm.L@1,1,0<spine hand.L@2,1,0<arm.L leg.L@0.5,-1,0< "
            "leg.R@-0.5,-1.2,0< -@0,-1,0< arm.R@1,-1,0< hand.R@2,-1,0<arm.R ");
  EXPECT_EQ(said("/mirrorbones w"), "Error! /mirrorbones takes x, y or z!|");
}

TEST_F(BoneEditsTest, MirrorWeightsGivesPartnersTheWeightsOfMirroredBones) {
  // Without mirrored arms the arm stays itself, and the left leg's mirror is the bone of its
  // swapped name; once there are mirrored bones, the bone at the mirrored place is taken first.
  const char* const kAfter[2][2] = {{"arm.L=0.75 spine=0.25 ", "leg.R=1 "},
                                    {"arm.R=0.75 spine=0.25 ", "-=1 "}};
  for (const auto& after : kAfter) {
    EXPECT_EQ(said("/mirrorweights x"),
              "Mirror weights: 2 vertices on the negative side of x weighted.|");
    EXPECT_EQ(weightsOf(side[0][0]), after[0]);
    EXPECT_EQ(weightsOf(side[0][1]), after[1]);
    runConsoleCommand(editor, "/mirrorbones x");
  }
  EXPECT_EQ(snapshots(), 3);  // the second /mirrorbones finds every mirror there
  undo(editor.doc), undo(editor.doc);
  for (Vertex* v : model().vertices) {  // undo builds the model anew
    if (v->x == -1 && v->y == 0) {
      EXPECT_EQ(weightsOf(v), "leg.R=1 ");
    }
  }
  EXPECT_EQ(said("/mirrorweights z"),
            "Mirror weights: no vertex on the positive side of z has a "
            "partner.|");
  EXPECT_EQ(snapshots(), 1);
  runConsoleCommand(editor, "/anim");
  EXPECT_EQ(said("/mirrorweights x"),
            "Mesh edits are off in animation mode: press A or type /anim to leave it.|");
}

}  // namespace
