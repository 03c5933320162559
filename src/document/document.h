#pragma once
// The document: the model being edited, what is selected in it, its undo and
// redo history, and one revision number that every change to what the model
// file carries moves on. Whoever must follow the model (recovery, drawing's
// caches, the UV view, the timeline) listens here instead of being called by
// each operation.
//
// The door for changes: an operation with an undo step calls takeSnapshot
// (document/undo.h) before it changes the model; one without calls
// changedWithoutUndoStep after it; undo, redo and replaceModel tell the same
// listeners. "Unsaved changes" means the revision differs from the one last
// saved or opened.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/undo_history.h"
#include "model/list.h"
#include "model/model.h"
#include "model/model_image.h"

// What moved the revision on, for the listeners.
enum class DocumentChange {
  kEdit,      // an operation changed the model (with or without an undo step)
  kUndo,      // undo put an older model in place
  kRedo,      // redo took an undo back
  kReplaced,  // another model came in: opened, recovered, rolled back
};

class Document {
 public:
  using Listener = std::function<void(DocumentChange)>;

  Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // Moves the revision on and tells every listener, in the order they came.
  void changed(DocumentChange how);
  // An operation changed the model without an undo step (a flip of the
  // normals, a colour, a texture, a bone): the change is still unsaved.
  void changedWithoutUndoStep() { changed(DocumentChange::kEdit); }

  // Puts `next` in place of the model; every selection pointed into the old
  // one and ends empty. `builtFrom` is the image `next` was built from, if any.
  void replaceModel(std::unique_ptr<Model> next, DocumentChange how = DocumentChange::kReplaced,
                    std::shared_ptr<const ModelImage> builtFrom = nullptr);
  // The image the model was built from by the last undo or redo, while no
  // change came since (else none): building it again gives this very model,
  // so it stands for the model's image in the history. Capturing the model
  // instead would give the lists in reverse, as a file read does, and an
  // image the history's kept differences were not made against.
  std::shared_ptr<const ModelImage> builtFrom() const {
    return builtRevision_ == revision_ ? builtFrom_ : nullptr;
  }

  uint64_t revision() const { return revision_; }
  bool unsavedChanges() const { return revision_ != savedRevision_; }
  // The model as it stands is the one on disk (saved, or just opened).
  void markSaved() { savedRevision_ = revision_; }
  // The model as it stands is on no disk (a recovered model).
  void markUnsaved() { savedRevision_ = revision_ - 1; }

  // After an edit that was rolled back: the model is the one of `revision`.
  // Listeners were told of the change and of the rollback; they keep up.
  void rollBackRevision(uint64_t revision) {
    revision_ = revision;
    builtFrom_.reset();
  }

  void listen(Listener listener) { listeners_.push_back(std::move(listener)); }
  // Where the document's own messages go (the console's message list).
  void setTell(std::function<void(const std::string&)> tell) { tell_ = std::move(tell); }
  void tell(const std::string& text) const {
    if (tell_) tell_(text);
  }
  // Runs before each undo: steps still being read from a recovery file come
  // in first.
  std::function<void()> beforeUndo;

  std::unique_ptr<Model> model;
  List<Vertex> selectedVertices;
  List<UvPoint> selectedUvs;
  List<Polygon> selectedPolygons;
  Bone* selectedBone = nullptr;

  int undoLimit = 50;
  UndoHistory undoHistory;       // at most undoLimit undo steps; a change empties the redo steps
  size_t undoMemoryBudget;       // bytes the history may hold (defaultUndoMemoryBudget)
  bool undoBudgetNoted = false;  // the console said once that old steps were dropped

 private:
  uint64_t revision_ = 0;
  uint64_t savedRevision_ = 0;
  std::shared_ptr<const ModelImage> builtFrom_;
  uint64_t builtRevision_ = 0;
  std::vector<Listener> listeners_;
  std::function<void(const std::string&)> tell_;
};
