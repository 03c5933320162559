// Selection, polygon operations and undo on a 100,000-triangle grid in an
// Editor: each must stay instant at this size. The trace lines that some
// operations print per polygon go to /dev/null while they are timed.

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "app/editor.h"
#include "app/input_codes.h"
#include "bench_util.h"

namespace {

constexpr int kColumns = 250, kRows = 200;  // 50,000 quads, two triangles each

// Sends standard output to /dev/null for as long as it lives.
class QuietStdout {
 public:
  QuietStdout() {
    std::fflush(stdout);
    saved_ = dup(1);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    close(null);
  }
  ~QuietStdout() {
    std::fflush(stdout);
    dup2(saved_, 1);
    close(saved_);
  }
  QuietStdout(const QuietStdout&) = delete;
  QuietStdout& operator=(const QuietStdout&) = delete;

 private:
  int saved_ = -1;
};

// A flat grid in the Side view's plane: vertex (i, j, 0) for every column and
// row corner, each quad split into two triangles.
void buildGrid(Editor& e) {
  e.undoStack.clear();
  e.replaceModel(std::make_unique<Model>("grid", e.model->textures));
  Model& m = *e.model;
  std::vector<Vertex*> at((kColumns + 1) * (kRows + 1));
  for (int j = 0; j <= kRows; ++j) {
    for (int i = 0; i <= kColumns; ++i) {
      Vertex* v = m.newVertex(i, j, 0);
      m.vertices.pushFront(v);
      at[j * (kColumns + 1) + i] = v;
    }
  }
  for (int j = 0; j < kRows; ++j) {
    for (int i = 0; i < kColumns; ++i) {
      Vertex* v00 = at[j * (kColumns + 1) + i];
      Vertex* v10 = at[j * (kColumns + 1) + i + 1];
      Vertex* v01 = at[(j + 1) * (kColumns + 1) + i];
      Vertex* v11 = at[(j + 1) * (kColumns + 1) + i + 1];
      m.currentGroup->polygons.pushFront(m.newPolygon(v00, v10, v11));
      m.currentGroup->polygons.pushFront(m.newPolygon(v00, v11, v01));
    }
  }
}

void selectEverythingInSide(Editor& e, int modifiers) {
  e.activeView = kSideView;
  e.setModifiers(modifiers);
  e.selectInRect(-1, -1, kColumns + 1, kRows + 1);
}

}  // namespace

int main() {
  const int runs = 5;
  Editor e;
  buildGrid(e);
  std::printf("grid: %d vertices, %d triangles\n", e.model->vertices.count(),
              e.model->currentGroup->polygons.count());
  auto nothing = [] {};

  e.tool = kSelectVertex;
  auto clearVertices = [&] { e.selectedVertices.clear(); };
  auto replaceAll = [&] { selectEverythingInSide(e, 0); };
  auto addAll = [&] { selectEverythingInSide(e, kShift); };
  bench::row("select all vertices by rectangle, replace",
             bench::medianMs(runs, clearVertices, replaceAll));
  bench::row("select all vertices by rectangle, add to all",
             bench::medianMs(runs, replaceAll, addAll));

  e.tool = kSelectPolygon;
  auto deselect = [&] { e.deselectPolygons(); };
  auto selectPolygons = [&] {
    QuietStdout quiet;  // "Found polygon!" for each
    e.selectAllPolygons();
    selectEverythingInSide(e, 0);
  };
  bench::row("select all polygons + polygon rectangle",
             bench::medianMs(runs, deselect, selectPolygons));
  e.tool = kSelectVertex;

  auto gridWithLeftHalfSelected = [&] {
    buildGrid(e);
    for (Vertex* v : e.model->vertices) {
      if (v->x < kColumns / 2) e.selectedVertices.pushFront(v);
    }
  };
  auto deleteSelection = [&] { e.deleteSelection(); };
  bench::row("delete half the vertices",
             bench::medianMs(runs, gridWithLeftHalfSelected, deleteSelection));

  auto gridWithScatteredSelection = [&] {
    buildGrid(e);
    int n = 0;
    for (Vertex* v : e.model->vertices) {
      if (n++ % 50 == 0 && e.selectedVertices.count() < 1000) e.selectedVertices.pushFront(v);
    }
  };
  auto weld = [&] { e.weldSelectedVertices(); };
  bench::row("weld 1,000 vertices", bench::medianMs(runs, gridWithScatteredSelection, weld));

  buildGrid(e);
  for (Polygon* p : e.model->currentGroup->polygons) p->smooth = 1;
  auto rebuild = [&] { e.rebuildNormals(); };
  bench::row("rebuild normals, every polygon smooth", bench::medianMs(runs, nothing, rebuild));

  auto selectAll = [&] {
    e.undoStack.clear();
    e.selectAllPolygons();
  };
  auto orient = [&] {
    QuietStdout quiet;
    e.orientPolygonsOutward();
  };
  auto uvMap = [&] {
    QuietStdout quiet;  // four lines per polygon
    e.uvMapSelected(e.views[kSideView]);
  };
  bench::row("orient all polygons outward", bench::medianMs(runs, selectAll, orient));
  bench::row("UV map all polygons", bench::medianMs(runs, selectAll, uvMap));

  auto emptyStack = [&] { e.undoStack.clear(); };
  auto snapshot = [&] { e.takeSnapshot(); };
  auto oneSnapshot = [&] {
    e.undoStack.clear();
    e.takeSnapshot();
  };
  auto undo = [&] { e.undo(); };
  bench::row("take a snapshot", bench::medianMs(runs, emptyStack, snapshot));
  bench::row("undo", bench::medianMs(runs, oneSnapshot, undo));

  e.undoStack.clear();
  for (int i = 0; i < e.undoLimit; ++i) e.takeSnapshot();
  size_t held = 0;
  for (const Snapshot& s : e.undoStack) held += s.image.memoryBytes();
  std::printf("%-48s %10.1f MB\n", "memory held by a full undo stack (50 snapshots)",
              held / 1048576.0);
  return e.model->currentGroup->polygons.count() == 0;
}
