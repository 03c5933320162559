#include "tools/tool_fixture.h"

#include "model/skeleton.h"
#include "tools/selection.h"
#include "tools/transforms.h"

namespace {

constexpr int kLock = 8;  // Caps or Num Lock as the window system reports it

// The wing with p1 mapped to (0.2, 0.2) (0.8, 0.2) (0.2, 0.8), and a bone
// from the origin to (2, 2, 0).
class SelectionTest : public WingTest {
 protected:
  SelectionTest() {
    const double u[3] = {0.2, 0.8, 0.2}, v[3] = {0.2, 0.2, 0.8};
    m.p1->uvMapped = 1;
    for (int i = 0; i < 3; ++i) m.p1->uvs[i] = {u[i], v[i], m.p1->vertices[i], 0, 1};
    child = model().addBone(model().createRoot(0, 0, 0), 2, 2, 0);
  }
  // Selected vertices, p1's UV points and polygons, newest first, and the
  // bone: "ba/10/3/child".
  std::string selection() {
    std::string text;
    for (Vertex* v : editor.selectedVertices) text += letterOf(v);
    text += "/";
    for (UvPoint* uv : editor.selectedUvs) text += std::to_string(uv - m.p1->uvs);
    text += "/";
    for (Polygon* p : editor.selectedPolygons) text += numberOf(p);
    return text + (editor.selectedBone == child ? "/child" : "/");
  }
  Bone* child;
};

// One pick after another in a view 8 units wide, where a click reaches 0.08
// units around a point; each row gives the selection after it.
TEST_F(SelectionTest, PicksReplaceAddOrRemoveByTheirModifiers) {
  struct Case {
    int tool, view, modifiers;
    double h0, v0, h1, v1;
    const char* selection;
  };
  const Case cases[] = {
      {kSelectVertex, kSideView, 0, 0.07, -0.07, 0.07, -0.07, "a/0//"},
      {kSelectVertex, kSideView, kShift | kLock, 1, 0, 1, 0, "ba/10//"},  // lock keys do not count
      {kSelectVertex, kSideView, kShift, 1, 0, 1, 0, "ba/10//"},          // already selected
      {kSelectVertex, kSideView, kCtrl | kLock, 0, 0, 0, 0, "b/1//"},
      {kSelectVertex, kSideView, kAlt, 1, 1, 1, 1, "c/2//"},  // any other modifier replaces
      {kSelectVertex, kSideView, kShift | kCtrl, 0, 1, 0, 1, "d///"},
      {kSelectVertex, kSideView, 0, 0.09, 0, 0.09, 0, "///"},         // out of reach: nothing
      {kSelectVertex, kTopView, 0, -0.5, -0.5, 2.5, 0.99, "ad/0//"},  // a band reaches no further
      {kSelectVertex, kFullView, 0, -9, -9, 9, 9, "ad/0//"},
      {kSelectPolygon, kSideView, 0, -0.5, -0.5, 1.5, 0.5, "ad/0//"},  // all three corners or none
      {kSelectPolygon, kFrontView, kShift, 2.5, -0.5, -0.5, 1.5, "ad/0/321/"},
      {kSelectPolygon, kSideView, kShift, -0.5, -0.5, 1.5, 1.5, "ad/0/321/"},
      {kSelectPolygon, kSideView, kCtrl, -0.5, -0.5, 1.5, 1.5, "ad/0/3/"},
      {kSelectPolygon, kSideView, 0, -0.5, -0.5, 1.5, 1.5, "ad/0/12/"},
      {kSelectBone, kSideView, 0, 1.5, 1.5, 2.5, 2.5, "ad/0/12/child"},
      {kSelectBone, kSideView, 0, 2, 2, 2, 2, "ad/0/12/"},       // a click finds no bone
      {kSelectPolygon, kUvView, 0, 0.5, 0, 1, 0.5, "ad/1/12/"},  // UV points with any select tool
      {kSelectBone, kUvView, kShift, 0, 0, 0.5, 0.5, "ad/01/12/"},
      {kSelectVertex, kUvView, kCtrl, 0.5, 0, 1, 0.5, "ad/0/12/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "pick " << &c - cases);
    editor.tool = c.tool;
    editor.activeView = c.view;
    editor.setModifiers(c.modifiers);
    printedBy([&] { selectInRect(editor, c.h0, c.v0, c.h1, c.v1); });
    EXPECT_EQ(selection(), c.selection);
    for (Vertex* v : model().vertices) EXPECT_EQ(v->selected, editor.selectedVertices.contains(v));
    for (Polygon* p : {m.p1, m.p2, m.p3}) {
      EXPECT_EQ(p->selected, editor.selectedPolygons.contains(p));
    }
  }
  editor.tool = kSelectVertex;
  editor.activeView = kSideView;
  editor.setModifiers(0);
  editor.vertexMarkerScale = 2;  // bigger markers reach further
  selectInRect(editor, 0.15, 0, 0.15, 0);
  EXPECT_EQ(selection(), "a/0/12/");
}

// Select all fills the lists (vertices without their flags); deselect
// leaves UV points and vertex flags as they are.
TEST_F(SelectionTest, SelectAllAndDeselect) {
  selectAllVertices(editor);
  selectAllPolygons(editor);
  EXPECT_EQ(selection(), "abcde//123/");
  EXPECT_EQ(m.a->selected + m.p1->selected + m.p2->selected + m.p3->selected, 3);
  editor.setModifiers(0);
  selectInRect(editor, -0.5, -0.5, 0.5, 0.5);
  editor.selectedBone = child;
  deselectAll(editor);
  EXPECT_EQ(selection(), "/0//");
  EXPECT_EQ(m.a->selected + m.p1->selected, 1);
}

// The box around the selected vertices (kind 0) or polygons (1); an empty
// selection keeps the last box. A scale leaves the box of its result.
TEST_F(SelectionTest, SelectionBoxFollowsTheSelection) {
  auto box = [&](SelectionBoxOf kind) {
    computeSelectionBox(editor, kind);
    const Vec3 &lo = editor.selectionMin, &hi = editor.selectionMax, &mid = editor.selectionCentre;
    return num(lo.x) + "," + num(lo.y) + "," + num(lo.z) + " " + num(hi.x) + "," + num(hi.y) + "," +
           num(hi.z) + " " + num(mid.x) + "," + num(mid.y) + "," + num(mid.z);
  };
  select("cd", "3");
  EXPECT_EQ(box(SelectionBoxOf::kPolygons), "1,0,0 2,1,2 1.5,0.5,1");
  EXPECT_EQ(box(SelectionBoxOf::kVertices), "0,1,0 1,1,0 0.5,1,0");
  editor.scaleFactor = {3, 3, 3};
  printedBy([&] { scaleSelection(editor); });
  EXPECT_EQ(box(SelectionBoxOf::kUvs), "-1,1,0 2,1,0 0.5,1,0");  // the UV box is apart
  editor.selectedVertices.clear();
  editor.selectionCentre = Vec3{7, 7, 7};
  EXPECT_EQ(box(static_cast<SelectionBoxOf>(3)),
            "-1,1,0 2,1,0 7,7,7");  // no such kind: nothing at all
  EXPECT_EQ(box(SelectionBoxOf::kVertices),
            "-1,1,0 2,1,0 0.5,1,0");  // none selected: the last box, its middle again
}

}  // namespace
