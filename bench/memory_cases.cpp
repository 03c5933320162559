// What a model and its undo history hold in memory: the model as built, one whole image, and
// the history after 50 small edits (each moves a run of ten vertices), with what an undo and a
// redo then take.

#include <cstdio>
#include <fstream>
#include <string>

#include "bench_registry.h"
#include "bench_util.h"
#include "test_meshes.h"
#include "tools/transforms.h"
#include "document/undo.h"

namespace {

// The process's peak resident size in MB, from /proc.
double peakResidentMb() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmHWM:") {
      double kb = 0;
      status >> kb;
      return kb / 1024;
    }
  }
  return 0;
}

constexpr double kMb = 1024.0 * 1024.0;

void moveTenVertices(Editor& e, int edit) {
  const long count = e.doc.model->vertices.count();
  const long first = count * (edit % 50) / 50;
  e.doc.selectedVertices.clear();
  long n = 0;
  for (Vertex* v : e.doc.model->vertices) {
    if (n >= first) e.doc.selectedVertices.pushFront(v);
    if (++n >= first + 10) break;
  }
  moveSelection(e, 0.01, 0, 0);
}

}  // namespace

BENCH_CASE(50, "memory") {
  const double before = bench::allocatedMb();
  auto editor = bench::ballEditor(context.size, /*extras=*/true);
  Editor& e = *editor;
  const double model = bench::allocatedMb() - before;
  report.row("memory: model", "MB", model);
  takeSnapshot(e.doc);
  const double whole = e.doc.undoHistory.heldBytes() / kMb;
  report.row("memory: one undo step (the whole image)", "MB", whole);
  e.doc.undoHistory.clear();
  for (int edit = 0; edit < e.doc.undoLimit; ++edit) moveTenVertices(e, edit);
  const double held = e.doc.undoHistory.heldBytes() / kMb;
  char note[96];
  std::snprintf(note, sizeof note, "%.2f%% of a whole image beside the newest; peak RSS %.0f MB",
                100 * (held - whole) / whole, peakResidentMb());
  report.row("memory: undo history after 50 small edits", "MB", held, note);
  report.row("memory: model + undo history after 50 small edits", "MB",
             bench::allocatedMb() - before);
  report.row("undo of a small edit (history of 50 steps)", "ms",
             bench::medianMs(
                 context.runs, [&] { redo(e.doc); }, [&] { undo(e.doc); }));
  report.row("redo of a small edit (history of 50 steps)", "ms",
             bench::medianMs(
                 context.runs, [&] { undo(e.doc); }, [&] { redo(e.doc); }));
}
