// Animation mode: posing and keying with the tools, the console's animation
// commands, mesh edits refused, undo of key changes, playback's frames.

#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>

#include "model/animation.h"
#include "model/skin.h"
#include "support/arm_fixture.h"
#include "support/failing_allocations.h"
#include "tools/animation_mode.h"
#include "tools/animation_rules.h"
#include "tools/tool_fixture.h"

namespace {

class AnimationModeTest : public ToolTest {
 protected:
  AnimationModeTest() : arm(model()) {}
  void command(const std::string& line) { runConsoleCommand(editor, line); }
  Clip* clip(const std::string& name = kFirstClipName) {
    return editor.doc.model->animation->find(name);
  }
  // The keys of a bone of the current model's clip, "frame:angle about z".
  std::string keysOf(int boneLine, const std::string& name = kFirstClipName) {
    Clip* c = clip(name);
    if (!c) return "no clip";
    Bone* bones[3] = {editor.doc.model->rootBone(), nullptr, nullptr};
    bones[1] = bones[0]->children[0];
    bones[2] = bones[1]->children[0];
    std::string text;
    auto track = c->tracks.find(bones[boneLine]);
    if (track == c->tracks.end()) return text;
    for (const PoseKey& k : track->second) {
      const glm::dvec3 x = k.pose.rotation * glm::dvec3(1, 0, 0);
      // Four decimals: a key read back from an undo step is rounded to six per component.
      text += (text.empty() ? "" : " ") + std::to_string(k.frame) + ":" +
              num(std::round(std::atan2(x.y, x.x) * 1e4) / 1e4) +
              (k.pose.translation != glm::dvec3(0) ? "+t" : "");
    }
    return text;
  }
  // A drag in the Side view from model point (h, v), by (dh, dv) pixels up and right.
  void sideDrag(double h, double v, int right, int up) {
    drag(kLeftButton, glutX(0, h), glutY(0, v), glutX(0, h) + right, glutY(0, v) - up);
  }
  Arm arm;
};

TEST_F(AnimationModeTest, RotateAndMoveKeyTheSelectedBoneAndUndoTakesEachKeyBack) {
  const std::string rest = mesh();
  key('A');
  EXPECT_TRUE(editor.animation.on);
  editor.doc.selectedBone = arm.fore;
  command("/frame 10");
  key('r');
  sideDrag(2, 0, 0, 157);  // up: a counter-clockwise turn of 1.57 radians
  EXPECT_EQ(keysOf(2), "10:1.57");
  EXPECT_EQ(mesh(), rest) << "posing moves no rest vertex";
  command("/frame 20");
  key('m');
  editor.doc.selectedBone = arm.upper;
  sideDrag(1, 0, -50, 50);  // the upper arm's end moved to (0, 1): it turns towards it
  EXPECT_EQ(keysOf(1), "20:1.5708");
  editor.doc.selectedBone = arm.root;
  sideDrag(0, 0, 50, 0);
  EXPECT_EQ(keysOf(0), "20:0+t");
  key('z');
  EXPECT_EQ(keysOf(0), "");
  key('z');
  EXPECT_EQ(keysOf(1), "");
  EXPECT_EQ(keysOf(2), "10:1.57");
  key('z');
  EXPECT_EQ(keysOf(2), "no clip");
  key('Z');
  EXPECT_EQ(keysOf(2), "10:1.57") << "redo keeps the mode's clip and frame";
  EXPECT_EQ(editor.animation.frame, 20);
  key('A');
  EXPECT_FALSE(editor.animation.on);
}

// With /ik a Move drag of the forearm's end turns the forearm and the upper arm (the root has no
// length) so that the end lands where it was dragged, on top of the upper arm's pose, keying both
// in one undo step.
TEST_F(AnimationModeTest, IkMoveKeysTheChainReachingThePointerInOneUndoStep) {
  key('A');
  command("/frame 5");
  editor.doc.selectedBone = arm.upper;
  key('r');
  sideDrag(1, 0, 0, 30);  // the upper arm turned by 0.3 first
  command("/ik");
  key('m');
  editor.doc.selectedBone = arm.fore;
  const size_t steps = editor.doc.undoHistory.undoCount();
  ASSERT_EQ(editor.poseForViews(), "");
  const PosedModel& posed = editor.animation.posedModel;
  const glm::dvec3 end = posed.end(2);
  sideDrag(2, 0, -60, 20);  // within reach of the shoulder
  const Vec3 by = editor.toolState.moveOffset;
  EXPECT_EQ(editor.doc.undoHistory.undoCount(), steps + 1);
  ASSERT_EQ(editor.poseForViews(), "");
  EXPECT_NEAR(glm::length(posed.end(2) - (end + glm::dvec3(by.x, by.y, by.z))), 0, 1e-9);
  EXPECT_NEAR(glm::length(posed.end(1) - posed.start(1)), 1, 1e-12);
  EXPECT_EQ(keysOf(0), "");
  EXPECT_TRUE(keysOf(1).starts_with("5:") && keysOf(2).starts_with("5:")) << keysOf(1) << keysOf(2);
  EXPECT_NE(keysOf(1), "5:0.3") << "the upper arm turns too";
  key('z');
  EXPECT_EQ(keysOf(1) + "|" + keysOf(2), "5:0.3|") << "one step takes both keys back";
  command("/ik off");
  EXPECT_EQ(editor.animation.ikBones, 0);
}

// Every rule of the mode, acted on where the editor takes its input: a refusal says its message
// once and leaves the mesh and the undo steps alone; posing keys the bone (one step) and leaves
// the rest mesh; picking and framing say nothing and take no step.
TEST_F(AnimationModeTest, EachInputDoesWhatItsRuleSays) {
  selectAllVertices(editor);
  selectAllPolygons(editor);
  for (const ModeRule& rule : animationModeRules()) {
    if (editor.animation.on != (rule.effect != ModeRule::kNeedsMode)) key('A');
    editor.doc.selectedBone = arm.fore;
    editor.toolState.tool = kSelectVertex;
    editor.mouseMoved(glutX(0, 2), glutY(0, 0));  // R turns the bone in the view under the mouse
    const std::string rest = mesh(), what = rule.command + std::to_string(rule.code);
    const size_t steps = editor.doc.undoHistory.undoCount();
    const int before = messageCount();
    switch (rule.input) {
      case ModeRule::kKey:
        key(static_cast<unsigned char>(rule.code));
        break;
      case ModeRule::kMenu:
        toolMenuCommand(editor, rule.code);
        break;
      case ModeRule::kCommand:
        command(std::string(rule.command) + " 1 1 1");  // numbers enough for any of them
        break;
      case ModeRule::kTool:
        editor.toolState.tool = rule.code;
        sideDrag(2, 0, 40, 40);
        break;
    }
    const bool refused = rule.effect == ModeRule::kRefused || rule.effect == ModeRule::kNeedsMode;
    EXPECT_EQ(messagesSince(before), refused ? std::string(rule.message) + "|" : "") << what;
    if (rule.effect != ModeRule::kPicksPosed) {
      EXPECT_EQ(mesh(), rest) << what;
    }
    EXPECT_EQ(editor.doc.undoHistory.undoCount(), steps + (rule.effect == ModeRule::kPosesBone))
        << what;
  }
  editor.toolState.tool = kMove;
  dragIn(kUvView, 0.2, 0.2, 0.4, 0.4);
  EXPECT_EQ(lastConsoleMessage(), kMeshEditsOff) << "no bone to pose in the UV view";
  selectAllVertices(editor);
  const std::string rest = mesh();
  toolMenuCommand(editor, kAnimationModeCommand);  // the menu's "Animation Mode" leaves it
  key(127);
  EXPECT_NE(mesh(), rest);
}

TEST_F(AnimationModeTest, ConsoleCommandsMakeClipsKeysAndWeights) {
  editor.doc.selectedBone = arm.fore;
  command("/key");
  EXPECT_EQ(keysOf(2), "0:0") << "the first key makes a clip";
  command("/clip walk");
  command("/fps 30");
  command("/frame 50");
  EXPECT_EQ(editor.animation.frame, 24) << "within the clip's default length";
  command("/key");
  command("/length 12");
  EXPECT_EQ(lastConsoleMessage(), "Clip walk is 12 frames long. 1 keys after it were removed.");
  EXPECT_EQ(clip("walk")->fps, 30);
  command("/frame 0");
  command("/key");
  command("/unkey");
  command("/unkey");
  EXPECT_EQ(lastConsoleMessage(), "The bone has no key at frame 0.");
  EXPECT_EQ(keysOf(2, "walk"), "");
  for (const char* refused :
       {"/fps 0", "/fps x", "/length 100001", "/clip a\tb", "/frame 1.5", "/weight -1", "/weight 2",
        "/weight 1.5e9", "/ik 1", "/ik x", "/ik -3", "/interp jump"}) {
    const size_t steps = editor.doc.undoHistory.undoCount();
    command(refused);
    EXPECT_TRUE(lastConsoleMessage().starts_with("Error!")) << refused;
    EXPECT_EQ(editor.doc.undoHistory.undoCount(), steps) << refused;
  }
  // Weights: the fore arm's share of the elbow set by hand, the upper arm's the rest.
  editor.doc.selectedVertices.pushFront(arm.v[4]);
  command("/weight 0.9");
  const auto& set = editor.doc.model->animation->weights;
  ASSERT_EQ(set.count(arm.v[4]), 1u);
  EXPECT_EQ(set.at(arm.v[4]).front().bone, arm.fore);
  EXPECT_NEAR(set.at(arm.v[4]).back().weight, 0.1, 1e-12);
  // A vertex on the fore arm alone: its parent takes what the typed weight leaves.
  editor.doc.selectedVertices.pushFront(arm.v[5]);
  command("/weight 0.5");
  ASSERT_EQ(set.at(arm.v[5]).size(), 2u);
  EXPECT_EQ(set.at(arm.v[5])[1].bone, arm.upper);
  EXPECT_EQ(set.at(arm.v[5])[1].weight, 0.5);
  command("/weight auto");
  EXPECT_TRUE(set.empty());
  key('z');
  EXPECT_EQ(editor.doc.model->animation->weights.size(), 2u) << "undo brings the weights back";
}

// Entering the mode makes the pose at once: without memory for it, or with more bones than a pose
// holds (a bone's number has 16 bits), the mode stays off with the reason, and /weight refuses
// those bones too; no vertex is ever bound to another bone's number.
TEST_F(AnimationModeTest, APoseTheModelCannotHaveKeepsTheModeOff) {
  for (int i = 0; i < 3000; ++i) addVertex(model(), i, 0, 0);  // the pose's arrays: over 64 KB
  {
    FailingAllocations noMemory(64 << 10);
    key('A');
    EXPECT_GT(noMemory.failed(), 0);
  }
  EXPECT_EQ(lastConsoleMessage(), "Animation mode stays off: not enough memory to pose the model.");
  Bone* last = nullptr;
  for (int b = 3; b < 70000; ++b) last = model().addBone(arm.root, 0, 0, 0);
  arm.p[3]->bone = editor.doc.selectedBone = last;
  key('A');
  const std::string tooMany = "the skeleton has 70000 bones, more than the 65536 a pose holds";
  EXPECT_EQ(lastConsoleMessage(), "Animation mode stays off: " + tooMany + ".");
  editor.doc.selectedVertices.pushFront(arm.v[5]);
  command("/weight 0.5");
  EXPECT_EQ(lastConsoleMessage(), "Error! No weights can be set: " + tooMany + "!");
  for (const Influence& in : bindSkin(model(), flattenRig(model())).influences)
    EXPECT_LT(*std::max_element(in.bones, in.bones + in.count), 3) << "the arm's or the root";
}

TEST_F(AnimationModeTest, PlaybackStepsFramesByTheClockAndStops) {
  const auto t0 = std::chrono::steady_clock::now();
  command("/clip loop");
  command("/length 4");
  command("/fps 10");
  startPlayback(editor, t0);
  EXPECT_FALSE(editor.animation.playing) << "only in animation mode";
  key('A');
  command("/frame 2");
  startPlayback(editor, t0);
  const std::pair<int, int> at[] = {{0, 2}, {99, 2}, {100, 3}, {250, 4}, {300, 0}, {1000, 2}};
  for (auto [ms, frame] : at) {
    const int wait = playbackTick(editor, t0 + std::chrono::milliseconds(ms));
    EXPECT_EQ(editor.animation.frame, frame) << ms;
    EXPECT_TRUE(wait > 0 && wait <= 101) << wait;
  }
  command("/stop");
  EXPECT_EQ(playbackTick(editor, t0), -1);
  key('A');
  EXPECT_FALSE(editor.animation.playing);
}

TEST_F(AnimationModeTest, SelectAndFitInViewWorkOnThePosedModel) {
  key('A');
  editor.doc.selectedBone = arm.fore;
  editor.doc.model->animation->add("clip1").tracks[arm.fore] = {
      {0, {glm::angleAxis(1.5707963267948966, glm::dvec3(0, 0, 1))}}};
  key(' ');
  key(' ');  // Select Bone
  auto band = [&](double h0, double v0, double h1, double v1) {
    drag(kLeftButton, glutX(0, h0), glutY(0, v0), glutX(0, h1), glutY(0, v1));
    return editor.doc.selectedBone;
  };
  EXPECT_EQ(band(0.8, 0.8, 1.2, 1.2), arm.fore) << "the forearm's end, bent up";
  EXPECT_EQ(band(1.8, -0.2, 2.2, 0.2), nullptr) << "nothing where it rests";
  key(' ');  // Select Vertex: v2 rests at (2, -0.25) and is posed at (1.25, 1)
  band(1.1, 0.9, 1.4, 1.1);
  ASSERT_EQ(editor.doc.selectedVertices.count(), 1);
  EXPECT_EQ(editor.doc.selectedVertices.headItem(), arm.v[2]);
  key('a');  // the views fit v2 where it is shown
  const Viewport& side = editor.viewSet.views[kSideView];
  EXPECT_NEAR((side.left + side.right) / 2, 1.25, 1e-9);
  EXPECT_NEAR((side.bottom + side.top) / 2, 1, 1e-9);
}

}  // namespace
