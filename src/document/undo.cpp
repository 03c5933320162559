// Undo and redo snapshots (contracts in undo.h).

#include "document/undo.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <new>

#include "document/document.h"
#include "formats/model_file.h"

namespace {

Snapshot currentModel(Document& e) {
  return Snapshot{e.model->name, std::make_shared<const ModelImage>(captureImage(*e.model))};
}

void restore(Document& e, const Snapshot& snapshot, DocumentChange how) {
  auto restored = std::make_unique<Model>(snapshot.name, e.model->textures);
  buildModel(*snapshot.image, *restored);
  e.replaceModel(std::move(restored), how);
}

size_t heldBytes(const std::deque<Snapshot>& steps) {
  size_t bytes = 0;
  for (const Snapshot& step : steps) bytes += step.image->memoryBytes();
  return bytes;
}

// The oldest undo steps go first, then the furthest redo steps; the newest
// undo step always stays, so one 'z' is never lost to the budget.
void keepWithinBudget(Document& e) {
  while (static_cast<int>(e.undoStack.size()) > e.undoLimit) e.undoStack.pop_front();
  size_t held = heldBytes(e.undoStack) + heldBytes(e.redoStack);
  bool dropped = false;
  while (held > e.undoMemoryBudget && e.undoStack.size() + e.redoStack.size() > 1) {
    std::deque<Snapshot>& from = e.undoStack.size() > 1 ? e.undoStack : e.redoStack;
    held -= from.front().image->memoryBytes();
    from.pop_front();
    dropped = true;
  }
  if (dropped && !e.undoBudgetNoted) {
    e.undoBudgetNoted = true;
    e.tell("Undo history is over its memory budget of " + std::to_string(e.undoMemoryBudget >> 20) +
           " MB: the oldest steps were dropped.");
  }
}

// Undo and redo are one move seen from either side: the newest step of one
// list becomes the model, and the model it replaces goes onto the other.
void stepAcross(Document& e, std::deque<Snapshot>& from, std::deque<Snapshot>& to,
                DocumentChange how) {
  to.push_back(currentModel(e));
  const std::string name = e.model->name;
  restore(e, from.back(), how);
  from.pop_back();
  // Each step keeps the name the model had when it was taken, so a step from
  // before "/save B" or "/open B" names the model as it was then: F5 writes
  // there, and the user must know.
  if (e.model->name != name)
    e.tell("The model is named " + e.model->name + " again: F5 saves there.");
}

}  // namespace

// Images are compact (numbers only), so keeping undoLimit of them is cheap.
void takeSnapshot(Document& e) {
  Snapshot step = currentModel(e);
  e.redoStack.clear();
  e.undoStack.push_back(std::move(step));
  keepWithinBudget(e);
  e.changed(DocumentChange::kEdit);
}

void undo(Document& e) {
  if (e.beforeUndo) e.beforeUndo();  // undo steps of recovered changes being read
  if (e.undoStack.empty()) return;
  stepAcross(e, e.undoStack, e.redoStack, DocumentChange::kUndo);
}

void redo(Document& e) {
  if (e.redoStack.empty()) return;
  stepAcross(e, e.redoStack, e.undoStack, DocumentChange::kRedo);
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
  // The lists as they were, sharing their images, so that a refused edit
  // leaves them exactly so, also the steps the budget dropped for it.
  std::deque<Snapshot> undoBefore = e.undoStack, redoBefore = e.redoStack;
  const uint64_t revisionBefore = e.revision();
  try {
    operation();
    return true;
  } catch (const std::bad_alloc&) {
  }
  // A snapshot taken by the operation holds the model from before it; the
  // half-edited model goes first so that rebuilding has its memory.
  const bool tookSnapshot =
      !e.undoStack.empty() &&
      (undoBefore.empty() || e.undoStack.back().image != undoBefore.back().image);
  bool historyCut = false;
  if (tookSnapshot) {
    const Snapshot step = e.undoStack.back();
    e.undoStack.clear();
    e.replaceModel(std::make_unique<Model>(step.name, e.model->textures));
    // Rebuilding needs memory too: the redo steps, then the oldest undo
    // steps, give theirs until it fits.
    for (;;) {
      try {
        restore(e, step, DocumentChange::kReplaced);
        break;
      } catch (const std::bad_alloc&) {
        if (undoBefore.empty() && redoBefore.empty()) throw;
        (redoBefore.empty() ? undoBefore : redoBefore).pop_front();
        historyCut = true;
      }
    }
  }
  e.undoStack = std::move(undoBefore);
  e.redoStack = std::move(redoBefore);
  // The model is the one from before the edit again: so is what is unsaved.
  e.rollBackRevision(revisionBefore);
  e.tell("Not enough memory for this edit: the model is unchanged.");
  if (historyCut) e.tell("Undo steps were dropped to make room for the model.");
  return false;
}
