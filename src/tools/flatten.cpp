// Flatten on an axis (contract in polygon_ops.h).

#include <cmath>

#include "document/undo.h"
#include "tools/mirror.h"
#include "tools/polygon_ops.h"
#include "tools/selection.h"
#include "tools/tool_context.h"

namespace {
double middle(double min, double max) {
  const double plain = min + (max - min) * 0.5;
  // A box wider than the largest double overflows the plain form.
  return std::isfinite(plain) ? plain : min * 0.5 + max * 0.5;
}
}  // namespace

void flattenSelection(ToolContext& e, Axis axis) {
  takeSnapshot(e.doc);
  MirrorFollow mirror(e);
  if (axis == kAxisU || axis == kAxisV) {
    const SelectionBox box = computeSelectionBox(e, SelectionBoxOf::kUvs);
    if (e.doc.selectedUvs.count() >= 2) {
      for (UvPoint* uv : e.doc.selectedUvs) {
        if (axis == kAxisU) {
          uv->u = middle(box.min.x, box.max.x);
        } else {
          uv->v = middle(box.min.y, box.max.y);
        }
      }
    }
  } else {
    const SelectionBox box = computeSelectionBox(e, SelectionBoxOf::kVertices);
    if (e.doc.selectedVertices.count() >= 2) {
      for (Vertex* v : e.doc.selectedVertices) {
        if (axis == kAxisX) {
          v->x = middle(box.min.x, box.max.x);
        } else if (axis == kAxisY) {
          v->y = middle(box.min.y, box.max.y);
        } else {
          v->z = middle(box.min.z, box.max.z);
        }
      }
    }
  }
  mirror.apply();
  rebuildNormals(e);
}
