// Mirror editing (contracts in mirror.h).

#include "tools/mirror.h"

#include <cmath>
#include <string>

#include <absl/container/flat_hash_map.h>
#include <absl/container/flat_hash_set.h>

#include "document/undo.h"
#include "model/animation.h"
#include "model/marks.h"
#include "tools/polygon_ops.h"
#include "tools/tool_context.h"

namespace {

double& coordinate(Vertex& v, int axis) {
  return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}
double coordinate(const Vertex& v, int axis) {
  return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

bool near(const Vertex& a, double x, double y, double z) {
  return std::abs(a.x - x) <= kMirrorTolerance && std::abs(a.y - y) <= kMirrorTolerance &&
         std::abs(a.z - z) <= kMirrorTolerance;
}

}  // namespace

MirrorIndex::MirrorIndex(const Model& model, int axis) : axis_(axis) {
  cells_.reserve(model.vertices.count());
  for (Vertex* v : model.vertices) cells_[cellOf(v->x, v->y, v->z)].push_back(v);
}

MirrorIndex::Cell MirrorIndex::cellOf(double x, double y, double z) const {
  auto index = [](double c) {
    const double cell = std::floor(c / kMirrorTolerance);
    return static_cast<int64_t>(std::abs(cell) < 9e18 ? cell : 0);  // far out: one cell
  };
  return {index(x), index(y), index(z)};
}

Vertex* MirrorIndex::partnerOf(const Vertex& v) const {
  if (std::abs(coordinate(v, axis_)) <= kMirrorTolerance) return const_cast<Vertex*>(&v);
  double at[3] = {v.x, v.y, v.z};
  at[axis_] = -at[axis_];
  const auto [cx, cy, cz] = cellOf(at[0], at[1], at[2]);
  Vertex* best = nullptr;
  double bestDistance = INFINITY;
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy)
      for (int dz = -1; dz <= 1; ++dz) {
        const auto found = cells_.find(Cell{cx + dx, cy + dy, cz + dz});
        if (found == cells_.end()) continue;
        for (Vertex* w : found->second) {
          if (w == &v || !near(*w, at[0], at[1], at[2])) continue;
          const double d = std::abs(w->x - at[0]) + std::abs(w->y - at[1]) + std::abs(w->z - at[2]);
          if (d < bestDistance) bestDistance = d, best = w;
        }
      }
  return best;
}

MirrorFollow::MirrorFollow(ToolContext& e) {
  const int kind = e.viewSet.views[e.viewSet.activeView].kind;
  if (e.toolState.mirrorAxis < 0 || kind == kUvView || e.doc.selectedVertices.empty()) return;
  axis_ = e.toolState.mirrorAxis;
  const MirrorIndex index(*e.doc.model, axis_);
  const uint64_t selected = newMarkPass();
  markAll(e.doc.selectedVertices, selected);
  absl::flat_hash_set<const Vertex*> seen;
  for (Vertex* v : e.doc.selectedVertices) {
    if (!seen.insert(v).second) continue;
    Vertex* partner = index.partnerOf(*v);
    if (!partner) continue;
    // Of two selected partners the one on the positive side leads.
    if (partner != v && isMarked(partner, selected) && coordinate(*v, axis_) < 0) continue;
    follow_.push_back({v, partner});
  }
}

void MirrorFollow::apply() {
  for (auto [leader, partner] : follow_) {
    if (leader == partner) {
      coordinate(*leader, axis_) = 0;  // on the plane it stays
      continue;
    }
    partner->x = leader->x, partner->y = leader->y, partner->z = leader->z;
    coordinate(*partner, axis_) = -coordinate(*leader, axis_);
  }
}

std::string mirrorLabel(int axis) {
  return axis < 0 ? "" : std::string("mirror ") + "xyz"[axis];
}

std::string setMirror(ToolContext& e, const std::string& word) {
  if (word == "off") {
    if (e.toolState.mirrorAxis >= 0) e.toolState.lastMirrorAxis = e.toolState.mirrorAxis;
    e.toolState.mirrorAxis = -1;
    return "Mirror editing off.";
  }
  if (word.size() != 1 || std::string("xyz").find(word[0]) == std::string::npos) return "";
  e.toolState.mirrorAxis = word[0] - 'x';
  return std::string("Mirror editing across ") + word + " = 0.";
}

void toggleMirror(ToolContext& e) {
  ToolState& s = e.toolState;
  if (s.mirrorAxis < 0) {
    s.mirrorAxis = s.lastMirrorAxis;
  } else {
    s.lastMirrorAxis = s.mirrorAxis;
    s.mirrorAxis = -1;
  }
}

void symmetrize(ToolContext& e, int axis, bool negative) {
  takeSnapshot(e.doc);
  Model& model = *e.doc.model;
  const double kept = negative ? -1 : 1;
  // The side that goes, and the plane's vertices put on it.
  const uint64_t going = newMarkPass();
  List<Vertex> leaving;
  for (Vertex* v : model.vertices) {
    double& c = coordinate(*v, axis);
    if (std::abs(c) <= kMirrorTolerance) {
      c = 0;
    } else if (c * kept < 0) {
      v->markPass = going;
      leaving.pushFront(v);
    }
  }
  e.doc.selectedVertices.clear();
  e.doc.selectedPolygons.clear();
  e.doc.selectedUvs.clear();
  for (PolygonGroup* group : model.groups) {
    List<Polygon> gone;
    for (Polygon* p : group->polygons)
      if (isMarked(p->vertices[0], going) || isMarked(p->vertices[1], going) ||
          isMarked(p->vertices[2], going))
        gone.pushFront(p);
    if (!gone.empty()) group->polygons.removeAll(gone);
  }
  for (Vertex* v : leaving) model.animation->weights.erase(v);
  if (!leaving.empty()) model.vertices.removeAll(leaving);
  // The reflection of every vertex off the plane, then of every triangle, turned
  // round so that it faces out as its original does.
  absl::flat_hash_map<const Vertex*, Vertex*> image;
  std::vector<Vertex*> originals;
  for (Vertex* v : model.vertices) originals.push_back(v);
  for (Vertex* v : originals) {
    if (coordinate(*v, axis) == 0) {
      image[v] = v;
      continue;
    }
    Vertex* m = model.newVertex(v->x, v->y, v->z);
    coordinate(*m, axis) = -coordinate(*v, axis);
    model.vertices.pushFront(m);
    image[v] = m;
    const auto weights = model.animation->weights.find(v);
    if (weights != model.animation->weights.end()) {
      const std::vector<BoneWeight> copy = weights->second;
      model.animation->weights[m] = copy;
    }
  }
  int mirrored = 0;
  for (PolygonGroup* group : model.groups) {
    std::vector<Polygon*> sources;
    for (Polygon* p : group->polygons) sources.push_back(p);
    for (Polygon* p : sources) {
      Vertex* corners[3] = {image[p->vertices[0]], image[p->vertices[2]], image[p->vertices[1]]};
      if (corners[0] == p->vertices[0] && corners[1] == p->vertices[2] &&
          corners[2] == p->vertices[1])
        continue;  // lies on the plane: its own reflection
      Polygon* q = model.newPolygon(corners[0], corners[1], corners[2]);
      const int from[3] = {0, 2, 1};
      for (int k = 0; k < 3; ++k) {
        q->uvs[k].u = p->uvs[from[k]].u, q->uvs[k].v = p->uvs[from[k]].v;
        q->uvs[k].mapped = p->uvs[from[k]].mapped;
      }
      q->uvMapped = p->uvMapped, q->smooth = p->smooth, q->flipped = p->flipped, q->bone = p->bone;
      q->computeNormal();
      q->resetCornerNormals();
      group->polygons.pushFront(q);
      ++mirrored;
    }
  }
  e.consoleMessage("Symmetrize: " + std::to_string(mirrored) + " triangles mirrored from the " +
                   (negative ? "negative" : "positive") + " side, " +
                   std::to_string(leaving.count()) + " vertices replaced.");
  rebuildNormals(e);
}
