// Add Vertex (contract in creation.h).

#include "document/undo.h"
#include "tools/creation.h"
#include "tools/mirror_image.h"
#include "tools/tool_context.h"
#include "tools/view_plane.h"

void addVertexAtCursor(ToolContext& e) {
  takeSnapshot(e.doc);
  if (auto p = pointUnderMouse(e)) {
    Vertex* v = e.doc.model->newVertex(p->x, p->y, p->z);
    e.doc.model->vertices.pushFront(v);
    addMirrorImage(e, {v}, {});  // off the plane, its reflection too while mirroring
  }
}
