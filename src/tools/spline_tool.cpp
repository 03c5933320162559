// Create Spline: each click adds a control point on the active view's plane
// and, from the second point on, refits the spline through all of them. In the
// Full and UV views nothing is added. Neither the points nor the spline belong
// to the model, so no snapshot is taken.

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
