#include "tools/tool_fixture.h"

namespace {

using SplineToolTest = ToolTest;

TEST_F(SplineToolTest, TwoClicksInTheSideViewGiveTheLineThroughThem) {
  editor.tool = kCreateSpline;
  printed([&] { clickIn(kSideView, 0, 0); });
  EXPECT_EQ(editor.splinePoints.count(), 1);
  EXPECT_EQ(editor.currentSpline, nullptr);
  printed([&] { clickIn(kSideView, 1, 1); });
  ASSERT_NE(editor.currentSpline, nullptr);
  ASSERT_EQ(editor.currentSpline->segmentCount, 1);
  const SplineSegment& s = editor.currentSpline->segments[0];
  EXPECT_NEAR(s.a, 0, 1e-9);
  EXPECT_NEAR(s.b, 0, 1e-9);
  EXPECT_NEAR(s.c, 1, 1e-9);
  EXPECT_NEAR(s.d, 0, 1e-9);
  EXPECT_EQ(editor.dragMode, kNoDrag);
  EXPECT_EQ(snapshots(), 0);
  EXPECT_EQ(vertexCount(), 0);
}

TEST_F(SplineToolTest, PointsClickedRightToLeftAreFittedInXOrder) {
  editor.tool = kCreateSpline;
  printed([&] {
    clickIn(kSideView, 2, 0);
    clickIn(kSideView, 1, 1);
    clickIn(kTopView, 1, 0);  // (0, 0, 1)
  });
  ASSERT_NE(editor.currentSpline, nullptr);
  const auto& points = editor.currentSpline->points;
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0], editor.splinePoints.headItem());  // the newest is leftmost
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(points[i]->x, i, 1e-9);
}

TEST_F(SplineToolTest, DeleteWithTheSplineToolDiscardsTheSpline) {
  editor.tool = kCreateSpline;
  Vertex* v = selectedVertex(0, 0, 0);
  printed([&] {
    clickIn(kSideView, 0, 0);
    clickIn(kSideView, 1, 1);
  });
  key(127);
  EXPECT_TRUE(editor.splinePoints.empty());
  EXPECT_EQ(editor.currentSpline, nullptr);
  EXPECT_TRUE(editor.model->vertices.contains(v));  // nothing deleted
}

}  // namespace
