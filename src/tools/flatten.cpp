// Flatten on an axis: moves the selected vertices (X, Y, Z) or the selected UV
// points (U, V) onto the plane, or line, through the middle of their box.
//
// With fewer than two items selected nothing moves, but the snapshot is still
// taken, so the press costs one undo step like any other edit.

#include <cmath>

#include "app/editor.h"

namespace {
double middle(double min, double max) {
  const double plain = min + (max - min) * 0.5;
  // A box wider than the largest double overflows the plain form.
  return std::isfinite(plain) ? plain : min * 0.5 + max * 0.5;
}
}  // namespace

void Editor::flattenSelection(Axis axis) {
  takeSnapshot();
  if (axis == kAxisU || axis == kAxisV) {
    computeSelectionBox(2);
    if (selectedUvs.count() >= 2) {
      for (UvPoint* uv : selectedUvs) {
        if (axis == kAxisU) {
          uv->u = middle(uvSelectionMin.u, uvSelectionMax.u);
        } else {
          uv->v = middle(uvSelectionMin.v, uvSelectionMax.v);
        }
      }
    }
  } else {
    computeSelectionBox(0);
    if (selectedVertices.count() >= 2) {
      for (Vertex* v : selectedVertices) {
        if (axis == kAxisX) {
          v->x = middle(selectionMin.x, selectionMax.x);
        } else if (axis == kAxisY) {
          v->y = middle(selectionMin.y, selectionMax.y);
        } else {
          v->z = middle(selectionMin.z, selectionMax.z);
        }
      }
    }
  }
  rebuildNormals();
}
