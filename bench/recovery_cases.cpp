// The recovery file after 50 small edits (each moves a run of ten vertices): what the main
// thread captures, what the writer's thread does (differences, format, write, fsync, rename),
// reading it back for /recover, and its size against the model file and 50 full snapshots.

#include <memory>
#include <string>

#include "bench_registry.h"
#include "bench_util.h"
#include "files/file_replace.h"
#include "formats/model_file.h"
#include "formats/recovery_file.h"
#include "test_meshes.h"
#include "tools/transforms.h"

namespace {

void fiftySmallEdits(Editor& e) {
  const int count = e.model->vertices.count();
  for (int edit = 0; edit < 50; ++edit) {
    e.selectedVertices.clear();
    int n = 0;
    const int first = static_cast<int>(static_cast<long>(count) * edit / 50);
    for (Vertex* v : e.model->vertices) {
      if (n >= first && n < first + 10) e.selectedVertices.pushFront(v);
      if (++n >= first + 10) break;
    }
    moveSelection(e, 0.01, 0, 0);
  }
}

}  // namespace

BENCH_CASE(15, "recovery file") {
  bench::ScratchDirectory scratch;
  auto editor = bench::ballEditor(context.size, /*extras=*/true);
  Editor& e = *editor;
  fiftySmallEdits(e);
  RecoveryContents contents{0, {"ball", nullptr}, {e.undoStack.begin(), e.undoStack.end()}};
  report.row(
      "recovery: capture the model (main thread)", "ms",
      bench::medianMs(
          context.runs, [] {},
          [&] { contents.model.image = std::make_shared<ModelImage>(captureImage(*e.model)); }));
  const std::string path = scratch.file(".ball.recover");
  std::string text;
  report.row("recovery: first write, 50 undo steps (writer thread: diff, format, fsync, rename)",
             "ms",
             bench::medianMs(
                 context.runs, [] {},
                 [&] {
                   text = formatRecoveryFile(contents);
                   replaceFileContents(path, text);
                 }));
  // One more small edit: the writer's cache holds every difference but the newest.
  RecoveryContents next = contents;
  next.undoSteps.erase(next.undoSteps.begin());
  next.undoSteps.push_back(contents.model);
  moveSelection(e, 0.01, 0, 0);
  next.model.image = std::make_shared<ModelImage>(captureImage(*e.model));
  RecoveryStepCache cache;
  report.row("recovery: next write, one change later (cached differences)", "ms",
             bench::medianMs(
                 context.runs, [&] { formatRecoveryFile(contents, &cache); },
                 [&] { replaceFileContents(path, formatRecoveryFile(next, &cache)); }));
  RecoveryContents back;
  report.row("recovery: read and check the file (/recover)", "ms",
             bench::medianMs(
                 context.runs, [] {}, [&] { parseRecoveryFile(text, back, nullptr); }));

  const double modelMb = formatModelFile(*contents.model.image).size() / 1e6;
  const double fullMb = 51 * formatRecoveryFile({0, contents.model, {}}).size() / 1e6;
  char note[96];
  std::snprintf(note, sizeof note, "%.2f times the model file; %d undo steps",
                text.size() / 1e6 / modelMb, static_cast<int>(contents.undoSteps.size()));
  report.row("recovery file after 50 small edits", "MB", text.size() / 1e6, note);
  std::snprintf(note, sizeof note, "the model and 50 full snapshots, %.1f times the model file",
                fullMb / modelMb);
  report.row("  the same as 51 full images", "MB", fullMb, note);
  report.row("  the model file", "MB", modelMb);
}
