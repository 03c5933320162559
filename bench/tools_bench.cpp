// Editing tools on a 100,000-triangle grid in an Editor: extrude of 10,000
// selected triangles, duplicate of everything, a 64 x 64 surface of revolution
// from a 100-point spline, and move, rotate and scale of every vertex. Each
// figure includes the operation's undo snapshot and normal rebuild, which are
// also timed alone for comparison. The tools' trace goes to /dev/null.

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <memory>

#include "app/editor.h"
#include "bench_util.h"

namespace {

constexpr int kColumns = 250, kRows = 200;  // quads; two triangles each

// Standard output goes to /dev/null while this lives.
class QuietStdout {
 public:
  QuietStdout() : saved_(dup(1)) {
    std::fflush(stdout);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    close(null);
  }
  ~QuietStdout() {
    std::fflush(stdout);
    dup2(saved_, 1);
    close(saved_);
  }

 private:
  int saved_;
};

std::unique_ptr<Editor> gridEditor() {
  auto e = std::make_unique<Editor>();
  Model& m = *e->model;
  std::vector<Vertex*> v;
  for (int r = 0; r <= kRows; ++r) {
    for (int c = 0; c <= kColumns; ++c) {
      v.push_back(m.newVertex(c * 0.01, r * 0.01, std::sin(c * 0.1) * 0.05));
      m.vertices.pushFront(v.back());
    }
  }
  auto at = [&](int r, int c) { return v[r * (kColumns + 1) + c]; };
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      m.currentGroup->polygons.pushFront(m.newPolygon(at(r, c), at(r, c + 1), at(r + 1, c + 1)));
      m.currentGroup->polygons.pushFront(m.newPolygon(at(r, c), at(r + 1, c + 1), at(r + 1, c)));
    }
  }
  e->activeView = kSideView;
  return e;
}

void selectAllVertices(Editor& e) {
  e.selectedVertices.pushFrontAll(e.model->vertices);
}

void selectAllPolygons(Editor& e) {
  e.selectedPolygons.pushFrontAll(e.model->currentGroup->polygons);
}

// A strip of 10,000 neighbouring triangles (the newest 50 rows).
void selectTenThousandTriangles(Editor& e) {
  int n = 0;
  for (Polygon* p : e.model->currentGroup->polygons) {
    if (n++ == 10000) break;
    p->selected = 1;
    e.selectedPolygons.pushFront(p);
  }
}

void makeWavySpline(Editor& e) {
  for (int i = 0; i < 100; ++i) {
    e.splinePoints.pushFront(e.keepSplinePoint({i * 0.05, 1 + 0.5 * std::sin(i * 0.2), 0}));
  }
  e.currentSpline = std::make_unique<Spline>(e.splinePoints);
  e.cylinderSides = 64;
  e.cylinderLevels = 64;
}

void extrude(Editor& e) {
  e.prepareExtrude();
  e.extrudeSelection();
}

void scale(Editor& e) {
  e.scaleFactor = {2, 0.5, 1.5};
  e.scaleSelection();
}

double timed(const std::function<void(Editor&)>& prepare,
             const std::function<void(Editor&)>& work) {
  std::unique_ptr<Editor> e;
  QuietStdout quiet;
  return bench::medianMs(
      5,
      [&] {
        e = gridEditor();
        prepare(*e);
      },
      [&] { work(*e); });
}

}  // namespace

int main() {
  auto nothing = [](Editor&) {};
  bench::row("takeSnapshot alone", timed(nothing, [](Editor& e) { e.takeSnapshot(); }));
  bench::row("rebuildNormals alone", timed(nothing, [](Editor& e) { e.rebuildNormals(); }));
  bench::row("extrude 10k selected triangles", timed(selectTenThousandTriangles, extrude));
  bench::row("duplicate all 100k triangles",
             timed(selectAllPolygons, [](Editor& e) { e.duplicateSelection(); }));
  bench::row("revolve 100-point spline, 64 x 64",
             timed(makeWavySpline, [](Editor& e) { e.revolveSpline(); }));
  bench::row("move all vertices",
             timed(selectAllVertices, [](Editor& e) { e.moveSelection(1, 2, 3); }));
  bench::row("rotate all vertices",
             timed(selectAllVertices, [](Editor& e) { e.rotateSelection(0.3); }));
  bench::row("scale all vertices", timed(selectAllVertices, scale));
  return 0;
}
