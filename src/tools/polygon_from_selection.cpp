// The 'p' key: one triangle over exactly three selected vertices, most
// recently selected first. Any other count is printed and changes nothing.

#include <cstdio>

#include "app/editor.h"

void Editor::createPolygonFromSelection() {
  std::printf("Num verts: %d\n", selectedVertices.count());
  if (selectedVertices.count() != 3) return;
  takeSnapshot();
  Polygon* p =
      model->newPolygon(selectedVertices.at(0), selectedVertices.at(1), selectedVertices.at(2));
  model->currentGroup->polygons.pushFront(p);
  std::printf("Polygon Created!\n");
  selectedVertices.clear();
  rebuildNormals();
}
