#pragma once
// The model posed at a frame of a clip, as animation mode shows it and --pose
// bakes it: every bone's world transform and skinning matrix, every vertex
// where its weights put it, and on demand the turns of its normals. The
// weights are bound once per model, skeleton and weights; a new frame only
// poses, into the arrays of the last one.

#include <glm/mat3x3.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <cstdint>
#include <vector>

#include <absl/container/flat_hash_map.h>

#include "model/animation.h"
#include "model/rig.h"
#include "model/skin.h"

class Model;
struct Vertex;

class PosedModel {
 public:
  // Poses the model as `clip` has it at `frame`. `rigRevision` moves on
  // whenever the mesh, skeleton or weights may have changed; a nonzero
  // `poseRevision` equal to the last call's vouches that nothing changed at
  // all, and that call's pose stands. False, with nothing posed, when the
  // skeleton has more bones than a pose holds (poseRefusal says so); throws
  // std::bad_alloc when memory runs out.
  bool pose(Model& model, const Clip* clip, double frame, uint64_t rigRevision = 0,
            uint64_t poseRevision = 0);

  const Rig& rig() const { return rig_; }
  const SkinBinding& binding() const { return binding_; }
  const std::vector<BonePose>& poses() const { return poses_; }
  const std::vector<glm::dmat4>& world() const { return world_; }
  // Where the pose puts each vertex of the binding.
  const std::vector<glm::dvec3>& points() const { return points_; }
  // Where it puts a vertex of the model; null for one it does not hold.
  const glm::dvec3* find(const Vertex* vertex);
  // Where it puts the bone's joints.
  glm::dvec3 start(int bone) const { return posedStart(world_, bone); }
  glm::dvec3 end(int bone) const { return posedEnd(rig_, world_, bone); }
  // Each vertex's weighted turn of its normals in this pose.
  const std::vector<glm::dmat3>& turns();

  // Names this pose among all poses made: arrays filled from it hold while
  // it stands.
  uint64_t serial() const { return serial_; }

 private:
  Rig rig_;
  SkinBinding binding_;
  bool bound_ = false;
  uint64_t animationSerial_ = 0, rigRevision_ = 0, poseRevision_ = 0;
  uint64_t serial_ = 0;
  std::vector<BonePose> poses_;
  std::vector<glm::dmat4> world_, skin_;
  std::vector<glm::dvec3> points_;
  std::vector<glm::dmat3> turns_;
  uint64_t turnsFor_ = 0;                                  // the pose they belong to
  absl::flat_hash_map<const Vertex*, uint32_t> numberOf_;  // made on the first find
};
