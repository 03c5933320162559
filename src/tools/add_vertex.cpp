// Add Vertex (contract in creation.h).

#include "app/editor.h"
#include "tools/creation.h"
#include "tools/undo.h"
#include "tools/view_plane.h"

void addVertexAtCursor(Editor& e) {
  takeSnapshot(e);
  if (auto p = pointUnderMouse(e))
    e.model->vertices.pushFront(e.model->newVertex(p->x, p->y, p->z));
}
