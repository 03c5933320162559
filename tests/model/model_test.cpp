// Face normals, the model's selection queries and its bone tree (building it,
// picking bones by rectangle, moving subtrees and the diagnostic dump of depth,
// end joint and the two parameters in pre-order), with exact results.

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "model/skeleton.h"
#include "support/fixtures.h"

namespace {

template <class T>
std::vector<T*> items(const List<T>& list) {
  std::vector<T*> out;
  for (T* item : list) out.push_back(item);
  return out;
}

// Within rounding of `sign` times the first three of `expected`.
bool near(const Vec3& n, const double* expected, double sign) {
  return std::abs(n.x - sign * expected[0]) < 1e-15 && std::abs(n.y - sign * expected[1]) < 1e-15 &&
         std::abs(n.z - sign * expected[2]) < 1e-15;
}

// (P1 - P0) x (P2 - P1) at unit length, or zero for a triangle without a
// direction; negated when flipped.
TEST(ModelTest, FaceNormalIsTheUnitCrossProductOrZero) {
  const double cases[][4][3] = {
      // three corners, then the normal
      {{0, 0, 0}, {0, 0, 3}, {0, 3, 0}, {-1, 0, 0}},
      {{1, 1, 1}, {1, 4, 5}, {-2, 4, 5}, {0, -0.8, 0.6}},
      {{0, 0, 0}, {2, 0, 0}, {2, 0, -2}, {0, 1, 0}},
      {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {0, 0, 0}},           // coincident corners
      {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {0, 0, 0}},           // collinear corners
      {{0, 0, 0}, {NAN, 0, 0}, {0, 1, 0}, {0, 0, 0}},         // an undefined corner
      {{0, 0, 0}, {1e300, 0, 0}, {0, 1e300, 0}, {0, 0, 0}}};  // an area beyond doubles
  Model model("m", nullptr);
  for (const auto& c : cases) {
    Vertex* v[3];
    for (int i = 0; i < 3; ++i) v[i] = model.newVertex(c[i][0], c[i][1], c[i][2]);
    Polygon* p = model.newPolygon(v[0], v[1], v[2], 0.1, 0.2, 0.3, 0.4, 0.5, 0.6);
    EXPECT_TRUE(near(p->normal, c[3], 1) && near(p->cornerNormals[2], c[3], 1)) << c[1][1];
    p->flip();
    p->computeNormal();  // still flipped
    EXPECT_TRUE(near(p->normal, c[3], -1) && p->flipped == 1) << c[1][1];
    EXPECT_TRUE(p->uvs[2].vertex == v[2] && p->uvs[2].u == 0.3 && p->uvs[1].v == 0.5);
  }
}

TEST(ModelTest, QueriesListWhatTheyFindInReverseWalkOrder) {
  Model model("m", nullptr);
  SquareWithWing m(model);
  struct Case {
    double a, b, c, d;
    int plane;
    double tolerance;
    std::vector<Vertex*> found;
  };
  const Case cases[] = {
      {-1, -1, 3, 3, 0, 0, {m.a, m.b, m.c, m.d, m.e}},
      {1.5, 0.5, -0.5, -0.5, 0, 0, {m.a, m.b}},  // side: x right, y up; corners in any order
      {-0.5, 0.5, 0.5, 1.5, 1, 0, {m.c, m.d}},   // front: z right, y up
      {-0.5, 1.5, 0.5, 2.5, 2, 0, {m.e}},        // top: z right, x up
      {0.25, 0.25, 0.75, 0.75, 0, 0.25, {m.a, m.b, m.c, m.d}},
      {0.25, 0.25, 0.75, 0.75, 0, 0.2, {}},
      {-9, -9, 9, 9, 3, 0, {}},
      {-9, -9, 9, 9, -1, 0, {}}};
  for (const Case& k : cases)
    EXPECT_EQ(items(model.verticesInRect(k.a, k.b, k.c, k.d, k.plane, k.tolerance)), k.found)
        << k.a << " " << k.b << " plane " << k.plane << " tolerance " << k.tolerance;

  // Polygons need all three corners; each one found is announced.
  List<Vertex> abc, none, bd;
  for (Vertex* v : {m.a, m.b, m.c}) abc.pushBack(v);
  bd.pushBack(m.b), bd.pushBack(m.d);
  EXPECT_EQ(printedBy([&] {
              EXPECT_EQ(items(model.polygonsOfVertices(abc)), std::vector<Polygon*>{m.p1});
              EXPECT_EQ(items(model.polygonsOfVertices(model.vertices)),
                        (std::vector<Polygon*>{m.p1, m.p2, m.p3}));
              EXPECT_TRUE(model.polygonsOfVertices(none).empty());
            }),
            "Found polygon!Found polygon!Found polygon!Found polygon!");
  List<Polygon> wing;  // corners once each, pushed in the order met: p1's, then p3's e
  wing.pushBack(m.p1), wing.pushBack(m.p3);
  EXPECT_EQ(items(model.distinctVertices(wing)), (std::vector<Vertex*>{m.e, m.c, m.b, m.a}));

  // UV points of mapped polygons only, one per corner: (u, v) = (x, y) / 2 on p1 and p2.
  for (Polygon* p : {m.p1, m.p2}) {
    p->uvMapped = 1;
    for (UvPoint& uv : p->uvs) uv = UvPoint{uv.vertex->x / 2, uv.vertex->y / 2, uv.vertex, 0, 1};
  }
  EXPECT_EQ(items(model.uvsInRect(0.4, 0.4, 0.6, 0.6, 0)),
            (std::vector<UvPoint*>{&m.p1->uvs[2], &m.p2->uvs[1]}));
  EXPECT_EQ(items(model.uvsInRect(0.7, 0.7, 0.6, 0.6, 0.1)),
            (std::vector<UvPoint*>{&m.p1->uvs[2], &m.p2->uvs[1]}));
  EXPECT_EQ(model.uvsInRect(1, 1, 0, 0, 0).count(), 6);
  EXPECT_EQ(items(model.uvsOfVertices(bd)), (std::vector<UvPoint*>{&m.p1->uvs[1], &m.p2->uvs[2]}));
  EXPECT_TRUE(model.uvsOfVertices(none).empty());
  m.p1->uvs[1].mapped = 0;
  EXPECT_EQ(items(model.uvsOfVertices(bd)), std::vector<UvPoint*>{&m.p2->uvs[2]});
  m.p2->uvMapped = 0;
  EXPECT_EQ(model.uvsInRect(1, 1, 0, 0, 0).count(), 3);
}

TEST(SkeletonTest, ChildrenShareJointsArePickedParentsFirstAndMoveWithTheirParents) {
  // root (0,0,0) -> arm (1,0,0) -> hand (2,0,0);  root -> leg (2,-1,0)
  Model model{"m", nullptr};
  Bone* root = model.addBone(nullptr, 0, 0, 0);  // without a skeleton: the root
  Bone* arm = model.addBone(root, 1, 0, 0);
  Bone* hand = model.addBone(arm, 2, 0, 0);
  Bone* leg = model.addBone(root, 2, -1, 0);
  EXPECT_EQ(model.createRoot(0, 0, 0), nullptr);  // one root only
  EXPECT_EQ(model.addBone(nullptr, 0, 0, 0), nullptr);
  EXPECT_EQ(model.skeleton->boneCount, 4);
  EXPECT_EQ(root->children, (std::vector<Bone*>{arm, leg}));
  EXPECT_TRUE(root->start == root->end && hand->start == arm->end && hand->parent == arm);
  const std::string trace = printedBy([&] {
    EXPECT_EQ(model.findBone(-5, -5, 5, 5, 0, 0), root);
    EXPECT_EQ(model.findBone(0.5, -0.5, 2.5, 0.5, 0, 0), arm);   // arm and hand
    EXPECT_EQ(model.findBone(2.5, 0.5, 1.5, -1.5, 0, 0), hand);  // hand before the later leg
    EXPECT_EQ(model.findBone(-1, -2, 1, -0.5, 1, 0), leg);       // front: z right, y up
    EXPECT_EQ(model.findBone(-1, 1.5, 1, 1.5, 2, 0), nullptr);   // no extent: silent
    EXPECT_EQ(model.findBone(-1, 1.5, 1, 2.5, 2, 0), hand);      // top: z right, x up
    EXPECT_EQ(model.findBone(-5, -5, 5, 5, 3, 0), nullptr);
    EXPECT_EQ(Model("bare", nullptr).findBone(-5, -5, 5, 5, 0, 0), nullptr);
  });
  std::string seven;
  for (int i = 0; i < 7; ++i) seven += "Looking up bones...\n";
  EXPECT_EQ(trace, seven);
  translateBone(hand, 0, 0, 5);
  translateBone(root, 1, 0, 0);
  translateBone(arm, 0, 1e308, 0);
  translateBone(arm, 0, 1e308, 0);  // would leave the doubles: kept
  hand->paramA = 0.25;
  leg->end->z = 1.0 / 3;
  leg->paramB = -1e7;
  EXPECT_EQ(printedBy([&] { model.dumpSkeleton(); }),
            "0 1 0 0 0 0\n1 2 1e+308 0 0 0\n2 3 1e+308 5 0.25 0\n1 3 -1 0.333333 0 -1e+07\n");
}

}  // namespace
