// Weld (contract in polygon_ops.h).

#include <cmath>
#include <optional>
#include <vector>

#include <absl/container/flat_hash_map.h>

#include "document/undo.h"
#include "model/marks.h"
#include "tools/mirror_image.h"
#include "tools/polygon_ops.h"
#include "tools/tool_context.h"

namespace {

double& coordinate(Vertex& v, int axis) {
  return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

// Mirroring, the partners of the merged vertices go too, into the kept one's
// partner, or, where that one is its own partner, the kept one's partner is
// merged or a merged vertex lies on the plane, all of them into the kept one
// put onto the plane. `into` gives each merged vertex (those of `merged` and
// the partners added to it) its kept vertex.
void addPartners(const MirrorIndex& index, Vertex* kept, std::vector<Vertex*>& merged,
                 absl::flat_hash_map<Vertex*, Vertex*>& into) {
  Vertex* keptPartner = index.partnerOf(*kept);
  if (!keptPartner) return;
  const uint64_t taken = newMarkPass();
  kept->markPass = keptPartner->markPass = taken;
  bool ontoPlane = keptPartner == kept;
  for (Vertex* v : merged) {
    v->markPass = taken;
    ontoPlane = ontoPlane || index.onPlane(*v) || v == keptPartner;
  }
  const size_t selected = merged.size();
  for (size_t i = 0; i < selected; ++i) {
    Vertex* partner = index.partnerOf(*merged[i]);
    if (!partner || partner->markPass == taken) continue;
    partner->markPass = taken;
    merged.push_back(partner);
  }
  const int axis = index.axis();
  const double side = coordinate(*kept, axis);
  if (ontoPlane) {
    coordinate(*kept, axis) = 0;
    if (keptPartner != kept) merged.push_back(keptPartner);
  }
  for (Vertex* v : merged)
    into[v] = ontoPlane || coordinate(*v, axis) * side > 0 ? kept : keptPartner;
}

}  // namespace

void weldSelectedVertices(ToolContext& e) {
  takeSnapshot(e.doc);
  if (e.doc.selectedVertices.count() >= 2) {
    const uint64_t inModel = newMarkPass();
    markAll(e.doc.model->vertices, inModel);
    Vertex* kept = nullptr;
    for (Vertex* v : e.doc.selectedVertices) {
      if (isMarked(v, inModel)) {
        kept = v;
        break;
      }
    }
    if (kept) {
      // Each listing of a merged vertex takes one of its copies out of the
      // model, while copies are left; one walk does that for all of them.
      List<Vertex> leaving;
      std::vector<Vertex*> merged;
      for (Vertex* v : e.doc.selectedVertices) {
        if (v == kept || !isMarked(v, inModel)) continue;
        leaving.pushFront(v);
        merged.push_back(v);
      }
      absl::flat_hash_map<Vertex*, Vertex*> into;
      if (const auto mirror = mirrorIndexOf(e)) {
        const size_t selected = merged.size();
        addPartners(*mirror, kept, merged, into);
        for (size_t i = selected; i < merged.size(); ++i) leaving.pushFront(merged[i]);
      }
      e.doc.model->vertices.removeAll(leaving);
      const uint64_t isMerged = newMarkPass();
      for (Vertex* v : merged) v->markPass = isMerged;
      for (PolygonGroup* group : e.doc.model->groups) {
        for (Polygon* p : group->polygons) {
          for (int i = 0; i < 3; ++i) {
            if (isMarked(p->vertices[i], isMerged)) {
              const auto to = into.find(p->vertices[i]);
              p->vertices[i] = p->uvs[i].vertex = to == into.end() ? kept : to->second;
            }
          }
        }
      }
      e.doc.selectedVertices.clear();
      e.doc.selectedVertices.pushFront(kept);
    }
  }
  rebuildNormals(e);
}
