// Editing operations on the whole model, each on a fresh copy of the ball and
// including its undo snapshot and normal rebuild where the operation takes them.

#include <cmath>
#include <functional>
#include <memory>

#include "bench_registry.h"
#include "bench_util.h"
#include "test_meshes.h"
#include "tools/polygon_ops.h"
#include "tools/selection.h"
#include "tools/spline.h"
#include "tools/spline_tool.h"
#include "tools/transforms.h"

namespace {

// The median of `work` on a fresh ball prepared by `prepare`.
double onFreshBall(const bench::Context& context, const std::function<void(Editor&)>& prepare,
                   const std::function<void(Editor&)>& work) {
  std::unique_ptr<Editor> e;
  return bench::medianMs(
      context.runs,
      [&] {
        e.reset();  // the previous copy goes first, so two never share the memory
        e = bench::ballEditor(context.size, /*extras=*/true);
        prepare(*e);
      },
      [&] { work(*e); });
}

void selectAllTriangles(Editor& e) {
  selectAllPolygons(e);
}

// The newest 10,000 triangles (whole rings at one pole), or all of a smaller ball.
void selectTenThousandTriangles(Editor& e) {
  int n = 0;
  for (Polygon* p : e.doc.model->currentGroup->polygons) {
    if (n++ == 10000) break;
    p->selected = 1;
    e.doc.selectedPolygons.pushFront(p);
  }
}

// 1,000 vertices spread evenly over the model's list.
void selectThousandVertices(Editor& e) {
  const int step = std::max(1, e.doc.model->vertices.count() / 1000);
  int n = 0;
  for (Vertex* v : e.doc.model->vertices) {
    if (n++ % step == 0 && e.doc.selectedVertices.count() < 1000)
      e.doc.selectedVertices.pushFront(v);
  }
}

void selectHalfTheVertices(Editor& e) {
  e.setModifiers(0);
  selectInRect(e, -10, -10, 0, 10);  // x < 0 in the Side view
}

void makeWavySpline(Editor& e) {
  for (int i = 0; i < 100; ++i) {
    e.toolState.splinePoints.pushFront(
        e.toolState.keepSplinePoint({i * 0.05, 1 + 0.5 * std::sin(i * 0.2), 0}));
  }
  e.toolState.currentSpline = std::make_unique<Spline>(e.toolState.splinePoints);
  e.toolState.cylinderSides = 64;
  e.toolState.cylinderLevels = 64;
}

}  // namespace

BENCH_CASE(30, "edits") {
  auto row = [&](const char* name, const std::function<void(Editor&)>& prepare,
                 const std::function<void(Editor&)>& work) {
    report.row(name, "ms", onFreshBall(context, prepare, work));
  };
  row("delete half the vertices", selectHalfTheVertices, [](Editor& e) { deleteSelection(e); });
  row("weld 1,000 vertices", selectThousandVertices, [](Editor& e) { weldSelectedVertices(e); });
  row("extrude 10,000 triangles", selectTenThousandTriangles, [](Editor& e) {
    prepareExtrude(e);
    extrudeSelection(e);
  });
  row("duplicate all triangles", selectAllTriangles, [](Editor& e) { duplicateSelection(e); });
  row("planar UV map of all triangles (Side)", selectAllTriangles,
      [](Editor& e) { uvMapSelected(e, e.viewSet.views[kSideView]); });
  row("revolve a 100-point spline, 64 sides x 64 levels", makeWavySpline,
      [](Editor& e) { revolveSpline(e); });
  row("subdivide 10,000 triangles", selectTenThousandTriangles,
      [](Editor& e) { subdivideSelection(e); });
  row("merge all vertices within 0.001", selectAllVertices,
      [](Editor& e) { mergeSelectedVertices(e, 0.001); });
  row("move all vertices", selectAllVertices, [](Editor& e) { moveSelection(e, 0.5, 0.25, 0); });
  row("rotate all vertices", selectAllVertices, [](Editor& e) { rotateSelection(e, 0.3); });
  row("scale all vertices", selectAllVertices, [](Editor& e) {
    e.toolState.scaleFactor = {2, 0.5, 1.5};
    scaleSelection(e);
  });
}

// Operations that take no snapshot, repeated on one ball.
BENCH_CASE(30, "normals and facing") {
  auto editor = bench::ballEditor(context.size, /*extras=*/true);
  Editor& e = *editor;
  for (Polygon* p : e.doc.model->currentGroup->polygons) p->smooth = 1;
  auto nothing = [] {};
  report.row("rebuild normals, every polygon smooth", "ms",
             bench::medianMs(context.runs, nothing, [&] { rebuildNormals(e); }));
  selectAllPolygons(e);
  report.row("orient all triangles outward", "ms",
             bench::medianMs(context.runs, nothing, [&] { orientPolygonsOutward(e); }));
}
