// Move, the typed move (contracts in transforms.h) and the live offset (live_transform.h).

#include <algorithm>
#include <cmath>

#include "document/undo.h"
#include "model/skeleton.h"
#include "tools/live_transform.h"
#include "tools/mirror.h"
#include "tools/polygon_ops.h"
#include "tools/tool_context.h"
#include "tools/transforms.h"
#include "tools/view_plane.h"

namespace {
void moveCoordinate(double& c, double by) {
  if (std::isfinite(c + by)) c += by;
}

void moveVerticesOrBone(ToolContext& e, const Vec3& by) {
  if (e.doc.selectedVertices.empty()) {
    if (e.doc.selectedBone) translateBone(e.doc.selectedBone, by.x, by.y, by.z);
    return;
  }
  for (Vertex* v : e.doc.selectedVertices) {
    moveCoordinate(v->x, by.x);
    moveCoordinate(v->y, by.y);
    moveCoordinate(v->z, by.z);
  }
}
}  // namespace

void updateMoveOffset(ToolContext& e) {
  const auto [dh, dv] = snappedDrag(e);
  const int kind = e.viewSet.views[e.viewSet.activeView].kind;
  // In the UV view x carries u and y carries v, as in the Side view.
  if (auto offset = pointInViewPlane(kind == kUvView ? kSideView : kind, dh, dv)) {
    e.toolState.moveOffset = *offset;
  }
}

void moveSelection(ToolContext& e, double dx, double dy, double dz) {
  takeSnapshot(e.doc);
  MirrorFollow mirror(e);
  if (e.viewSet.views[e.viewSet.activeView].kind == kUvView) {
    // Texture coordinates stop at the edges of the texture.
    for (UvPoint* uv : e.doc.selectedUvs) {
      uv->u = std::clamp(uv->u + dx, 0.0, 1.0);
      uv->v = std::clamp(uv->v + dy, 0.0, 1.0);
    }
  } else {
    moveVerticesOrBone(e, {dx, dy, dz});
  }
  mirror.apply();
  rebuildNormals(e);
}

void moveSelectionBy(ToolContext& e, const Vec3& by) {
  takeSnapshot(e.doc);
  MirrorFollow mirror(e);
  moveVerticesOrBone(e, by);
  mirror.apply();
  rebuildNormals(e);
}
