// The 'p' key's triangle (contract in creation.h).

#include <cstdio>

#include "document/undo.h"
#include "tools/creation.h"
#include "tools/polygon_ops.h"
#include "tools/tool_context.h"

void createPolygonFromSelection(ToolContext& e) {
  std::printf("Num verts: %d\n", e.doc.selectedVertices.count());
  if (e.doc.selectedVertices.count() != 3) return;
  takeSnapshot(e.doc);
  Polygon* p = e.doc.model->newPolygon(e.doc.selectedVertices.at(0), e.doc.selectedVertices.at(1),
                                       e.doc.selectedVertices.at(2));
  e.doc.model->currentGroup->polygons.pushFront(p);
  std::printf("Polygon Created!\n");
  e.doc.selectedVertices.clear();
  rebuildNormals(e);
}
