// Undo and redo steps held as differences (contracts in undo_history.h).

#include "document/undo_history.h"

#include <new>
#include <utility>

namespace {

// The image of a step held as its difference from `newer`. A difference the
// history made always applies; one that does not is no image at all.
std::shared_ptr<const ModelImage> applied(const ImageDifference& difference,
                                          const ModelImage& newer) {
  auto image = std::make_shared<ModelImage>();
  if (!difference.apply(newer, *image)) throw std::bad_alloc();
  return image;
}

}  // namespace

Snapshot UndoHistory::newestUndo() const {
  if (undo_.empty()) return {};
  return {undo_.back().name, undo_.back().image};
}

Snapshot UndoHistory::nextRedo() const {
  if (redo_.empty()) return {};
  return {redo_.back().name, redo_.back().image};
}

// `step` becomes the last of `list`, whole, and the step before it its
// difference from `step`; the difference is made before anything changes.
void UndoHistory::pushWhole(std::deque<Step>& list, Snapshot step, uint64_t mark) {
  ImageDifference older;
  if (!list.empty()) {
    const Step& last = list.back();
    const std::shared_ptr<const ModelImage>& against = last.differenceAgainst;
    const bool kept = against && (against == step.image || *against == *step.image);
    older = kept ? last.difference : ImageDifference(*last.image, *step.image);
  }
  list.push_back({std::move(step.name), std::move(step.image), {}, mark, {}});
  // Nothing below allocates.
  if (list.size() > 1) {
    Step& previous = list[list.size() - 2];
    previous.difference = std::move(older);
    previous.image.reset();
    previous.differenceAgainst.reset();
  }
}

void UndoHistory::push(Snapshot step) {
  pushWhole(undo_, std::move(step), modelMark_);
  redo_.clear();
  modelMark_ = 0;
}

// The last step of `from` becomes the model, and `current` the last of `to`;
// everything that allocates comes first.
Snapshot UndoHistory::across(std::deque<Step>& from, std::deque<Step>& to, Snapshot current,
                             uint64_t& modelMark) {
  if (from.empty()) return {};
  const Step taken = from.back();
  std::shared_ptr<const ModelImage> fromNext;
  if (from.size() > 1) fromNext = applied(from[from.size() - 2].difference, *taken.image);
  pushWhole(to, std::move(current), modelMark);
  from.pop_back();
  if (!from.empty()) {
    from.back().image = std::move(fromNext);
    from.back().differenceAgainst = taken.image;
  }
  modelMark = taken.mark;
  return {taken.name, taken.image};
}

Snapshot UndoHistory::undo(Snapshot current) {
  return across(undo_, redo_, std::move(current), modelMark_);
}

Snapshot UndoHistory::redo(Snapshot current) {
  return across(redo_, undo_, std::move(current), modelMark_);
}

void UndoHistory::dropOldestUndo() {
  if (!undo_.empty()) undo_.pop_front();
}

void UndoHistory::dropFurthestRedo() {
  if (!redo_.empty()) redo_.pop_front();
}

void UndoHistory::clear() {
  undo_.clear();
  redo_.clear();
  modelMark_ = 0;
}

size_t UndoHistory::heldBytes() const {
  size_t bytes = 0;
  for (const std::deque<Step>* list : {&undo_, &redo_})
    for (const Step& step : *list)
      bytes += (step.image ? step.image->memoryBytes() : 0) + step.difference.memoryBytes() +
               (step.differenceAgainst ? step.differenceAgainst->memoryBytes() : 0) + sizeof(Step) +
               step.name.capacity();
  return bytes;
}

void UndoHistory::undoSteps(std::vector<Snapshot>& steps,
                            std::vector<ImageDifference>& differences) const {
  steps.clear(), differences.clear();
  for (const Step& step : undo_) {
    steps.push_back({step.name, step.image});
    differences.push_back(step.difference);
  }
}

bool UndoHistory::addOldest(std::string name, const ImageDifference& fromBase, uint64_t base,
                            uint64_t mark, std::shared_ptr<const ModelImage> whole) {
  if (undo_.empty()) {
    if (base == 0 || modelMark_ != base || !whole) return false;
    undo_.push_front({std::move(name), std::move(whole), {}, mark, {}});
    return true;
  }
  if (base == 0 || undo_.front().mark != base) return false;
  undo_.push_front({std::move(name), nullptr, fromBase, mark, {}});
  return true;
}
