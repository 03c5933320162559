// The randomized soak: seeded random sequences of every editing operation,
// checking after each step that the model is intact and survives its file,
// that the undo snapshot taken by the step holds the model as it was before
// it, and (for one step in four) that undo brings that model back.
//
// VANTOREL_SOAK_SEED (first seed), VANTOREL_SOAK_SEEDS (how many seeds) and
// VANTOREL_SOAK_STEPS (steps per seed) set the run; a failure names the seed
// and step that replay it.

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>

#include "support/fixtures.h"
#include "support/model_invariants.h"
#include "support/soak_driver.h"
#include "tools/undo.h"

namespace {

// Runs one seed; returns the first fault and the steps that led to it, "" if none.
std::string soak(uint64_t seed, uint64_t steps) {
  SilencedStdout quiet;
  SoakDriver driver(seed);
  std::deque<Snapshot>& stack = driver.editor.undoStack;
  std::deque<std::string> recent;
  for (uint64_t step = 1; step <= steps; ++step) {
    const Snapshot before{driver.editor.model->name, captureImage(*driver.editor.model)};
    const Snapshot* newest = stack.empty() ? nullptr : &stack.back();
    const size_t depth = stack.size();
    recent.push_back(driver.step());
    std::string fault = findModelFault(*driver.editor.model);
    // The snapshots pushed by the step follow the newest from before, unless
    // the step undid that one (the oldest may have been dropped meanwhile).
    const auto mark =
        std::find_if(stack.rbegin(), stack.rend(), [&](const Snapshot& s) { return &s == newest; });
    const size_t pushed = newest && mark == stack.rend() ? 0 : mark - stack.rbegin();
    if (fault.empty() && pushed > 0) {
      const Snapshot& first = stack[stack.size() - pushed];
      if (stack.size() != std::min<size_t>(depth + pushed, driver.editor.undoLimit)) {
        fault = "the undo stack does not hold the newest snapshots up to its limit";
      } else if (!(first.image == before.image) || first.name != before.name) {
        fault = "the step's snapshot is not the model from before the step";
      } else if (driver.rng() % 4 == 0) {
        for (size_t i = 0; i < pushed; ++i) undo(driver.editor);
        recent.push_back("undo of that step");
        Model& undone = *driver.editor.model;
        if (!(captureImage(undone) == rebuiltImage(before.image)) || undone.name != before.name)
          fault = "undo did not give back the model from before the step";
      }
    }
    while (recent.size() > 12) recent.pop_front();
    if (fault.empty()) continue;
    fault = "seed " + std::to_string(seed) + ", step " + std::to_string(step) + ": " + fault +
            "\nlast operations:";
    for (const std::string& what : recent) fault += "\n  " + what;
    return fault;
  }
  return "";
}

uint64_t setting(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

TEST(SoakTest, RandomOperationsKeepTheModelIntactAndUndoable) {
  const uint64_t first = setting("VANTOREL_SOAK_SEED", 1);
  const uint64_t steps = setting("VANTOREL_SOAK_STEPS", 1000);
  ScratchDir scratch;
  const auto home = std::filesystem::current_path();
  for (uint64_t seed = first; seed < first + setting("VANTOREL_SOAK_SEEDS", 2); ++seed) {
    // Each seed works in a directory of its own, so that it replays alone.
    std::filesystem::create_directory(scratch.file(std::to_string(seed)));
    std::filesystem::current_path(scratch.file(std::to_string(seed)));
    const std::string fault = soak(seed, steps);
    std::filesystem::current_path(home);
    ASSERT_EQ(fault, "");
  }
}

}  // namespace
