// A playback frame (the next frame of a clip: every view draws the model posed anew) beside a
// full redraw of the rest model, four views flat shaded. Needs an X display (Xvfb).

#include <GL/glut.h>

#include <cstdio>
#include <memory>

#include "app/editor.h"
#include "app/editor_frame.h"
#include "bench_registry.h"
#include "bench_util.h"
#include "model/animation.h"
#include "render/frame_draw.h"
#include "test_meshes.h"
#include "tools/animation_mode.h"

bool ensureBenchWindow();  // frame_cases.cpp

BENCH_CASE(73, "playback frames") {
  if (!ensureBenchWindow()) return;
  const int runs = context.size >= 1000000 ? 3 : context.runs;
  // Triangles as many as the size.
  auto editor = bench::ballEditor(context.size);
  Editor& e = *editor;
  Panel mainPanel("main", 100, 100, 800, 600, e.uiContext());
  e.setMainWidget(&mainPanel);
  e.layoutViews();
  for (Viewport& v : e.viewSet.views) v.renderMode = kFlatShaded;
  bench::rigBall(*e.doc.model, 20, 1, 10);
  auto frame = [&] {
    e.framePump();
    drawFrame(e);
    glFinish();
  };
  frame();
  const double rest = bench::medianMs(
      runs, [&] { e.drawing.forgetViewPictures(); }, frame);
  report.row("full redraw of the rest model", "ms", rest, "four views flat shaded");
  toggleAnimationMode(e);
  frame();
  int at = 0;
  const double playback = bench::medianMs(
      runs, [&] { setFrame(e, ++at % 20); }, frame);
  char note[96];
  std::snprintf(note, sizeof note, "%.2fx the full redraw of the rest model", playback / rest);
  report.row("playback frame (the next frame posed)", "ms", playback, note);
}
