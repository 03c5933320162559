#pragma once
// Where the mouse tools put things: the model point a flat view shows at a
// pair of view coordinates, and the drag in view units. The flat views give
// 0 to their depth axis; the Full and UV views show no model plane.

#include <optional>

#include "tools/snapping.h"
#include "tools/tool_context.h"

// "Side" shows (h, v) as (x, y), "Front" as (z, y), "Top" as (z, x); the
// axis the view does not show gets `depth`.
inline std::optional<Vec3> pointInViewPlane(int viewKind, double h, double v, double depth = 0) {
  switch (viewKind) {
    case kSideView:
      return Vec3{h, v, depth};
    case kFrontView:
      return Vec3{depth, v, h};
    case kTopView:
      return Vec3{v, depth, h};
    default:
      return std::nullopt;
  }
}

// The point under the pointer in the active view, snapped.
inline std::optional<Vec3> pointUnderMouse(const ToolContext& e) {
  const ViewPoint p = snappedViewPoint(e, e.pointer.mouseX, e.pointer.mouseY);
  return pointInViewPlane(e.viewSet.views[e.viewSet.activeView].kind, p.h, p.v);
}

// The drag from the press point to the pointer, in the active view's units.
struct ViewDrag {
  double dh, dv;
};
inline ViewDrag dragInActiveView(const ToolContext& e) {
  const Viewport& view = e.viewSet.views[e.viewSet.activeView];
  return {view.viewX(e.pointer.mouseX) - view.viewX(e.pointer.pressX),
          view.viewY(e.pointer.mouseY) - view.viewY(e.pointer.pressY)};
}
