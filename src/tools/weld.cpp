// Weld (contract in polygon_ops.h).

#include <vector>

#include "document/undo.h"
#include "model/marks.h"
#include "tools/polygon_ops.h"
#include "tools/tool_context.h"

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
      e.doc.model->vertices.removeAll(leaving);
      const uint64_t isMerged = newMarkPass();
      for (Vertex* v : merged) v->markPass = isMerged;
      for (PolygonGroup* group : e.doc.model->groups) {
        for (Polygon* p : group->polygons) {
          for (int i = 0; i < 3; ++i) {
            if (isMarked(p->vertices[i], isMerged)) {
              p->vertices[i] = kept;
              p->uvs[i].vertex = kept;
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
