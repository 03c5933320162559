// Add Vertex (contract in creation.h).

#include "document/undo.h"
#include "tools/creation.h"
#include "tools/tool_context.h"
#include "tools/view_plane.h"

void addVertexAtCursor(ToolContext& e) {
  takeSnapshot(e.doc);
  if (auto p = pointUnderMouse(e))
    e.doc.model->vertices.pushFront(e.doc.model->newVertex(p->x, p->y, p->z));
}
