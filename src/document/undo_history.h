#pragma once
// The undo and redo steps of a model, each the image the model file would
// carry and the model's name then. Only the newest undo step and the next
// redo step are held whole; every other step is held as its difference from
// the step after it in its list (formats/image_difference.h), so a small
// edit of a large model costs a few bytes of history.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "formats/image_difference.h"
#include "model/model_image.h"

class UndoHistory {
 public:
  size_t undoCount() const { return undo_.size(); }
  size_t redoCount() const { return redo_.size(); }
  // The newest undo step, whole (the model before the last change); an
  // empty snapshot when there is none.
  Snapshot newestUndo() const;
  // The step a redo gives back, whole; an empty snapshot when there is none.
  Snapshot nextRedo() const;

  // A new undo step, of the model as it is before a change: the redo steps go.
  void push(Snapshot step);
  // The newest undo step, taken from the list: the model it gives back
  // replaces `current`, which becomes the next redo step. Without an undo
  // step, an empty snapshot and nothing changes.
  Snapshot undo(Snapshot current);
  // The same the other way: the next redo step, `current` becoming the newest undo step.
  Snapshot redo(Snapshot current);
  // Each of the four leaves the history as it was when memory runs out.

  void dropOldestUndo();
  void dropFurthestRedo();
  void clear();
  // What the steps hold: their whole images and their differences.
  size_t heldBytes() const;

  // The undo steps, oldest first, as held: the newest with its image, each
  // other with its difference from the next newer (and no image).
  void undoSteps(std::vector<Snapshot>& steps, std::vector<ImageDifference>& differences) const;

  // Marks tell images apart where only their differences are held, so that a
  // difference is only ever put against the image it was made from: the
  // model is known to be the image of `mark` (0: none) until it changes
  // (push) or another step replaces it.
  void markModel(uint64_t mark) { modelMark_ = mark; }
  // A step older than every undo step, given as its difference from the
  // image marked `base`, and marked `mark`: put in when the oldest undo step
  // is that image, or when there is none and the model is it (then `whole`
  // is needed). False when it does not fit there (the history changed).
  bool addOldest(std::string name, const ImageDifference& fromBase, uint64_t base, uint64_t mark,
                 std::shared_ptr<const ModelImage> whole = nullptr);

 private:
  struct Step {
    std::string name;
    std::shared_ptr<const ModelImage> image;  // for the last of a list
    ImageDifference difference;               // for the others: from the step after it
    uint64_t mark = 0;
    // The last of a list keeps the difference it had from the image after it,
    // and that image (the model's, after an undo or redo): when an image equal
    // to it is pushed on (undo, then redo), the difference is taken again, not
    // worked out. Its bytes count with the history's until the next push.
    std::shared_ptr<const ModelImage> differenceAgainst;
  };
  static void pushWhole(std::deque<Step>& list, Snapshot step, uint64_t mark);
  static Snapshot across(std::deque<Step>& from, std::deque<Step>& to, Snapshot current,
                         uint64_t& modelMark);

  std::deque<Step> undo_;  // oldest first
  std::deque<Step> redo_;  // the furthest first, the next redo last
  uint64_t modelMark_ = 0;
};
