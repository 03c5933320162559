// Extrude (contracts in polygon_ops.h).

#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include <absl/container/flat_hash_map.h>

#include "document/undo.h"
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

  // Each source vertex O(i) gets its N(i); a vertex selected twice keeps the
  // copy made first, so the later copy stays loose.
  std::vector<Vertex*> sources, copies;
  absl::flat_hash_map<Vertex*, Vertex*> copyOf;
  absl::flat_hash_map<Vertex*, int> indexOfCopy;
  copyOf.reserve(e.doc.selectedVertices.count());
  indexOfCopy.reserve(e.doc.selectedVertices.count());
  for (Vertex* o : e.doc.selectedVertices) {
    Vertex* n = e.doc.model->newVertex(o->x + kNudge, o->y + kNudge, o->z + kNudge);
    e.doc.model->vertices.pushFront(n);
    indexOfCopy[n] = static_cast<int>(sources.size());
    sources.push_back(o);
    copies.push_back(n);
    copyOf.try_emplace(o, n);
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
    for (Polygon* wall :
         {e.doc.model->newPolygon(ni, nj, oi), e.doc.model->newPolygon(nj, oj, oi)}) {
      e.doc.model->currentGroup->polygons.pushFront(wall);
      e.doc.selectedPolygons.pushFront(wall);
    }
  }

  e.doc.selectedVertices.clear();
  for (Vertex* n : copies) e.doc.selectedVertices.pushFront(n);

  rebuildNormals(e);
  orientPolygonsOutward(e);
  e.doc.model->clearPolygonSelection();
  e.doc.selectedPolygons.clear();
}
