#include "tools/spline.h"

#include <deque>
#include <memory>

#include "tools/tool_fixture.h"
#include "tools/tool_menu.h"

namespace {

// The fit of points collected as the tool does (each click at the list head), and its trace.
struct Clicks {
  Clicks(std::initializer_list<Vec3> clicked) : store(clicked) {
    for (Vec3& p : store) list.pushFront(&p);
    trace = printedBy([&] { spline = std::make_unique<Spline>(list); });
  }
  std::deque<Vec3> store;
  List<Vec3> list;
  std::unique_ptr<Spline> spline;
  std::string trace;
};

TEST(SplineTest, FourPointsGiveTheNaturalCubicSpline) {
  Clicks clicks{{0, 1, 0}, {1, 3, 0}, {2.5, 2, 0}, {4, 5, 0}};
  EXPECT_EQ(clicks.trace.substr(clicks.trace.find("c1sol")),
            "c1sol[0]: -16.000000\nc1sol[1]: 16.000000\n5.000000 1.500000 \n1.500000 6.000000 \n"
            "S[0]: 0.000000\nS[1]: -4.324324\nS[2]: 3.747748\nS[3]: 0.000000\n"
            "cpolys[0]: -0.720721 0.000000 2.720721 1.000000 0.000000\n"
            "cpolys[1]: 0.896897 -2.162162 0.558559 3.000000 1.000000\n"
            "cpolys[2]: -0.416416 1.873874 0.126126 2.000000 2.500000\n"
            "g(0.66): 2.588471\ng(1.75): 2.581081\n");
}

TEST(SplineTest, PointsAreSortedByXKeepingClickOrderForEqualX) {
  Clicks clicks{{1, 0, 0}, {0, 5, 0}, {1, 2, 0}};
  const std::vector<Vec3*> sorted = {&clicks.store[1], &clicks.store[0], &clicks.store[2]};
  EXPECT_EQ(clicks.spline->points, sorted);
  EXPECT_FALSE(clicks.spline->isFinite());  // two points at one x: the fit divides by zero
  Clicks column{{1, 0, 0}, {1, 1, 0}, {1, 2, 0}};
  EXPECT_FALSE(column.spline->isFinite());
  // A non-finite change does not stop the sweeps: the trace shows it.
  Clicks repeated{{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {2, 1, 0}};
  EXPECT_EQ(
      repeated.trace.substr(repeated.trace.find("S[1]")),
      "S[1]: inf\nS[2]: -inf\nS[3]: 0.000000\ncpolys[0]: inf 0.000000 -inf 0.000000 0.000000\n"
      "cpolys[1]: -inf inf -nan 1.000000 1.000000\ncpolys[2]: inf -inf -nan 0.000000 2.000000\n"
      "g(0.66): -nan\ng(1.75): -nan\n");
  // Sweeps that alternate or overflow still stop.
  EXPECT_EQ(Spline::solveGaussSeidel({{1, 1}, {-1, 1}}, {1, 0}).size(), 2u);
  EXPECT_EQ(Spline::solveGaussSeidel({{1, 2}, {2, 1}}, {1, 1}).size(), 2u);
}

class RevolveTest : public ToolTest {
 protected:
  void clickSpline(std::initializer_list<std::pair<double, double>> points) {
    toolMenuCommand(editor, 28);
    printedBy([&] {
      for (auto [h, v] : points) clickIn(kSideView, h, v);
    });
  }
};

// y = 1.5 - x on [0, 1] about an X axis at z = 0.25 (half the pointer's drop), y = 1 (lowest).
TEST_F(RevolveTest, RevolvingTheSplineGivesExactlyThisSurface) {
  editor.toolState.cylinderSides = 3;
  editor.toolState.cylinderLevels = 2;
  key('w');  // no spline yet: nothing
  clickSpline({{0, 1.5}, {1, 0.5}});
  for (int view : {kFrontView, kTopView}) {
    editor.viewSet.activeView = view;  // only the Side view revolves
    key('w');
  }
  editor.viewSet.activeView = kSideView;
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
  clickSpline({{1, 0}, {1, 1}});  // a non-finite fit is refused
  key('w');
  EXPECT_EQ(snapshots(), 1);
}

}  // namespace
