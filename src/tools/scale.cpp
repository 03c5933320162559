// Scale 2D and 3D, the typed scale (contracts in transforms.h) and the live factors
// (live_transform.h).

#include <cmath>
#include <cstdio>

#include "document/undo.h"
#include "tools/live_transform.h"
#include "tools/mirror.h"
#include "tools/polygon_ops.h"
#include "tools/selection.h"
#include "tools/tool_context.h"
#include "tools/transforms.h"
#include "tools/view_plane.h"

namespace {

// Half a model unit of drag doubles the size; beyond -0.5 the factor mirrors.
double factorOf(double drag) {
  return drag * 2 + 1;
}

// One axis of the scale: the box [min, max] around `centre` grows to extent
// (max - min) * s with the same centre. `newMin` equals the centre exactly
// when the axis is to be left alone.
struct AxisScale {
  double min, max, centre, factor, newMin;
  AxisScale(double lo, double hi, double mid, double s)
      : min(lo), max(hi), centre(mid), factor(s), newMin(mid - (hi - lo) * s * 0.5) {}
  void apply(double& c) const {
    if (newMin == centre || factor == 0) return;
    double scaled = newMin + (c - min) / (max - min) * ((max - min) * factor);
    // A box wider than the largest double has no finite extent; the distance
    // to the centre still has one.
    if (!std::isfinite(scaled)) scaled = centre + (c - centre) * factor;
    if (std::isfinite(scaled)) c = scaled;
  }
};

// The selected vertices scaled about their box's centre; the Scale tools
// trace the centre, the new minimum and each vertex.
void scaleVertices(ToolContext& e, const Vec3& s, bool traced) {
  const SelectionBox box = computeSelectionBox(e, SelectionBoxOf::kVertices);
  const Vec3 lo = box.min, hi = box.max, c = box.centre;
  if (traced) std::printf("center x: %lf y: %lf z: %lf\n", c.x, c.y, c.z);
  const AxisScale x(lo.x, hi.x, c.x, s.x), y(lo.y, hi.y, c.y, s.y), z(lo.z, hi.z, c.z, s.z);
  if (traced) std::printf("min x: %lf y: %lf z: %lf\n", x.newMin, y.newMin, z.newMin);
  for (Vertex* vertex : e.doc.selectedVertices) {
    x.apply(vertex->x);
    y.apply(vertex->y);
    z.apply(vertex->z);
    if (traced) std::printf("test");
  }
}

}  // namespace

void updateScaleFactor(ToolContext& e) {
  const auto [dh, dv] = dragInActiveView(e);
  const double fh = snappedFactor(e, factorOf(dh)), fv = snappedFactor(e, factorOf(dv));
  const int kind = e.viewSet.views[e.viewSet.activeView].kind;
  if (kind == kFullView) return;
  if (e.toolState.tool == kScale3D) {
    e.toolState.scaleFactor = {fv, fv, fv};
    return;
  }
  if (kind == kUvView) {
    e.toolState.scaleFactor.x = fh;
    e.toolState.scaleFactor.y = fv;
  } else if (auto factor = pointInViewPlane(kind, fh, fv, /*depth=*/1)) {
    e.toolState.scaleFactor = *factor;
  }
}

void scaleSelection(ToolContext& e) {
  takeSnapshot(e.doc);
  MirrorFollow mirror(e);
  const Vec3 s = e.toolState.scaleFactor;
  if (e.viewSet.views[e.viewSet.activeView].kind == kUvView) {
    const SelectionBox box = computeSelectionBox(e, SelectionBoxOf::kUvs);
    const Vec3 lo = box.min, hi = box.max, c = box.centre;  // u in x, v in y
    const AxisScale u(lo.x, hi.x, c.x, s.x), v(lo.y, hi.y, c.y, s.y);
    for (UvPoint* uv : e.doc.selectedUvs) {
      u.apply(uv->u);
      v.apply(uv->v);
    }
  } else {
    scaleVertices(e, s, /*traced=*/true);
  }
  e.toolState.scaleFactor = {1, 1, 1};
  computeSelectionBox(e, SelectionBoxOf::kVertices);  // the box kept for the next preview
  mirror.apply();
  rebuildNormals(e);
}

void scaleSelectionBy(ToolContext& e, const Vec3& factors) {
  takeSnapshot(e.doc);
  MirrorFollow mirror(e);
  scaleVertices(e, factors, /*traced=*/false);
  computeSelectionBox(e, SelectionBoxOf::kVertices);
  mirror.apply();
  rebuildNormals(e);
}
