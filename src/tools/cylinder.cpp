// Create Cylinder (contract in creation.h).

#include <cmath>
#include <cstdio>
#include <vector>

#include "document/undo.h"
#include "tools/creation.h"
#include "tools/snapping.h"
#include "tools/tool_context.h"
#include "tools/tube_mesh.h"

void createCylinder(ToolContext& e) {
  const Viewport& view = e.viewSet.views[e.viewSet.activeView];
  const int kind = view.kind;
  if (kind != kSideView && kind != kFrontView && kind != kTopView) return;
  takeSnapshot(e.doc);

  const auto [hp, vp] = snappedViewPoint(e, e.pointer.pressX, e.pointer.pressY);
  const auto [hr, vr] = snappedViewPoint(e, e.pointer.mouseX, e.pointer.mouseY);
  BoxCorners& c = e.toolState.boxCorner;
  switch (kind) {
    case kSideView:  // axis along X
      c = {hp, hr, vp, vr, 0, std::fabs(vr - vp)};
      break;
    case kFrontView:  // axis along Z
      c = {0, std::fabs(vr - vp), vp, vr, hp, hr};
      break;
    default:  // Top, axis along Z
      c = {vp, vr, 0, std::fabs(vr - vp), hp, hr};
      break;
  }
  sortPair(c.x0, c.x1);
  sortPair(c.y0, c.y1);
  sortPair(c.z0, c.z1);

  // a and b centre the cross-section on the view's vertical and depth axes.
  double r, a, b;
  if (kind == kSideView) {
    r = std::fabs((c.y1 - c.y0) * 0.5);
    a = c.y0 + r;
    b = c.z0 + r;
  } else if (kind == kFrontView) {
    r = std::fabs((c.y1 - c.y0) * 0.5);
    a = c.y0 + r;
    b = c.x0 + r;
  } else {
    r = std::fabs((c.x1 - c.x0) * 0.5);
    a = c.x0 + r;
    b = c.y0 + r;
  }
  std::printf("radius: %lf cx: %lf cy: %lf [%lf %lf %lf %lf %lf %lf]\n", r, b, a, c.x0, c.x1, c.y0,
              c.y1, c.z0, c.z1);

  const int levels = e.toolState.cylinderLevels, sides = e.toolState.cylinderSides;
  const double lo = kind == kSideView ? c.x0 : c.z0;
  const double hi = kind == kSideView ? c.x1 : c.z1;
  auto at = [&](double t, double cosT, double sinT) -> Vec3 {
    if (kind == kSideView) return {t, a + r * cosT, b + r * sinT};
    if (kind == kFrontView) return {b + r * cosT, a + r * sinT, t};
    return {a + r * sinT, b + r * cosT, t};
  };
  std::vector<Vec3> points;
  points.reserve((levels + 1) * sides + 2);
  for (int i = 0; i <= levels; ++i) {
    const double t = lo + static_cast<double>(i) / levels * (hi - lo);
    for (int k = 0; k < sides; ++k) {
      const double theta = k * 360.0 / sides * kRadiansPerDegree;
      points.push_back(at(t, std::cos(theta), std::sin(theta)));
    }
  }
  if (kind == kSideView) {
    points.push_back({c.x0, a, b});
    points.push_back({c.x1, a, b});
  } else if (kind == kFrontView) {
    points.push_back({b, a, c.z0});
    points.push_back({b, a, c.z1});
  } else {
    points.push_back({a, b, c.z0});
    points.push_back({a, b, c.z1});
  }
  addClosedTube(e, points, levels, sides);
}
