#include "model/weight_paint.h"

#include <algorithm>

#include "model/rig.h"

WeightRgb weightColour(double weight) {
  const float w = static_cast<float>(std::clamp(weight, 0.0, 1.0));
  return {w, 0, 1 - w};
}

double brushFalloff(double distance, double radius) {
  if (!(radius > 0) || !(distance < radius)) return 0;
  const double t = distance / radius;
  const double u = 1 - t * t;
  return u * u;
}

std::vector<double> boneWeights(const SkinBinding& binding, int bone) {
  std::vector<double> weights(binding.influences.size(), 0.0);
  if (bone < 0) return weights;
  for (size_t v = 0; v < binding.influences.size(); ++v) {
    const Influence& influence = binding.influences[v];
    for (int i = 0; i < influence.count; ++i)
      if (influence.bones[i] == bone) weights[v] += influence.weights[i];
  }
  return weights;
}

std::vector<BoneWeight> weightsOf(const Influence& influence, const Rig& rig) {
  std::vector<BoneWeight> weights;
  for (int i = 0; i < influence.count; ++i)
    if (influence.bones[i] < rig.bones.size())
      weights.push_back({rig.bones[influence.bones[i]], influence.weights[i]});
  return weights;
}

std::vector<BoneWeight> withWeight(std::vector<BoneWeight> weights, const Bone* bone,
                                   double weight, const Bone* heir) {
  std::erase_if(weights, [bone](const BoneWeight& w) { return w.bone == bone; });
  double others = 0;
  for (const BoneWeight& w : weights) others += w.weight;
  if (!(others > 0) && weight < 1) {
    // Nobody else to take the rest: the heir does, or the bone keeps all.
    if (!heir || heir == bone) return {BoneWeight{bone, 1}};
    return {BoneWeight{bone, weight}, BoneWeight{heir, 1 - weight}};
  }
  for (BoneWeight& w : weights) w.weight = others > 0 ? w.weight / others * (1 - weight) : 0;
  std::stable_sort(weights.begin(), weights.end(),
                   [](const BoneWeight& a, const BoneWeight& b) { return a.weight > b.weight; });
  std::erase_if(weights, [](const BoneWeight& w) { return !(w.weight > 0); });
  if (weights.size() > kMaxInfluences - 1) {
    weights.resize(kMaxInfluences - 1);
    // The ones dropped had a share: the kept others take it in proportion.
    double kept = 0;
    for (const BoneWeight& w : weights) kept += w.weight;
    for (BoneWeight& w : weights) w.weight = w.weight / kept * (1 - weight);
  }
  weights.insert(weights.begin(), BoneWeight{bone, weight});
  return weights;
}

std::vector<BoneWeight> normalisedWeights(std::vector<BoneWeight> weights, const Bone* root) {
  // A bone listed twice counts once, with its weights added.
  std::vector<BoneWeight> merged;
  for (const BoneWeight& w : weights) {
    if (!(w.weight > 0)) continue;
    auto same = std::find_if(merged.begin(), merged.end(),
                             [&w](const BoneWeight& m) { return m.bone == w.bone; });
    if (same != merged.end()) {
      same->weight += w.weight;
    } else {
      merged.push_back(w);
    }
  }
  std::stable_sort(merged.begin(), merged.end(),
                   [](const BoneWeight& a, const BoneWeight& b) { return a.weight > b.weight; });
  if (merged.size() > kMaxInfluences) merged.resize(kMaxInfluences);
  double sum = 0;
  for (const BoneWeight& w : merged) sum += w.weight;
  if (!(sum > 0)) return {BoneWeight{root, 1}};
  for (BoneWeight& w : merged) w.weight /= sum;
  return merged;
}

double weightOf(const std::vector<BoneWeight>& weights, const Bone* bone) {
  double sum = 0;
  for (const BoneWeight& w : weights)
    if (w.bone == bone) sum += w.weight;
  return sum;
}

double paintedWeight(BrushMode mode, double weight, double amount, double neighbours) {
  amount = std::clamp(amount, 0.0, 1.0);
  double next = weight;
  switch (mode) {
    case BrushMode::kAdd:
      next = weight + amount * (1 - weight);
      break;
    case BrushMode::kSubtract:
      next = weight * (1 - amount);
      break;
    case BrushMode::kSmooth:
      next = weight + amount * (neighbours - weight);
      break;
  }
  return std::clamp(next, 0.0, 1.0);
}
