#include "view/view_fit.h"

#include <algorithm>
#include <cmath>

#include "view/view_layout.h"

namespace {

constexpr double kMargin = 1.1;
constexpr double kStartDepth = 100;

// The box's extent on the view's horizontal and vertical axes: Side shows x
// and y, Front z and y, Top z and x.
void planeRange(int kind, const Vec3& p, double& h, double& v) {
  h = kind == kSideView ? p.x : p.z;
  v = kind == kTopView ? p.x : p.y;
}

double farthestCorner(const ModelBounds& box, const Vec3& from) {
  const double dx = std::max(std::abs(box.min.x - from.x), std::abs(box.max.x - from.x));
  const double dy = std::max(std::abs(box.min.y - from.y), std::abs(box.max.y - from.y));
  const double dz = std::max(std::abs(box.min.z - from.z), std::abs(box.max.z - from.z));
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace

void ModelBounds::add(double x, double y, double z) {
  if (empty) {
    min = max = {x, y, z};
    empty = false;
    return;
  }
  min = {std::min(min.x, x), std::min(min.y, y), std::min(min.z, z)};
  max = {std::max(max.x, x), std::max(max.y, y), std::max(max.z, z)};
}

void fitView(Viewport& view, const ModelBounds& target, const ModelBounds& whole) {
  if (target.empty) return;
  const Vec3 centre = target.centre();
  double h = 0, v = 0, halfWidth, halfHeight;
  Vec3 pivot = view.pivot;
  if (view.kind == kFullView) {
    pivot = centre;
    halfWidth = halfHeight = farthestCorner(target, centre);
  } else {
    double h0, v0, h1, v1;
    planeRange(view.kind, target.min, h0, v0);
    planeRange(view.kind, target.max, h1, v1);
    h = (h0 + h1) / 2, v = (v0 + v1) / 2;
    halfWidth = (h1 - h0) / 2, halfHeight = (v1 - v0) / 2;
  }
  const double aspect = view.pixelHeight / view.pixelWidth;
  const double zoom = std::max({1.0, halfWidth * kMargin, halfHeight * kMargin / aspect});
  const double depth =
      std::max(kStartDepth, kMargin * std::max(farthestCorner(whole.empty ? target : whole, pivot),
                                               farthestCorner(target, pivot)));
  if (!std::isfinite(zoom) || !std::isfinite(depth) || !std::isfinite(h) || !std::isfinite(v))
    return;
  view.pivot = pivot;
  view.zoom = zoom;
  view.depth = depth;
  view.left = view.right = h;
  view.bottom = view.top = v;
  applyZoom(view);
}

namespace {

GridLines linesBetween(double low, double high, double pixelsPerUnit) {
  GridLines lines;
  if (!(pixelsPerUnit > 0) || !std::isfinite(low) || !std::isfinite(high)) return lines;
  while (lines.step * pixelsPerUnit < ViewGrid::kMinGridGap && std::isfinite(lines.step * 10))
    lines.step *= 10;
  // A unit grid starts at the whole number toward zero from the edge; a
  // coarser one at the multiple of its step likewise.
  lines.first = std::trunc(low / lines.step) * lines.step;
  const double count = std::ceil((high - lines.first) / lines.step);
  lines.count = count > 0 ? static_cast<int>(std::min(count, 1e6)) : 0;
  return lines;
}

}  // namespace

ViewGrid viewGrid(const Viewport& view) {
  ViewGrid grid;
  const double pixelsPerUnit = view.pixelWidth / (view.right - view.left);
  grid.across = linesBetween(view.left, view.right, pixelsPerUnit);
  grid.up = linesBetween(view.bottom, view.top, pixelsPerUnit);
  const double farthest = std::max(
      {std::abs(view.left), std::abs(view.right), std::abs(view.bottom), std::abs(view.top)});
  if (std::isfinite(farthest)) grid.reach = std::max(grid.reach, 10 * farthest);
  return grid;
}
