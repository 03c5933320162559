// Model records, face normals and the selection queries.

#include <cmath>
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
  ASSERT_EQ(model.groups.count(), 1);
  EXPECT_EQ(model.groups.headItem(), model.currentGroup);
  EXPECT_EQ(model.vertices.count(), 0);
  EXPECT_EQ(model.hasSkeleton, 0);
  const Material& material = model.currentGroup->material;
  EXPECT_EQ(material.red + material.green + material.blue + material.alpha, 4.0);
}

TEST(ModelTest, NormalIsTheUnitCrossProductNegatedWhenFlipped) {
  Model model("m", nullptr);
  Polygon* polygon = model.newPolygon(model.newVertex(0, 0, 0), model.newVertex(0, 0, 3),
                                      model.newVertex(0, 3, 0), 0.1, 0.2, 0.3, 0.4, 0.5, 0.6);
  EXPECT_EQ(polygon->normal, (Vec3{-1, 0, 0}));
  EXPECT_EQ(polygon->cornerNormals[2], (Vec3{-1, 0, 0}));
  EXPECT_EQ(polygon->uvs[2].vertex, polygon->vertices[2]);
  EXPECT_EQ(polygon->uvs[2].v, 0.6);
  polygon->flipped = 1;
  polygon->computeNormal();
  EXPECT_EQ(polygon->normal, (Vec3{1, 0, 0}));
}

TEST(ModelTest, TrianglesWithoutAreaGetZeroNormalNeverNaN) {
  Model model("m", nullptr);
  const double p[][3][3] = {{{1, 1, 1}, {1, 1, 1}, {1, 1, 1}},           // coincident
                            {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}},           // collinear
                            {{0, 0, 0}, {NAN, 0, 0}, {0, 1, 0}},         // undefined corner
                            {{0, 0, 0}, {1e300, 0, 0}, {0, 1e300, 0}}};  // overflow
  for (const auto& c : p) {
    Polygon* polygon = model.newPolygon(model.newVertex(c[0][0], c[0][1], c[0][2]),
                                        model.newVertex(c[1][0], c[1][1], c[1][2]),
                                        model.newVertex(c[2][0], c[2][1], c[2][2]));
    EXPECT_EQ(polygon->normal, (Vec3{0, 0, 0})) << c[1][0];
  }
}

// Corners of a 2 x 2 square in every plane (a at 0, d at 2 on all axes):
//   c d
//   a b
class VerticesInRectTest : public testing::Test {
 protected:
  Model model{"m", nullptr};
  Vertex* a = addVertex(model, 0, 0, 0);
  Vertex* b = addVertex(model, 2, 0, 2);
  Vertex* c = addVertex(model, 0, 2, 0);
  Vertex* d = addVertex(model, 2, 2, 2);
};

TEST_F(VerticesInRectTest, FindsInsideVerticesInReverseWalkOrderWhicheverCornersComeFirst) {
  EXPECT_EQ(items(model.verticesInRect(-1, -1, 3, 3, 0, 0)), (std::vector<Vertex*>{a, b, c, d}));
  EXPECT_EQ(items(model.verticesInRect(1, 3, -1, -1, 0, 0)), (std::vector<Vertex*>{a, c}));
  EXPECT_TRUE(model.verticesInRect(-9, -9, 9, 9, 3, 0).empty());
}

TEST_F(VerticesInRectTest, EachPlaneReadsItsOwnAxes) {
  Vertex* inXY = addVertex(model, 10, 10, -10);
  Vertex* inZY = addVertex(model, -10, 10, 10);
  Vertex* inZX = addVertex(model, 10, -10, 10);
  EXPECT_EQ(items(model.verticesInRect(9, 9, 11, 11, 0, 0)), std::vector<Vertex*>{inXY});
  EXPECT_EQ(items(model.verticesInRect(9, 9, 11, 11, 1, 0)), std::vector<Vertex*>{inZY});
  EXPECT_EQ(items(model.verticesInRect(9, 9, 11, 11, 2, 0)), std::vector<Vertex*>{inZX});
}

TEST_F(VerticesInRectTest, ToleranceWidensEverySideInclusively) {
  EXPECT_EQ(model.verticesInRect(0.5, 0.5, 1.5, 1.5, 0, 0.5).count(), 4);
  EXPECT_EQ(model.verticesInRect(0.5, 0.5, 1.5, 1.5, 0, 0.25).count(), 0);
}

// Two UV-mapped triangles sharing the edge b-c, (u, v) = (x, y) / 2:
//   c---d
//   | \ |
//   a---b
class PolygonQueryTest : public VerticesInRectTest {
 protected:
  PolygonQueryTest() {
    for (Polygon* polygon : {lower, upper}) {
      polygon->uvMapped = 1;
      for (UvPoint& uv : polygon->uvs) {
        uv = UvPoint{uv.vertex->x / 2, uv.vertex->y / 2, uv.vertex, 0, 1};
      }
    }
  }
  List<Vertex> listOf(std::initializer_list<Vertex*> vertices) {
    List<Vertex> list;
    for (Vertex* vertex : vertices) list.pushFront(vertex);
    return list;
  }
  Polygon* lower = addPolygon(model, model.currentGroup, a, b, c);
  Polygon* upper = addPolygon(model, model.currentGroup, b, d, c);
};

TEST_F(PolygonQueryTest, PolygonsOfVerticesNeedAllThreeCornersAndAreAnnounced) {
  List<Vertex> three = listOf({a, b, c}), all = listOf({a, b, c, d}), none;
  testing::internal::CaptureStdout();
  EXPECT_EQ(items(model.polygonsOfVertices(three)), std::vector<Polygon*>{lower});
  EXPECT_EQ(items(model.polygonsOfVertices(all)), (std::vector<Polygon*>{lower, upper}));
  EXPECT_TRUE(model.polygonsOfVertices(none).empty());
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Found polygon!Found polygon!Found polygon!");
}

TEST_F(PolygonQueryTest, UvQueriesSkipUnmappedPolygonsAndCorners) {
  EXPECT_EQ(items(model.uvsInRect(0.5, 0.5, 1.5, 1.5, 0)), std::vector<UvPoint*>{&upper->uvs[1]});
  EXPECT_EQ(model.uvsInRect(1.25, 1.25, 2, 2, 0.25).count(), 1);
  EXPECT_EQ(model.uvsInRect(1, 1, 0, 0, 0).count(), 6);  // shared vertices, separate points
  List<Vertex> bd = listOf({b, d});
  EXPECT_EQ(items(model.uvsOfVertices(bd)),
            (std::vector<UvPoint*>{&lower->uvs[1], &upper->uvs[1], &upper->uvs[0]}));

  upper->uvs[0].mapped = 0;
  lower->uvMapped = 0;
  EXPECT_EQ(items(model.uvsOfVertices(bd)), std::vector<UvPoint*>{&upper->uvs[1]});
  EXPECT_EQ(model.uvsInRect(1, 1, 0, 0, 0).count(), 3);
}

TEST_F(PolygonQueryTest, DistinctVerticesListsSharedCornersOnce) {
  List<Polygon> both;
  both.pushFront(lower);
  both.pushFront(upper);
  // Met as upper's b, d, c, then lower's a.
  EXPECT_EQ(items(model.distinctVertices(both)), (std::vector<Vertex*>{a, c, d, b}));
}

}  // namespace
