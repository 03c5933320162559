// Mirror images of new and removed geometry (contracts in mirror_image.h).

#include "tools/mirror_image.h"

#include <algorithm>

#include <absl/container/flat_hash_set.h>

#include "model/marks.h"
#include "model/model.h"
#include "tools/tool_context.h"

namespace {

// The corners turned to the least of their three turns, so that one triangle
// has one key whichever corner a walk starts at (also with a corner twice).
std::array<Vertex*, 3> keyOf(Vertex* a, Vertex* b, Vertex* c) {
  return std::min({std::array<Vertex*, 3>{a, b, c}, std::array<Vertex*, 3>{b, c, a},
                   std::array<Vertex*, 3>{c, a, b}});
}

// The key of corners in the order that gives the facing they show.
std::array<Vertex*, 3> shownKey(Vertex* const c[3], int flipped) {
  return flipped ? keyOf(c[2], c[1], c[0]) : keyOf(c[0], c[1], c[2]);
}

}  // namespace

void TriangleIndex::add(Polygon* p) {
  byCorners_[shownKey(p->vertices, p->flipped)].push_back(p);
}

const std::vector<Polygon*>& TriangleIndex::all(Vertex* const corners[3], int flipped) const {
  static const std::vector<Polygon*> none;
  const auto found = byCorners_.find(shownKey(corners, flipped));
  return found == byCorners_.end() ? none : found->second;
}

Polygon* TriangleIndex::find(Vertex* const corners[3], int flipped) const {
  const std::vector<Polygon*>& found = all(corners, flipped);
  return found.empty() ? nullptr : found.front();
}

std::optional<MirrorIndex> mirrorIndexOf(ToolContext& e) {
  if (e.toolState.mirrorAxis < 0) return std::nullopt;
  return std::optional<MirrorIndex>(std::in_place, *e.doc.model, e.toolState.mirrorAxis);
}

bool imageCorners(const MirrorIndex& index, const Polygon& p, Vertex* corners[3]) {
  bool onPlane = true;
  for (int k = 0; k < 3; ++k) {
    corners[k] = index.partnerOf(*p.vertices[k == 0 ? 0 : 3 - k]);
    if (!corners[k]) return false;
    onPlane = onPlane && corners[k] == p.vertices[k == 0 ? 0 : 3 - k];
  }
  if (onPlane) return false;
  return keyOf(corners[0], corners[1], corners[2]) !=
         keyOf(p.vertices[0], p.vertices[1], p.vertices[2]);
}

Polygon* addImageOf(Model& model, PolygonGroup& group, const Polygon& p, Vertex* const corners[3]) {
  Polygon* q = model.newPolygon(corners[0], corners[1], corners[2]);
  const int from[3] = {0, 2, 1};
  for (int k = 0; k < 3; ++k) {
    q->uvs[k].u = p.uvs[from[k]].u, q->uvs[k].v = p.uvs[from[k]].v;
    q->uvs[k].mapped = p.uvs[from[k]].mapped;
  }
  q->uvMapped = p.uvMapped, q->smooth = p.smooth, q->flipped = p.flipped, q->bone = p.bone;
  q->computeNormal();
  q->resetCornerNormals();
  group.polygons.pushFront(q);
  return q;
}

void addImagesToSelection(ToolContext& e, const MirrorIndex& index) {
  const uint64_t selected = newMarkPass();
  markAll(e.doc.selectedVertices, selected);
  std::vector<Vertex*> partners;
  for (Vertex* v : e.doc.selectedVertices) {
    Vertex* partner = index.partnerOf(*v);
    if (partner && !isMarked(partner, selected))
      partner->markPass = selected, partners.push_back(partner);
  }
  for (Vertex* v : partners) e.doc.selectedVertices.pushFront(v);
  if (e.doc.selectedPolygons.empty()) return;
  TriangleIndex group, chosen;
  for (Polygon* p : e.doc.model->currentGroup->polygons) group.add(p);
  absl::flat_hash_set<const Polygon*> held;
  std::vector<Polygon*> triangles, images;
  for (Polygon* p : e.doc.selectedPolygons)
    if (held.insert(p).second) triangles.push_back(p), chosen.add(p);
  for (Polygon* p : triangles) {
    Vertex* corners[3];
    if (!imageCorners(index, *p, corners)) continue;
    if (chosen.all(corners, p->flipped).size() >= chosen.all(p->vertices, p->flipped).size())
      continue;
    for (Polygon* image : group.all(corners, p->flipped))
      if (held.insert(image).second) {
        chosen.add(image), images.push_back(image);
        break;
      }
  }
  for (Polygon* p : images) e.doc.selectedPolygons.pushFront(p);
}

void faceAs(const Polygon& p, Polygon& image) {
  if (image.flipped == p.flipped) return;
  image.flip();
  image.resetCornerNormals();
}

std::pair<std::vector<Vertex*>, std::vector<Polygon*>> addMirrorImage(
    ToolContext& e, const std::vector<Vertex*>& vertices, const std::vector<Polygon*>& polygons) {
  std::pair<std::vector<Vertex*>, std::vector<Polygon*>> made;
  const int axis = e.toolState.mirrorAxis;
  if (axis < 0) return made;
  Model& model = *e.doc.model;
  // The partners among the new vertices first, then a copy for each without.
  const MirrorIndex among(vertices, axis);
  absl::flat_hash_map<const Vertex*, Vertex*> image;
  image.reserve(vertices.size());
  for (Vertex* v : vertices) {
    if (among.onPlane(*v)) {
      (axis == 0 ? v->x : axis == 1 ? v->y : v->z) = 0;
      image[v] = v;
    } else if (Vertex* partner = among.partnerOf(*v)) {
      image[v] = partner;
    }
  }
  if (image.size() == vertices.size()) return made;  // symmetric already
  for (Vertex* v : vertices) {
    if (image.contains(v)) continue;
    Vertex* m = model.newVertex(v->x, v->y, v->z);
    (axis == 0 ? m->x : axis == 1 ? m->y : m->z) *= -1;
    model.vertices.pushFront(m);
    image[v] = m;
    made.first.push_back(m);
  }
  TriangleIndex existing;
  for (Polygon* p : polygons) existing.add(p);
  for (Polygon* p : polygons) {
    const auto corner = [&](int k) { return image.at(p->vertices[k == 0 ? 0 : 3 - k]); };
    Vertex* corners[3] = {corner(0), corner(1), corner(2)};
    if (corners[0] == p->vertices[0] && corners[1] == p->vertices[2] &&
        corners[2] == p->vertices[1])
      continue;                                        // on the plane
    if (existing.find(corners, p->flipped)) continue;  // its own image, or made already
    Polygon* q = addImageOf(model, *model.currentGroup, *p, corners);
    existing.add(q);
    made.second.push_back(q);
  }
  return made;
}
