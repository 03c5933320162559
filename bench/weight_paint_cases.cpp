// Weight painting: one brush stroke step (a dab of the default brush, 30 pixels, at the pointer)
// over a ball of as many vertices as the size with a chain of 100 bones, in the Side view fitted
// to it; beside it the stroke's press, which projects every vertex and grids them once.

#include <cstdio>

#include "app/editor.h"
#include "bench_registry.h"
#include "bench_util.h"
#include "model/animation.h"
#include "model/skeleton.h"
#include "test_meshes.h"
#include "tools/fit_views.h"
#include "tools/weight_paint.h"

BENCH_CASE(82, "weight paint") {
  auto editor = bench::ballEditor(2 * context.size);
  Editor& e = *editor;
  Model& model = *e.doc.model;
  bench::rigBall(model, 100, 0, 0);
  e.doc.selectedBone = model.rootBone()->children.empty() ? model.rootBone()
                                                          : model.rootBone()->children.front();
  e.toolState.tool = kWeightPaint;
  e.viewSet.activeView = kSideView;
  fitViews(e);
  const Viewport& side = e.viewSet.views[kSideView];
  e.pointer.mouseX = static_cast<int>(side.rectLeft + side.pixelWidth / 2);
  e.pointer.mouseY = static_cast<int>(side.rectBottom + side.pixelHeight / 2);
  e.pointer.pressX = e.pointer.mouseX, e.pointer.pressY = e.pointer.mouseY;
  e.pointer.modifiers = 0;
  auto press = [&] {
    e.toolState.dragMode = kToolDrag;
    startWeightStroke(e);
  };
  report.row("weight paint: stroke press (project and grid every vertex)", "ms",
             bench::medianMs(
                 context.runs, [&] { model.animation->weights.clear(); }, press));
  size_t under = 0;
  int step = 0;
  report.row("weight paint: one brush stroke step (30 px dab)", "ms",
             bench::medianMs(
                 context.runs,
                 [&] {
                   // Each step a pixel on, as a drag goes; the add brush never stops changing.
                   e.pointer.mouseX += (step++ % 2) ? 1 : -1;
                   under = model.animation->weights.size();
                 },
                 [&] { paintWeightDab(e); }),
             "");
  char note[96];
  std::snprintf(note, sizeof note, "%zu vertices painted in the stroke", under);
  report.row("weight paint: vertices under the brush", "count", static_cast<double>(under), note);
  endWeightStroke(e);
}
