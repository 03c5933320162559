#include "render/weight_colours.h"

#include "model/model.h"
#include "model/rig.h"
#include "model/skin.h"
#include "model/weight_paint.h"

std::vector<float> weightColourCorners(Model& model, const Bone* bone) {
  const Rig rig = flattenRig(model);
  const SkinBinding binding = bindSkin(model, rig);
  const std::vector<double> weights = boneWeights(binding, rig.indexOf(bone));
  std::vector<float> corners;
  corners.reserve(binding.corners.size() * 6);
  for (uint32_t v : binding.corners) {
    const Vertex* p = binding.vertices[v];
    const WeightRgb c = weightColour(weights[v]);
    corners.insert(corners.end(), {static_cast<float>(p->x), static_cast<float>(p->y),
                                   static_cast<float>(p->z), c.r, c.g, c.b});
  }
  return corners;
}

const std::vector<float>& WeightColourCache::corners(Model& model, uint64_t revision,
                                                     const Bone* bone) {
  if (model_ != &model || bone_ != bone || revision_ != revision || builds == 0) {
    corners_ = weightColourCorners(model, bone);
    model_ = &model, bone_ = bone, revision_ = revision;
    ++builds;
  }
  return corners_;
}
