#include "tools/tool_fixture.h"

namespace {

using ScaleToolTest = ToolTest;

// A drag of half a unit doubles the extent about the box centre (0.5, 0.5, 0.5).
TEST_F(ScaleToolTest, Scale2DInTheFrontViewLeavesX) {
  Vertex* a = selectedVertex(0, 0, 0);
  Vertex* b = selectedVertex(1, 1, 1);
  editor.tool = kScale2D;
  dragIn(kFrontView, 0, 0, 0.5, 0.5);
  expectAt(a, 0, -0.5, -0.5);
  expectAt(b, 1, 1.5, 1.5);
  EXPECT_EQ(editor.scaleFactor.x, 1);  // reset for the next drag
  EXPECT_EQ(editor.scaleFactor.z, 1);
}

TEST_F(ScaleToolTest, Scale3DFollowsTheVerticalDragOnly) {
  Vertex* a = selectedVertex(0, 0, 0);
  Vertex* b = selectedVertex(1, 1, 1);
  editor.tool = kScale3D;
  dragIn(kSideView, 0, 0, 2, 0);
  expectAt(a, 0, 0, 0);
  expectAt(b, 1, 1, 1);
  dragIn(kTopView, 0, 0, 0, -0.3);  // factor 0.4
  expectAt(a, 0.3, 0.3, 0.3);
  expectAt(b, 0.7, 0.7, 0.7);
  EXPECT_EQ(snapshots(), 2);
}

TEST_F(ScaleToolTest, ASelectionFlatInZKeepsItsZAndTracesTheBox) {
  Vertex* a = selectedVertex(0, 0, 2);
  Vertex* b = selectedVertex(1, 1, 2);
  editor.tool = kScale3D;
  std::string out = printed([&] { dragIn(kSideView, 0, 0, 0, 0.5); });
  expectAt(a, -0.5, -0.5, 2);
  expectAt(b, 1.5, 1.5, 2);
  EXPECT_NE(out.find("center x: 0.500000 y: 0.500000 z: 2.000000\n"
                     "min x: -0.500000 y: -0.500000 z: 2.000000\n"
                     "testtest"),
            std::string::npos)
      << out;
}

TEST_F(ScaleToolTest, UvPointsScaleAboutTheirBoxCentre) {
  Polygon* p = triangle(vertex(0, 0, 0), vertex(1, 0, 0), vertex(0, 1, 0));
  p->uvs[0].u = 0.25;
  p->uvs[1].u = 0.75;
  p->uvs[0].v = p->uvs[1].v = 0.5;
  editor.selectedUvs.pushFront(&p->uvs[0]);
  editor.selectedUvs.pushFront(&p->uvs[1]);
  editor.activeView = kUvView;
  editor.scaleFactor = {3, 2, 1};
  editor.scaleSelection();
  EXPECT_DOUBLE_EQ(p->uvs[0].u, -0.25);  // not clamped
  EXPECT_DOUBLE_EQ(p->uvs[1].u, 1.25);
  EXPECT_DOUBLE_EQ(p->uvs[0].v, 0.5);
}

}  // namespace
