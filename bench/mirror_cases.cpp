// Mirror editing on the ball: the partners of every vertex across x = 0 found through the
// position hash, and a move of 10,000 vertices with and without the mirror (each with its
// undo snapshot).

#include <memory>

#include "bench_registry.h"
#include "bench_util.h"
#include "test_meshes.h"
#include "tools/mirror.h"
#include "tools/transforms.h"

BENCH_CASE(36, "mirror") {
  auto editor = bench::ballEditor(context.size);
  Editor& e = *editor;
  int found = 0;
  report.row("mirror partners of every vertex", "ms",
             bench::medianMs(
                 context.runs, [] {},
                 [&] {
                   const MirrorIndex index(*e.doc.model, 0);
                   found = 0;
                   for (const Vertex* v : e.doc.model->vertices)
                     found += index.partnerOf(*v) != nullptr;
                 }));
  int n = 0;
  for (Vertex* v : e.doc.model->vertices)
    if (n++ < 10000) e.doc.selectedVertices.pushFront(v);
  for (int axis : {-1, 0}) {
    e.toolState.mirrorAxis = axis;
    report.row(axis < 0 ? "move of 10,000 vertices" : "mirrored move of 10,000 vertices", "ms",
               bench::medianMs(
                   context.runs, [] {},
                   [&] {
                     moveSelectionBy(e, {0.001, 0, 0});
                   }));
  }
  (void)found;
}
