// The recovery file after 50 small edits (each moves a run of ten vertices): how long a recovery
// tick holds the main thread while it captures the model, what the writer's thread does
// (the newest difference, format, write, fsync, rename), reading and checking it as "/recover"
// does, its size against the model file and 50 full snapshots, and "/recover" of it in a new
// editor beside "/open" of the model file.

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench_registry.h"
#include "bench_util.h"
#include "console/console_commands.h"
#include "files/file_replace.h"
#include "formats/model_file.h"
#include "recovery/recovery_file.h"
#include "test_meshes.h"
#include "recovery/recovery_session.h"
#include "tools/transforms.h"

namespace {

void smallEdit(Editor& e, int edit) {
  const int count = e.doc.model->vertices.count();
  e.doc.selectedVertices.clear();
  int n = 0;
  const int first = static_cast<int>(static_cast<long>(count) * (edit % 50) / 50);
  for (Vertex* v : e.doc.model->vertices) {
    if (n >= first && n < first + 10) e.doc.selectedVertices.pushFront(v);
    if (++n >= first + 10) break;
  }
  moveSelection(e, 0.01, 0, 0);
}

double threadMs() {
  struct timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double msSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// The longest a tick held the main thread, from a change until its file was written: the
// processor time the thread spent in it (on a shared machine its wall time also counts the
// other programs' turns), with the wall time of that tick.
std::pair<double, double> longestTickMs(Editor& e, RecoveryClock::time_point& now) {
  std::pair<double, double> longest{0, 0};
  do {
    now += std::chrono::seconds(2);
    const double cpu = threadMs();
    const auto start = std::chrono::steady_clock::now();
    recoveryTick(e.recovery, now);
    const double wall = msSince(start);
    longest = std::max(longest, {threadMs() - cpu, wall});
    usleep(1000);
  } while (recoveryTicksWanted(e.recovery));
  return longest;
}

}  // namespace

BENCH_CASE(15, "recovery file") {
  bench::ScratchDirectory scratch;
  auto editor = bench::ballEditor(context.size, /*extras=*/true);
  Editor& e = *editor;
  e.doc.model->name = scratch.file("ball.vantorel");
  save(*e.doc.model);
  for (int edit = 0; edit < 50; ++edit) smallEdit(e, edit);
  RecoveryContents contents;
  contents.modelPath = "/ball";
  contents.model = {"ball", nullptr};
  e.doc.undoHistory.undoSteps(contents.undoSteps, contents.undoDifferences);
  report.row(
      "recovery: capture the model whole (captureImage)", "ms",
      bench::medianMs(
          context.runs, [] {},
          [&] { contents.model.image = std::make_shared<ModelImage>(captureImage(*e.doc.model)); }));
  RecoveryClock::time_point now = RecoveryClock::now();
  int edit = 50;
  std::vector<std::pair<double, double>> ticks;
  for (int run = 0; run < context.runs; ++run) {
    smallEdit(e, edit++);
    ticks.push_back(longestTickMs(e, now));
  }
  std::sort(ticks.begin(), ticks.end());
  char note[96];
  std::snprintf(note, sizeof note, "processor time of the thread; %.1f ms of wall time",
                ticks[ticks.size() / 2].second);
  report.row("recovery: longest tick on the main thread, change to file", "ms",
             ticks[ticks.size() / 2].first, note);
  const std::string path = scratch.file(".ball.recover");
  std::string text;
  report.row(
      "recovery: write, 50 undo steps (writer thread: newest difference, format, fsync, rename)",
      "ms",
      bench::medianMs(
          context.runs, [] {},
          [&] {
            text = formatRecoveryFile(contents);
            replaceFileContents(path, text);
          }));
  // As "/recover" reads and checks it: the model, then every undo step over one image in place.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  size_t readSteps = 0;
  const double parseMs = bench::medianMs(
      context.runs, [&] { readSteps = 0; },
      [&] {
        RecoveryContents back;
        RecoveryStepsStart start;
        if (readRecoveryModel(fd, back, start, nullptr))
          readRecoverySteps(
              fd, start, back.model.image, [&](Snapshot, ImageDifference) { ++readSteps; },
              nullptr);
      });
  close(fd);
  std::remove(path.c_str());

  const double modelMb = formatModelFile(*contents.model.image).size() / 1e6;
  RecoveryContents alone;
  alone.model = contents.model;
  const double fullMb = 51 * formatRecoveryFile(alone).size() / 1e6;
  std::snprintf(note, sizeof note, "%.2f times the model file; %d undo steps",
                text.size() / 1e6 / modelMb, static_cast<int>(contents.undoSteps.size()));
  report.row("recovery file after 50 small edits", "MB", text.size() / 1e6, note);
  std::snprintf(note, sizeof note, "the model and 50 full snapshots, %.1f times the model file",
                fullMb / modelMb);
  report.row("  the same as 51 full images", "MB", fullMb, note);
  report.row("  the model file", "MB", modelMb);

  // The editor leaves with its 50 steps kept; a new one opens the model and recovers them.
  contents = {};
  const std::string model = e.doc.model->name;
  leaveEditor(e.recovery);
  editor.reset();
  // Each run opens the model in a new editor and recovers the changes found: the two taken in
  // turn, so that the machine's other load weighs on both alike.
  std::vector<double> opens, recovers, firstStep, withSteps;
  size_t steps = 0;
  for (int run = 0; run < context.runs; ++run) {
    auto fresh = std::make_unique<Editor>();
    auto start = std::chrono::steady_clock::now();
    runConsoleCommand(*fresh, "/open " + model);
    opens.push_back(msSince(start));
    start = std::chrono::steady_clock::now();
    runConsoleCommand(*fresh, "/recover");
    recovers.push_back(msSince(start));
    // The undo steps are read on a thread of their own meanwhile, newest first.
    installRecoveredSteps(fresh->recovery, /*all=*/false);
    firstStep.push_back(msSince(start));
    installRecoveredSteps(fresh->recovery);
    withSteps.push_back(msSince(start));
    steps = fresh->doc.undoHistory.undoCount();
  }
  for (auto* times : {&opens, &recovers, &firstStep, &withSteps})
    std::sort(times->begin(), times->end());
  const double openMs = opens[opens.size() / 2];
  report.row("/open of the model file", "ms", openMs);
  std::snprintf(note, sizeof note, "%.2f times /open; %zu undo steps", parseMs / openMs, readSteps);
  report.row("recovery: read and check the file", "ms", parseMs, note);
  std::snprintf(note, sizeof note, "%.2f times /open", recovers[recovers.size() / 2] / openMs);
  report.row("/recover of the changes found (the model shown)", "ms", recovers[recovers.size() / 2],
             note);
  std::snprintf(note, sizeof note, "%.2f times /open", firstStep[firstStep.size() / 2] / openMs);
  report.row("  the same until the newest undo step is read (a 'z' may come)", "ms",
             firstStep[firstStep.size() / 2], note);
  std::snprintf(note, sizeof note, "%.2f times /open; %zu undo steps",
                withSteps[withSteps.size() / 2] / openMs, steps);
  report.row("  the same until every undo step is read", "ms", withSteps[withSteps.size() / 2],
             note);
}
