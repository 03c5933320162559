// A model file of as many polygon groups as the size, each with one triangle and its own texture
// name (no such file: every texture fails to load), opened and undone, beside the ball of that many
// triangles in one group. Texture names are looked up through the cache's hash, so both grow alike.

#include <memory>
#include <string>

#include "app/editor.h"
#include "bench_registry.h"
#include "bench_util.h"
#include "console/model_commands.h"
#include "formats/model_file.h"
#include "test_meshes.h"
#include "document/undo.h"

BENCH_CASE(11, "model file of many groups") {
  bench::ScratchDirectory scratch;
  const int runs = context.size >= 1000000 ? 3 : context.runs;
  auto plain = bench::ballEditor(context.size);
  plain->doc.model->name = scratch.file("ball.mdl");
  save(*plain->doc.model);

  Editor groups;
  Model& m = *groups.doc.model;
  m.name = scratch.file("groups.mdl");
  for (int i = 0; i < context.size; ++i) {
    PolygonGroup* g = i == 0 ? m.currentGroup : m.newGroup();
    if (i > 0) m.groups.pushBack(g);
    g->material.textured = 1;
    g->material.textureName = scratch.file("") + "texture" + std::to_string(i) + ".bmp";
    Vertex* a = m.newVertex(i * 1e-3, 0, 0);
    Vertex* b = m.newVertex(i * 1e-3 + 1, 0, 0);
    Vertex* c = m.newVertex(i * 1e-3, 1, 0);
    for (Vertex* v : {a, b, c}) m.vertices.pushFront(v);
    g->polygons.pushFront(m.newPolygon(a, b, c));
  }
  save(m);

  auto nothing = [] {};
  for (Editor* e : {plain.get(), &groups}) {
    const bool many = e == &groups;
    const std::string path = e->doc.model->name;
    const double open = bench::medianMs(runs, nothing, [&] { openModel(*e, path); });
    const double back = bench::medianMs(
        runs,
        [&] {
          e->doc.undoHistory.clear();
          takeSnapshot(e->doc);
        },
        [&] { undo(e->doc); });
    report.row(many ? "/open, one group and texture name per triangle" : "/open, one group", "ms",
               open);
    report.row(many ? "undo, one group and texture name per triangle" : "undo, one group", "ms",
               back);
  }
}
