#include "tools/spline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace {

// Control points as the tool collects them: each click goes to the list head.
struct Clicks {
  explicit Clicks(std::initializer_list<Vec3> clicked) : store(clicked) {
    for (Vec3& p : store) list.pushFront(&p);
  }
  std::deque<Vec3> store;
  List<Vec3> list;
};

std::unique_ptr<Spline> fit(Clicks& clicks, std::string* trace = nullptr) {
  testing::internal::CaptureStdout();
  auto spline = std::make_unique<Spline>(clicks.list);
  std::string out = testing::internal::GetCapturedStdout();
  if (trace) *trace = out;
  return spline;
}

TEST(SplineTest, TwoPointsGiveTheLineThroughThem) {
  Clicks clicks{{0, 0, 0}, {1, 1, 0}};
  std::string trace;
  auto spline = fit(clicks, &trace);
  ASSERT_EQ(spline->segments.size(), 1u);
  const SplineSegment& seg = spline->segments[0];
  EXPECT_EQ(seg.a, 0);
  EXPECT_EQ(seg.b, 0);
  EXPECT_EQ(seg.c, 1);
  EXPECT_EQ(seg.d, 0);
  EXPECT_EQ(spline->evaluate(1), 1);    // the last point itself
  EXPECT_EQ(spline->evaluate(-2), -2);  // below the first point the line carries on
  EXPECT_EQ(trace,
            "verts[1]: 1.000000 1.000000 0.000000\n"
            "verts[0]: 0.000000 0.000000 0.000000\n"
            "verts[0]: 0.000000 0.000000 0.000000\n"
            "verts[1]: 1.000000 1.000000 0.000000\n"
            "S[0]: 0.000000\n"
            "S[1]: 0.000000\n"
            "cpolys[0]: 0.000000 0.000000 1.000000 0.000000 0.000000\n"
            "g(0.66): 0.660000\n"
            "g(1.75): 1.750000\n");
}

TEST(SplineTest, ThreePointTraceShowsTheSystemAndItsSolution) {
  Clicks clicks{{0, 0, 0}, {1, 1, 0}, {2, 0, 0}};
  std::string trace;
  fit(clicks, &trace);
  // One unknown: 4 S(1) = 6 ((1 - 0) / (1 - 2) - (0 - 1) / (0 - 1)) = -12.
  EXPECT_NE(trace.find("c1sol[0]: -12.000000\n4.000000 \nS[0]: 0.000000\nS[1]: -3.000000\n"),
            std::string::npos)
      << trace;
}

TEST(SplineTest, PointsAreSortedByXKeepingClickOrderForEqualX) {
  Clicks clicks{{3, 0, 5}, {2, 1, 0}, {1, 0, 0}};
  std::string trace;
  auto spline = fit(clicks, &trace);
  EXPECT_EQ(trace.substr(0, trace.find("verts[0]: 1")),
            "verts[2]: 1.000000 0.000000 0.000000\n"
            "verts[1]: 2.000000 1.000000 0.000000\n"
            "verts[0]: 3.000000 0.000000 5.000000\n");
  std::vector<Vec3*> sorted = {&clicks.store[2], &clicks.store[1], &clicks.store[0]};
  EXPECT_EQ(spline->points, sorted);
  EXPECT_EQ(spline->xMin(), 1);
  EXPECT_EQ(spline->xMax(), 3);

  Clicks tie{{1, 0, 0}, {0, 5, 0}, {1, 2, 0}};
  sorted = {&tie.store[1], &tie.store[0], &tie.store[2]};
  EXPECT_EQ(fit(tie)->points, sorted);
}

TEST(SplineTest, MinimumSamplesFromTheFirstPointUpToOneStepShortOfTheLast) {
  Clicks falling{{0, 1, 0}, {1, 0, 0}};
  EXPECT_NEAR(fit(falling)->minimum(10), 0.1, 1e-12);  // x = 0.9 is the last sample
  Clicks rising{{0, 0, 0}, {1, 1, 0}};
  EXPECT_EQ(fit(rising)->minimum(10), 0);
}

TEST(SplineTest, FourPointFitSolvesTheNaturalSplineSystem) {
  Clicks clicks{{0, 1, 0}, {1, 3, 0}, {2.5, 2, 0}, {4, 5, 0}};
  auto spline = fit(clicks);
  ASSERT_TRUE(spline->isFinite());

  // The 2 x 2 system of the inner second derivatives, solved directly.
  std::vector<double> x = {0, 1, 2.5, 4}, y = {1, 3, 2, 5}, h = {1, 1.5, 1.5};
  double slope[3];
  for (int i = 0; i < 3; ++i) slope[i] = (y[i + 1] - y[i]) / h[i];
  double a11 = 2 * (h[0] + h[1]), a12 = h[1], a21 = h[1], a22 = 2 * (h[1] + h[2]);
  double r1 = 6 * (slope[1] - slope[0]), r2 = 6 * (slope[2] - slope[1]);
  double det = a11 * a22 - a12 * a21;
  std::vector<double> want = {0, (r1 * a22 - a12 * r2) / det, (a11 * r2 - a21 * r1) / det, 0};
  ASSERT_EQ(spline->secondDerivatives.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(spline->secondDerivatives[i], want[i], 1e-5) << i;

  // The pieces meet with equal slope, and the curve ends on the last point.
  for (int j = 0; j < 2; ++j) {
    const SplineSegment &s = spline->segments[j], &next = spline->segments[j + 1];
    EXPECT_NEAR(3 * s.a * h[j] * h[j] + 2 * s.b * h[j] + s.c, next.c, 1e-5) << j;
  }
  EXPECT_NEAR(spline->evaluate(4), 5, 1e-9);
}

TEST(SplineTest, EqualXGivesANonFiniteFitThatStillCompletes) {
  Clicks pair{{1, 0, 0}, {1, 1, 0}};
  EXPECT_FALSE(fit(pair)->isFinite());
  Clicks inner{{0, 0, 0}, {1, 1, 0}, {1, 2, 0}, {2, 0, 0}};
  EXPECT_FALSE(fit(inner)->isFinite());
  Clicks column{{1, 0, 0}, {1, 1, 0}, {1, 2, 0}};  // a zero pivot in the solver
  EXPECT_FALSE(fit(column)->isFinite());
}

TEST(SplineSolverTest, DiagonallyDominantSystemConverges) {
  std::vector<std::vector<double>> a = {{4, 1, 0}, {1, 5, 2}, {0, 2, 6}};
  std::vector<double> exact = {1, -2, 3}, b(3, 0);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) b[i] += a[i][j] * exact[j];
  std::vector<double> x = Spline::solveGaussSeidel(a, b);
  ASSERT_EQ(x.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(x[i], exact[i], 1e-5) << i;
}

TEST(SplineSolverTest, NonConvergingSystemsStop) {
  // Sweeps alternate between (1, 1) and (0, 0) for ever.
  std::vector<double> x = Spline::solveGaussSeidel({{1, 1}, {-1, 1}}, {1, 0});
  ASSERT_EQ(x.size(), 2u);
  EXPECT_EQ(x[0], x[1]);
  EXPECT_TRUE(x[0] == 0 || x[0] == 1);
  // Sweeps grow without bound until the values overflow.
  x = Spline::solveGaussSeidel({{1, 2}, {2, 1}}, {1, 1});
  EXPECT_EQ(x.size(), 2u);
}

}  // namespace
