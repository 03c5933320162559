// Duplicate (contract in polygon_ops.h).

#include <absl/container/flat_hash_map.h>

#include "app/editor.h"
#include "model/marks.h"
#include "tools/polygon_ops.h"
#include "tools/undo.h"

void duplicateSelection(Editor& e) {
  takeSnapshot(e);
  const uint64_t selected = newMarkPass();
  markAll(e.selectedVertices, selected);
  for (Polygon* p : e.selectedPolygons) {
    for (Vertex* v : p->vertices) {
      if (isMarked(v, selected)) continue;
      v->markPass = selected;
      e.selectedVertices.pushFront(v);
    }
  }

  absl::flat_hash_map<Vertex*, Vertex*> copyOf;
  copyOf.reserve(e.selectedVertices.count());
  for (Vertex* o : e.selectedVertices) {
    Vertex* n = e.model->newVertex(o->x + 1, o->y + 1, o->z + 1);
    e.model->vertices.pushFront(n);
    copyOf.try_emplace(o, n);
  }
  for (Polygon* p : e.selectedPolygons) {
    Vertex* const* c = p->vertices;
    e.model->currentGroup->polygons.pushFront(
        e.model->newPolygon(copyOf[c[0]], copyOf[c[1]], copyOf[c[2]]));
  }
}
