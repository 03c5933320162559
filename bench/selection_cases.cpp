// Rubber-band picks over the whole model in the Side view: vertices in replace
// mode, vertices added over an existing selection of half of them, triangles.

#include "bench_registry.h"
#include "bench_util.h"
#include "test_meshes.h"
#include "tools/selection.h"
#include "view/input_codes.h"

namespace {

// The ball lies within 3 units of the origin.
void bandOverEverything(Editor& e, int modifiers) {
  e.setModifiers(modifiers);
  selectInRect(e, -10, -10, 10, 10);
}

}  // namespace

BENCH_CASE(20, "selection") {
  auto editor = bench::ballEditor(context.size, /*extras=*/true);
  Editor& e = *editor;
  e.toolState.tool = kSelectVertex;
  report.row("rubber band: all vertices, replace", "ms",
             bench::medianMs(
                 context.runs, [&] { deselectAll(e); }, [&] { bandOverEverything(e, 0); }));
  report.row("rubber band: all vertices, add to half selected", "ms",
             bench::medianMs(
                 context.runs,
                 [&] {
                   deselectAll(e);
                   e.setModifiers(0);
                   selectInRect(e, -10, -10, 0, 10);  // x < 0
                 },
                 [&] { bandOverEverything(e, kShift); }));
  deselectAll(e);
  e.toolState.tool = kSelectPolygon;
  report.row("select polygon: all triangles, replace", "ms",
             bench::medianMs(
                 context.runs, [&] { deselectPolygons(e); }, [&] { bandOverEverything(e, 0); }));
}
