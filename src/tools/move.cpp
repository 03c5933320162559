// Move (contract in transforms.h) and its live offset (live_transform.h).

#include <algorithm>
#include <cmath>

#include "app/editor.h"
#include "model/skeleton.h"
#include "tools/live_transform.h"
#include "tools/polygon_ops.h"
#include "tools/transforms.h"
#include "tools/undo.h"
#include "tools/view_plane.h"

namespace {
void moveCoordinate(double& c, double by) {
  if (std::isfinite(c + by)) c += by;
}
}  // namespace

void updateMoveOffset(Editor& e) {
  const auto [dh, dv] = dragInActiveView(e);
  const int kind = e.views[e.activeView].kind;
  // In the UV view x carries u and y carries v, as in the Side view.
  if (auto offset = pointInViewPlane(kind == kUvView ? kSideView : kind, dh, dv)) {
    e.moveOffset = *offset;
  }
}

void moveSelection(Editor& e, double dx, double dy, double dz) {
  takeSnapshot(e);
  if (e.views[e.activeView].kind == kUvView) {
    // Texture coordinates stop at the edges of the texture.
    for (UvPoint* uv : e.selectedUvs) {
      uv->u = std::clamp(uv->u + dx, 0.0, 1.0);
      uv->v = std::clamp(uv->v + dy, 0.0, 1.0);
    }
  } else if (e.selectedVertices.empty()) {
    if (e.selectedBone) translateBone(e.selectedBone, dx, dy, dz);
  } else {
    for (Vertex* v : e.selectedVertices) {
      moveCoordinate(v->x, dx);
      moveCoordinate(v->y, dy);
      moveCoordinate(v->z, dz);
    }
  }
  rebuildNormals(e);
}
