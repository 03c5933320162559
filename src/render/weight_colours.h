#pragma once
// What the views show while weights are painted (the Weight Paint tool, or a
// held 'k'): every triangle coloured at its corners by the selected bone's
// weight on the corner's vertex, blue at 0 to red at 1 (weightColour), the
// colours interpolated across. Pure work, drawn by weight_colours_draw.cpp.

#include <cstdint>
#include <vector>

class Model;
struct Bone;

// Six floats a corner, position then colour, the groups' triangles in list
// order: the selected bone's weights as the model's vertices follow them.
std::vector<float> weightColourCorners(Model& model, const Bone* bone);

// The corners kept while the model, its revision and the bone stand, as
// binding every vertex costs a walk of the whole model.
class WeightColourCache {
 public:
  const std::vector<float>& corners(Model& model, uint64_t revision, const Bone* bone);
  int builds = 0;  // how often the corners were worked out, for tests

 private:
  const Model* model_ = nullptr;
  const Bone* bone_ = nullptr;
  uint64_t revision_ = 0;
  std::vector<float> corners_;
};

// Draws the corners as filled, unlit, smoothly coloured triangles (GL).
void drawWeightColours(const std::vector<float>& corners);
