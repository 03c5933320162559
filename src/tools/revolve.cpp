// The 'w' key's surface of revolution (contract in spline_tool.h).

#include <cmath>
#include <cstdio>
#include <vector>

#include "document/undo.h"
#include "tools/spline.h"
#include "tools/spline_tool.h"
#include "tools/tool_context.h"
#include "tools/tube_mesh.h"

void revolveSpline(ToolContext& e) {
  if (!e.toolState.currentSpline || e.viewSet.views[e.viewSet.activeView].kind != kSideView) return;
  const Spline& spline = *e.toolState.currentSpline;
  if (!spline.isFinite()) return;
  takeSnapshot(e.doc);

  // The axis sits half the vertical extent of the last press-to-pointer span
  // away from the z = 0 plane, at the height of the curve's lowest sample.
  const Viewport& view = e.viewSet.views[e.viewSet.activeView];
  BoxCorners& c = e.toolState.boxCorner;
  c.x0 = spline.xMin();
  c.x1 = spline.xMax();
  c.y0 = view.viewY(e.pointer.pressY);
  c.y1 = view.viewY(e.pointer.mouseY);
  c.z0 = 0;
  c.z1 = std::fabs(c.y1 - c.y0);
  sortPair(c.x0, c.x1);
  sortPair(c.y0, c.y1);
  sortPair(c.z0, c.z1);
  const double r = std::fabs((c.y1 - c.y0) * 0.5);
  const double cz = c.z0 + r;
  const double cy = spline.minimum(e.toolState.cylinderLevels);
  std::printf("radius: %lf cx: %lf cy: %lf [%lf %lf %lf %lf %lf %lf]\n", r, cz, cy, c.x0, c.x1,
              c.y0, c.y1, c.z0, c.z1);

  // The ring radius is the curve's value itself, not its height above cy.
  const int levels = e.toolState.cylinderLevels, sides = e.toolState.cylinderSides;
  std::vector<Vec3> points;
  points.reserve((levels + 1) * sides + 2);
  for (int i = 0; i <= levels; ++i) {
    const double x = c.x0 + static_cast<double>(i) / levels * (c.x1 - c.x0);
    const double w = spline.evaluate(x);
    for (int k = 0; k < sides; ++k) {
      const double theta = k * 360.0 / sides * kRadiansPerDegree;
      points.push_back({x, cy + w * std::cos(theta), cz + w * std::sin(theta)});
    }
  }
  points.push_back({c.x0, cy, cz});
  points.push_back({c.x1, cy, cz});
  addClosedTube(e, points, levels, sides);
}
