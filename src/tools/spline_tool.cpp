// Create Spline (contract in spline_tool.h).

#include <memory>

#include "app/editor.h"
#include "tools/spline.h"
#include "tools/spline_tool.h"
#include "tools/view_plane.h"

void addSplinePoint(Editor& e) {
  auto p = pointUnderMouse(e);
  if (!p) return;
  e.splinePoints.pushFront(e.keepSplinePoint(*p));
  if (e.splinePoints.count() > 1) e.currentSpline = std::make_unique<Spline>(e.splinePoints);
}

void clearSpline(Editor& e) {
  e.splinePoints.clear();
  e.currentSpline.reset();
}
