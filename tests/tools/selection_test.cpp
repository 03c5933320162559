#include <gtest/gtest.h>

#include "support/editor_fixture.h"
#include "support/mesh_builders.h"

namespace {

constexpr int kLockBit = 8;  // Caps or Num Lock as the window system reports it

class SelectionTest : public EditorTest {
 protected:
  SelectionTest() {
    // A Side view ten units wide: a click reaches 0.1 units around the point.
    editor.views[kSideView].left = -5;
    editor.views[kSideView].right = 5;
    editor.activeView = kSideView;
  }
  void pick(double ha, double va, double hb, double vb, int modifiers = 0) {
    editor.setModifiers(modifiers);
    testing::internal::CaptureStdout();  // the model's search trace
    editor.selectInRect(ha, va, hb, vb);
    testing::internal::GetCapturedStdout();
  }
  void clickAt(double h, double v, int modifiers = 0) { pick(h, v, h, v, modifiers); }
  // Gives the polygon texture coordinates, so that its corners take part in
  // UV selection.
  static void map(Polygon* p) {
    p->uvMapped = 1;
    for (UvPoint& uv : p->uvs) uv.mapped = 1;
  }
  Model& model() { return *editor.model; }
};

TEST_F(SelectionTest, ClickReachesOneMarkerEdgeWhateverTheDepthARubberBandNoFurther) {
  Vertex* near = addVertex(model(), 0.09, -0.09, 7);
  Vertex* far = addVertex(model(), 0.15, 0, 0);
  clickAt(0, 0);
  EXPECT_EQ(editor.selectedVertices.count(), 1);
  EXPECT_EQ(near->selected, 1);
  EXPECT_EQ(far->selected, 0);
  editor.vertexMarkerScale = 2;  // bigger markers reach further
  clickAt(0, 0);
  EXPECT_EQ(editor.selectedVertices.count(), 2);
  pick(0.1, -1, 0.14, 1);
  EXPECT_EQ(editor.selectedVertices.count(), 0);
}

TEST_F(SelectionTest, ShiftAddsOnceCtrlRemovesWithUvPointsOthersReplace) {
  SquareWithWing m(model());
  map(m.p1);
  clickAt(0, 0);
  clickAt(1, 0, kShift | kLockBit);
  clickAt(1, 0, kShift);  // already selected: nothing changes
  ASSERT_EQ(editor.selectedVertices.count(), 2);
  EXPECT_EQ(editor.selectedVertices.headItem(), m.b);  // newest first
  EXPECT_EQ(editor.selectedUvs.count(), 2);

  clickAt(0, 0, kCtrl | kLockBit);
  EXPECT_EQ(editor.selectedVertices.headItem(), m.b);
  EXPECT_EQ(editor.selectedVertices.count(), 1);
  EXPECT_EQ(m.a->selected, 0);
  ASSERT_EQ(editor.selectedUvs.count(), 1);
  EXPECT_EQ(editor.selectedUvs.headItem(), &m.p1->uvs[1]);
  EXPECT_EQ(m.p1->uvs[0].selected, 0);

  const int replacing[] = {0, kAlt, kShift | kCtrl, -1};
  for (int modifiers : replacing) {
    clickAt(1, 1, modifiers);
    EXPECT_EQ(editor.selectedVertices.count(), 1) << modifiers;
    EXPECT_EQ(m.c->selected, 1) << modifiers;
    EXPECT_EQ(m.b->selected, 0) << modifiers;
    EXPECT_EQ(editor.selectedUvs.headItem(), &m.p1->uvs[2]) << modifiers;
    clickAt(1, 0);
  }
  clickAt(3, 3);  // nothing there
  EXPECT_EQ(editor.selectedVertices.count() + editor.selectedUvs.count(), 0);
}

TEST_F(SelectionTest, PolygonPickNeedsAllThreeCorners) {
  SquareWithWing m(model());
  editor.tool = kSelectPolygon;
  pick(-0.5, -0.5, 1.5, 0.5);  // a and b only
  EXPECT_EQ(editor.selectedPolygons.count(), 0);
  pick(2.5, -0.5, 0.5, 1.5, kShift);  // b, c, e
  pick(2.5, -0.5, 0.5, 1.5, kShift);
  ASSERT_EQ(editor.selectedPolygons.count(), 1);
  EXPECT_EQ(m.p3->selected, 1);
  pick(-0.5, -0.5, 1.5, 1.5);  // replace: p3 loses its flag
  EXPECT_EQ(editor.selectedPolygons.count(), 2);
  EXPECT_EQ(m.p3->selected, 0);
  pick(-0.5, -0.5, 1.5, 1.5, kCtrl);
  EXPECT_EQ(editor.selectedPolygons.count(), 0);
  EXPECT_EQ(m.p1->selected + m.p2->selected, 0);
  EXPECT_EQ(editor.selectedVertices.count(), 0);
}

TEST_F(SelectionTest, BonePickTakesTheJointInTheBandAndAClickClearsIt) {
  Bone* child = model().addBone(model().createRoot(0, 0, 0), 2, 2, 0);
  editor.tool = kSelectBone;
  pick(1.5, 1.5, 2.5, 2.5, kShift);
  EXPECT_EQ(editor.selectedBone, child);
  clickAt(2, 2);  // on the joint, but a click finds no bone
  EXPECT_EQ(editor.selectedBone, nullptr);
}

TEST_F(SelectionTest, UvBandPicksUvPointsWithAnySelectTool) {
  SquareWithWing m(model());
  map(m.p1);
  const double u[3] = {0.2, 0.8, 0.2}, v[3] = {0.2, 0.2, 0.8};
  for (int i = 0; i < 3; ++i) m.p1->uvs[i].u = u[i], m.p1->uvs[i].v = v[i];
  editor.activeView = kUvView;
  for (int tool : {kSelectVertex, kSelectPolygon, kSelectBone}) {
    editor.tool = tool;
    pick(0, 0, 0.5, 0.5);
    ASSERT_EQ(editor.selectedUvs.count(), 1) << tool;
    EXPECT_EQ(m.p1->uvs[0].selected, 1) << tool;
    EXPECT_EQ(editor.selectedPolygons.count() + editor.selectedVertices.count(), 0) << tool;
  }
  pick(0.5, 0, 1, 0.5, kShift);
  pick(0, 0, 0.5, 0.5, kCtrl);
  ASSERT_EQ(editor.selectedUvs.count(), 1);
  EXPECT_EQ(editor.selectedUvs.headItem(), &m.p1->uvs[1]);
  EXPECT_EQ(m.p1->uvs[0].selected, 0);
}

TEST_F(SelectionTest, SelectAllAndDeselect) {
  SquareWithWing m(model());
  map(m.p1);
  editor.selectAllVertices();
  editor.selectAllVertices();
  EXPECT_EQ(editor.selectedVertices.count(), 5);
  EXPECT_EQ(m.a->selected, 0);  // the list alone says what is selected
  editor.selectAllPolygons();
  editor.selectAllPolygons();
  EXPECT_EQ(editor.selectedPolygons.count(), 3);
  EXPECT_EQ(m.p1->selected + m.p2->selected + m.p3->selected, 3);

  clickAt(0, 0);  // a and its UV point
  editor.selectedBone = model().createRoot(0, 0, 0);
  editor.deselectAll();
  EXPECT_EQ(editor.selectedPolygons.count() + editor.selectedVertices.count(), 0);
  EXPECT_EQ(m.p1->selected, 0);
  EXPECT_EQ(editor.selectedBone, nullptr);
  EXPECT_EQ(editor.selectedUvs.count(), 1);  // UV points and vertex flags stay
  EXPECT_EQ(m.a->selected, 1);
}

TEST_F(SelectionTest, SelectionBoxAndItsCentre) {
  Polygon* p = addTriangle(model(), addVertex(model(), 1, 5, -2), addVertex(model(), 3, -1, 0),
                           addVertex(model(), 2, 2, 4));
  editor.selectedPolygons.pushFront(p);
  editor.computeSelectionBox(1);
  EXPECT_TRUE(sameVec(editor.selectionMin, 1, -1, -2));
  EXPECT_TRUE(sameVec(editor.selectionMax, 3, 5, 4));
  EXPECT_TRUE(sameVec(editor.selectionCentre, 2, 2, 1));

  editor.selectionCentre = Vec3{7, 7, 7};
  editor.computeSelectionBox(0);  // no vertex selected: same box, centre recomputed
  EXPECT_TRUE(sameVec(editor.selectionMax, 3, 5, 4));
  EXPECT_TRUE(sameVec(editor.selectionCentre, 2, 2, 1));

  p->uvs[0].u = 0.5, p->uvs[0].v = 0.25;
  p->uvs[2].u = 0.75, p->uvs[2].v = 1;
  editor.selectedUvs.pushFront(&p->uvs[0]);
  editor.selectedUvs.pushFront(&p->uvs[2]);
  editor.computeSelectionBox(2);
  EXPECT_EQ(editor.uvSelectionMin.v, 0.25);
  EXPECT_EQ(editor.uvSelectionMax.u, 0.75);
  EXPECT_EQ(editor.uvSelectionCentre.u, 0.625);
  EXPECT_EQ(editor.uvSelectionCentre.v, 0.625);
  EXPECT_TRUE(sameVec(editor.selectionMax, 3, 5, 4));  // the UV box has its own fields
}

}  // namespace
