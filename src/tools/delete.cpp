// Delete (contract in polygon_ops.h).

#include "document/undo.h"
#include "model/marks.h"
#include "tools/mirror_image.h"
#include "tools/polygon_ops.h"
#include "tools/tool_context.h"

void deleteSelection(ToolContext& e) {
  takeSnapshot(e.doc);
  if (const auto mirror = mirrorIndexOf(e)) addImagesToSelection(e, *mirror);
  List<Polygon>& polygons = e.doc.model->currentGroup->polygons;
  if (e.doc.selectedPolygons.count() > 0) polygons.removeAll(e.doc.selectedPolygons);
  e.doc.selectedPolygons.clear();

  if (e.doc.selectedVertices.count() > 0) {
    // Every copy of a polygon, in any group, that uses a doomed vertex goes.
    const uint64_t doomed = newMarkPass();
    markAll(e.doc.selectedVertices, doomed);
    for (PolygonGroup* group : e.doc.model->groups) {
      group->polygons.removeIf([doomed](const Polygon* p) {
        return isMarked(p->vertices[0], doomed) || isMarked(p->vertices[1], doomed) ||
               isMarked(p->vertices[2], doomed);
      });
    }
    e.doc.model->vertices.removeAll(e.doc.selectedVertices);
  }
  e.doc.selectedVertices.clear();
  rebuildNormals(e);
}
