#include "tools/tool_fixture.h"

#include <cmath>

namespace {

using RotateToolTest = ToolTest;

constexpr double kQuarterTurn = 1.5707963267948966;

// 'R' turns a quarter about the view's depth axis, around the selection's centre.
TEST_F(RotateToolTest, QuarterTurnInEachFlatViewKeepsTheDepthAxis) {
  struct Case {
    int view;
    Vec3 offset, turned;  // from the centre (1, 1, 1), before and after
  };
  const Case cases[] = {{kSideView, {1, 0, 0}, {0, -1, 0}},
                        {kFrontView, {0, 1, 0}, {0, 0, 1}},
                        {kTopView, {1, 0, 0}, {0, 0, -1}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.view);
    editor.selectedVertices.clear();
    Vertex* a = selectedVertex(1 + c.offset.x, 1 + c.offset.y, 1 + c.offset.z);
    Vertex* b = selectedVertex(1 - c.offset.x, 1 - c.offset.y, 1 - c.offset.z);
    moveTo(glutX(c.view, 0), glutY(c.view, 0));
    key('R');
    expectAt(a, 1 + c.turned.x, 1 + c.turned.y, 1 + c.turned.z);
    expectAt(b, 1 - c.turned.x, 1 - c.turned.y, 1 - c.turned.z);
  }
}

TEST_F(RotateToolTest, DraggingUpTurnsCounterClockwiseByAHundredthRadianPerPixel) {
  Vertex* right = selectedVertex(2, 0, 0);
  Vertex* left = selectedVertex(0, 0, 0);
  editor.tool = kRotate;
  dragIn(kSideView, 0, 0, 0, 1);  // 50 pixels up
  expectAt(right, 1 + std::cos(0.5), std::sin(0.5), 0);
  expectAt(left, 1 - std::cos(0.5), -std::sin(0.5), 0);
}

TEST_F(RotateToolTest, ASingleVertexIsItsOwnCentre) {
  Vertex* v = selectedVertex(3, -2, 1);
  for (int view : {kSideView, kFrontView, kTopView}) {
    editor.activeView = view;
    editor.rotateSelection(kQuarterTurn);
  }
  expectAt(v, 3, -2, 1);
  EXPECT_EQ(snapshots(), 3);
}

}  // namespace
