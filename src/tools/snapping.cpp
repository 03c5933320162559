// Snapping of the mouse tools (contracts in snapping.h).

#include "tools/snapping.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>

#include "tools/tool_context.h"

namespace {

constexpr double kVertexReachPixels = 8;
constexpr double kAngleStep = std::numbers::pi / 12;  // 15 degrees

bool snapsIn(const ToolContext& e) {
  const int kind = e.viewSet.views[e.viewSet.activeView].kind;
  return e.toolState.snapping.mode != SnapMode::kOff &&
         (kind == kSideView || kind == kFrontView || kind == kTopView);
}

double onGrid(double c, double step) {
  return std::round(c / step) * step;
}

// Where the view shows a vertex: Side (x, y), Front (z, y), Top (z, x).
ViewPoint shownAt(int kind, const Vertex& v) {
  if (kind == kSideView) return {v.x, v.y};
  if (kind == kFrontView) return {v.z, v.y};
  return {v.z, v.x};
}

// The nearest vertex within reach, measured in pixels, or the point itself.
ViewPoint nearestVertex(const ToolContext& e, ViewPoint p) {
  const Viewport& view = e.viewSet.views[e.viewSet.activeView];
  const double perH = view.pixelWidth / (view.right - view.left);
  const double perV = view.pixelHeight / (view.top - view.bottom);
  double best = kVertexReachPixels * kVertexReachPixels;
  ViewPoint found = p;
  for (const Vertex* v : e.doc.model->vertices) {
    const ViewPoint q = shownAt(view.kind, *v);
    const double dh = (q.h - p.h) * perH, dv = (q.v - p.v) * perV;
    const double d = dh * dh + dv * dv;
    if (d <= best) best = d, found = q;
  }
  return found;
}

}  // namespace

ViewPoint snappedViewPoint(const ToolContext& e, double px, double py) {
  const Viewport& view = e.viewSet.views[e.viewSet.activeView];
  const ViewPoint p{view.viewX(px), view.viewY(py)};
  if (!snapsIn(e)) return p;
  const Snapping& s = e.toolState.snapping;
  if (s.mode == SnapMode::kVertex) return nearestVertex(e, p);
  return {onGrid(p.h, s.step), onGrid(p.v, s.step)};
}

ViewPoint snappedDrag(const ToolContext& e) {
  const Viewport& view = e.viewSet.views[e.viewSet.activeView];
  const ViewPoint raw{view.viewX(e.pointer.mouseX) - view.viewX(e.pointer.pressX),
                      view.viewY(e.pointer.mouseY) - view.viewY(e.pointer.pressY)};
  if (!snapsIn(e)) return raw;
  const Snapping& s = e.toolState.snapping;
  if (s.mode == SnapMode::kGrid) return {onGrid(raw.h, s.step), onGrid(raw.v, s.step)};
  const ViewPoint from = snappedViewPoint(e, e.pointer.pressX, e.pointer.pressY);
  const ViewPoint to = snappedViewPoint(e, e.pointer.mouseX, e.pointer.mouseY);
  return {to.h - from.h, to.v - from.v};
}

double snappedAngle(const ToolContext& e, double radians) {
  return snapsIn(e) ? onGrid(radians, kAngleStep) : radians;
}

double snappedFactor(const ToolContext& e, double factor) {
  return snapsIn(e) ? onGrid(factor, 0.1) : factor;
}

void toggleSnapping(Snapping& s) {
  if (s.mode == SnapMode::kOff) {
    s.mode = s.lastOn;
  } else {
    s.lastOn = s.mode;
    s.mode = SnapMode::kOff;
  }
}

std::string snappingLabel(const Snapping& s) {
  if (s.mode == SnapMode::kOff) return "";
  if (s.mode == SnapMode::kVertex) return "snap vertex";
  char text[48];
  std::snprintf(text, sizeof text, "snap %g", s.step);
  return text;
}
