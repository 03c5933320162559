// What a model and its undo snapshots hold in memory: the model as built, one
// snapshot, and the model with a full undo stack (50 snapshots).

#include <cstdio>
#include <fstream>
#include <string>

#include "bench_registry.h"
#include "bench_util.h"
#include "test_meshes.h"
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

}  // namespace

BENCH_CASE(50, "memory") {
  const double before = bench::allocatedMb();
  auto editor = bench::ballEditor(context.size, /*extras=*/true);
  const double model = bench::allocatedMb() - before;
  report.row("memory: model", "MB", model);
  takeSnapshot(editor->doc);
  report.row("memory: one undo snapshot", "MB",
             editor->doc.undoStack.back().image->memoryBytes() / (1024.0 * 1024.0));
  for (int i = 1; i < editor->doc.undoLimit; ++i) takeSnapshot(editor->doc);
  char note[64];
  std::snprintf(note, sizeof note, "process peak RSS so far %.0f MB", peakResidentMb());
  report.row("memory: model + 50 undo snapshots", "MB", bench::allocatedMb() - before, note);
}
