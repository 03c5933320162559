#include <gtest/gtest.h>

#include "support/editor_fixture.h"

namespace {

TEST_F(EditorTest, FramePumpRunsQueuedCodesInClickOrderBeforeTheConsoleLine) {
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

TEST_F(EditorTest, CursorLabelNamesTheDragOrElseTheTool) {
  const struct {
    int dragMode, tool;
    const char* label;
  } cases[] = {
      {kNoDrag, kSelectVertex, "Select Vertex"},     {kToolDrag, kCreateSpline, "Create Spline"},
      {kNoDrag, kAddBone, "Create Skeleton (Root)"}, {kRubberBand, kMove, "Select"},
      {kRotateView, kMove, "Rotate View"},           {kZoomView, kMove, "Zoom View"},
      {kScrollView, kMove, "Scroll View"},           {kPopupMenu, kMove, ""}};
  for (const auto& c : cases) {
    editor.dragMode = c.dragMode;
    editor.tool = c.tool;
    EXPECT_EQ(editor.cursorLabelName(), c.label) << c.dragMode << " " << c.tool;
  }
  editor.dragMode = kNoDrag;
  editor.tool = kAddBone;
  editor.model->createRoot(0, 0, 0);
  EXPECT_EQ(editor.cursorLabelName(), "Add Bone");
}

}  // namespace
