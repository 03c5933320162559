// Texture mapping of a whole ball of 10,000 and 100,000 triangles: the unwrap (charts cut,
// flattened by a sparse least-squares solve, packed) and a box projection, each with its undo
// snapshot.

#include <memory>

#include "bench_registry.h"
#include "bench_util.h"
#include "test_meshes.h"
#include "tools/selection.h"
#include "tools/unwrap.h"
#include "tools/uv_projection.h"

BENCH_CASE(35, "unwrap") {
  if (context.size > 100000) return;  // a million triangles is not what unwrapping is for
  std::unique_ptr<Editor> e;
  auto fresh = [&] {
    e.reset();
    e = bench::ballEditor(context.size);
    selectAllPolygons(*e);
  };
  report.row("unwrap all triangles", "ms", bench::medianMs(context.runs, fresh, [&] {
               unwrapSelection(*e, kDefaultUnwrapAngle, 1024);
             }));
  report.row("box projection of all triangles", "ms", bench::medianMs(context.runs, fresh, [&] {
               projectSelection(*e, Projection::kBox, e->viewSet.views[0], 1024);
             }));
}
