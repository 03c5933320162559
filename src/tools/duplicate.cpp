// Duplicate: copies the selected polygons, and every selected vertex, onto new
// vertices one unit further on every axis. Corners of the selected polygons
// join the vertex selection; the selections keep the originals. Selected
// vertices outside the selected polygons become loose copies; with nothing
// selected only the snapshot is taken.

#include <absl/container/flat_hash_map.h>

#include "app/editor.h"
#include "model/marks.h"

void Editor::duplicateSelection() {
  takeSnapshot();
  const uint64_t selected = newMarkPass();
  markAll(selectedVertices, selected);
  for (Polygon* p : selectedPolygons) {
    for (Vertex* v : p->vertices) {
      if (isMarked(v, selected)) continue;
      v->markPass = selected;
      selectedVertices.pushFront(v);
    }
  }

  absl::flat_hash_map<Vertex*, Vertex*> copyOf;
  copyOf.reserve(selectedVertices.count());
  for (Vertex* o : selectedVertices) {
    Vertex* n = model->newVertex(o->x + 1, o->y + 1, o->z + 1);
    model->vertices.pushFront(n);
    copyOf.try_emplace(o, n);
  }
  for (Polygon* p : selectedPolygons) {
    Vertex* const* c = p->vertices;
    model->currentGroup->polygons.pushFront(
        model->newPolygon(copyOf[c[0]], copyOf[c[1]], copyOf[c[2]]));
  }
}
