#include "tools/tool_fixture.h"

#include <cmath>

namespace {

class RevolveTest : public ToolTest {
 protected:
  void clickSpline(double x0, double y0, double x1, double y1) {
    editor.tool = kCreateSpline;
    printed([&] {
      clickIn(kSideView, x0, y0);
      clickIn(kSideView, x1, y1);
    });
  }
};

// The profile y = 0.5 + x from x = 0 to 1; the pointer half a unit below the
// last click puts the axis at z = 0.5 and at the curve's lowest sample, y = 0.5.
TEST_F(RevolveTest, RingRadiiFollowTheSplineAroundAnAxisAlongX) {
  clickSpline(0, 0.5, 1, 1.5);
  moveTo(glutX(kSideView, 1), glutY(kSideView, 0.5));
  std::string out = printed([&] { key('w'); });
  EXPECT_NE(out.find("radius: 0.500000 cx: 0.500000 cy: 0.500000 "
                     "[0.000000 1.000000 0.500000 1.500000 0.000000 1.000000]\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(vertexCount(), 90);
  EXPECT_EQ(polygonCount(), 176);
  EXPECT_EQ(snapshots(), 1);
  int capCentres = 0;
  for (Vertex* v : editor.model->vertices) {
    double distance = std::hypot(v->y - 0.5, v->z - 0.5);
    if (distance < 1e-9) {
      ++capCentres;
      continue;
    }
    EXPECT_NEAR(distance, 0.5 + v->x, 1e-9);
  }
  EXPECT_EQ(capCentres, 2);
}

TEST_F(RevolveTest, OnlyTheSideViewWithAFiniteSplineRevolves) {
  key('w');  // no spline
  clickSpline(0, 0, 1, 1);
  editor.activeView = kFrontView;
  key('w');
  editor.activeView = kTopView;
  key('w');
  EXPECT_EQ(vertexCount(), 0);
  EXPECT_EQ(snapshots(), 0);

  key(127);
  clickSpline(1, 0, 1, 1);  // same x: the fit divides by zero
  ASSERT_NE(editor.currentSpline, nullptr);
  key('w');
  EXPECT_EQ(vertexCount(), 0);
  EXPECT_EQ(snapshots(), 0);
}

}  // namespace
