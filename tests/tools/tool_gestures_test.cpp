#include "tools/tool_fixture.h"

namespace {

using ToolGestureTest = ToolTest;

// Choosing another tool mid-drag makes the release act as that tool.
TEST_F(ToolGestureTest, SwitchingToMoveDuringAScaleDragMovesInstead) {
  Vertex* a = selectedVertex(0, 0, 0);
  Vertex* b = selectedVertex(1, 1, 0);
  editor.tool = kScale2D;
  press(kLeftButton, glutX(kSideView, 0), glutY(kSideView, 0));
  moveTo(glutX(kSideView, 0.5), glutY(kSideView, 0.5));
  key('m');
  release(kLeftButton, glutX(kSideView, 1), glutY(kSideView, 0.5));
  expectAt(a, 1, 0.5, 0);
  expectAt(b, 2, 1.5, 0);
  EXPECT_EQ(editor.scaleFactor.x, 2);  // the live factor is left from the scale part
}

}  // namespace
