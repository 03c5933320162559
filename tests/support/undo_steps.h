#pragma once
// The undo steps of a history, whole, as undoing them one by one gives them back.

#include <vector>

#include "document/undo_history.h"

// Oldest first; the history itself is left as it is.
inline std::vector<Snapshot> undoSteps(const UndoHistory& history) {
  UndoHistory copy = history;
  std::vector<Snapshot> steps(copy.undoCount());
  const auto none = std::make_shared<const ModelImage>();
  for (size_t i = steps.size(); i-- > 0;) steps[i] = copy.undo({"", none});
  return steps;
}
