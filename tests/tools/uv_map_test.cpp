#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/editor_fixture.h"
#include "support/mesh_builders.h"

namespace {

class UvMapTest : public EditorTest {
 protected:
  Polygon* selectTriangle(Vec3 a, Vec3 b, Vec3 c) {
    Model& m = *editor.model;
    Polygon* p = addTriangle(m, addVertex(m, a.x, a.y, a.z), addVertex(m, b.x, b.y, b.z),
                             addVertex(m, c.x, c.y, c.z));
    editor.selectedPolygons.pushFront(p);
    return p;
  }
  std::string mapIn(int view) {
    testing::internal::CaptureStdout();
    editor.uvMapSelected(editor.views[view]);
    return testing::internal::GetCapturedStdout();
  }
};

::testing::AssertionResult uvIs(const UvPoint& uv, double u, double v) {
  if (uv.u == u && uv.v == v) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << uv.u << ", " << uv.v << ")";
}

// The trace is written in blocks rather than line by line with printf; it
// must read exactly as printf would have written it.
TEST_F(UvMapTest, TraceReadsAsPrintfWritesIt) {
  std::vector<Polygon*> made;
  for (int i = 0; i < 3000; ++i) {
    const double a = i * 0.37, b = i * 1.13;
    made.push_back(selectTriangle({a, b / 3, 0}, {a + 1e-7, b, 1}, {-a / 7, -b, 2}));
  }
  const std::string printed = mapIn(kFrontView);
  std::string expected;
  char line[128];
  for (Polygon* p : editor.selectedPolygons) {
    expected += "view: 1\n";
    for (const UvPoint& uv : p->uvs) {
      std::snprintf(line, sizeof line, "U: %lf V: %lf\n", uv.u, uv.v);
      expected += line;
    }
  }
  EXPECT_EQ(printed, expected);
}

TEST_F(UvMapTest, SideViewSpreadsTheTriangleOverTheTexture) {
  Polygon* p = selectTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
  EXPECT_EQ(mapIn(kSideView),
            "view: 0\n"
            "U: 0.000000 V: 0.000000\n"
            "U: 1.000000 V: 0.000000\n"
            "U: 0.000000 V: 1.000000\n");
  EXPECT_TRUE(uvIs(p->uvs[1], 1, 0));
  EXPECT_TRUE(uvIs(p->uvs[2], 0, 1));
  EXPECT_EQ(p->uvMapped, 1);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(p->uvs[i].mapped + p->vertices[i]->uvMapped, 2) << i;
  }
  EXPECT_EQ(editor.undoStack.size(), 1u);
}

TEST_F(UvMapTest, FrontAndTopViewsUseTheirScreenAxesOverTheWholeSelection) {
  // Together: x spans 2..4, y 0..5, z 4..8.
  Polygon* p = selectTriangle({2, 0, 4}, {4, 1, 8}, {3, 5, 6});
  Polygon* small = selectTriangle({3, 1, 5}, {3, 2, 6}, {3, 3, 5});
  mapIn(kFrontView);  // u from z, v from y
  EXPECT_TRUE(uvIs(p->uvs[1], 1, 0.2));
  EXPECT_TRUE(uvIs(p->uvs[2], 0.5, 1));
  EXPECT_TRUE(uvIs(small->uvs[1], 0.5, 0.4));
  mapIn(kTopView);  // u from z, v from x
  EXPECT_TRUE(uvIs(p->uvs[1], 1, 1));
  EXPECT_TRUE(uvIs(p->uvs[2], 0.5, 0.5));
}

TEST_F(UvMapTest, AFlatAxisMapsToZeroAndTheFullViewMovesNothing) {
  Polygon* p = selectTriangle({0, 0, 0}, {1, 0, 0}, {0, 2, 0});  // z is 0 throughout
  EXPECT_EQ(mapIn(kFrontView),
            "view: 1\n"
            "U: 0.000000 V: 0.000000\n"
            "U: 0.000000 V: 0.000000\n"
            "U: 0.000000 V: 1.000000\n");
  p->uvs[1].u = 0.25;
  EXPECT_EQ(mapIn(kFullView).substr(0, 8), "view: 3\n");
  EXPECT_TRUE(uvIs(p->uvs[1], 0.25, 0));
}

}  // namespace
