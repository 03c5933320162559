// The document and its door for changes (contracts in document.h).

#include "document/document.h"

#include "document/undo.h"

Document::Document() : undoMemoryBudget(defaultUndoMemoryBudget()) {}

void Document::changed(DocumentChange how) {
  ++revision_;
  // A listener may listen in turn (none does today); a copy keeps the loop safe.
  const std::vector<Listener> listeners = listeners_;
  for (const Listener& listener : listeners) listener(how);
}

void Document::replaceModel(std::unique_ptr<Model> next, DocumentChange how,
                            std::shared_ptr<const ModelImage> builtFrom) {
  // Everything below points into the model being replaced.
  selectedVertices.clear();
  selectedPolygons.clear();
  selectedUvs.clear();
  selectedBone = nullptr;
  model = std::move(next);
  builtFrom_ = std::move(builtFrom);
  // Valid for this change only: a listener that changed the model again
  // moved the revision past it.
  builtRevision_ = revision_ + 1;
  changed(how);
}
