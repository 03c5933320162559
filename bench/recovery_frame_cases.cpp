// Frames (four views, flat shaded) that start as the recovery writer starts capturing and writing
// the model copied for it, against frames without a write. Needs an X display (Xvfb).

#include <GL/freeglut.h>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

#include "app/editor.h"
#include "app/editor_frame.h"
#include "bench_registry.h"
#include "bench_util.h"
#include "formats/model_file.h"
#include "model/marks.h"
#include "recovery/recovery_writer.h"
#include "render/frame_draw.h"
#include "render/gl_platform.h"
#include "test_meshes.h"

namespace {

void noDisplay() {}

// The window of the frame cases when they ran first, else one of our own.
bool haveWindow() {
  if (glutGet(GLUT_INIT_STATE)) return true;
  if (!std::getenv("DISPLAY")) return false;
  int argc = 1;
  char name[] = "bench_frames";
  char* argv[] = {name, nullptr};
  openWindow(&argc, argv);
  glutDisplayFunc(noDisplay);
  setInitialGlState();
  return true;
}

}  // namespace

BENCH_CASE(71, "frames during a recovery write") {
  if (!haveWindow()) return;
  auto editor = bench::ballEditor(2 * context.size);  // as many vertices as the frame cases
  Editor& e = *editor;
  Panel mainPanel("main", 100, 100, 800, 600, e.uiContext());
  e.setMainWidget(&mainPanel);
  e.layoutViews();
  for (Viewport& v : e.viewSet.views) v.renderMode = kFlatShaded;
  bench::ScratchDirectory scratch;
  const std::string path = scratch.file(".ball.recover");
  const RecoveryContents contents{0, path, {"ball", nullptr}, {}};
  RecoveryWriter writer;
  // Two kinds of frame: one drawn from the kept view pictures (a pointer move)
  // and one that draws every view again (an edit). Frames with and without a
  // write take turns, so that the machine's other load weighs on both alike; a
  // write is queued just before each frame of the first kind, as a change
  // would have.
  for (const bool redraw : {false, true}) {
    auto frame = [&] {
      if (redraw) e.viewSet.sceneChanged();
      drawFrame(e);
      glFinish();
    };
    frame();
    const int runs = (redraw ? 3 : 12) * context.runs;
    std::vector<double> times[2];
    for (int i = 0; i < 2 * runs; ++i) {
      const bool writing = i % 2;
      writer.wait();
      if (writing) {
        // The model as a tick hands it over: copied, to be captured on the writer's thread.
        auto copy = std::make_unique<ModelCopy>(*e.doc.model, newMarkPass());
        copy->copySome(SIZE_MAX);
        writer.write(path, contents, std::move(copy));
        while (!writer.busy()) std::this_thread::yield();
      }
      times[writing].push_back(bench::medianMs(
          1, [] {}, frame));
    }
    writer.wait();
    for (auto& t : times) std::sort(t.begin(), t.end());
    const double alone = times[0][runs / 2], during = times[1][runs / 2];
    char note[128];
    std::snprintf(note, sizeof note, "%+.1f%% over %.2f ms without; %d frames each",
                  100 * (during / alone - 1), alone, runs);
    report.row(redraw ? "frame drawing every view while the recovery file is written"
                      : "frame from kept pictures while the recovery file is written",
               "ms", during, note);
  }
}
