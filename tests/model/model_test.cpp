// Model records, face normals and the selection queries.

#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "model/model.h"
#include "model/model_fixtures.h"

namespace {

template <class T>
std::vector<T*> items(const List<T>& list) {
  std::vector<T*> out;
  for (T* item : list) out.push_back(item);
  return out;
}

TEST(ModelTest, NewModelHasOneEmptyWhiteGroupAndNoSkeleton) {
  Model model("testmodel", nullptr);
  EXPECT_EQ(model.name, "testmodel");
  ASSERT_EQ(model.groups.count(), 1);
  EXPECT_EQ(model.groups.headItem(), model.currentGroup);
  EXPECT_EQ(model.vertices.count(), 0);
  EXPECT_EQ(model.hasSkeleton, 0);
  EXPECT_EQ(model.rootBone(), nullptr);
  const Material& material = model.currentGroup->material;
  EXPECT_EQ(material.red + material.green + material.blue + material.alpha, 4.0);
  EXPECT_EQ(material.textured, 0);
}

TEST(ModelTest, NewPolygonLinksCornersToItsOwnUvPointsAndHasUnitNormal) {
  Model model("m", nullptr);
  Vertex* a = model.newVertex(0, 0, 0);
  Vertex* b = model.newVertex(2, 0, 0);
  Vertex* c = model.newVertex(0, 2, 0);
  Polygon* polygon = model.newPolygon(a, b, c, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6);
  Vertex* corners[3] = {a, b, c};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(polygon->vertices[i], corners[i]);
    EXPECT_EQ(polygon->uvs[i].vertex, corners[i]);
    EXPECT_EQ(polygon->cornerNormals[i].z, 1.0);
  }
  EXPECT_EQ(polygon->uvs[2].u, 0.3);
  EXPECT_EQ(polygon->uvs[2].v, 0.6);
  EXPECT_EQ(polygon->normal.x, 0.0);
  EXPECT_EQ(polygon->normal.y, 0.0);
  EXPECT_EQ(polygon->normal.z, 1.0);
  EXPECT_EQ(polygon->uvMapped + polygon->selected + polygon->smooth + polygon->flipped, 0);
  EXPECT_EQ(polygon->bone, nullptr);
}

TEST(ModelTest, FlippedPolygonNormalPointsTheOtherWay) {
  Model model("m", nullptr);
  Polygon* polygon = model.newPolygon(model.newVertex(0, 0, 0), model.newVertex(0, 0, 3),
                                      model.newVertex(0, 3, 0));
  EXPECT_EQ(polygon->normal.x, -1.0);
  polygon->flipped = 1;
  polygon->computeNormal();
  EXPECT_EQ(polygon->normal.x, 1.0);
  polygon->flip();
  EXPECT_EQ(polygon->flipped, 0);
  EXPECT_EQ(polygon->normal.x, -1.0);
}

TEST(ModelTest, DegenerateTrianglesGetZeroNormalNeverNaN) {
  Model model("m", nullptr);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* why;
    double p[3][3];
  } cases[] = {
      {"coincident corners", {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}}},
      {"collinear corners", {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}},
      {"two corners equal", {{0, 0, 0}, {0, 0, 0}, {0, 1, 0}}},
      {"a corner at NaN", {{0, 0, 0}, {nan, 0, 0}, {0, 1, 0}}},
      {"a corner at 1e300", {{0, 0, 0}, {1e300, 0, 0}, {0, 1e300, 0}}},
  };
  for (const Case& c : cases) {
    Polygon* polygon = model.newPolygon(model.newVertex(c.p[0][0], c.p[0][1], c.p[0][2]),
                                        model.newVertex(c.p[1][0], c.p[1][1], c.p[1][2]),
                                        model.newVertex(c.p[2][0], c.p[2][1], c.p[2][2]));
    polygon->flipped = 1;
    polygon->computeNormal();
    EXPECT_EQ(polygon->normal.x, 0.0) << c.why;
    EXPECT_EQ(polygon->normal.y, 0.0) << c.why;
    EXPECT_EQ(polygon->normal.z, 0.0) << c.why;
  }
}

// Vertices at the corners of a 2 x 2 square in each plane's coordinates,
// plus one far away:
//
//   y/x ^  c . d
//       |  a . b      (a at 0, d at 2 on both axes)
class VerticesInRectTest : public testing::Test {
 protected:
  VerticesInRectTest() {
    a = addVertex(model, 0, 0, 0);
    b = addVertex(model, 2, 0, 2);
    c = addVertex(model, 0, 2, 0);
    d = addVertex(model, 2, 2, 2);
    far = addVertex(model, 50, 50, 50);
  }
  Model model{"m", nullptr};
  Vertex *a, *b, *c, *d, *far;
};

TEST_F(VerticesInRectTest, FindsInsideVerticesNewestDiscoveredFirst) {
  // The walk meets d, c, b, a (list order); results come out reversed.
  List<Vertex> found = model.verticesInRect(-1, -1, 3, 3, 0, 0);
  EXPECT_EQ(items(found), (std::vector<Vertex*>{a, b, c, d}));
}

TEST_F(VerticesInRectTest, CornerOrderDoesNotMatter) {
  List<Vertex> forward = model.verticesInRect(-1, -1, 1, 3, 0, 0);
  List<Vertex> backward = model.verticesInRect(1, 3, -1, -1, 0, 0);
  EXPECT_EQ(items(forward), (std::vector<Vertex*>{a, c}));
  EXPECT_EQ(items(backward), items(forward));
}

TEST_F(VerticesInRectTest, EachPlaneReadsItsOwnAxes) {
  Vertex* onlyXY = addVertex(model, 10, 10, -10);  // x, y in the box; z out
  Vertex* onlyZY = addVertex(model, -10, 10, 10);
  Vertex* onlyZX = addVertex(model, 10, -10, 10);
  EXPECT_EQ(items(model.verticesInRect(9, 9, 11, 11, 0, 0)), std::vector<Vertex*>{onlyXY});
  EXPECT_EQ(items(model.verticesInRect(9, 9, 11, 11, 1, 0)), std::vector<Vertex*>{onlyZY});
  EXPECT_EQ(items(model.verticesInRect(9, 9, 11, 11, 2, 0)), std::vector<Vertex*>{onlyZX});
  EXPECT_TRUE(model.verticesInRect(-100, -100, 100, 100, 3, 0).empty());
  EXPECT_TRUE(model.verticesInRect(-100, -100, 100, 100, -1, 0).empty());
}

TEST_F(VerticesInRectTest, ToleranceWidensEverySideInclusively) {
  // The rectangle [0.5, 1.5] x [0.5, 1.5] widened by 0.5 just reaches the square.
  EXPECT_EQ(model.verticesInRect(0.5, 0.5, 1.5, 1.5, 0, 0.5).count(), 4);
  EXPECT_EQ(model.verticesInRect(0.5, 0.5, 1.5, 1.5, 0, 0.25).count(), 0);
  // Exactly on an edge with no tolerance counts as inside.
  EXPECT_EQ(items(model.verticesInRect(2, 2, 3, 3, 0, 0)), std::vector<Vertex*>{d});
}

// Two triangles sharing the edge b-c, UV-mapped except where noted:
//
//   c---d
//   | \ |
//   a---b
class PolygonQueryTest : public testing::Test {
 protected:
  PolygonQueryTest() {
    a = addVertex(model, 0, 0, 0);
    b = addVertex(model, 1, 0, 0);
    c = addVertex(model, 0, 1, 0);
    d = addVertex(model, 1, 1, 0);
    lower = addPolygon(model, model.currentGroup, a, b, c);
    upper = addPolygon(model, model.currentGroup, b, d, c);
    for (Polygon* polygon : {lower, upper}) {
      polygon->uvMapped = 1;
      for (UvPoint& uv : polygon->uvs) {
        uv.u = uv.vertex->x;
        uv.v = uv.vertex->y;
        uv.mapped = 1;
      }
    }
  }
  List<Vertex> listOf(std::initializer_list<Vertex*> vertices) {
    List<Vertex> list;
    for (Vertex* vertex : vertices) list.pushFront(vertex);
    return list;
  }
  Model model{"m", nullptr};
  Vertex *a, *b, *c, *d;
  Polygon *lower, *upper;
};

TEST_F(PolygonQueryTest, PolygonsOfVerticesNeedsAllThreeCornersAndSaysSoPerPolygon) {
  List<Vertex> three = listOf({a, b, c});
  testing::internal::CaptureStdout();
  List<Polygon> found = model.polygonsOfVertices(three);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Found polygon!");
  EXPECT_EQ(items(found), std::vector<Polygon*>{lower});

  List<Vertex> all = listOf({a, b, c, d});
  testing::internal::CaptureStdout();
  found = model.polygonsOfVertices(all);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Found polygon!Found polygon!");
  // The group walk meets upper first.
  EXPECT_EQ(items(found), (std::vector<Polygon*>{lower, upper}));

  List<Vertex> none;
  EXPECT_TRUE(model.polygonsOfVertices(none).empty());
}

TEST_F(PolygonQueryTest, UvsInRectSkipsPolygonsWithoutTextureCoordinates) {
  List<UvPoint> found = model.uvsInRect(0.5, 0.5, 1.5, 1.5, 0);
  EXPECT_EQ(items(found), std::vector<UvPoint*>{&upper->uvs[1]});  // d's corner
  // Corners of b and c are on both polygons: one UvPoint each.
  EXPECT_EQ(model.uvsInRect(1.5, -0.5, -0.5, 1.5, 0).count(), 6);
  EXPECT_EQ(model.uvsInRect(1.25, 1.25, 2, 2, 0.25).count(), 1);

  upper->uvMapped = 0;
  EXPECT_TRUE(model.uvsInRect(0.5, 0.5, 1.5, 1.5, 0).empty());
}

TEST_F(PolygonQueryTest, UvsOfVerticesTakesMappedCornersOfMappedPolygons) {
  List<Vertex> corners = listOf({b, d});
  EXPECT_EQ(items(model.uvsOfVertices(corners)),
            (std::vector<UvPoint*>{&lower->uvs[1], &upper->uvs[1], &upper->uvs[0]}));
  upper->uvs[0].mapped = 0;
  lower->uvMapped = 0;
  EXPECT_EQ(items(model.uvsOfVertices(corners)), std::vector<UvPoint*>{&upper->uvs[1]});
}

TEST_F(PolygonQueryTest, DistinctVerticesListsSharedCornersOnce) {
  List<Polygon> both;
  both.pushFront(lower);
  both.pushFront(upper);
  // Walk: upper's b, d, c, then lower's a; reversed on the way out.
  EXPECT_EQ(items(model.distinctVertices(both)), (std::vector<Vertex*>{a, c, d, b}));
}

TEST_F(PolygonQueryTest, SelectMappedUvsLeavesUnassignedCornersAlone) {
  List<UvPoint> uvs = model.uvsInRect(-1, -1, 2, 2, 0);
  lower->uvs[0].mapped = 0;
  Model::selectMappedUvs(uvs);
  EXPECT_EQ(lower->uvs[0].selected, 0);
  EXPECT_EQ(lower->uvs[1].selected, 1);
  model.clearUvSelection();
  int selected = 0;
  for (UvPoint* uv : uvs) selected += uv->selected;
  EXPECT_EQ(selected, 0);
}

}  // namespace
