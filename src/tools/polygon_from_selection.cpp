// The 'p' key's triangle (contract in creation.h).

#include <cstdio>

#include "app/editor.h"
#include "tools/creation.h"
#include "tools/polygon_ops.h"
#include "tools/undo.h"

void createPolygonFromSelection(Editor& e) {
  std::printf("Num verts: %d\n", e.selectedVertices.count());
  if (e.selectedVertices.count() != 3) return;
  takeSnapshot(e);
  Polygon* p = e.model->newPolygon(e.selectedVertices.at(0), e.selectedVertices.at(1),
                                   e.selectedVertices.at(2));
  e.model->currentGroup->polygons.pushFront(p);
  std::printf("Polygon Created!\n");
  e.selectedVertices.clear();
  rebuildNormals(e);
}
