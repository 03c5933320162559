#pragma once
// How each vertex follows the bones: its weights, derived from the bones of
// the triangles around it or set by hand, and the posed positions they give.
//
// Derived weights: a vertex used by triangles of several bones follows each
// in proportion to its share of those triangles (a triangle without a bone
// counts for the root), at most four bones, the largest shares, made to sum
// to 1. Since every corner of a vertex follows the same weights, a posed mesh
// stays connected wherever the rest mesh is. A vertex in no triangle follows
// the root. Weights set by hand replace the derived ones of their vertex: the
// largest four, made to sum to 1; when they are all 0, the root takes it.

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <cstdint>
#include <string>
#include <vector>

#include "model/animation.h"
#include "model/rig.h"

class Model;
struct Vertex;

constexpr int kMaxInfluences = 4;
// The most bones a pose holds: an influence keeps a bone's number in 16 bits.
constexpr size_t kMostPosedBones = size_t{1} << 16;

// Up to four bones (indices in the rig) and their weights, largest first,
// summing to 1; unused slots hold bone 0 and weight 0.
struct Influence {
  uint16_t bones[kMaxInfluences] = {0, 0, 0, 0};
  static_assert(kMostPosedBones - 1 == UINT16_MAX);
  double weights[kMaxInfluences] = {1, 0, 0, 0};
  int count = 1;
  bool operator==(const Influence&) const = default;
};

struct SkinBinding {
  // The model's vertices in list order, then corner vertices missing from it.
  std::vector<Vertex*> vertices;
  std::vector<Influence> influences;  // one per vertex
  // Each polygon corner's vertex, groups and their polygons in list order.
  std::vector<uint32_t> corners;
};

// "" when a pose holds the rig's bones; else why not, for a message ("the
// skeleton has 70000 bones, more than the 65536 a pose holds"). Posing is
// refused where it is asked for (animation mode, /weight, --pose, exports).
std::string poseRefusal(const Rig& rig);

// The influences of every vertex of the model. Without a skeleton every
// vertex gets the one bone 0 (which nothing moves); so does one of a bone
// whose number is beyond what a pose holds, never another bone.
SkinBinding bindSkin(Model& model, const Rig& rig);

// The largest four of `weights` (by weight, then the lower bone), made to sum
// to 1; all zero or empty gives the root alone.
Influence strongestFour(std::vector<std::pair<int, double>> weights);

// Where the pose with these skinning matrices puts each vertex.
void posePoints(const SkinBinding& binding, const std::vector<glm::dmat4>& skin,
                std::vector<glm::dvec3>& points);
// The same for one influence and rest point.
glm::dvec3 posePoint(const Influence& influence, const std::vector<glm::dmat4>& skin,
                     const glm::dvec3& rest);
// The weighted rotation (and scale) that turns the vertex's normals.
glm::dmat3 blendedTurn(const Influence& influence, const std::vector<glm::dmat4>& skin);
