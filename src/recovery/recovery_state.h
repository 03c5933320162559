#pragma once
// What recovery of unsaved work (recovery/recovery_session.h) keeps from call to call,
// one per editor.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "document/document.h"
#include "files/held_file.h"
#include "recovery/recovery_capture.h"
#include "recovery/recovery_file.h"
#include "recovery/recovery_writer.h"

using RecoveryClock = std::chrono::steady_clock;

// A recovery file of the model found on opening it, held (so no other editor
// offers it too) until "/recover" or "/discard".
struct FoundRecovery {
  HeldFile file;
  RecoveryContents header;  // when, whose and which model (readRecoveryFile's headerOnly)
  // The model it holds, by the name the editor knows it by: the recovered
  // model's name, whatever the model shown is called by then.
  std::string modelName;
};

// Undo steps read after "/recover" on a thread of their own, handed over
// newest first as each is read, each as its difference from the one before
// (the newest also whole); why the oldest were left out, if they were.
struct RecoveredSteps {
  struct Step {
    Snapshot step;  // with its image for the newest only
    ImageDifference fromNewer;
  };
  std::mutex mutex;
  std::condition_variable arrived;
  std::deque<Step> ready;  // read and not yet taken, newest first
  // The undo history's mark (document/undo_history.h) of the recovered
  // model; the steps' follow it, one each, the newest first.
  uint64_t firstMark = 0;
  size_t installed = 0;  // steps taken into the history
  bool leftOut = false;  // one was not: neither are those older
  bool done = false;
  std::string failure;
  std::atomic<bool> stop = false;
};

struct RecoveryState {
  // The main thread's processor time a slice of the copy may take: a
  // 1,000,000-triangle model takes some sixty slices, each between frames.
  static constexpr double kSliceMs = 20;

  // Listens to `doc`: each edit, undo and redo makes a write due.
  explicit RecoveryState(Document& doc);
  ~RecoveryState() {
    if (recoveredSteps) recoveredSteps->stop = true;
  }
  RecoveryState(const RecoveryState&) = delete;
  RecoveryState& operator=(const RecoveryState&) = delete;

  // A line for the console's message list; `told` counts them.
  void consoleMessage(const std::string& text) {
    ++told;
    if (tell) tell(text);
  }

  Document& doc;
  std::function<void(const std::string&)> tell;
  std::function<void()> showConsole;  // the console above the other panels
  uint64_t told = 0;

  std::unique_ptr<RecoveryWriter> writer;  // made by the first write
  bool due = false;                        // a change the writer has not been given yet
  bool offNoted = false;                   // the console said once that recovery is off
  bool wholeCopy = false;                  // the copy is taken in one slice (leaving, /open)
  uint64_t changes = 0;                    // counts the changes noted
  std::time_t lastChangeTime = 0;
  RecoveryClock::time_point lastWrite{};
  RecoveryClock::duration gap = std::chrono::seconds(1);
  size_t recordsPerSlice = SIZE_MAX;  // besides kSliceMs (a test makes slices of one record)
  std::unique_ptr<ModelCopy> copy;    // a copy under way, begun when `changes` was copyChanges
  uint64_t copyChanges = 0;
  uint64_t marksUsed = 0;            // the undo history's marks given to recovered models and steps
  std::vector<FoundRecovery> found;  // oldest first; /recover and /discard take the last
  // The undo steps of the file "/recover" took, read while the recovered model
  // is already shown; installRecoveredSteps puts them in place.
  std::shared_ptr<RecoveredSteps> recoveredSteps;
  std::future<void> readingSteps;
  std::future<void> disposal;  // the model "/recover" replaced, freed on a thread of its own
  // For tests: runs before each slice of a copy, and may throw std::bad_alloc.
  void (*beforeCopySlice)() = nullptr;
};
