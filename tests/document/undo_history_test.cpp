// Random small edits interleaved with new steps, undos, redos and the budget's drops: every undo
// and redo gives back exactly the step a history of whole images gives, the history holds less
// than those images, and the recovery file written from its differences is the one written from
// the whole images.

#include <gtest/gtest.h>

#include <deque>

#include "document/undo_history.h"
#include "recovery/recovery_file.h"
#include "support/image_chain.h"
#include "support/undo_steps.h"

namespace {

size_t wholeBytes(const std::deque<Snapshot>& steps) {
  size_t bytes = 0;
  for (const Snapshot& step : steps) bytes += step.image->memoryBytes();
  return bytes;
}

TEST(UndoHistoryTest, UndoAndRedoGiveBackWhatAHistoryOfWholeImagesGives) {
  int checked = 0;
  for (uint64_t seed = 1; seed <= 60; ++seed) {
    ImageChain chain{std::mt19937_64(seed)};
    UndoHistory history;
    std::deque<Snapshot> undo, redo;  // whole images: oldest and furthest first
    ModelImage start = chain.fresh();
    for (int i = 0; i < 300; ++i) start.vertices.push_back({chain.real(), 1, 2});  // some size
    Snapshot model{"m", std::make_shared<ModelImage>(start)};
    for (int op = 0; op < 60; ++op) {
      const int roll = chain.below(10);
      (roll >= 4 && roll < 7 && !undo.empty()) || (roll >= 7 && roll < 9 && !redo.empty());
      if (roll < 4) {  // a step taken, then an edit (now and then under a new name)
        history.push(model);
        undo.push_back(model), redo.clear();
        const int kind = chain.below(7);
        model = {chain.below(6) ? model.name : "m" + std::to_string(op),
                 std::make_shared<ModelImage>(chain.edited(*model.image, kind == 6 ? 7 : kind))};
      } else if (roll < 7 && !undo.empty()) {
        const Snapshot gave = history.undo(model);
        ASSERT_TRUE(sameSnapshot(gave, undo.back())) << seed << " undo at " << op;
        redo.push_back(model), model = undo.back(), undo.pop_back();
      } else if (roll < 9 && !redo.empty()) {
        const Snapshot gave = history.redo(model);
        ASSERT_TRUE(sameSnapshot(gave, redo.back())) << seed << " redo at " << op;
        undo.push_back(model), model = redo.back(), redo.pop_back();
      } else if (roll == 9 && undo.size() > 1) {  // the budget's order: oldest undo, then redo
        history.dropOldestUndo(), undo.pop_front();
      } else if (roll == 9 && !redo.empty()) {
        history.dropFurthestRedo(), redo.pop_front();
      }
      ASSERT_EQ(history.undoCount(), undo.size()) << seed;
      ASSERT_EQ(history.redoCount(), redo.size()) << seed;
      // Small edits of a model of some size: beside the newest undo and the next redo, held
      // whole, and the model's own image (kept after an undo or redo until the next step), the
      // steps hold far less than their images.
      const size_t wholes = (undo.empty() ? 0 : undo.back().image->memoryBytes()) +
                            (redo.empty() ? 0 : redo.back().image->memoryBytes());
      const size_t others = wholeBytes(undo) + wholeBytes(redo) - wholes;
      if (undo.size() + redo.size() >= 3) {
        ++checked;
        EXPECT_LT(history.heldBytes(), wholes + model.image->memoryBytes() + others / 4)
            << seed << " " << op;
      }
    }
    RecoveryContents held{0, "/m", model, {}}, whole{0, "/m", model, {undo.begin(), undo.end()}};
    history.undoSteps(held.undoSteps, held.undoDifferences);
    EXPECT_EQ(formatRecoveryFile(held), formatRecoveryFile(whole)) << seed;
  }
  EXPECT_GT(checked, 1000);
}

}  // namespace
