// Create Spline: each click adds a control point on the active view's plane
// and, from the second point on, refits the spline through all of them. In the
// Full and UV views nothing is added. Neither the points nor the spline belong
// to the model, so no snapshot is taken.

#include <memory>

#include "app/editor.h"
#include "tools/view_plane.h"

void Editor::addSplinePoint() {
  auto p = pointUnderMouse(*this);
  if (!p) return;
  splinePoints.pushFront(keepSplinePoint(*p));
  if (splinePoints.count() > 1) currentSpline = std::make_unique<Spline>(splinePoints);
}

void Editor::clearSpline() {
  splinePoints.clear();
  currentSpline.reset();
}
