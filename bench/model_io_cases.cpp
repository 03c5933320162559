// The model file and undo: save, load, the snapshot every edit takes, undo.

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "bench_registry.h"
#include "bench_util.h"
#include "formats/model_file.h"
#include "model/model_image.h"
#include "test_meshes.h"
#include "document/undo.h"

BENCH_CASE(10, "model file and undo") {
  bench::ScratchDirectory scratch;
  auto editor = bench::ballEditor(context.size, /*extras=*/true);
  Model& model = *editor->doc.model;
  model.name = scratch.file("ball.mdl");
  auto nothing = [] {};
  report.row("save model file (write, fsync, rename)", "ms",
             bench::medianMs(context.runs, nothing, [&] { save(model); }));

  std::unique_ptr<Model> loaded;
  report.row("load model file (read, parse, build)", "ms",
             bench::medianMs(
                 context.runs, [&] { loaded = std::make_unique<Model>("loaded", nullptr); },
                 [&] { load(*loaded, model.name); }));
  loaded.reset();

  // The two halves of a load, for finding where its time goes.
  std::stringstream whole;
  whole << std::ifstream(model.name).rdbuf();
  const std::string text = whole.str();
  ModelImage image;
  report.row("  load: parse the text only", "ms",
             bench::medianMs(context.runs, nothing, [&] { parseModelFile(text, image); }));
  report.row("  load: build the model from parsed numbers only", "ms",
             bench::medianMs(
                 context.runs, [&] { loaded = std::make_unique<Model>("built", nullptr); },
                 [&] { buildModel(image, *loaded); }));
  loaded.reset();

  report.row("copy: take an undo snapshot", "ms",
             bench::medianMs(
                 context.runs, [&] { editor->doc.undoHistory.clear(); }, [&] { takeSnapshot(editor->doc); }));
  report.row("undo (rebuild the model from a snapshot)", "ms",
             bench::medianMs(
                 context.runs,
                 [&] {
                   editor->doc.undoHistory.clear();
                   takeSnapshot(editor->doc);
                 },
                 [&] { undo(editor->doc); }));
}
