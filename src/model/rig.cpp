#include "model/rig.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>

#include "model/model.h"
#include "model/skeleton.h"

int Rig::indexOf(const Bone* bone) const {
  auto found = index.find(bone);
  return found == index.end() ? -1 : found->second;
}

Rig flattenRig(const Model& model) {
  Rig rig;
  if (!model.hasSkeleton || !model.skeleton) return rig;
  std::vector<int> pathByDepth;
  forEachBone(model.skeleton->root, [&](Bone* bone, int depth) {
    pathByDepth.resize(depth);
    const int number = static_cast<int>(rig.bones.size());
    rig.index[bone] = number;
    rig.bones.push_back(bone);
    rig.parent.push_back(depth > 0 ? pathByDepth[depth - 1] : -1);
    rig.start.emplace_back(bone->start->x, bone->start->y, bone->start->z);
    rig.end.emplace_back(bone->end->x, bone->end->y, bone->end->z);
    pathByDepth.push_back(number);
  });
  return rig;
}

void clipPose(const Rig& rig, const Clip* clip, double frame, std::vector<BonePose>& poses) {
  poses.assign(rig.size(), BonePose{});
  if (!clip) return;
  for (const auto& [bone, track] : clip->tracks) {
    const int b = rig.indexOf(bone);
    if (b >= 0) poses[b] = sampleTrack(track, frame);
  }
}

void worldTransforms(const Rig& rig, const std::vector<BonePose>& poses,
                     std::vector<glm::dmat4>& world) {
  world.resize(rig.size());
  for (size_t b = 0; b < rig.size(); ++b) {
    const int p = rig.parent[b];
    const BonePose& pose = poses[b];
    const glm::dmat4 local = glm::scale(glm::mat4_cast(glm::normalize(pose.rotation)), pose.scale);
    if (p < 0) {
      world[b] = glm::translate(glm::dmat4(1), rig.start[b] + pose.translation) * local;
    } else {
      world[b] = world[p] *
                 glm::translate(glm::dmat4(1), rig.start[b] - rig.start[p] + pose.translation) *
                 local;
    }
  }
}

void skinMatrices(const Rig& rig, const std::vector<glm::dmat4>& world,
                  std::vector<glm::dmat4>& skin) {
  skin.resize(rig.size());
  for (size_t b = 0; b < rig.size(); ++b)
    skin[b] = world[b] * glm::translate(glm::dmat4(1), -rig.start[b]);
}

glm::dquat worldRotation(const glm::dmat4& world) {
  // Scales are taken out of the columns first: quat_cast reads a rotation.
  glm::dmat3 m(world);
  for (int c = 0; c < 3; ++c) {
    const double length = glm::length(m[c]);
    if (length > 0) m[c] /= length;
  }
  return glm::normalize(glm::quat_cast(m));
}

glm::dvec3 posedStart(const std::vector<glm::dmat4>& world, int bone) {
  return glm::dvec3(world[bone][3]);
}

glm::dvec3 posedEnd(const Rig& rig, const std::vector<glm::dmat4>& world, int bone) {
  return glm::dvec3(world[bone] * glm::dvec4(rig.end[bone] - rig.start[bone], 1));
}

glm::dquat turnedRotation(const Rig& rig, const std::vector<glm::dmat4>& world,
                          const std::vector<BonePose>& poses, int b, const glm::dquat& turn) {
  // The parent's world rotation P: the new world rotation is turn P q, so
  // the new local one is P^-1 turn P q.
  const int p = rig.parent[b];
  const glm::dquat parent = p < 0 ? glm::dquat(1, 0, 0, 0) : worldRotation(world[p]);
  return glm::normalize(glm::inverse(parent) * turn * parent * glm::normalize(poses[b].rotation));
}
