// Rotate and the typed rotation (contracts in transforms.h).

#include <cmath>
#include <numbers>

#include "document/undo.h"
#include "tools/mirror.h"
#include "tools/polygon_ops.h"
#include "tools/selection.h"
#include "tools/tool_context.h"
#include "tools/transforms.h"

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

namespace {

// Turns the selected vertices about their box's centre by rotatePoint's angles.
void turnSelected(ToolContext& e, double ax, double ay, double az) {
  const Vec3 centre = computeSelectionBox(e, SelectionBoxOf::kVertices).centre;
  for (Vertex* v : e.doc.selectedVertices) {
    Vec3 p{v->x, v->y, v->z};
    rotatePoint(centre, p, ax, ay, az);
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) continue;
    v->x = p.x;
    v->y = p.y;
    v->z = p.z;
  }
}

}  // namespace

void rotateSelection(ToolContext& e, double angle) {
  takeSnapshot(e.doc);
  MirrorFollow mirror(e);
  switch (e.viewSet.views[e.viewSet.activeView].kind) {
    case kSideView:
      turnSelected(e, 0, 0, angle);
      break;
    case kFrontView:
      turnSelected(e, angle, 0, 0);
      break;
    case kTopView:
      turnSelected(e, 0, angle, 0);
      break;
    default:
      computeSelectionBox(e, SelectionBoxOf::kVertices);
      break;
  }
  mirror.apply();
  rebuildNormals(e);
}

void rotateSelectionAbout(ToolContext& e, Axis axis, double degrees) {
  takeSnapshot(e.doc);
  MirrorFollow mirror(e);
  const double angle = degrees * std::numbers::pi / 180;
  // rotatePoint turns about X and Y counter-clockwise seen from the axis'
  // positive end, but about Z the other way.
  turnSelected(e, axis == kAxisX ? angle : 0, axis == kAxisY ? angle : 0,
               axis == kAxisZ ? -angle : 0);
  mirror.apply();
  rebuildNormals(e);
}
