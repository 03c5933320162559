#include "render/uv_outlines.h"

#include <tuple>

#include <absl/container/flat_hash_map.h>

#include "model/model.h"

namespace {

// An edge as its two vertices and their coordinates there, the smaller
// vertex first: triangles of one chart share all six.
using UvEdge = std::tuple<const Vertex*, const Vertex*, double, double, double, double>;

UvEdge uvEdgeOf(const Polygon& p, int i) {
  const UvPoint &a = p.uvs[i], &b = p.uvs[(i + 1) % 3];
  if (b.vertex < a.vertex) return {b.vertex, a.vertex, b.u, b.v, a.u, a.v};
  return {a.vertex, b.vertex, a.u, a.v, b.u, b.v};
}

}  // namespace

std::vector<UvSegment> uvOutlines(const Model& model) {
  absl::flat_hash_map<UvEdge, int> sides;
  for (const Polygon* p : model.currentGroup->polygons)
    if (p->uvMapped)
      for (int i = 0; i < 3; ++i) ++sides[uvEdgeOf(*p, i)];
  std::vector<UvSegment> borders, seams;
  for (const auto& [edge, count] : sides) {
    const auto& [a, b, u0, v0, u1, v1] = edge;
    const bool seam = model.seams.contains(a, b);
    if (seam || count == 1) (seam ? seams : borders).push_back({u0, v0, u1, v1, seam});
  }
  borders.insert(borders.end(), seams.begin(), seams.end());
  return borders;
}

const std::vector<UvSegment>& UvOutlineCache::outlines(const Model& model, uint64_t revision) {
  if (model_ != &model || group_ != model.currentGroup || revision_ != revision) {
    segments_ = uvOutlines(model);
    model_ = &model, group_ = model.currentGroup, revision_ = revision;
  }
  return segments_;
}
