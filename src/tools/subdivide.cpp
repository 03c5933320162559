// Subdivide (contract in polygon_ops.h).

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <absl/container/flat_hash_map.h>
#include <absl/container/flat_hash_set.h>

#include "document/undo.h"
#include "model/animation.h"
#include "tools/polygon_ops.h"
#include "tools/tool_context.h"

namespace {

using Edge = std::pair<const Vertex*, const Vertex*>;

Edge edgeOf(const Vertex* a, const Vertex* b) {
  return a < b ? Edge{a, b} : Edge{b, a};
}

// A corner of a new triangle: its vertex and texture coordinates.
struct Corner {
  Vertex* vertex;
  double u, v;
};

Corner cornerOf(const Polygon& p, int i) {
  return {p.vertices[i], p.uvs[i].u, p.uvs[i].v};
}

// The midpoint vertex gets the mean of its ends' hand-set weights (an end
// without any lends the other's), the strongest four kept, summing to 1.
void weighMidpoint(Animation& animation, const Vertex* a, const Vertex* b, const Vertex* mid) {
  const auto wa = animation.weights.find(a), wb = animation.weights.find(b);
  const std::vector<BoneWeight>* ends[2] = {wa == animation.weights.end() ? nullptr : &wa->second,
                                            wb == animation.weights.end() ? nullptr : &wb->second};
  if (!ends[0] && !ends[1]) return;
  if (!ends[0]) ends[0] = ends[1];
  if (!ends[1]) ends[1] = ends[0];
  std::vector<BoneWeight> sum;
  for (const std::vector<BoneWeight>* weights : ends) {
    for (const BoneWeight& w : *weights) {
      auto same = std::find_if(sum.begin(), sum.end(), [&](auto& s) { return s.bone == w.bone; });
      if (same == sum.end()) {
        sum.push_back(w);
      } else {
        same->weight += w.weight;
      }
    }
  }
  std::sort(sum.begin(), sum.end(), [](auto& x, auto& y) { return x.weight > y.weight; });
  if (sum.size() > 4) sum.resize(4);
  double total = 0;
  for (const BoneWeight& w : sum) total += w.weight;
  if (total <= 0) return;
  for (BoneWeight& w : sum) w.weight /= total;
  animation.weights[mid] = std::move(sum);
}

class Subdivision {
 public:
  explicit Subdivision(ToolContext& e) : e_(e), model_(*e.doc.model) {}

  void run() {
    absl::flat_hash_set<const Polygon*> selected;
    for (Polygon* p : e_.doc.selectedPolygons) selected.insert(p);
    struct Found {
      Polygon* polygon;
      PolygonGroup* group;
    };
    std::vector<Found> chosen, others;
    for (PolygonGroup* group : model_.groups)
      for (Polygon* p : group->polygons)
        (selected.contains(p) ? chosen : others).push_back({p, group});
    if (chosen.empty()) {
      e_.consoleMessage("Subdivide: no selected triangle.");
      return;
    }
    for (const Found& f : chosen)
      for (int i = 0; i < 3; ++i)
        midpoint(f.polygon->vertices[i], f.polygon->vertices[(i + 1) % 3]);
    e_.doc.selectedPolygons.clear();
    for (const Found& f : chosen) split(*f.polygon, *f.group, /*select=*/true);
    int neighbours = 0;
    for (const Found& f : others) neighbours += split(*f.polygon, *f.group, /*select=*/false);
    e_.consoleMessage("Subdivide: " + std::to_string(chosen.size()) + " triangles became " +
                      std::to_string(4 * chosen.size()) + "; " + std::to_string(neighbours) +
                      " next to them were split too.");
  }

 private:
  Vertex* midpoint(Vertex* a, Vertex* b) {
    Vertex*& mid = midpoints_[edgeOf(a, b)];
    if (!mid) {
      mid = model_.newVertex((a->x + b->x) / 2, (a->y + b->y) / 2, (a->z + b->z) / 2);
      model_.vertices.pushFront(mid);
      mid->selected = 1;
      e_.doc.selectedVertices.pushFront(mid);
      weighMidpoint(*model_.animation, a, b, mid);
      if (model_.seams.contains(a, b))
        model_.seams.clear(a, b), model_.seams.mark(a, mid), model_.seams.mark(mid, b);
    }
    return mid;
  }

  // The corner halfway along edge i (from corner i to the next), or none
  // when that edge is not split.
  std::optional<Corner> halfway(const Polygon& p, int i) const {
    const int j = (i + 1) % 3;
    const auto mid = midpoints_.find(edgeOf(p.vertices[i], p.vertices[j]));
    if (mid == midpoints_.end()) return std::nullopt;
    return Corner{mid->second, (p.uvs[i].u + p.uvs[j].u) / 2, (p.uvs[i].v + p.uvs[j].v) / 2};
  }

  // Cuts `p` at its split edges, winding kept; `p` itself becomes one of
  // the pieces. True when it was cut.
  bool split(Polygon& p, PolygonGroup& group, bool select) {
    std::optional<Corner> mids[3] = {halfway(p, 0), halfway(p, 1), halfway(p, 2)};
    const int count = !!mids[0] + !!mids[1] + !!mids[2];
    if (count == 0) return false;
    // Turned so that the split edges come first: edge 0, then edge 1.
    int turn = 0;
    if (count == 1) turn = mids[1] ? 1 : mids[2] ? 2 : 0;
    if (count == 2) turn = !mids[0] ? 1 : !mids[1] ? 2 : 0;
    Corner c[3], m[3];
    for (int i = 0; i < 3; ++i) {
      c[i] = cornerOf(p, (i + turn) % 3);
      if (mids[(i + turn) % 3]) m[i] = *mids[(i + turn) % 3];
    }
    std::vector<std::array<Corner, 3>> pieces;
    if (count == 3) {
      pieces = {{c[0], m[0], m[2]}, {m[0], c[1], m[1]}, {m[2], m[1], c[2]}, {m[0], m[1], m[2]}};
    } else if (count == 2) {
      pieces = {{m[0], c[1], m[1]}, {c[0], m[0], m[1]}, {c[0], m[1], c[2]}};
    } else {
      pieces = {{c[0], m[0], c[2]}, {m[0], c[1], c[2]}};
    }
    for (size_t k = 0; k < pieces.size(); ++k) {
      Polygon* piece = k == 0 ? &p : copyOf(p, group);
      for (int i = 0; i < 3; ++i) {
        piece->vertices[i] = pieces[k][i].vertex;
        piece->uvs[i].vertex = pieces[k][i].vertex;
        piece->uvs[i].u = pieces[k][i].u;
        piece->uvs[i].v = pieces[k][i].v;
      }
      piece->computeNormal();
      piece->resetCornerNormals();
      if (select) {
        piece->selected = 1;
        e_.doc.selectedPolygons.pushFront(piece);
      }
    }
    return true;
  }

  Polygon* copyOf(const Polygon& p, PolygonGroup& group) {
    Polygon* copy = model_.newPolygon(p.vertices[0], p.vertices[1], p.vertices[2]);
    for (int i = 0; i < 3; ++i) copy->uvs[i].mapped = p.uvs[i].mapped;
    copy->uvMapped = p.uvMapped;
    copy->smooth = p.smooth;
    copy->flipped = p.flipped;
    copy->bone = p.bone;
    group.polygons.pushFront(copy);
    return copy;
  }

  ToolContext& e_;
  Model& model_;
  absl::flat_hash_map<Edge, Vertex*> midpoints_;
};

}  // namespace

void subdivideSelection(ToolContext& e) {
  takeSnapshot(e.doc);
  Subdivision(e).run();
  rebuildNormals(e);
}
