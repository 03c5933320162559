#include "render/posed_drawing.h"

#include <cmath>

#include "model/animation.h"
#include "model/model.h"

bool PosedDrawing::pose(Model& model, const Clip* clip, double frame, uint64_t rigRevision,
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
  ++posesMade_;
  clipPose(rig_, clip, frame, poses_);
  worldTransforms(rig_, poses_, world_);
  skinMatrices(rig_, world_, skin_);
  posePoints(binding_, skin_, points_);
  return true;
}

const glm::dvec3* PosedDrawing::find(const Vertex* vertex) {
  if (numberOf_.empty()) {
    numberOf_.reserve(binding_.vertices.size());
    for (uint32_t v = 0; v < binding_.vertices.size(); ++v)
      numberOf_.try_emplace(binding_.vertices[v], v);
  }
  auto found = numberOf_.find(vertex);
  return found == numberOf_.end() ? nullptr : &points_[found->second];
}

void PosedDrawing::turnNormals() {
  if (turnsFor_ == posesMade_) return;
  turns_.resize(binding_.vertices.size());
  for (size_t v = 0; v < turns_.size(); ++v) turns_[v] = blendedTurn(binding_.influences[v], skin_);
  turnsFor_ = posesMade_;  // only once they are made: the resize may run out of memory
}

namespace {

glm::dvec3 unitOr(const glm::dvec3& n, const glm::dvec3& fallback) {
  const double length = glm::length(n);
  return length > 0 && std::isfinite(length) ? n / length : fallback;
}

}  // namespace

const std::vector<float>& PosedDrawing::groupArrays(PolygonGroup& group, size_t number,
                                                    size_t firstCorner, bool cornerNormals) {
  auto& byGroup = arrays_[cornerNormals ? 1 : 0];
  if (byGroup.size() <= number) byGroup.resize(number + 1);
  Arrays& arrays = byGroup[number];
  if (arrays.filledFor == posesMade_) return arrays.floats;
  arrays.filledFor = 0;  // until filled: the memory for them may run out
  if (cornerNormals) turnNormals();
  const Material& m = group.material;
  const float plain[4] = {static_cast<float>(m.red), static_cast<float>(m.green),
                          static_cast<float>(m.blue), static_cast<float>(m.alpha)};
  const float picked[4] = {1.0f, 0.9f, 0.3f, 1.0f};
  arrays.floats.resize(static_cast<size_t>(group.polygons.count()) * 36);
  float* out = arrays.floats.data();
  size_t corner = firstCorner;
  for (Polygon* p : group.polygons) {
    const uint32_t v[3] = {binding_.corners[corner], binding_.corners[corner + 1],
                           binding_.corners[corner + 2]};
    corner += 3;
    const glm::dvec3 a = points_[v[0]], b = points_[v[1]], c = points_[v[2]];
    glm::dvec3 face = glm::cross(b - a, c - b);
    face = unitOr(p->flipped ? -face : face, glm::dvec3(0));
    const float* colour = p->selected ? picked : plain;
    for (int i = 0; i < 3; ++i, out += 12) {
      const glm::dvec3& at = points_[v[i]];
      glm::dvec3 n = face;
      if (cornerNormals) {
        const Vec3& rest = p->cornerNormals[i];
        n = unitOr(turns_[v[i]] * glm::dvec3(rest.x, rest.y, rest.z), face);
      }
      out[0] = static_cast<float>(at.x), out[1] = static_cast<float>(at.y);
      out[2] = static_cast<float>(at.z);
      for (int k = 0; k < 4; ++k) out[3 + k] = colour[k];
      out[7] = static_cast<float>(n.x), out[8] = static_cast<float>(n.y);
      out[9] = static_cast<float>(n.z);
      out[10] = static_cast<float>(p->uvs[i].u), out[11] = static_cast<float>(p->uvs[i].v);
    }
  }
  arrays.filledFor = posesMade_;
  return arrays.floats;
}
