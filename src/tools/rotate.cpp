// Rotate (contract in transforms.h).

#include <cmath>

#include "app/editor.h"
#include "tools/polygon_ops.h"
#include "tools/selection.h"
#include "tools/transforms.h"
#include "tools/undo.h"

void rotatePoint(const Vec3& centre, Vec3& point, double ax, double ay, double az) {
  double x = point.x - centre.x, y = point.y - centre.y, z = point.z - centre.z;
  double x1 = x * std::cos(ay) + z * std::sin(ay);
  double z1 = z * std::cos(ay) - x * std::sin(ay);
  double y1 = y * std::cos(ax) - z1 * std::sin(ax);
  double z2 = y * std::sin(ax) + z1 * std::cos(ax);
  double x2 = x1 * std::cos(az) + y1 * std::sin(az);
  double y2 = y1 * std::cos(az) - x1 * std::sin(az);
  point = {x2 + centre.x, y2 + centre.y, z2 + centre.z};
}

void rotateSelection(Editor& e, double angle) {
  takeSnapshot(e);
  const Vec3 centre = computeSelectionBox(e, SelectionBoxOf::kVertices).centre;
  double ax = 0, ay = 0, az = 0;
  switch (e.views[e.activeView].kind) {
    case kSideView:
      az = angle;
      break;
    case kFrontView:
      ax = angle;
      break;
    case kTopView:
      ay = angle;
      break;
    default:
      rebuildNormals(e);
      return;
  }
  for (Vertex* v : e.selectedVertices) {
    Vec3 p{v->x, v->y, v->z};
    rotatePoint(centre, p, ax, ay, az);
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) continue;
    v->x = p.x;
    v->y = p.y;
    v->z = p.z;
  }
  rebuildNormals(e);
}
