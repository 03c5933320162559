// The 'p' key's triangle (contract in creation.h).

#include <cstdio>

#include "document/undo.h"
#include "tools/creation.h"
#include "tools/mirror_image.h"
#include "tools/polygon_ops.h"
#include "tools/tool_context.h"

void createPolygonFromSelection(ToolContext& e) {
  std::printf("Num verts: %d\n", e.doc.selectedVertices.count());
  if (e.doc.selectedVertices.count() != 3) return;
  takeSnapshot(e.doc);
  Polygon* p = e.doc.model->newPolygon(e.doc.selectedVertices.at(0), e.doc.selectedVertices.at(1),
                                       e.doc.selectedVertices.at(2));
  e.doc.model->currentGroup->polygons.pushFront(p);
  // Mirroring, its image over the corners' partners too, unless it is its own
  // image or the model has that triangle already.
  if (const auto mirror = mirrorIndexOf(e)) {
    Vertex* corners[3];
    if (imageCorners(*mirror, *p, corners)) {
      TriangleIndex existing;
      for (Polygon* q : e.doc.model->currentGroup->polygons) existing.add(q);
      if (!existing.find(corners, p->flipped))
        addImageOf(*e.doc.model, *e.doc.model->currentGroup, *p, corners);
    }
  }
  std::printf("Polygon Created!\n");
  e.doc.selectedVertices.clear();
  rebuildNormals(e);
}
