// Unwrapping and the projections that suit a shape, on a box, a cylinder, a sphere, a revolved
// spline, an arm written by other tools and a low-poly character: every texture coordinate lies in
// 0..1, no two charts overlap (drawn at 256 x 256), the charts cover at least 40% of the square, at
// least 90% of the triangles keep their share of the area within a factor of 2, and no triangle is
// mirrored.

#include "tools/tool_fixture.h"

#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

#include "console/console_commands.h"
#include "formats/model_file.h"
#include "import/foreign_import.h"
#include "support/format_fixtures.h"
#include "tools/spline.h"
#include "tools/spline_tool.h"
#include "tools/uv_charts.h"

namespace {

std::vector<Polygon*> allTriangles(const Model& m) {
  std::vector<Polygon*> all;
  for (PolygonGroup* g : m.groups)
    for (Polygon* p : g->polygons) all.push_back(p);
  return all;
}

// Twice the signed area of a triangle's texture corners in the order it faces by.
double uvArea(const Polygon& p) {
  const UvPoint &a = p.uvs[p.storedCorner(0)], &b = p.uvs[p.storedCorner(1)],
                &c = p.uvs[p.storedCorner(2)];
  return (b.u - a.u) * (c.v - a.v) - (b.v - a.v) * (c.u - a.u);
}

double area(const Polygon& p) {
  auto at = [&](int k) { return glm::dvec3(p.vertices[k]->x, p.vertices[k]->y, p.vertices[k]->z); };
  return glm::length(glm::cross(at(1) - at(0), at(2) - at(0)));
}

// "" when the mapping passes, else what failed.
std::string mappingFault(const Model& m) {
  const std::vector<Polygon*> triangles = allTriangles(m);
  constexpr int kSize = 256;
  std::vector<int> owner(kSize * kSize, -1);
  const std::vector<UvChart> charts = chartsAsMapped(triangles);
  double uvTotal = 0, total = 0;
  for (size_t c = 0; c < charts.size(); ++c)
    for (const Polygon* p : charts[c].triangles) {
      for (const UvPoint& uv : p->uvs)
        if (!(uv.u >= 0 && uv.u <= 1 && uv.v >= 0 && uv.v <= 1)) return "a coordinate outside 0..1";
      if (uvArea(*p) < -1e-12) return "a mirrored triangle";
      uvTotal += uvArea(*p), total += area(*p);
      // Texel centres strictly inside the triangle.
      for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
          const double u = (x + 0.5) / kSize, v = (y + 0.5) / kSize;
          double side[3];
          for (int k = 0; k < 3; ++k) {
            const UvPoint &a = p->uvs[p->storedCorner(k)],
                          &b = p->uvs[p->storedCorner((k + 1) % 3)];
            side[k] = (b.u - a.u) * (v - a.v) - (b.v - a.v) * (u - a.u);
          }
          if (!(side[0] > 1e-9 && side[1] > 1e-9 && side[2] > 1e-9)) continue;
          int& at = owner[y * kSize + x];
          if (at >= 0 && at != static_cast<int>(c)) return "two charts overlap";
          at = static_cast<int>(c);
        }
    }
  const double covered = std::count_if(owner.begin(), owner.end(), [](int o) { return o >= 0; });
  if (covered < 0.4 * kSize * kSize) return "the charts cover " + num(covered / kSize / kSize);
  int kept = 0;
  for (const Polygon* p : triangles) {
    const double ratio = (uvArea(*p) / uvTotal) / (area(*p) / total);
    kept += ratio >= 0.5 && ratio <= 2;
  }
  if (kept < 0.9 * triangles.size())
    return std::to_string(kept) + " of " + std::to_string(triangles.size()) + " keep their share";
  return "";
}

class UnwrapTest : public ToolTest {
 public:
  void box() { drawIn(kCreateBox, kSideView, 0, 0, 2, 1); }
  void cylinder() {  // along x, turned to face out
    drawIn(kCreateCylinder, kSideView, 0, 0, 3, 1);
    selectAllPolygons(editor);
    key('o');
  }
  void drawIn(int tool, int view, double h0, double v0, double h1, double v1) {
    editor.toolState.tool = tool;
    dragIn(view, h0, v0, h1, v1);
  }
  void sphere() {  // 12 rings of 16, about the origin
    std::vector<Vertex*> ring, last;
    Vertex* top = addVertex(model(), 0, 1, 0);
    Vertex* bottom = addVertex(model(), 0, -1, 0);
    for (int i = 1; i < 12; ++i) {
      ring.clear();
      const double lat = std::numbers::pi * (0.5 - i / 12.0);
      for (int k = 0; k < 16; ++k) {
        const double lon = 2 * std::numbers::pi * k / 16;
        ring.push_back(addVertex(model(), std::cos(lat) * std::cos(lon), std::sin(lat),
                                 -std::cos(lat) * std::sin(lon)));
      }
      for (int k = 0; k < 16; ++k) {
        Vertex *a = ring[k], *b = ring[(k + 1) % 16];
        if (i == 1) {
          addTriangle(model(), top, a, b);
        } else {
          addTriangle(model(), last[k], a, b), addTriangle(model(), last[k], b, last[(k + 1) % 16]);
        }
      }
      last = ring;
    }
    for (int k = 0; k < 16; ++k) addTriangle(model(), last[k], bottom, last[(k + 1) % 16]);
  }
  void revolved() {
    clearSpline(editor);
    for (int i = 0; i < 12; ++i)
      editor.toolState.splinePoints.pushFront(
          editor.toolState.keepSplinePoint({i * 0.3, 1 + 0.4 * std::sin(i * 0.6), 0}));
    editor.toolState.currentSpline = std::make_unique<Spline>(editor.toolState.splinePoints);
    editor.viewSet.activeView = kSideView;
    revolveSpline(editor);
  }
  void imported(const std::string& file) {
    ForeignModel imported;
    std::string reason;
    ScratchCwd scratch;
    ASSERT_TRUE(importForeignModel(std::getenv("VANTOREL_TEST_DATA") + file, imported, &reason))
        << reason;
    auto built = std::make_unique<Model>(file, nullptr);
    buildModel(imported.image, *built);
    editor.doc.replaceModel(std::move(built));
  }
  void arm() { imported("/animated/arm_assimp.glb"); }
  void character() { imported("/character/character.glb"); }
};

TEST_F(UnwrapTest, EveryShapeUnwrapsAndProjectsIntoTheSquareWithoutOverlapOrMirroring) {
  const struct {
    const char* shape;
    void (UnwrapTest::*make)();
    const char* projection;  // the one that suits it, "" for none
    int view;                // whose up axis the projection turns about
  } cases[] = {
      {"box", &UnwrapTest::box, "box", kSideView},
      {"cylinder", &UnwrapTest::cylinder, "cylinder", kTopView},
      {"sphere", &UnwrapTest::sphere, "sphere", kSideView},
      {"revolved spline", &UnwrapTest::revolved, "", kSideView},
      {"arm", &UnwrapTest::arm, "", kSideView},
      {"character", &UnwrapTest::character, "box", kFrontView},
  };
  for (const auto& c : cases) {
    for (const std::string& command :
         {std::string("/unwrap"), "/project " + std::string(c.projection)}) {
      if (command == "/project ") continue;
      editor.doc.replaceModel(std::make_unique<Model>(c.shape, nullptr));
      (this->*c.make)();
      ASSERT_GT(model().polygonCount(), 0) << c.shape;
      selectAllPolygons(editor);
      editor.viewSet.activeView = c.view;
      runConsoleCommand(editor, command);
      EXPECT_EQ(mappingFault(model()), "") << c.shape << " " << command;
      int mapped = 0;
      for (const Polygon* p : allTriangles(model())) mapped += p->uvMapped;
      EXPECT_EQ(mapped, model().polygonCount()) << c.shape << " " << command;
    }
  }
}

// Near the end of the doubles every way of mapping still gives coordinates in 0..1.
TEST_F(UnwrapTest, AModelAtTheEndOfTheDoublesMapsInsideTheSquare) {
  for (const char* command : {"/unwrap", "/project box", "/project sphere", "/project view"}) {
    editor.doc.replaceModel(std::make_unique<Model>("far", nullptr));
    SquareWithWing(model()).e->x = 1.7e308;
    selectAllPolygons(editor);
    runConsoleCommand(editor, command);
    for (const Polygon* p : allTriangles(model()))
      for (const UvPoint& uv : p->uvs)
        EXPECT_TRUE(uv.u >= 0 && uv.u <= 1 && uv.v >= 0 && uv.v <= 1) << command;
  }
}

// Packing keeps each chart's shape and the charts' sizes to each other.
TEST_F(UnwrapTest, PackKeepsTheChartsAsMappedAndMovesThemApart) {
  box();
  selectAllPolygons(editor);
  runConsoleCommand(editor, "/project box");
  // Every triangle onto one spot: six charts on top of each other.
  for (Polygon* p : allTriangles(model()))
    for (UvPoint& uv : p->uvs) uv.u = uv.u * 0.1 + 0.05 * (p->vertices[0] == p->vertices[1]);
  std::vector<double> before;
  for (const Polygon* p : allTriangles(model())) before.push_back(uvArea(*p));
  runConsoleCommand(editor, "/pack");
  EXPECT_EQ(lastConsoleMessage(), "Pack: 6 charts packed.");
  EXPECT_EQ(mappingFault(model()).find("overlap"), std::string::npos);
  std::vector<double> after;
  for (const Polygon* p : allTriangles(model())) after.push_back(uvArea(*p));
  for (size_t i = 1; i < after.size(); ++i)
    EXPECT_NEAR(after[i] / after[0], before[i] / before[0], 1e-9) << i;
}

}  // namespace

// Seams between selected vertices cut a flat grid that would else unwrap as one chart; marking
// them again clears them, undo and subdivide keep them.
TEST_F(UnwrapTest, SeamsCutWhereTheyAreMarkedAndFollowUndoAndSubdivide) {
  Vertex* grid[4][4];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) grid[i][j] = addVertex(model(), i, j, 0);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      addTriangle(model(), grid[i][j], grid[i + 1][j], grid[i + 1][j + 1]);
      addTriangle(model(), grid[i][j], grid[i + 1][j + 1], grid[i][j + 1]);
    }
  selectAllPolygons(editor);
  EXPECT_EQ(said("/unwrap"), "Unwrap: 18 triangles in 1 charts.|");
  EXPECT_EQ(said("/seam"), "Seam: no edge between the selected vertices.|");
  for (int j = 0; j < 4; ++j) grid[1][j]->selected = 1;  // the line x = 1, top to bottom
  EXPECT_EQ(said("/seam"), "Seam: 3 edges marked.|");
  EXPECT_EQ(said("/unwrap"), "Unwrap: 18 triangles in 2 charts.|");
  EXPECT_EQ(said("/seam"), "Seam: 3 edges cleared.|");
  EXPECT_TRUE(model().seams.empty());
  key('z'), key('z');  // the unwrap, then the clearing
  EXPECT_EQ(model().seams.size(), 3u);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) grid[i][j] = nullptr;  // undo gave a model of its own
  selectAllPolygons(editor);
  runConsoleCommand(editor, "/subdivide");
  EXPECT_EQ(model().seams.size(), 6u);  // each seam halved at its midpoint
  EXPECT_EQ(said("/unwrap"), "Unwrap: 72 triangles in 2 charts.|");
}
