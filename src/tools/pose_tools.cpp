// Posing with the Rotate and Move gestures in animation mode (contracts in
// animation_mode.h).

#include <glm/gtc/quaternion.hpp>
#define GLM_ENABLE_EXPERIMENTAL
#include <glm/gtx/quaternion.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "document/undo.h"
#include "model/animation.h"
#include "model/posed_model.h"
#include "model/span.h"
#include "tools/animation_mode.h"
#include "tools/tool_context.h"

namespace {

// The selected bone and the pose it has at the current frame, ready to be
// keyed there.
struct PosedBone {
  PosedModel* posed = nullptr;
  int bone = -1;
};

bool posedSelection(ToolContext& e, PosedBone& selected) {
  if (!e.poseForViews().empty()) return false;  // the next frame leaves the mode and says why
  selected.posed = &e.animation.posedModel;
  selected.bone = e.animation.posedModel.rig().indexOf(e.doc.selectedBone);
  if (selected.bone < 0) {
    e.consoleMessage("Select a bone to pose it.");
    return false;
  }
  return true;
}

// Keys the bone's new pose at the current frame: one undo step, making the
// first clip when there is none.
void keyPose(ToolContext& e, Bone* bone, const BonePose& pose) {
  takeSnapshot(e.doc);
  Animation& animation = *e.doc.model->animation;
  Clip* clip = currentClip(e);
  if (!clip) {
    clip = &animation.add(kFirstClipName);
    e.animation.clip = clip->name;
  }
  const int frame = std::clamp(e.animation.frame, 0, clip->length);
  setKeyPose(clip->tracks[bone], frame, pose);
  e.viewSet.sceneChanged();
}

// The selected bone and a finite offset to pose it by.
bool posedOffset(ToolContext& e, const Vec3& offset, PosedBone& selected, glm::dvec3& by) {
  if (!posedSelection(e, selected)) return false;
  by = glm::dvec3(offset.x, offset.y, offset.z);
  return std::isfinite(by.x) && std::isfinite(by.y) && std::isfinite(by.z);
}

bool finite(const glm::dquat& q) {
  return std::isfinite(q.w) && std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z);
}

}  // namespace

void rotatePose(ToolContext& e, double angle) {
  glm::dvec3 axis;
  switch (e.viewSet.views[e.viewSet.activeView].kind) {
    case kSideView:  // as the Rotate tool turns vertices in each view
      axis = {0, 0, 1}, angle = -angle;
      break;
    case kFrontView:
      axis = {1, 0, 0};
      break;
    case kTopView:
      axis = {0, 1, 0};
      break;
    default:
      return;
  }
  PosedBone selected;
  if (!std::isfinite(angle) || !posedSelection(e, selected)) return;
  const PosedModel& posed = *selected.posed;
  BonePose pose = posed.poses()[selected.bone];
  pose.rotation = turnedRotation(posed.rig(), posed.world(), posed.poses(), selected.bone,
                                 glm::angleAxis(angle, axis));
  if (finite(pose.rotation)) keyPose(e, posed.rig().bones[selected.bone], pose);
}

void movePose(ToolContext& e, const Vec3& offset) {
  PosedBone selected;
  glm::dvec3 by;
  if (!posedOffset(e, offset, selected, by)) return;
  const PosedModel& posed = *selected.posed;
  const int b = selected.bone;
  BonePose pose = posed.poses()[b];
  if (posed.rig().parent[b] < 0) {
    pose.translation += by;
  } else {
    const glm::dvec3 start = posed.start(b);
    const glm::dvec3 from = posed.end(b) - start;
    const glm::dvec3 to = from + by;
    // A bone of no length, or an end moved onto its start, has no direction.
    if (glm::length(from) < 1e-12 || glm::length(to) < 1e-12) return;
    const glm::dquat turn = glm::rotation(glm::normalize(from), glm::normalize(to));
    pose.rotation = turnedRotation(posed.rig(), posed.world(), posed.poses(), b, turn);
    if (!finite(pose.rotation)) return;
  }
  keyPose(e, posed.rig().bones[b], pose);
}

void translatePose(ToolContext& e, const Vec3& offset) {
  PosedBone selected;
  glm::dvec3 by;
  if (!posedOffset(e, offset, selected, by)) return;
  const PosedModel& posed = *selected.posed;
  const int b = selected.bone;
  const int p = posed.rig().parent[b];
  BonePose pose = posed.poses()[b];
  // The translation is in the parent's posed frame, turned and scaled.
  const glm::dmat3 parent = p < 0 ? glm::dmat3(1) : glm::dmat3(posed.world()[p]);
  if (std::abs(glm::determinant(parent)) < 1e-12) {
    e.consoleMessage("The bone's parent is scaled to nothing: the bone cannot move.");
    return;
  }
  pose.translation += glm::inverse(parent) * by;
  keyPose(e, posed.rig().bones[b], pose);
}

namespace {

// A flat view's horizontal and vertical coordinates of a point.
double across(const glm::dvec3& p, int plane) {
  return plane == 0 ? p.x : p.z;
}
double up(const glm::dvec3& p, int plane) {
  return plane == 2 ? p.x : p.y;
}

}  // namespace

List<Vertex> posedVerticesInRect(ToolContext& e, double a, double b, double c, double d, int plane,
                                 double tolerance) {
  List<Vertex> found;
  if (plane < 0 || plane > 2) return found;
  if (!e.poseForViews().empty()) return found;
  const std::vector<glm::dvec3>& points = e.animation.posedModel.points();
  const std::vector<Vertex*>& vertices = e.animation.posedModel.binding().vertices;
  const Span horizontal(a, c, tolerance), vertical(b, d, tolerance);
  // Only the model's own list, in its order, as the rest model's query.
  const size_t listed = static_cast<size_t>(e.doc.model->vertices.count());
  for (size_t v = 0; v < listed && v < points.size(); ++v) {
    if (horizontal.holds(across(points[v], plane)) && vertical.holds(up(points[v], plane)))
      found.pushFront(vertices[v]);
  }
  return found;
}

Bone* findPosedBone(ToolContext& e, double a, double b, double c, double d, int plane) {
  // As the rest model's lookup: a plain click has no extent.
  if (a == c || b == d) return nullptr;
  std::printf("Looking up bones...\n");
  if (plane < 0 || plane > 2) return nullptr;
  if (!e.poseForViews().empty()) return nullptr;
  const PosedModel& posed = e.animation.posedModel;
  const Span horizontal(a, c, 0), vertical(b, d, 0);
  for (size_t bone = 0; bone < posed.rig().size(); ++bone) {
    const glm::dvec3 end = posed.end(static_cast<int>(bone));
    if (horizontal.holds(across(end, plane)) && vertical.holds(up(end, plane)))
      return posed.rig().bones[bone];
  }
  return nullptr;
}
