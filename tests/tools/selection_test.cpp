#include <gtest/gtest.h>

#include "support/editor_fixture.h"
#include "support/mesh_builders.h"

namespace {

constexpr int kLockBit = 8;  // Caps or Num Lock as the window system reports it

class SelectionTest : public EditorTest {
 protected:
  SelectionTest() {
    // A Side view ten units wide: a click reaches 0.1 units around the point.
    Viewport& side = editor.views[kSideView];
    side.left = -5;
    side.right = 5;
    editor.activeView = kSideView;
  }
  void pick(double ha, double va, double hb, double vb, int modifiers = 0) {
    editor.setModifiers(modifiers);
    editor.selectInRect(ha, va, hb, vb);
  }
  void clickAt(double h, double v, int modifiers = 0) { pick(h, v, h, v, modifiers); }
  Model& model() { return *editor.model; }

  // A triangle a, b, c whose corners have texture coordinates.
  Polygon* mappedTriangle(Vertex* a, Vertex* b, Vertex* c) {
    Polygon* p = addTriangle(model(), a, b, c);
    p->uvMapped = 1;
    for (UvPoint& uv : p->uvs) uv.mapped = 1;
    return p;
  }
};

TEST_F(SelectionTest, ClickReachesOneMarkerEdgeWhateverTheDepth) {
  Vertex* near = addVertex(model(), 0.09, -0.09, 7);  // far behind the point, still picked
  Vertex* far = addVertex(model(), 0.15, 0, 0);
  clickAt(0, 0);
  EXPECT_EQ(editor.selectedVertices.count(), 1);
  EXPECT_TRUE(editor.selectedVertices.contains(near));
  EXPECT_EQ(near->selected, 1);
  EXPECT_EQ(far->selected, 0);

  editor.vertexMarkerScale = 2;  // bigger markers reach further
  clickAt(0, 0);
  EXPECT_EQ(editor.selectedVertices.count(), 2);
}

TEST_F(SelectionTest, RubberBandIsNotWidenedButIncludesItsBorder) {
  Vertex* corner = addVertex(model(), 1, 1, 0);
  Vertex* outside = addVertex(model(), 1.01, 0.5, 0);
  pick(0, 0, 1, 1);
  EXPECT_TRUE(editor.selectedVertices.contains(corner));
  EXPECT_FALSE(editor.selectedVertices.contains(outside));
}

TEST_F(SelectionTest, ShiftAddsOnceAndCtrlRemovesTheVertexWithItsUvPoints) {
  Vertex* a = addVertex(model(), 0, 0, 0);
  Vertex* b = addVertex(model(), 1, 0, 0);
  Vertex* c = addVertex(model(), 0, 1, 0);
  Polygon* p = mappedTriangle(a, b, c);

  clickAt(0, 0);
  clickAt(1, 0, kShift | kLockBit);
  ASSERT_EQ(editor.selectedVertices.count(), 2);
  EXPECT_EQ(editor.selectedVertices.headItem(), b);  // newest first
  EXPECT_EQ(editor.selectedUvs.count(), 2);
  EXPECT_EQ(p->uvs[1].selected, 1);

  clickAt(1, 0, kShift);  // already selected: nothing changes
  EXPECT_EQ(editor.selectedVertices.count(), 2);
  EXPECT_EQ(editor.selectedVertices.headItem(), b);
  EXPECT_EQ(editor.selectedUvs.count(), 2);

  clickAt(0, 0, kCtrl | kLockBit);
  EXPECT_EQ(editor.selectedVertices.count(), 1);
  EXPECT_EQ(editor.selectedVertices.headItem(), b);
  EXPECT_EQ(a->selected, 0);
  EXPECT_EQ(editor.selectedUvs.count(), 1);
  EXPECT_TRUE(editor.selectedUvs.contains(&p->uvs[1]));
  EXPECT_EQ(p->uvs[0].selected, 0);
}

TEST_F(SelectionTest, OtherModifierCombinationsReplaceTheSelection) {
  Vertex* a = addVertex(model(), 0, 0, 0);
  Vertex* b = addVertex(model(), 1, 0, 0);
  Vertex* c = addVertex(model(), 0, 1, 0);
  Polygon* p = mappedTriangle(a, b, c);
  const int replacing[] = {0, kAlt, kShift | kCtrl, -1};
  for (int modifiers : replacing) {
    clickAt(0, 0);
    clickAt(1, 0, modifiers);
    EXPECT_EQ(editor.selectedVertices.count(), 1) << modifiers;
    EXPECT_EQ(editor.selectedVertices.headItem(), b) << modifiers;
    EXPECT_EQ(a->selected, 0) << modifiers;
    EXPECT_EQ(b->selected, 1) << modifiers;
    ASSERT_EQ(editor.selectedUvs.count(), 1) << modifiers;
    EXPECT_EQ(editor.selectedUvs.headItem(), &p->uvs[1]) << modifiers;
  }
  clickAt(3, 3);  // nothing there
  EXPECT_EQ(editor.selectedVertices.count(), 0);
  EXPECT_EQ(editor.selectedUvs.count(), 0);
}

TEST_F(SelectionTest, PolygonPickNeedsAllThreeCorners) {
  //  c       e
  //  | \     |
  //  a---b---d      p1 = a b c, p2 = b d e
  Vertex* a = addVertex(model(), 0, 0, 0);
  Vertex* b = addVertex(model(), 1, 0, 0);
  Vertex* c = addVertex(model(), 0, 1, 0);
  Vertex* d = addVertex(model(), 2, 0, 0);
  Vertex* e = addVertex(model(), 2, 1, 0);
  Polygon* p1 = addTriangle(model(), a, b, c);
  Polygon* p2 = addTriangle(model(), b, d, e);
  editor.tool = kSelectPolygon;

  pick(-0.5, -0.5, 1.5, 0.5);  // a and b only
  EXPECT_EQ(editor.selectedPolygons.count(), 0);
  EXPECT_EQ(p1->selected, 0);

  pick(-0.5, -0.5, 1.5, 1.5);
  EXPECT_EQ(editor.selectedPolygons.count(), 1);
  EXPECT_EQ(p1->selected, 1);

  pick(0.5, -0.5, 2.5, 1.5, kShift);
  pick(0.5, -0.5, 2.5, 1.5, kShift);
  EXPECT_EQ(editor.selectedPolygons.count(), 2);
  EXPECT_EQ(p2->selected, 1);

  pick(0.5, -0.5, 2.5, 1.5);  // replace: p1 loses its flag too
  EXPECT_EQ(editor.selectedPolygons.count(), 1);
  EXPECT_EQ(editor.selectedPolygons.headItem(), p2);
  EXPECT_EQ(p1->selected, 0);

  pick(-1, -1, 3, 3, kCtrl);
  EXPECT_EQ(editor.selectedPolygons.count(), 0);
  EXPECT_EQ(p2->selected, 0);
  EXPECT_EQ(editor.selectedVertices.count(), 0);  // vertices are not picked along
}

TEST_F(SelectionTest, BonePickTakesTheJointInTheRectangleAndAClickClearsIt) {
  Bone* root = model().createRoot(0, 0, 0);
  Bone* child = model().addBone(root, 2, 2, 0);
  editor.tool = kSelectBone;
  pick(1.5, 1.5, 2.5, 2.5, kShift);
  EXPECT_EQ(editor.selectedBone, child);
  clickAt(2, 2);  // on the joint, but a click finds no bone
  EXPECT_EQ(editor.selectedBone, nullptr);
  editor.selectedBone = root;
  pick(3, 3, 4, 4, kCtrl);  // nothing there, whatever the mode
  EXPECT_EQ(editor.selectedBone, nullptr);
}

TEST_F(SelectionTest, UvRubberBandPicksUvPointsWithAnySelectTool) {
  Vertex* a = addVertex(model(), 0, 0, 0);
  Vertex* b = addVertex(model(), 1, 0, 0);
  Vertex* c = addVertex(model(), 0, 1, 0);
  Polygon* p = mappedTriangle(a, b, c);
  p->uvs[0].u = 0.2, p->uvs[0].v = 0.2;
  p->uvs[1].u = 0.8, p->uvs[1].v = 0.2;
  p->uvs[2].u = 0.2, p->uvs[2].v = 0.8;
  Bone* root = model().createRoot(0.3, 0.3, 0);
  editor.activeView = kUvView;

  for (int tool : {kSelectVertex, kSelectPolygon, kSelectBone}) {
    editor.tool = tool;
    editor.selectedBone = root;
    pick(0, 0, 0.5, 0.5);
    ASSERT_EQ(editor.selectedUvs.count(), 1) << tool;
    EXPECT_EQ(editor.selectedUvs.headItem(), &p->uvs[0]) << tool;
    EXPECT_EQ(p->uvs[0].selected, 1) << tool;
    EXPECT_EQ(editor.selectedPolygons.count(), 0) << tool;
    EXPECT_EQ(editor.selectedVertices.count(), 0) << tool;
    EXPECT_EQ(editor.selectedBone, root) << tool;
  }

  pick(0.5, 0, 1, 0.5, kShift);
  EXPECT_EQ(editor.selectedUvs.count(), 2);
  pick(0, 0, 0.5, 0.5, kCtrl);
  EXPECT_EQ(editor.selectedUvs.count(), 1);
  EXPECT_EQ(editor.selectedUvs.headItem(), &p->uvs[1]);
  EXPECT_EQ(p->uvs[0].selected, 0);
}

TEST_F(SelectionTest, SelectAllAndDeselect) {
  Vertex* a = addVertex(model(), 0, 0, 0);
  Vertex* b = addVertex(model(), 1, 0, 0);
  Vertex* c = addVertex(model(), 0, 1, 0);
  Polygon* p = mappedTriangle(a, b, c);
  Polygon* q = addTriangle(model(), c, b, a);

  editor.selectAllVertices();
  editor.selectAllVertices();
  EXPECT_EQ(editor.selectedVertices.count(), 3);
  EXPECT_EQ(a->selected, 0);  // the list alone says what is selected

  editor.selectAllPolygons();
  editor.selectAllPolygons();
  EXPECT_EQ(editor.selectedPolygons.count(), 2);
  EXPECT_EQ(p->selected + q->selected, 2);

  editor.deselectPolygons();
  EXPECT_EQ(editor.selectedPolygons.count(), 0);
  EXPECT_EQ(p->selected + q->selected, 0);

  clickAt(0, 0);  // selects a and its UV point
  editor.selectAllPolygons();
  editor.selectedBone = model().createRoot(0, 0, 0);
  editor.deselectAll();
  EXPECT_EQ(editor.selectedPolygons.count(), 0);
  EXPECT_EQ(p->selected, 0);
  EXPECT_EQ(editor.selectedVertices.count(), 0);
  EXPECT_EQ(editor.selectedBone, nullptr);
  EXPECT_EQ(editor.selectedUvs.count(), 1);  // UV points and vertex flags stay
  EXPECT_EQ(a->selected, 1);
}

TEST_F(SelectionTest, SelectionBoxOfVerticesPolygonsAndUvPoints) {
  Vertex* a = addVertex(model(), 1, 5, -2);
  Vertex* b = addVertex(model(), 3, -1, 0);
  Vertex* c = addVertex(model(), 2, 2, 4);
  Vertex* far = addVertex(model(), 9, 9, 9);
  Polygon* p = addTriangle(model(), a, b, c);
  p->uvs[0].u = 0.5, p->uvs[0].v = 0.25;
  p->uvs[2].u = 0.75, p->uvs[2].v = 1;

  editor.selectedVertices.pushFront(a);
  editor.selectedVertices.pushFront(b);
  editor.computeSelectionBox(0);
  EXPECT_TRUE(sameVec(editor.selectionMin, 1, -1, -2));
  EXPECT_TRUE(sameVec(editor.selectionMax, 3, 5, 0));
  EXPECT_TRUE(sameVec(editor.selectionCentre, 2, 2, -1));

  editor.selectedPolygons.pushFront(p);
  editor.computeSelectionBox(1);
  EXPECT_TRUE(sameVec(editor.selectionMin, 1, -1, -2));
  EXPECT_TRUE(sameVec(editor.selectionMax, 3, 5, 4));
  EXPECT_TRUE(sameVec(editor.selectionCentre, 2, 2, 1));

  editor.selectedUvs.pushFront(&p->uvs[0]);
  editor.selectedUvs.pushFront(&p->uvs[2]);
  editor.computeSelectionBox(2);
  EXPECT_EQ(editor.uvSelectionMin.u, 0.5);
  EXPECT_EQ(editor.uvSelectionMax.u, 0.75);
  EXPECT_EQ(editor.uvSelectionMin.v, 0.25);
  EXPECT_EQ(editor.uvSelectionMax.v, 1);
  EXPECT_EQ(editor.uvSelectionCentre.u, 0.625);
  EXPECT_EQ(editor.uvSelectionCentre.v, 0.625);
  EXPECT_TRUE(sameVec(editor.selectionMax, 3, 5, 4));  // the UV box has its own fields

  editor.selectedVertices.pushFront(far);
  editor.computeSelectionBox(7);  // no such kind
  EXPECT_TRUE(sameVec(editor.selectionMax, 3, 5, 4));
}

TEST_F(SelectionTest, EmptySelectionKeepsTheBoxAndRecentresOnIt) {
  editor.selectionMin = Vec3{0, 2, -4};
  editor.selectionMax = Vec3{1, 4, 0};
  editor.selectionCentre = Vec3{7, 7, 7};
  editor.computeSelectionBox(0);
  EXPECT_TRUE(sameVec(editor.selectionMin, 0, 2, -4));
  EXPECT_TRUE(sameVec(editor.selectionMax, 1, 4, 0));
  EXPECT_TRUE(sameVec(editor.selectionCentre, 0.5, 3, -2));

  editor.uvSelectionMin = UvPair{0, 0.5};
  editor.uvSelectionMax = UvPair{1, 1};
  editor.computeSelectionBox(2);
  EXPECT_EQ(editor.uvSelectionCentre.u, 0.5);
  EXPECT_EQ(editor.uvSelectionCentre.v, 0.75);
}

}  // namespace
