// Subdivide keeps a closed box closed, its area and the texture coordinates at its old corners;
// merge by distance welds exactly what a pair-by-pair search welds.

#include "tools/tool_fixture.h"

#include <map>
#include <random>
#include <set>

#include "console/console_commands.h"
#include "model/animation.h"

namespace {

using Edge = std::pair<const Vertex*, const Vertex*>;

// Each undirected edge with the number of triangles using it.
std::map<Edge, int> edgeUses(const Model& m) {
  std::map<Edge, int> uses;
  for (const PolygonGroup* g : m.groups)
    for (const Polygon* p : g->polygons)
      for (int i = 0; i < 3; ++i) {
        const Vertex *a = p->vertices[i], *b = p->vertices[(i + 1) % 3];
        ++uses[a < b ? Edge{a, b} : Edge{b, a}];
      }
  return uses;
}

double area(const Model& m) {
  double sum = 0;
  for (const PolygonGroup* g : m.groups)
    for (const Polygon* p : g->polygons) {
      const Vec3 a = positionOf(p->vertices[0]), b = positionOf(p->vertices[1]),
                 c = positionOf(p->vertices[2]);
      const Vec3 u{b.x - a.x, b.y - a.y, b.z - a.z}, v{c.x - a.x, c.y - a.y, c.z - a.z};
      sum += std::sqrt(std::pow(u.y * v.z - u.z * v.y, 2) + std::pow(u.z * v.x - u.x * v.z, 2) +
                       std::pow(u.x * v.y - u.y * v.x, 2)) /
             2;
    }
  return sum;
}

// The texture coordinates each vertex has at its corners, rounded.
std::map<const Vertex*, std::set<std::string>> cornerUvs(const Model& m) {
  std::map<const Vertex*, std::set<std::string>> uvs;
  for (const PolygonGroup* g : m.groups)
    for (const Polygon* p : g->polygons)
      for (int i = 0; i < 3; ++i)
        uvs[p->vertices[i]].insert(num(p->uvs[i].u) + "," + num(p->uvs[i].v));
  return uvs;
}

TEST_F(ToolTest, SubdivideKeepsABoxClosedItsAreaAndItsCornersTextureCoordinates) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    std::mt19937 rng(seed);
    editor.doc.replaceModel(std::make_unique<Model>("box", nullptr));
    editor.toolState.tool = kCreateBox;
    dragIn(kSideView, 0, 0, 2, 1);
    selectAllPolygons(editor);
    uvMapSelected(editor, editor.viewSet.views[kFrontView]);
    for (int round = 0; round < 2; ++round) {
      deselectPolygons(editor);
      editor.doc.selectedVertices.clear();
      for (PolygonGroup* g : model().groups)
        for (Polygon* p : g->polygons)
          if (rng() % 3 == 0) editor.doc.selectedPolygons.pushFront(p);
      const int chosen = editor.doc.selectedPolygons.count();
      const double before = area(model());
      const auto uvsBefore = cornerUvs(model());
      const int triangles = model().polygonCount();
      runConsoleCommand(editor, "/subdivide");
      if (chosen == 0) {
        EXPECT_EQ(lastConsoleMessage(), "Subdivide: no selected triangle.");
        continue;
      }
      for (const auto& [edge, uses] : edgeUses(model())) ASSERT_EQ(uses, 2) << seed;
      EXPECT_NEAR(area(model()), before, 1e-9) << seed;
      const auto uvsAfter = cornerUvs(model());
      for (const auto& [vertex, uvs] : uvsBefore) EXPECT_EQ(uvsAfter.at(vertex), uvs) << seed;
      EXPECT_EQ(editor.doc.selectedPolygons.count(), 4 * chosen) << seed;
      EXPECT_GE(model().polygonCount(), triangles + 3 * chosen) << seed;
      undo(editor.doc);
      EXPECT_EQ(model().polygonCount(), triangles) << seed;
      redo(editor.doc);
    }
  }
}

// A midpoint's hand-set weights are its ends' mean; pieces keep their triangle's bone and group.
TEST_F(ToolTest, SubdividedPiecesKeepBonesGroupsAndWeights) {
  SquareWithWing m(model());
  Bone* root = model().createRoot(0, 0, 0);
  Bone* arm = model().addBone(root, 1, 0, 0);
  m.p3->bone = arm;
  model().animation->weights[m.b] = {{root, 1}};
  model().animation->weights[m.e] = {{arm, 0.5}, {root, 0.5}};
  editor.doc.selectedPolygons.pushFront(m.p3);
  subdivideSelection(editor);
  Vertex* mid = nullptr;
  for (Vertex* v : model().vertices)
    if (vec(positionOf(v)) == "1.5,0,0") mid = v;
  ASSERT_NE(mid, nullptr);
  const auto& w = model().animation->weights.at(mid);
  ASSERT_EQ(w.size(), 2u);
  EXPECT_EQ((std::vector<std::string>{num(w[0].weight), num(w[1].weight)}),
            (std::vector<std::string>{"0.75", "0.25"}));
  EXPECT_EQ(w[0].bone, root);
  int onArm = 0;
  for (Polygon* p : model().currentGroup->polygons) onArm += p->bone == arm;
  EXPECT_EQ(onArm, 4);
  EXPECT_EQ(model().polygonCount(), 3 + 3 + 1);  // p3 in four, p1 beside it in two
}

// Random clouds with near copies: merge gives the vertices, corners and closed triangles that
// welding each vertex (oldest selected first) into the first kept one within reach gives; a
// triangle that had two equal corners before, and none merged, stays.
TEST_F(ToolTest, MergeWeldsWhatAPairByPairSearchWelds) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> coordinate(-2, 2), jitter(-0.05, 0.05);
    editor.doc.replaceModel(std::make_unique<Model>("cloud", nullptr));
    std::vector<Vertex*> all;
    for (int i = 0; i < 60; ++i) {
      Vec3 p{coordinate(rng), coordinate(rng), coordinate(rng)};
      if (i > 0 && rng() % 2) {
        p = positionOf(all[rng() % all.size()]);
        if (rng() % 2) p = {p.x + jitter(rng), p.y + jitter(rng), p.z + jitter(rng)};
      }
      all.push_back(addVertex(model(), p.x, p.y, p.z));
    }
    for (int i = 0; i < 40; ++i)
      addTriangle(model(), all[rng() % 60], all[rng() % 60], all[rng() % 60]);
    std::vector<Vertex*> selected;  // oldest first
    for (Vertex* v : all)
      if (rng() % 4) selected.push_back(v), editor.doc.selectedVertices.pushFront(v);
    const double distance = (rng() % 4) * 0.04;

    std::map<const Vertex*, Vertex*> into;
    std::vector<Vertex*> kept;
    for (Vertex* v : selected) {
      Vertex* to = nullptr;
      for (Vertex* k : kept) {
        const Vec3 a = positionOf(v), b = positionOf(k);
        if (std::pow(a.x - b.x, 2) + std::pow(a.y - b.y, 2) + std::pow(a.z - b.z, 2) <=
            distance * distance) {
          to = k;
          break;
        }
      }
      to ? void(into[v] = to) : kept.push_back(v);
    }
    auto after = [&](Vertex* v) { return into.count(v) ? into[v] : v; };
    std::multiset<std::vector<Vertex*>> triangles;
    for (const Polygon* p : model().currentGroup->polygons) {
      std::vector<Vertex*> t{after(p->vertices[0]), after(p->vertices[1]), after(p->vertices[2])};
      const bool moved =
          into.count(p->vertices[0]) + into.count(p->vertices[1]) + into.count(p->vertices[2]);
      if (!moved || (t[0] != t[1] && t[1] != t[2] && t[2] != t[0])) triangles.insert(t);
    }

    EXPECT_EQ(mergeSelectedVertices(editor, distance), static_cast<int>(into.size())) << seed;
    std::set<const Vertex*> left;
    for (Vertex* v : model().vertices) left.insert(v);
    for (Vertex* v : all) EXPECT_EQ(left.count(v), into.count(v) ? 0u : 1u) << seed;
    std::multiset<std::vector<Vertex*>> merged;
    for (const Polygon* p : model().currentGroup->polygons)
      merged.insert({p->vertices[0], p->vertices[1], p->vertices[2]});
    EXPECT_EQ(merged, triangles) << seed;
  }
}

}  // namespace
