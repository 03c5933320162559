// Create Spline (contract in spline_tool.h).

#include <memory>

#include "tools/spline.h"
#include "tools/spline_tool.h"
#include "tools/tool_context.h"
#include "tools/view_plane.h"

void addSplinePoint(ToolContext& e) {
  auto p = pointUnderMouse(e);
  if (!p) return;
  e.toolState.splinePoints.pushFront(e.toolState.keepSplinePoint(*p));
  if (e.toolState.splinePoints.count() > 1)
    e.toolState.currentSpline = std::make_unique<Spline>(e.toolState.splinePoints);
}

void clearSpline(ToolContext& e) {
  e.toolState.splinePoints.clear();
  e.toolState.currentSpline.reset();
}
