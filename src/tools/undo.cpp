// Undo snapshots: each snapshot-taking edit first records what the model file
// would carry; undo puts the newest record back as a fresh model. There is no
// redo.
//
// Undo with no snapshot left does nothing. After undo the selections are empty
// (they pointed into the replaced model, which is released) and normals, flags
// and list order are as a freshly read model file gives them.

#include "app/editor.h"

// Images are compact (numbers only), so keeping undoLimit of them is cheap;
// the oldest go first.
void Editor::takeSnapshot() {
  undoStack.push_back(Snapshot{model->name, captureImage(*model)});
  while (static_cast<int>(undoStack.size()) > undoLimit) undoStack.pop_front();
}

void Editor::undo() {
  if (undoStack.empty()) return;
  auto restored = std::make_unique<Model>(undoStack.back().name, model->textures);
  buildModel(undoStack.back().image, *restored, /*printNames=*/false);
  undoStack.pop_back();
  replaceModel(std::move(restored));
}
