// Extrude (contracts in polygon_ops.h).

#include <cstdio>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include <absl/container/flat_hash_map.h>
#include <absl/container/flat_hash_set.h>

#include "document/undo.h"
#include "tools/mirror_image.h"
#include "tools/polygon_ops.h"
#include "tools/tool_context.h"

namespace {

// The new vertices sit this far off their sources until the drag moves them.
constexpr double kNudge = 0.001;

using Edge = std::pair<Vertex*, Vertex*>;

// An edge's key whichever way round it is walked.
Edge undirected(Vertex* a, Vertex* b) {
  return std::less<Vertex*>()(a, b) ? Edge{a, b} : Edge{b, a};
}

}  // namespace

void prepareExtrude(ToolContext& e) {
  if (e.doc.selectedPolygons.empty()) return;
  e.doc.selectedVertices = e.doc.model->distinctVertices(e.doc.selectedPolygons);
}

void extrudeSelection(ToolContext& e) {
  takeSnapshot(e.doc);
  Model& model = *e.doc.model;
  // Mirroring, the images of the selected triangles and the partners of the
  // selected vertices are extruded with them.
  const std::optional<MirrorIndex> mirror = mirrorIndexOf(e);
  if (mirror) addImagesToSelection(e, *mirror);
  const int axis = mirror ? mirror->axis() : -1;

  // Each source vertex O(i) gets its N(i); a vertex selected twice keeps the
  // copy made first, so the later copy stays loose. Mirroring, the nudge of a
  // vertex on the negative side is mirrored, and one on the plane stays on it.
  std::vector<Vertex*> sources, copies;
  absl::flat_hash_map<Vertex*, Vertex*> copyOf;
  absl::flat_hash_map<Vertex*, int> indexOfCopy;
  copyOf.reserve(e.doc.selectedVertices.count());
  indexOfCopy.reserve(e.doc.selectedVertices.count());
  for (Vertex* o : e.doc.selectedVertices) {
    double nudge[3] = {kNudge, kNudge, kNudge};
    const bool onPlane = mirror && mirror->onPlane(*o);
    if (mirror)
      nudge[axis] = onPlane ? 0
                    : (axis == 0   ? o->x
                       : axis == 1 ? o->y
                                   : o->z) < 0
                        ? -kNudge
                        : kNudge;
    Vertex* n = model.newVertex(o->x + nudge[0], o->y + nudge[1], o->z + nudge[2]);
    if (onPlane) (axis == 0 ? n->x : axis == 1 ? n->y : n->z) = 0;
    model.vertices.pushFront(n);
    indexOfCopy[n] = static_cast<int>(sources.size());
    sources.push_back(o);
    copies.push_back(n);
    copyOf.try_emplace(o, n);
  }
  // The selected triangles and their images, each image once after its own.
  std::vector<std::pair<Polygon*, Polygon*>> images;
  if (mirror) {
    TriangleIndex selected;
    for (Polygon* p : e.doc.selectedPolygons) selected.add(p);
    absl::flat_hash_set<const Polygon*> paired;
    for (Polygon* p : e.doc.selectedPolygons) {
      Vertex* corners[3];
      if (paired.contains(p) || !imageCorners(*mirror, *p, corners)) continue;
      for (Polygon* image : selected.all(corners, p->flipped))
        if (!paired.contains(image)) {
          paired.insert(p), paired.insert(image);
          images.push_back({p, image});
          break;
        }
    }
  }
  for (Polygon* p : e.doc.selectedPolygons) {
    for (int k = 0; k < 3; ++k) {
      auto found = copyOf.find(p->vertices[k]);
      if (found == copyOf.end()) continue;
      p->vertices[k] = found->second;
      p->uvs[k].vertex = found->second;
    }
  }

  // An edge is on the boundary when no other edge of the selected polygons
  // joins the same two vertices.
  std::vector<Edge> edges;
  edges.reserve(3 * e.doc.selectedPolygons.count());
  for (Polygon* p : e.doc.selectedPolygons) {
    Vertex* const* c = p->vertices;
    edges.insert(edges.end(), {{c[0], c[1]}, {c[1], c[2]}, {c[0], c[2]}});
  }
  absl::flat_hash_map<Edge, int> uses;
  uses.reserve(edges.size());
  for (const Edge& e : edges) ++uses[undirected(e.first, e.second)];
  auto addWall = [&](Vertex* a, Vertex* b, Vertex* c) {
    Polygon* wall = model.newPolygon(a, b, c);
    model.currentGroup->polygons.pushFront(wall);
    e.doc.selectedPolygons.pushFront(wall);
    return wall;
  };
  // Mirroring, a copy's partner is the copy of its source's partner.
  auto copyPartner = [&](Vertex* n) -> Vertex* {
    Vertex* p = mirror->partnerOf(*sources[indexOfCopy.at(n)]);
    const auto found = p ? copyOf.find(p) : copyOf.end();
    return found == copyOf.end() ? nullptr : found->second;
  };
  absl::flat_hash_set<Edge> walled;  // mirroring, the edges given walls as images

  // Boundary edges are taken newest first, as a list collected at its head
  // would hand them out; that order is the order of the walls.
  for (auto edge = edges.rbegin(); edge != edges.rend(); ++edge) {
    if (uses[undirected(edge->first, edge->second)] != 1) continue;
    auto i = indexOfCopy.find(edge->first), j = indexOfCopy.find(edge->second);
    if (i == indexOfCopy.end() || j == indexOfCopy.end()) {
      std::printf("wtf");
      continue;
    }
    Vertex *ni = copies[i->second], *nj = copies[j->second];
    Vertex *oi = sources[i->second], *oj = sources[j->second];
    if (!mirror) {
      addWall(ni, nj, oi), addWall(nj, oj, oi);
      continue;
    }
    if (walled.contains(undirected(ni, nj))) continue;
    Vertex *pi = copyPartner(ni), *pj = copyPartner(nj);
    Vertex *qi = mirror->partnerOf(*oi), *qj = mirror->partnerOf(*oj);
    if (pi == nj && pj == ni) {
      // An edge across the plane to its own partner: its wall is its own image
      // in four triangles about a centre on the plane.
      Vertex* c =
          model.newVertex((ni->x + nj->x + oi->x + oj->x) / 4, (ni->y + nj->y + oi->y + oj->y) / 4,
                          (ni->z + nj->z + oi->z + oj->z) / 4);
      (axis == 0 ? c->x : axis == 1 ? c->y : c->z) = 0;
      model.vertices.pushFront(c);
      addWall(ni, nj, c), addWall(oj, oi, c);
      images.push_back({addWall(nj, oj, c), addWall(oi, ni, c)});
      continue;
    }
    Polygon* walls[2] = {addWall(ni, nj, oi), addWall(nj, oj, oi)};
    if (!pi || !pj || !qi || !qj || (pi == ni && pj == nj)) continue;  // none, or on the plane
    walled.insert(undirected(pi, pj));
    images.push_back({walls[0], addWall(pi, qi, pj)});
    images.push_back({walls[1], addWall(pj, qi, qj)});
  }

  e.doc.selectedVertices.clear();
  for (Vertex* n : copies) e.doc.selectedVertices.pushFront(n);

  rebuildNormals(e);
  orientPolygonsOutward(e);
  for (auto [p, image] : images) faceAs(*p, *image);  // as the centre test turned p
  model.clearPolygonSelection();
  e.doc.selectedPolygons.clear();
}
