// Merge by distance (contract in polygon_ops.h).

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include <absl/container/flat_hash_map.h>
#include <absl/container/flat_hash_set.h>

#include "document/undo.h"
#include "model/animation.h"
#include "model/marks.h"
#include "tools/polygon_ops.h"
#include "tools/tool_context.h"

namespace {

using Cell = std::tuple<int64_t, int64_t, int64_t>;

// A cell's key in the table: one mixed word, cheaper to hash than three. Two
// cells on one key only share a chain, whose vertices are each measured.
uint64_t keyOf(int64_t x, int64_t y, int64_t z) {
  return static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15ull ^
         static_cast<uint64_t>(y) * 0xC2B2AE3D27D4EB4Full ^
         static_cast<uint64_t>(z) * 0x165667B19E3779F9ull;
}
uint64_t keyOf(const Cell& c) {
  return keyOf(std::get<0>(c), std::get<1>(c), std::get<2>(c));
}

// A grid of cells four distances wide: the points within the distance of a
// vertex lie in at most two cells along each axis, and for half the vertices
// in one, so that a vertex looks into about 3.4 cells rather than 8 (each a
// hash probe that misses the cache in a large model). At distance 0, or so far
// out that cells could not be numbered, a cell is one exact position (there,
// only equal positions merge).
class Grid {
 public:
  explicit Grid(double distance) : distance_(distance), size_(4 * distance) {}

  bool exact(const Vertex& v) const {
    const double limit = 1e15;
    return !(distance_ > 0) || !(std::abs(v.x / size_) < limit) ||
           !(std::abs(v.y / size_) < limit) || !(std::abs(v.z / size_) < limit);
  }
  Cell cellOf(const Vertex& v) const {
    if (exact(v)) return {bits(v.x), bits(v.y), bits(v.z)};
    return {index(v.x), index(v.y), index(v.z)};
  }
  // The cells that may hold a point within the distance of `v`, per axis.
  void reach(const Vertex& v, Cell& lo, Cell& hi) const {
    if (exact(v)) {
      lo = hi = cellOf(v);
      return;
    }
    lo = {index(v.x - distance_), index(v.y - distance_), index(v.z - distance_)};
    hi = {index(v.x + distance_), index(v.y + distance_), index(v.z + distance_)};
  }

 private:
  int64_t index(double c) const { return static_cast<int64_t>(std::floor(c / size_)); }
  static int64_t bits(double c) {
    c += 0.0;  // -0 and 0 are one position
    int64_t b;
    std::memcpy(&b, &c, sizeof b);
    return b;
  }
  double distance_, size_;
};

bool within(const Vertex& a, const Vertex& b, double distance) {
  const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
  return dx * dx + dy * dy + dz * dz <= distance * distance;
}

}  // namespace

int mergeSelectedVertices(ToolContext& e, double distance) {
  takeSnapshot(e.doc);
  Model& model = *e.doc.model;
  // Oldest selected first, each once and only if in the model: its place in
  // `order` is its markNumber while it holds the `taken` mark.
  const uint64_t inModel = newMarkPass();
  markAll(model.vertices, inModel);
  const uint64_t taken = newMarkPass();
  std::vector<Vertex*> order;
  for (Vertex* v : e.doc.selectedVertices)
    if (isMarked(v, inModel)) order.push_back(v), v->markPass = taken;
  std::reverse(order.begin(), order.end());
  for (size_t i = 0; i < order.size(); ++i) order[i]->markNumber = static_cast<uint32_t>(i);

  // Each vertex goes into the first kept one within the distance, or is kept.
  const Grid grid(distance);
  absl::flat_hash_map<uint64_t, int> firstKept;  // per cell, the newest kept vertex there
  firstKept.reserve(order.size());
  std::vector<int> nextKept(order.size(), -1), into(order.size(), -1);
  int merged = 0;
  for (size_t i = 0; i < order.size(); ++i) {
    const Vertex& v = *order[i];
    Cell lo, hi;
    grid.reach(v, lo, hi);
    int first = -1;
    for (int64_t x = std::get<0>(lo); x <= std::get<0>(hi); ++x)
      for (int64_t y = std::get<1>(lo); y <= std::get<1>(hi); ++y)
        for (int64_t z = std::get<2>(lo); z <= std::get<2>(hi); ++z) {
          const auto found = firstKept.find(keyOf(x, y, z));
          if (found == firstKept.end()) continue;
          for (int k = found->second; k >= 0; k = nextKept[k])
            if ((first < 0 || k < first) && within(*order[k], v, distance)) first = k;
        }
    if (first >= 0) {
      into[i] = first;
      ++merged;
    } else {
      auto slot = firstKept.try_emplace(keyOf(grid.cellOf(v)), -1).first;
      nextKept[i] = slot->second;
      slot->second = static_cast<int>(i);
    }
  }
  auto target = [&](Vertex* v) -> Vertex* {
    if (!isMarked(v, taken) || into[v->markNumber] < 0) return nullptr;
    return order[into[v->markNumber]];
  };

  // Triangles that closed up (two corners on one vertex) go with them.
  int closed = 0;
  absl::flat_hash_set<const Polygon*> goneAll;
  if (merged > 0) {
    for (PolygonGroup* group : model.groups) {
      List<Polygon> gone;
      for (Polygon* p : group->polygons) {
        bool moved = false;
        for (int i = 0; i < 3; ++i) {
          if (Vertex* to = target(p->vertices[i])) {
            p->vertices[i] = to;
            p->uvs[i].vertex = to;
            moved = true;
          }
        }
        if (moved && (p->vertices[0] == p->vertices[1] || p->vertices[1] == p->vertices[2] ||
                      p->vertices[2] == p->vertices[0])) {
          gone.pushFront(p);
          goneAll.insert(p);
        }
      }
      closed += gone.count();
      if (!gone.empty()) group->polygons.removeAll(gone);
    }
    if (closed) {
      List<Polygon> stillSelected;
      for (Polygon* p : e.doc.selectedPolygons)
        if (!goneAll.contains(p)) stillSelected.pushBack(p);
      e.doc.selectedPolygons = std::move(stillSelected);
    }
    List<Vertex> leaving, staying;
    for (size_t i = 0; i < order.size(); ++i) {
      if (into[i] < 0) continue;
      leaving.pushFront(order[i]);
      model.animation->weights.erase(order[i]);
      order[i]->selected = 0;
    }
    model.vertices.removeAll(leaving);
    for (Vertex* v : e.doc.selectedVertices)
      if (!target(v)) staying.pushBack(v);
    e.doc.selectedVertices = std::move(staying);
  }
  std::string said = std::to_string(merged) + " vertices merged into others";
  if (closed) said += "; " + std::to_string(closed) + " triangles that closed up went";
  e.consoleMessage(said + ".");
  rebuildNormals(e);
  return merged;
}
