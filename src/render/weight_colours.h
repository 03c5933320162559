#pragma once
// What the views show while weights are painted (the Weight Paint tool, or a
// held 'k'): every triangle coloured at its corners by the selected bone's
// weight on the corner's vertex, blue at 0 to red at 1 (weightColour), the
// colours interpolated across. Pure work, drawn by weight_colours_draw.cpp.

#include <cstdint>
#include <vector>

#include <glm/vec3.hpp>

class Model;
class PosedModel;
struct Bone;
struct Rig;
struct SkinBinding;

// Six floats a corner, position then colour, the groups' triangles in list
// order: the selected bone's weights as the model's vertices follow them.
std::vector<float> weightColourCorners(Model& model, const Bone* bone);
// The same for a binding, each corner where `points` (one per binding vertex)
// puts it: the rest mesh or a posed one.
std::vector<float> weightColourCorners(const SkinBinding& binding, const Rig& rig,
                                       const std::vector<glm::dvec3>& points, const Bone* bone);

// The corners kept while the model, its revision and the bone stand, as
// binding every vertex costs a walk of the whole model.
class WeightColourCache {
 public:
  const std::vector<float>& corners(Model& model, uint64_t revision, const Bone* bone);
  // In animation mode: the mesh as posed for this frame.
  const std::vector<float>& corners(PosedModel& posed, const Bone* bone);
  int builds = 0;  // how often the corners were worked out, for tests

 private:
  const Model* model_ = nullptr;
  const Bone* bone_ = nullptr;
  uint64_t revision_ = 0;
  const PosedModel* posed_ = nullptr;
  uint64_t posedSerial_ = 0;
  std::vector<float> corners_;
};

// Draws the corners as filled, unlit, smoothly coloured triangles (GL).
void drawWeightColours(const std::vector<float>& corners);
