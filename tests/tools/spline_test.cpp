#include "tools/spline.h"

#include <deque>
#include <memory>

#include "tools/tool_fixture.h"
#include "tools/tool_menu.h"

namespace {

// Control points as the tool collects them: each click goes to the list head.
struct Clicks {
  Clicks(std::initializer_list<Vec3> clicked) : store(clicked) {
    for (Vec3& p : store) list.pushFront(&p);
  }
  std::unique_ptr<Spline> fit(std::string* trace = nullptr) {
    std::unique_ptr<Spline> spline;
    const std::string printed = printedBy([&] { spline = std::make_unique<Spline>(list); });
    if (trace) *trace = printed;
    return spline;
  }
  std::deque<Vec3> store;
  List<Vec3> list;
};

TEST(SplineTest, TwoPointsGiveTheLineThroughThemAndPrintTheFit) {
  Clicks clicks{{1, 1, 0}, {0, 0, 0}};
  std::string trace;
  auto spline = clicks.fit(&trace);
  EXPECT_EQ(trace,
            "verts[1]: 0.000000 0.000000 0.000000\nverts[0]: 1.000000 1.000000 0.000000\n"
            "verts[0]: 0.000000 0.000000 0.000000\nverts[1]: 1.000000 1.000000 0.000000\n"
            "S[0]: 0.000000\nS[1]: 0.000000\n"
            "cpolys[0]: 0.000000 0.000000 1.000000 0.000000 0.000000\n"
            "g(0.66): 0.660000\ng(1.75): 1.750000\n");
  EXPECT_EQ(spline->evaluate(-2), -2);  // the line carries on past both ends
  EXPECT_EQ(spline->evaluate(3), 3);
}

// What makes it the natural cubic spline: through every point, slope and
// curvature continuous where the pieces meet, no curvature at the ends.
TEST(SplineTest, FourPointsGiveTheNaturalCubicSpline) {
  Clicks clicks{{0, 1, 0}, {1, 3, 0}, {2.5, 2, 0}, {4, 5, 0}};
  std::string trace;
  auto spline = clicks.fit(&trace);
  const double x[] = {0, 1, 2.5, 4}, y[] = {1, 3, 2, 5};
  ASSERT_EQ(spline->segments.size(), 3u);
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(spline->evaluate(x[i]), y[i], 1e-9) << i;
  for (int j = 0; j < 3; ++j) {
    const SplineSegment& s = spline->segments[j];
    const double h = x[j + 1] - x[j];
    const double slope = 3 * s.a * h * h + 2 * s.b * h + s.c, curvature = 6 * s.a * h + 2 * s.b;
    EXPECT_NEAR(curvature, j < 2 ? 2 * spline->segments[j + 1].b : 0, 1e-5) << j;
    EXPECT_NEAR(slope, j < 2 ? spline->segments[j + 1].c : slope, 1e-5) << j;
  }
  EXPECT_EQ(spline->segments[0].b, 0);
  EXPECT_NE(trace.find("c1sol[0]: -16.000000\nc1sol[1]: 16.000000\n"
                       "5.000000 1.500000 \n1.500000 6.000000 \n"),
            std::string::npos)
      << trace;
}

TEST(SplineTest, PointsAreSortedByXKeepingClickOrderForEqualX) {
  Clicks clicks{{1, 0, 0}, {0, 5, 0}, {1, 2, 0}};
  auto spline = clicks.fit();
  const std::vector<Vec3*> sorted = {&clicks.store[1], &clicks.store[0], &clicks.store[2]};
  EXPECT_EQ(spline->points, sorted);
  EXPECT_EQ(spline->xMax(), 1);
  EXPECT_FALSE(spline->isFinite());                // two points at one x: the fit divides by zero
  Clicks column{{1, 0, 0}, {1, 1, 0}, {1, 2, 0}};  // a zero pivot in the solver
  EXPECT_FALSE(column.fit()->isFinite());
  // Sweeps that alternate for ever, or overflow, still stop.
  EXPECT_EQ(Spline::solveGaussSeidel({{1, 1}, {-1, 1}}, {1, 0}).size(), 2u);
  EXPECT_EQ(Spline::solveGaussSeidel({{1, 2}, {2, 1}}, {1, 1}).size(), 2u);
}

class RevolveTest : public ToolTest {
 protected:
  // Clicks with the spline tool, chosen by its menu code, in the Side view.
  void clickSpline(std::initializer_list<std::pair<double, double>> points) {
    toolMenuCommand(editor, 28);
    printedBy([&] {
      for (auto [h, v] : points) clickIn(kSideView, h, v);
    });
  }
};

TEST_F(RevolveTest, SplineClicksAddPointsOnTheViewPlaneAndRefitFromTheSecond) {
  clickSpline({{2, 0}});
  EXPECT_EQ(editor.currentSpline, nullptr);
  editor.panelsShown = 1;
  clickIn(kUvView, 0.5, 0.5);  // no model plane there: no point
  editor.panelsShown = 0;
  printedBy([&] { clickIn(kTopView, 1, 0.5); });
  ASSERT_NE(editor.currentSpline, nullptr);
  ASSERT_EQ(editor.currentSpline->points.size(), 2u);
  EXPECT_TRUE(sameVec(*editor.currentSpline->points[0], 0.5, 0, 1));
  EXPECT_TRUE(sameVec(*editor.currentSpline->points[1], 2, 0, 0));
  EXPECT_EQ(mesh(), "|");  // the spline is not part of the model
  EXPECT_EQ(snapshots(), 0);
  key(127);  // Delete with the spline tool discards the spline, nothing else
  EXPECT_TRUE(editor.splinePoints.empty());
  EXPECT_EQ(editor.currentSpline, nullptr);
}

// The profile y = 1.5 - x from x = 0 to 1 turned about an axis along X, two
// levels of three sides. The pointer half a unit below the last click puts
// the axis at half that, z = 0.25, and at the curve's lowest sample short of
// the end, y = 1; each ring's radius is the curve's value there.
TEST_F(RevolveTest, RevolvingTheSplineGivesExactlyThisSurface) {
  editor.cylinderSides = 3;
  editor.cylinderLevels = 2;
  key('w');  // no spline yet: nothing
  clickSpline({{0, 1.5}, {1, 0.5}});
  for (int view : {kFrontView, kTopView}) {
    editor.activeView = view;  // only the Side view revolves
    key('w');
  }
  editor.activeView = kSideView;
  moveTo(glutX(kSideView, 1), glutY(kSideView, 0));
  EXPECT_EQ(printedBy([&] { key('w'); }),
            "radius: 0.250000 cx: 0.250000 cy: 1.000000 [0.000000 1.000000 0.000000 0.500000 "
            "0.000000 0.500000]\n");
  EXPECT_EQ(mesh(),
            "0,2.5,0.25* 0,0.25,1.549038* 0,0.25,-1.049038* 0.5,2,0.25* 0.5,0.5,1.116025* "
            "0.5,0.5,-0.616025* 1,1.5,0.25* 1,0.75,0.683013* 1,0.75,-0.183013* 0,1,0.25* 1,1,0.25* "
            "| 0,1,9 1,2,9 2,0,9 6,7,10~ 7,8,10~ 8,6,10~ 0,3,4 0,1,4~ 1,4,5~ 1,2,5~ 2,5,3 2,3,0 "
            "3,6,7 3,4,7~ 4,7,8~ 4,5,8~ 5,8,6 5,6,3");
  EXPECT_EQ(snapshots(), 1);
  key(127);
  clickSpline({{1, 0}, {1, 1}});  // same x: the fit is not finite, and is refused
  key('w');
  EXPECT_EQ(snapshots(), 1);
}

}  // namespace
