// Delete: removes the selected polygons from the current group, then the
// selected vertices from the model together with every triangle that uses one
// of them, in whichever group it is: a triangle may not outlive its corners.
// Both selections end empty; the UV selection is left as it is.
//
// With nothing selected only the snapshot is taken.

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
