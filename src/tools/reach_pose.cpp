// The Move gesture with /ik on: a chain of bones turned so that the selected
// bone's end reaches the dragged place (contracts in animation_mode.h).

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

#include "document/undo.h"
#include "model/animation.h"
#include "model/inverse_kinematics.h"
#include "model/posed_model.h"
#include "model/vec3.h"
#include "tools/animation_mode.h"
#include "tools/tool_context.h"

namespace {

// The bones that turn, the top first and the selected bone last: it and up to
// `bones` - 1 parents, without a root of no length (it could turn nothing).
std::vector<int> chainUpFrom(const Rig& rig, int bone, int bones) {
  std::vector<int> chain;
  for (int b = bone; b >= 0 && static_cast<int>(chain.size()) < bones; b = rig.parent[b])
    if (rig.parent[b] >= 0 || rig.start[b] != rig.end[b]) chain.push_back(b);
  std::reverse(chain.begin(), chain.end());
  return chain;
}

// The active view's depth axis: the plane a straight chain bends in.
glm::dvec3 viewNormal(const ToolContext& e) {
  switch (e.viewSet.views[e.viewSet.activeView].kind) {
    case kFrontView:
      return {1, 0, 0};
    case kTopView:
      return {0, 1, 0};
    default:
      return {0, 0, 1};
  }
}

bool finite(const glm::dquat& q) {
  return std::isfinite(q.w) && std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z);
}

}  // namespace

void reachPose(ToolContext& e, const Vec3& offset) {
  if (!e.poseForViews().empty()) return;  // the next frame leaves the mode and says why
  const PosedModel& posed = e.animation.posedModel;
  const Rig& rig = posed.rig();
  const int bone = rig.indexOf(e.doc.selectedBone);
  const std::vector<int> chain =
      bone < 0 ? std::vector<int>{} : chainUpFrom(rig, bone, e.animation.ikBones);
  if (chain.size() < 2) {
    movePose(e, offset);  // says how to pick a bone, moves the root or turns a lone bone
    return;
  }
  const glm::dvec3 target = posed.end(bone) + glm::dvec3(offset.x, offset.y, offset.z);
  if (!std::isfinite(target.x) || !std::isfinite(target.y) || !std::isfinite(target.z)) return;
  std::vector<glm::dvec3> joints{posed.start(chain.front())};
  for (int b : chain) joints.push_back(posed.end(b));
  if (chain.size() == 2) {
    reachWithTwoBones(joints, target, viewNormal(e));
  } else {
    reachWithChain(joints, target, viewNormal(e));
  }
  std::vector<BonePose> poses = posed.poses();
  std::vector<glm::dmat4> world = posed.world();
  turnChainTo(rig, chain, joints, poses, world);
  if (!std::all_of(chain.begin(), chain.end(), [&](int b) { return finite(poses[b].rotation); }))
    return;
  takeSnapshot(e.doc);
  Clip& clip = clipToKey(e);
  const int frame = std::clamp(e.animation.frame, 0, clip.length);
  for (int b : chain) setKeyPose(clip.tracks[rig.bones[b]], frame, poses[b]);
  e.viewSet.sceneChanged();
}

void setIkBones(ToolContext& e, int bones) {
  if (bones != 0 && bones < 2) {
    e.consoleMessage("Error! /ik takes a number of bones from 2 up, or off!");
    return;
  }
  e.animation.ikBones = bones;
  e.consoleMessage(bones ? "IK: a Move drag in animation mode turns a chain of " +
                               std::to_string(bones) + " bones to reach the pointer."
                         : "IK off: a Move drag in animation mode turns the selected bone alone.");
}
