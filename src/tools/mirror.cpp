// Mirror editing (contracts in mirror.h).

#include "tools/mirror.h"

#include <cmath>
#include <string>

#include <absl/container/flat_hash_map.h>
#include <absl/container/flat_hash_set.h>

#include "document/undo.h"
#include "model/animation.h"
#include "model/marks.h"
#include "tools/mirror_image.h"
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

// A cell is this many tolerances wide: a point's reach of one tolerance either
// way lies in one cell along an axis three times in four.
constexpr double kCellWidth = 8 * kMirrorTolerance;

int64_t cell(double c) {
  const double index = std::floor(c * (1 / kCellWidth));
  return std::abs(index) < 9e18 ? static_cast<int64_t>(index) : 0;  // far out (or NaN): one cell
}

uint64_t cellKey(int64_t x, int64_t y, int64_t z) {
  return static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15ull ^
         static_cast<uint64_t>(y) * 0xC2B2AE3D27D4EB4Full ^
         static_cast<uint64_t>(z) * 0x165667B19E3779F9ull;
}

}  // namespace

MirrorIndex::MirrorIndex(const Model& model, int axis) : axis_(axis) {
  const int n = model.vertices.count();
  vertices_.reserve(n), next_.reserve(n), first_.reserve(n);
  for (Vertex* v : model.vertices) add(v);
}

MirrorIndex::MirrorIndex(const std::vector<Vertex*>& vertices, int axis) : axis_(axis) {
  vertices_.reserve(vertices.size()), next_.reserve(vertices.size());
  first_.reserve(vertices.size());
  for (Vertex* v : vertices) add(v);
}

void MirrorIndex::add(Vertex* v) {
  const auto [slot, added] = first_.try_emplace(cellKey(cell(v->x), cell(v->y), cell(v->z)),
                                                static_cast<int32_t>(vertices_.size()));
  next_.push_back(added ? -1 : slot->second);
  if (!added) slot->second = static_cast<int32_t>(vertices_.size());
  vertices_.push_back(v);
}

bool MirrorIndex::onPlane(const Vertex& v) const {
  return std::abs(coordinate(v, axis_)) <= kMirrorTolerance;
}

Vertex* MirrorIndex::partnerOf(const Vertex& v, uint64_t preferred) const {
  if (onPlane(v)) return const_cast<Vertex*>(&v);
  double at[3] = {v.x, v.y, v.z};
  at[axis_] = -at[axis_];
  int64_t lo[3], hi[3];
  for (int k = 0; k < 3; ++k)
    lo[k] = cell(at[k] - kMirrorTolerance), hi[k] = cell(at[k] + kMirrorTolerance);
  Vertex* best = nullptr;
  double bestDistance = INFINITY;
  for (int64_t x = lo[0]; x <= hi[0]; ++x)
    for (int64_t y = lo[1]; y <= hi[1]; ++y)
      for (int64_t z = lo[2]; z <= hi[2]; ++z) {
        const auto found = first_.find(cellKey(x, y, z));
        if (found == first_.end()) continue;
        for (int32_t i = found->second; i >= 0; i = next_[i]) {
          Vertex* w = vertices_[i];
          if (w == &v || !near(*w, at[0], at[1], at[2])) continue;
          const double d = std::abs(w->x - at[0]) + std::abs(w->y - at[1]) + std::abs(w->z - at[2]);
          if (d < bestDistance ||
              (d == bestDistance && preferred && w->markPass == preferred &&
               best->markPass != preferred))
            bestDistance = d, best = w;
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
    Vertex* partner = index.partnerOf(*v, selected);
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
      addImageOf(model, *group, *p, corners);
      ++mirrored;
    }
  }
  e.consoleMessage("Symmetrize: " + std::to_string(mirrored) + " triangles mirrored from the " +
                   (negative ? "negative" : "positive") + " side, " +
                   std::to_string(leaving.count()) + " vertices replaced.");
  rebuildNormals(e);
}
