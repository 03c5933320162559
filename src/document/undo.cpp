// Undo and redo snapshots (contracts in undo.h).

#include "document/undo.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <future>
#include <new>

#include "document/document.h"
#include "formats/model_file.h"
#include "model/bulk_memory.h"

namespace {

// The model's image, as a file holds it: undoing it gives the model back with
// its lists in reverse, as a file read does.
Snapshot capturedModel(Document& e) {
  return Snapshot{e.model->name, std::make_shared<const ModelImage>(captureImage(*e.model))};
}

// The model that an undo or redo step hands to the other list: one that an
// undo or redo gave back, unchanged since, is the image it was built from, so
// that stepping back and forth gives that very model each time (and the
// difference the history kept against that image is taken again).
Snapshot steppedModel(Document& e) {
  if (auto image = e.builtFrom()) return Snapshot{e.model->name, std::move(image)};
  return capturedModel(e);
}

void restore(Document& e, const Snapshot& snapshot, DocumentChange how) {
  auto restored = std::make_unique<Model>(snapshot.name, e.model->textures);
  buildModel(*snapshot.image, *restored);
  e.replaceModel(std::move(restored), how);
}

// The oldest undo steps go first, then the furthest redo steps; the newest
// undo step always stays, so one 'z' is never lost to the budget.
void keepWithinBudget(Document& e) {
  UndoHistory& history = e.undoHistory;
  while (static_cast<int>(history.undoCount()) > e.undoLimit) history.dropOldestUndo();
  bool dropped = false;
  while (history.heldBytes() > e.undoMemoryBudget &&
         history.undoCount() + history.redoCount() > 1) {
    if (history.undoCount() > 1) {
      history.dropOldestUndo();
    } else {
      history.dropFurthestRedo();
    }
    dropped = true;
  }
  if (dropped && !e.undoBudgetNoted) {
    e.undoBudgetNoted = true;
    e.tell("Undo history is over its memory budget of " + std::to_string(e.undoMemoryBudget >> 20) +
           " MB: the oldest steps were dropped.");
  }
}

// Undo and redo are one move seen from either side: the newest step of one
// list becomes the model, and the model it replaces goes onto the other. The
// history moves on a copy (sharing its images and differences), kept only
// once the model is rebuilt, so that running out of memory changes neither.
// The step to show is known before the history moves, so the model is built
// from it while another thread captures the model it replaces and works out
// the history's differences: neither side writes what the other reads, and
// the document changes only once both are done.
void stepAcross(Document& e, bool back) {
  UndoHistory history = e.undoHistory;
  const std::string name = e.model->name;
  const Snapshot step = back ? history.newestUndo() : history.nextRedo();
  // Where no thread can be had, the history moves after the build instead.
  std::future<void> moved = std::async(std::launch::async | std::launch::deferred, [&] {
    Snapshot current = steppedModel(e);
    if (back) {
      history.undo(std::move(current));
    } else {
      history.redo(std::move(current));
    }
  });
  std::unique_ptr<Model> restored;
  try {
    restored = std::make_unique<Model>(step.name, e.model->textures);
    buildModel(*step.image, *restored);
  } catch (...) {
    if (moved.wait_for(std::chrono::seconds(0)) != std::future_status::deferred) moved.wait();
    throw;
  }
  moved.get();  // a history short of memory throws here, and nothing has changed
  e.replaceModel(std::move(restored), back ? DocumentChange::kUndo : DocumentChange::kRedo,
                 step.image);
  e.undoHistory = std::move(history);
  // Each step keeps the name the model had when it was taken, so a step from
  // before "/save B" or "/open B" names the model as it was then: F5 writes
  // there, and the user must know.
  if (e.model->name != name)
    e.tell("The model is named " + e.model->name + " again: F5 saves there.");
}

}  // namespace

// Only the newest step is held whole: the one before becomes its difference
// from it, a few bytes for a small edit.
void takeSnapshot(Document& e) {
  e.undoHistory.push(capturedModel(e));
  keepWithinBudget(e);
  e.changed(DocumentChange::kEdit);
}

void undo(Document& e) {
  if (e.beforeUndo) e.beforeUndo();  // undo steps of recovered changes being read
  if (e.undoHistory.undoCount() == 0) return;
  stepAcross(e, /*back=*/true);
}

void redo(Document& e) {
  if (e.undoHistory.redoCount() == 0) return;
  stepAcross(e, /*back=*/false);
  keepWithinBudget(e);
}

size_t defaultUndoMemoryBudget() {
  size_t share = static_cast<size_t>(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGE_SIZE) / 4;
  struct rlimit limit {};
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
    share = std::min<size_t>(share, limit.rlim_cur / 4);
  return share;
}

bool runEdit(Document& e, const std::function<void()>& operation) {
  // The history as it was, sharing its images, so that a refused edit
  // leaves it exactly so, also the steps the budget dropped for it.
  UndoHistory before = e.undoHistory;
  const uint64_t revisionBefore = e.revision();
  try {
    operation();
    return true;
  } catch (const std::bad_alloc&) {
  }
  releaseKeptBulk();
  // A snapshot taken by the operation holds the model from before it; the
  // half-edited model goes first so that rebuilding has its memory.
  const Snapshot step = e.undoHistory.newestUndo();
  const bool tookSnapshot = step.image && step.image != before.newestUndo().image;
  bool historyCut = false;
  if (tookSnapshot) {
    e.undoHistory.clear();
    e.replaceModel(std::make_unique<Model>(step.name, e.model->textures));
    // Rebuilding needs memory too: the redo steps, then the oldest undo
    // steps, give theirs until it fits.
    for (;;) {
      try {
        restore(e, step, DocumentChange::kReplaced);
        break;
      } catch (const std::bad_alloc&) {
        if (before.undoCount() + before.redoCount() == 0) throw;
        if (before.redoCount() > 0) {
          before.dropFurthestRedo();
        } else {
          before.dropOldestUndo();
        }
        historyCut = true;
      }
    }
  }
  e.undoHistory = std::move(before);
  // The model is the one from before the edit again: so is what is unsaved.
  e.rollBackRevision(revisionBefore);
  e.tell("Not enough memory for this edit: the model is unchanged.");
  if (historyCut) e.tell("Undo steps were dropped to make room for the model.");
  return false;
}
