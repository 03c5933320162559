// Duplicate (contract in polygon_ops.h).

#include <absl/container/flat_hash_map.h>

#include "document/undo.h"
#include "model/marks.h"
#include "tools/polygon_ops.h"
#include "tools/tool_context.h"

void duplicateSelection(ToolContext& e) {
  takeSnapshot(e.doc);
  const uint64_t selected = newMarkPass();
  markAll(e.doc.selectedVertices, selected);
  for (Polygon* p : e.doc.selectedPolygons) {
    for (Vertex* v : p->vertices) {
      if (isMarked(v, selected)) continue;
      v->markPass = selected;
      e.doc.selectedVertices.pushFront(v);
    }
  }

  absl::flat_hash_map<Vertex*, Vertex*> copyOf;
  copyOf.reserve(e.doc.selectedVertices.count());
  for (Vertex* o : e.doc.selectedVertices) {
    Vertex* n = e.doc.model->newVertex(o->x + 1, o->y + 1, o->z + 1);
    e.doc.model->vertices.pushFront(n);
    copyOf.try_emplace(o, n);
  }
  for (Polygon* p : e.doc.selectedPolygons) {
    Vertex* const* c = p->vertices;
    e.doc.model->currentGroup->polygons.pushFront(
        e.doc.model->newPolygon(copyOf[c[0]], copyOf[c[1]], copyOf[c[2]]));
  }
}
