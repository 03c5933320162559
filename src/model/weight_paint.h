#pragma once
// The pure arithmetic of weight painting: a bone's weight on every vertex,
// the colour that shows it, the brush's falloff and one dab's new weight, and
// the rule that keeps a vertex's weights normalised on at most four bones.
// Nothing here draws or edits: tools/weight_paint.h paints, render/ draws.

#include <vector>

#include "model/animation.h"
#include "model/skin.h"

struct WeightRgb {
  float r, g, b;
  bool operator==(const WeightRgb&) const = default;
};

// Blue at 0 to red at 1, through purple; clamped outside 0..1.
WeightRgb weightColour(double weight);

// How much of the brush's strength reaches a point `distance` pixels from its
// centre: 1 there, falling smoothly to 0 at `radius` and beyond, (1 - t²)²
// with t = distance / radius, whose slope is 0 at both ends.
double brushFalloff(double distance, double radius);

// The weight of rig bone `bone` on each vertex of the binding (0 where the
// bone is not among its influences; all 0 for a bone of -1).
std::vector<double> boneWeights(const SkinBinding& binding, int bone);

// The weights a vertex follows now, as bones.
std::vector<BoneWeight> weightsOf(const Influence& influence, const Rig& rig);

// `bone` gets `weight`; the others share what is left in their proportions,
// and the four largest are kept, the bone among them. With no other bone to
// take what is left, `heir` takes it (the bone's parent, say); without one the
// bone keeps all.
std::vector<BoneWeight> withWeight(std::vector<BoneWeight> weights, const Bone* bone,
                                   double weight, const Bone* heir = nullptr);

// The four largest weights (by weight; ties keep their order), made to sum to
// 1; all zero or none gives `root` alone.
std::vector<BoneWeight> normalisedWeights(std::vector<BoneWeight> weights, const Bone* root);

// `bone`'s weight in the list (0 when absent).
double weightOf(const std::vector<BoneWeight>& weights, const Bone* bone);

enum class BrushMode { kAdd, kSubtract, kSmooth };

// A dab's new weight from `weight`, with `amount` = strength × falloff (0..1):
// Add moves it that far toward 1, Subtract toward 0, Smooth toward
// `neighbours` (the mean weight of the vertex's neighbours).
double paintedWeight(BrushMode mode, double weight, double amount, double neighbours);
