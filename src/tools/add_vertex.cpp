// Add Vertex: a new loose vertex under the pointer, on the active view's plane
// (0 on its depth axis). In the Full and UV views nothing is added, though the
// snapshot is still taken. The selection is not changed.

#include "app/editor.h"
#include "tools/creation.h"
#include "tools/undo.h"
#include "tools/view_plane.h"

void addVertexAtCursor(Editor& e) {
  takeSnapshot(e);
  if (auto p = pointUnderMouse(e))
    e.model->vertices.pushFront(e.model->newVertex(p->x, p->y, p->z));
}
