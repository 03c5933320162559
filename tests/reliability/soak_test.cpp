// The randomized soak: seeded random sequences of every editing operation,
// checking after each step that the model is intact and that the undo
// snapshot taken by the step holds the model as it was before it.
//
// VANTOREL_SOAK_SEED (first seed), VANTOREL_SOAK_SEEDS (how many seeds) and
// VANTOREL_SOAK_STEPS (steps per seed) set the run; a failure names the seed
// and step that replay it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <string>

#include "model/model_fixtures.h"
#include "support/model_invariants.h"
#include "support/silenced_stdout.h"
#include "support/soak_driver.h"

namespace {

uint64_t setting(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

// How many snapshots the step pushed, or -1 when the stack lost its newest
// entry from before (an undo).
int newSnapshots(const std::deque<Snapshot>& stack, const Snapshot* newestBefore) {
  if (!newestBefore) return static_cast<int>(stack.size());
  for (size_t i = stack.size(); i-- > 0;) {
    if (&stack[i] == newestBefore) return static_cast<int>(stack.size() - 1 - i);
  }
  return -1;
}

struct Totals {
  uint64_t steps = 0, snapshotChecks = 0, undoChecks = 0;
};

// Runs one seed; returns the first fault as a replayable report, "" if none.
std::string soak(uint64_t seed, uint64_t steps, Totals& totals) {
  SoakDriver driver(seed);
  Editor& editor = driver.editor;
  std::mt19937_64 undoChoice(seed ^ 0x5eed);
  std::deque<std::string> recent;
  ModelImage before = captureImage(*editor.model);
  for (uint64_t step = 1; step <= steps; ++step) {
    const std::string nameBefore = editor.model->name;
    const Snapshot* newestBefore = editor.undoStack.empty() ? nullptr : &editor.undoStack.back();
    recent.push_back(driver.step());
    if (recent.size() > 12) recent.pop_front();
    ++totals.steps;

    auto report = [&](const std::string& fault) {
      std::string text = "seed " + std::to_string(seed) + ", step " + std::to_string(step) + ": " +
                         fault + "\nlast operations:";
      for (const std::string& what : recent) text += "\n  " + what;
      return text;
    };
    std::string fault = findModelFault(*editor.model);
    if (!fault.empty()) return report(fault);

    const int pushed = newSnapshots(editor.undoStack, newestBefore);
    if (pushed > 0) {
      ++totals.snapshotChecks;
      const Snapshot& first = editor.undoStack[editor.undoStack.size() - pushed];
      if (!(first.image == before) || first.name != nameBefore)
        return report("the step's snapshot is not the model from before the step");
      if (undoChoice() % 4 == 0) {
        ++totals.undoChecks;
        editor.uiContext()->setFocusedEntry(nullptr);
        editor.setModifiers(0);
        for (int i = 0; i < pushed; ++i) editor.keyPressed('z', 0, 0);
        if (!(captureImage(*editor.model) == rebuiltImage(before)) ||
            editor.model->name != nameBefore)
          return report("undo did not give back the model from before the step");
        recent.push_back("undo of that step");
      }
    }
    before = captureImage(*editor.model);
  }
  return "";
}

TEST(SoakTest, RandomOperationsKeepTheModelIntactAndUndoable) {
  const uint64_t firstSeed = setting("VANTOREL_SOAK_SEED", 1);
  const uint64_t seeds = setting("VANTOREL_SOAK_SEEDS", 2);
  const uint64_t steps = setting("VANTOREL_SOAK_STEPS", 400);

  ScratchDir scratch;
  const auto home = std::filesystem::current_path();
  Totals totals;
  std::string fault;
  {
    SilencedStdout quiet;
    for (uint64_t seed = firstSeed; seed < firstSeed + seeds && fault.empty(); ++seed) {
      // Each seed works in a directory of its own, so that it replays alone.
      const std::string dir = scratch.file("seed-" + std::to_string(seed));
      std::filesystem::create_directory(dir);
      std::filesystem::current_path(dir);
      fault = soak(seed, steps, totals);
      std::filesystem::current_path(home);
    }
  }
  std::fprintf(stderr, "soak: %llu operations, %llu snapshots checked, %llu undone\n",
               static_cast<unsigned long long>(totals.steps),
               static_cast<unsigned long long>(totals.snapshotChecks),
               static_cast<unsigned long long>(totals.undoChecks));
  EXPECT_EQ(fault, "");
}

}  // namespace
