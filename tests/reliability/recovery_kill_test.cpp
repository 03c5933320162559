// A child editor is killed with SIGKILL at random moments of scripted editing; each time the
// recovery file gives back the model of a moment no older than the allowed lag before the kill,
// with every undo step equal to the model that step had, and /recover puts it back. The editor's
// gap of a second runs 25 times faster (40 ms); the lag allowed is four gaps (two seconds would be
// two), as a busy machine may hold up the writer's thread, which yields to others.
// VANTOREL_KILLS sets the number of kills (200).

#include <fcntl.h>

#include <chrono>
#include <cstdlib>
#include <random>

#include "app/editor.h"
#include "console/console_commands.h"
#include "document/undo.h"
#include "formats/model_file.h"
#include "recovery/recovery_file.h"
#include "recovery/recovery_session.h"
#include "support/child_process.h"
#include "support/fixtures.h"
#include "support/model_invariants.h"
#include "support/undo_steps.h"
#include "tools/polygon_ops.h"
#include "tools/selection.h"
#include "tools/transforms.h"

namespace {

using namespace std::chrono_literals;
constexpr auto kGap = 40ms, kAllowedLag = 160ms;
constexpr const char* kModel = "3\n0 0 0\n1 0 0\n0 1 0\n1\n1\n0 1 2 0 0 0 0 0 0\n0\n1 1 1 1\n0\n";

long long ns(std::chrono::steady_clock::time_point t = std::chrono::steady_clock::now()) {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

// One step of the script: coordinates set, copies or deletions, moves, undo and redo.
void scriptedEdit(Editor& e, std::mt19937_64& rng) {
  const int kind = rng() % 6, axis = rng() % 3;
  kind == 2 ? selectAllPolygons(e) : deselectPolygons(e);
  selectAllVertices(e);
  if (kind < 2)
    runConsoleCommand(
        e, "/set" + std::string(1, "xyz"[axis]) + " " + std::to_string(rng() % 100 / 8.0));
  if (kind == 2) e.doc.model->vertices.count() < 100 ? duplicateSelection(e) : deleteSelection(e);
  if (kind == 3) undo(e.doc);
  if (kind == 4) redo(e.doc);
  if (kind == 5) moveSelection(e, 0.5, 0, -0.25);
}

std::unique_ptr<Editor> openedEditor(const std::string& model) {
  auto e = std::make_unique<Editor>();
  e->recovery.gap = kGap;
  runConsoleCommand(*e, "/open " + model);
  return e;
}

// Edits until killed, noting on `log` when each step was done.
int editUntilKilled(const std::string& model, const std::string& log, uint64_t seed) {
  std::unique_ptr<Editor> e = openedEditor(model);
  std::mt19937_64 rng(seed);
  const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  for (;;) {
    scriptedEdit(*e, rng);
    const std::string line = std::to_string(ns()) + "\n";
    if (write(out, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return 1;
    recoveryTick(e->recovery);
    usleep(2000);
  }
}

std::string checkKill(const std::string& folder, uint64_t seed, long long killedAt) {
  std::vector<long long> doneAt;
  for (std::istringstream lines(readFile(folder + "/log")); lines.good();) {
    long long at = 0;
    if (lines >> at) doneAt.push_back(at);
  }
  const long long oldest = killedAt - std::chrono::nanoseconds(kAllowedLag).count();
  RecoveryContents kept;
  std::string error;
  const std::string path = folder + "/.m.vantorel.recover";
  if (!std::filesystem::exists(path)) return doneAt.empty() || doneAt[0] > oldest ? "" : "no file";
  if (!parseRecoveryFile(readFile(path), kept, &error)) return error;
  // The same script again, step by step, until a step's model and undo steps are those kept.
  std::unique_ptr<Editor> e = openedEditor(folder + "/m.vantorel");
  std::mt19937_64 rng(seed);
  std::string fault = "the state kept is none of the script's";
  for (size_t step = 0; step < doneAt.size(); ++step) {
    scriptedEdit(*e, rng);
    const std::vector<Snapshot> steps = undoSteps(e->doc.undoHistory);
    if (!(captureImage(*e->doc.model) == *kept.model.image) ||
        steps.size() != kept.undoSteps.size() ||
        !std::equal(steps.begin(), steps.end(), kept.undoSteps.begin(), sameSnapshot))
      continue;
    if (step + 1 < doneAt.size() && doneAt[step + 1] < oldest) {
      fault = "the state kept is too old";
      continue;
    }
    e.reset();  // which holds the file it found
    e = openedEditor(folder + "/m.vantorel");
    runConsoleCommand(*e, "/recover");
    return captureImage(*e->doc.model) == rebuiltImage(*kept.model.image) ? "" : "/recover differs";
  }
  return fault;
}

TEST(RecoveryKillTest, KilledEditorsLeaveRecentModelsWithTheirUndoSteps) {
  const char* kills = std::getenv("VANTOREL_KILLS");
  const uint64_t count = kills ? std::strtoull(kills, nullptr, 10) : 200;
  // In memory where there is such a folder: the disk's latency under other load is not the
  // editor's to bound.
  const char* tmp = std::getenv("TMPDIR");
  const std::string kept = tmp ? tmp : "";
  if (std::filesystem::is_directory("/dev/shm")) setenv("TMPDIR", "/dev/shm", 1);
  ScratchDir dir;
  tmp ? setenv("TMPDIR", kept.c_str(), 1) : unsetenv("TMPDIR");
  std::mt19937_64 rng(1);
  int recovered = 0;
  std::string fault;
  for (uint64_t seed = 1; fault.empty() && seed <= count; ++seed) {
    SilencedStdout quiet;
    const std::string folder = dir.file(std::to_string(seed));
    std::filesystem::create_directory(folder);
    writeFile(folder + "/m.vantorel", kModel);
    const useconds_t killAfter = 10000 + rng() % 320000;
    const ChildResult child =
        runInChild([&] { return editUntilKilled(folder + "/m.vantorel", folder + "/log", seed); },
                   30, killAfter);
    fault = checkKill(folder, seed, ns(child.killedAt));
    if (!fault.empty())
      fault += ": seed " + std::to_string(seed) + ", " + std::to_string(killAfter) + " us";
    recovered += std::filesystem::exists(folder + "/.m.vantorel.recover");
  }
  EXPECT_EQ(fault, "");
  EXPECT_GT(recovered, 0);
}

}  // namespace
