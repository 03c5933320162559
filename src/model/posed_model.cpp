#include "model/posed_model.h"

#include <atomic>

#include "model/model.h"

namespace {

std::atomic<uint64_t> gPosesMade{0};

}  // namespace

bool PosedModel::pose(Model& model, const Clip* clip, double frame, uint64_t rigRevision,
                      uint64_t poseRevision) {
  const bool rebind =
      !bound_ || model.animation->serial != animationSerial_ || rigRevision != rigRevision_;
  if (!rebind && poseRevision != 0 && poseRevision == poseRevision_) return true;
  if (rebind) {
    bound_ = false;
    rig_ = flattenRig(model);
    if (!poseRefusal(rig_).empty()) return false;
    binding_ = bindSkin(model, rig_);
    numberOf_.clear();
    animationSerial_ = model.animation->serial;
    rigRevision_ = rigRevision;
    bound_ = true;
  }
  poseRevision_ = poseRevision;
  // Named before the arrays change: should they run out of memory half made,
  // nothing filled from the last pose passes for this one.
  serial_ = ++gPosesMade;
  clipPose(rig_, clip, frame, poses_);
  worldTransforms(rig_, poses_, world_);
  skinMatrices(rig_, world_, skin_);
  posePoints(binding_, skin_, points_);
  return true;
}

const glm::dvec3* PosedModel::find(const Vertex* vertex) {
  if (numberOf_.empty()) {
    numberOf_.reserve(binding_.vertices.size());
    for (uint32_t v = 0; v < binding_.vertices.size(); ++v)
      numberOf_.try_emplace(binding_.vertices[v], v);
  }
  auto found = numberOf_.find(vertex);
  return found == numberOf_.end() ? nullptr : &points_[found->second];
}

const std::vector<glm::dmat3>& PosedModel::turns() {
  if (turnsFor_ == serial_) return turns_;
  turns_.resize(binding_.vertices.size());
  for (size_t v = 0; v < turns_.size(); ++v) turns_[v] = blendedTurn(binding_.influences[v], skin_);
  turnsFor_ = serial_;  // only once they are made: the resize may run out of memory
  return turns_;
}
