// Clamp to the bounding box (contract in polygon_ops.h).

#include "document/undo.h"
#include "tools/polygon_ops.h"
#include "tools/tool_context.h"

namespace {
void clampInto(double& value, double min, double max) {
  if (value < min) value = min;
  if (value > max) value = max;
}
}  // namespace

void clampAllVertices(ToolContext& e) {
  takeSnapshot(e.doc);
  if (e.toolState.boundingBoxActive) {
    const Box3& b = e.toolState.boundingBox;
    for (Vertex* v : e.doc.model->vertices) {
      clampInto(v->x, b.minX, b.maxX);
      clampInto(v->y, b.minY, b.maxY);
      clampInto(v->z, b.minZ, b.maxZ);
    }
  }
  rebuildNormals(e);
}
