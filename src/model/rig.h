#pragma once
// The skeleton as numbers for posing: its bones in depth-first order, the
// world transform of each bone in a pose, and where a pose puts the joints.
//
// A posed bone's start joint moves by its translation and the bone turns
// about it by its rotation and scales along its axes, in the frame its
// parent's pose gives, carrying its children with it (glTF's node order):
//   world(root) = T(start(root) + t(root)) R(root) S(root)
//   world(b)    = world(parent) T(start(b) - start(parent) + t(b)) R(b) S(b)
// and a rest point p of the bone goes to world(b) (p - start(b)), its
// skinning matrix being world(b) T(-start(b)).

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <vector>

#include <absl/container/flat_hash_map.h>

#include "model/animation.h"

class Model;
struct Bone;

struct Rig {
  std::vector<Bone*> bones;       // depth-first, the root first
  std::vector<int> parent;        // index of each bone's parent, -1 for the root
  std::vector<glm::dvec3> start;  // rest start joints
  std::vector<glm::dvec3> end;    // rest end joints
  absl::flat_hash_map<const Bone*, int> index;

  size_t size() const { return bones.size(); }
  // The bone's index, or -1 for a bone outside the tree (or null).
  int indexOf(const Bone* bone) const;
};

// The model's skeleton flattened; empty without one.
Rig flattenRig(const Model& model);

// Every bone's pose in `clip` at `frame` (rest poses without a clip).
void clipPose(const Rig& rig, const Clip* clip, double frame, std::vector<BonePose>& poses);

// The world transform of each bone in `poses`.
void worldTransforms(const Rig& rig, const std::vector<BonePose>& poses,
                     std::vector<glm::dmat4>& world);
// The skinning matrix of each bone: world(b) T(-start(b)).
void skinMatrices(const Rig& rig, const std::vector<glm::dmat4>& world,
                  std::vector<glm::dmat4>& skin);

// The rotation part of a world transform, its scales taken out.
glm::dquat worldRotation(const glm::dmat4& world);

// Where the bone's start and end joints go.
glm::dvec3 posedStart(const std::vector<glm::dmat4>& world, int bone);
glm::dvec3 posedEnd(const Rig& rig, const std::vector<glm::dmat4>& world, int bone);

// The local rotation that turns bone `b`, already posed by `poses`, by the
// world rotation `turn` on top of its pose.
glm::dquat turnedRotation(const Rig& rig, const std::vector<glm::dmat4>& world,
                          const std::vector<BonePose>& poses, int b, const glm::dquat& turn);
