#include <gtest/gtest.h>

#include "support/editor_fixture.h"

namespace {

using EditorStartTest = EditorTest;

TEST_F(EditorStartTest, StartsWithTheDocumentedSettings) {
  EXPECT_EQ(editor.layoutMode, 1);
  EXPECT_EQ(editor.tool, kSelectVertex);
  EXPECT_EQ(editor.singleView, kFullView);
  EXPECT_EQ(editor.showGrid, 1);
  EXPECT_EQ(editor.panelsShown, 0);
  EXPECT_EQ(editor.menuPage, 1);
  const Box3& b = editor.boundingBox;
  EXPECT_EQ(b.minX, 0);
  EXPECT_EQ(b.maxX, 1);
  EXPECT_EQ(b.minY, 0);
  EXPECT_EQ(b.maxY, 1);
  EXPECT_EQ(b.minZ, 0);
  EXPECT_EQ(b.maxZ, 1);
  EXPECT_EQ(editor.model->name, "testmodel");
  EXPECT_EQ(editor.model->groups.count(), 1);
  EXPECT_EQ(editor.undoStack.size(), 0u);
}

TEST_F(EditorStartTest, ColourTableHasHalfTransparentDragSlots) {
  for (int slot = 0; slot < UiContext::kColourSlots; ++slot) {
    float alpha = editor.ui->colour(slot)[3];
    if (slot == 2 || slot == 3) {
      EXPECT_FLOAT_EQ(alpha, 0.5f) << slot;
    } else if (slot == 4) {
      EXPECT_FLOAT_EQ(alpha, 0.9f);
    } else {
      EXPECT_FLOAT_EQ(alpha, 1.0f) << slot;
    }
  }
  EXPECT_EQ(editor.ui->titleBarHeight(), 20);
}

TEST_F(EditorStartTest, FramePumpRunsQueuedCodesInClickOrderBeforeTheConsoleLine) {
  editor.ui->pushCommand(20);  // Move
  editor.ui->pushCommand(22);  // Scale 2D
  editor.ui->setFocusedEntry(editor.consolePrompt);
  typeLine("/polycount");
  editor.framePump();
  EXPECT_EQ(editor.tool, kScale2D);
  EXPECT_EQ(editor.ui->popCommand(), -1);
  EXPECT_EQ(lastConsoleMessage(), "0");
  EXPECT_EQ(editor.ui->isLinePending(), 0);
}

TEST_F(EditorStartTest, CursorLabelNamesTheToolOrTheDrag) {
  EXPECT_EQ(editor.cursorLabelName(), "Select Vertex");
  editor.tool = kAddBone;
  EXPECT_EQ(editor.cursorLabelName(), "Create Skeleton (Root)");
  editor.model->createRoot(0, 0, 0);
  EXPECT_EQ(editor.cursorLabelName(), "Add Bone");
  editor.dragMode = kScrollView;
  EXPECT_EQ(editor.cursorLabelName(), "Scroll View");
  editor.dragMode = kPopupMenu;
  EXPECT_EQ(editor.cursorLabelName(), "");
}

}  // namespace
