#pragma once
// The undo steps of a history, whole, as undoing them one by one gives them back.

#include <vector>

#include "document/undo_history.h"

// The same name and the same image.
inline bool sameSnapshot(const Snapshot& a, const Snapshot& b) {
  return a.name == b.name && *a.image == *b.image;
}

// Oldest first; the history itself is left as it is.
inline std::vector<Snapshot> undoSteps(const UndoHistory& history) {
  UndoHistory copy = history;
  std::vector<Snapshot> steps(copy.undoCount());
  const auto none = std::make_shared<const ModelImage>();
  for (size_t i = steps.size(); i-- > 0;) steps[i] = copy.undo({"", none});
  return steps;
}
