#pragma once
// What the UV view outlines over the current group's triangles: the borders of
// its charts (edges whose texture coordinates no other mapped triangle of the
// group shares) and the edges marked as seams. Pure work, drawn by
// uv_view_draw.cpp.

#include <cstdint>
#include <vector>

class Model;
struct PolygonGroup;

struct UvSegment {
  double u0, v0, u1, v1;
  bool seam;  // else a chart border only
};

// Each edge once; borders first, seams after them so that they draw on top.
std::vector<UvSegment> uvOutlines(const Model& model);

// The outlines kept while the model, its revision and the current group stand,
// as finding them costs a hash of every edge.
class UvOutlineCache {
 public:
  const std::vector<UvSegment>& outlines(const Model& model, uint64_t revision);

 private:
  const Model* model_ = nullptr;
  const PolygonGroup* group_ = nullptr;
  uint64_t revision_ = 0;
  std::vector<UvSegment> segments_;
};
