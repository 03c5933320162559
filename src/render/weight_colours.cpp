#include "render/weight_colours.h"

#include "model/model.h"
#include "model/posed_model.h"
#include "model/rig.h"
#include "model/skin.h"
#include "model/weight_paint.h"

std::vector<float> weightColourCorners(const SkinBinding& binding, const Rig& rig,
                                       const std::vector<glm::dvec3>& points, const Bone* bone) {
  const std::vector<double> weights = boneWeights(binding, rig.indexOf(bone));
  std::vector<float> corners;
  corners.reserve(binding.corners.size() * 6);
  for (uint32_t v : binding.corners) {
    const glm::dvec3& p = points[v];
    const WeightRgb c = weightColour(weights[v]);
    corners.insert(corners.end(), {static_cast<float>(p.x), static_cast<float>(p.y),
                                   static_cast<float>(p.z), c.r, c.g, c.b});
  }
  return corners;
}

std::vector<float> weightColourCorners(Model& model, const Bone* bone) {
  const Rig rig = flattenRig(model);
  const SkinBinding binding = bindSkin(model, rig);
  std::vector<glm::dvec3> rest;
  rest.reserve(binding.vertices.size());
  for (const Vertex* v : binding.vertices) rest.emplace_back(v->x, v->y, v->z);
  return weightColourCorners(binding, rig, rest, bone);
}

const std::vector<float>& WeightColourCache::corners(Model& model, uint64_t revision,
                                                     const Bone* bone) {
  if (model_ != &model || bone_ != bone || revision_ != revision || posed_ || builds == 0) {
    corners_ = weightColourCorners(model, bone);
    model_ = &model, bone_ = bone, revision_ = revision, posed_ = nullptr;
    ++builds;
  }
  return corners_;
}

const std::vector<float>& WeightColourCache::corners(PosedModel& posed, const Bone* bone) {
  if (posed_ != &posed || posedSerial_ != posed.serial() || bone_ != bone || builds == 0) {
    corners_ = weightColourCorners(posed.binding(), posed.rig(), posed.points(), bone);
    model_ = nullptr, bone_ = bone, posed_ = &posed, posedSerial_ = posed.serial();
    ++builds;
  }
  return corners_;
}
