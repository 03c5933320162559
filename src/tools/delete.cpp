// Delete (contract in polygon_ops.h).

#include "app/editor.h"
#include "model/marks.h"
#include "tools/polygon_ops.h"
#include "tools/undo.h"

void deleteSelection(Editor& e) {
  takeSnapshot(e);
  List<Polygon>& polygons = e.model->currentGroup->polygons;
  if (e.selectedPolygons.count() > 0) polygons.removeAll(e.selectedPolygons);
  e.selectedPolygons.clear();

  if (e.selectedVertices.count() > 0) {
    // Every copy of a polygon, in any group, that uses a doomed vertex goes.
    const uint64_t doomed = newMarkPass();
    markAll(e.selectedVertices, doomed);
    for (PolygonGroup* group : e.model->groups) {
      group->polygons.removeIf([doomed](const Polygon* p) {
        return isMarked(p->vertices[0], doomed) || isMarked(p->vertices[1], doomed) ||
               isMarked(p->vertices[2], doomed);
      });
    }
    e.model->vertices.removeAll(e.selectedVertices);
  }
  e.selectedVertices.clear();
  rebuildNormals(e);
}
