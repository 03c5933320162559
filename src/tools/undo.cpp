// Undo snapshots (contracts in undo.h).

#include "tools/undo.h"
#include "app/editor.h"

// Images are compact (numbers only), so keeping undoLimit of them is cheap;
// the oldest go first.
void takeSnapshot(Editor& e) {
  e.undoStack.push_back(Snapshot{e.model->name, captureImage(*e.model)});
  while (static_cast<int>(e.undoStack.size()) > e.undoLimit) e.undoStack.pop_front();
}

void undo(Editor& e) {
  if (e.undoStack.empty()) return;
  auto restored = std::make_unique<Model>(e.undoStack.back().name, e.model->textures);
  buildModel(e.undoStack.back().image, *restored, /*printNames=*/false);
  e.undoStack.pop_back();
  e.replaceModel(std::move(restored));
}
