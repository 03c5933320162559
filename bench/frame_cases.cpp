// Whole frames of the editor (drawFrame and glFinish) with the ball's vertex
// markers, in the four-view and the one-view layout, drawn the editor's way
// and the plain way (one glutSolidCube per vertex) for comparison. Each plain
// row notes how many times faster the editor's frame is and whether the two
// pictures are identical, pixel for pixel. Needs an X display (Xvfb).

#include <GL/glut.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/editor.h"
#include "app/editor_frame.h"
#include "bench_registry.h"
#include "bench_util.h"
#include "render/frame_draw.h"
#include "render/gl_platform.h"
#include "test_meshes.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;

void noDisplay() {}

}  // namespace

bool ensureBenchWindow() {
  static bool open = false;
  if (open) return true;
  if (!std::getenv("DISPLAY")) return false;
  int argc = 1;
  char name[] = "bench_frames";
  char* argv[] = {name, nullptr};
  ::openWindow(&argc, argv);
  glutDisplayFunc(noDisplay);
  setInitialGlState();
  open = true;
  return true;
}

namespace {

std::vector<unsigned char> readFrame() {
  return readBackBuffer(kWidth, kHeight);
}

int differingPixels(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
  int n = 0;
  for (size_t i = 0; i < a.size(); i += 3) {
    n += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
  }
  return n;
}

struct Layout {
  const char* name;
  int layoutMode;
  int renderMode;
};

}  // namespace

BENCH_CASE(70, "frames") {
  if (!ensureBenchWindow()) {
    std::fprintf(stderr, "no X display: frames skipped\n");
    return;
  }
  auto editor = bench::ballEditor(2 * context.size);  // a closed ball has half as many vertices
  Editor& e = *editor;
  Panel mainPanel("main", 100, 100, kWidth, kHeight, e.uiContext());
  e.setMainWidget(&mainPanel);
  e.layoutViews();
  e.mouseMoved(kWidth - 10, 10);
  e.drawing.keepViewPictures = false;  // every frame draws every view
  const int vertices = e.doc.model->vertices.count();
  // One glutSolidCube per vertex takes minutes at a million vertices.
  const bool withPlain = vertices <= 200000;

  const Layout layouts[] = {{"four views, wireframe", 1, kWireframe},
                            {"one view (Full), wireframe", 0, kWireframe},
                            {"four views, flat shaded", 1, kFlatShaded}};
  for (const Layout& layout : layouts) {
    e.viewSet.layoutMode = layout.layoutMode;
    for (Viewport& v : e.viewSet.views) v.renderMode = layout.renderMode;
    double ms[2] = {0, 0};
    std::vector<unsigned char> picture[2];
    for (int batched : {1, 0}) {
      if (!batched && !withPlain) continue;
      e.drawing.batchDrawing = batched;
      drawFrame(e);  // the first frame also sets up the light
      ms[batched] = bench::medianMs(
          context.runs, [] {},
          [&] {
            drawFrame(e);
            glFinish();
          });
      drawFrame(e);
      picture[batched] = readFrame();
    }
    report.row(std::string("frame, ") + layout.name, "ms", ms[1],
               reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    if (withPlain) {
      // Markers drawn from CPU corners may put an edge one pixel over.
      const int differ = differingPixels(picture[0], picture[1]);
      char note[160];
      std::snprintf(note, sizeof note,
                    "%d vertices; editor's frame %.1fx faster; %d pixels differ (%.4f%% of the "
                    "frame, %.4f a vertex)",
                    vertices, ms[0] / ms[1], differ, 100.0 * differ / (kWidth * kHeight),
                    static_cast<double>(differ) / vertices);
      report.row(std::string("frame, ") + layout.name + ", one cube per vertex", "ms", ms[0], note);
    }

    // The editor's frame with the vertex list set aside: no markers and no
    // points. No way of drawing markers can make a frame faster than this.
    e.drawing.batchDrawing = true;
    List<Vertex> setAside = std::move(e.doc.model->vertices);
    const double shared = bench::medianMs(
        context.runs, [] {},
        [&] {
          drawFrame(e);
          glFinish();
        });
    e.doc.model->vertices = std::move(setAside);
    char note[96];
    std::snprintf(note, sizeof note, "the markers cost %.1f ms of the editor's frame",
                  ms[1] - shared);
    report.row(std::string("frame, ") + layout.name + ", without vertex markers", "ms", shared,
               note);
  }
}
