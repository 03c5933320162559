#include "tools/tool_fixture.h"

#include "model/skeleton.h"

namespace {

// The wing with p1 mapped, and a bone from the origin to (2, 2, 0).
class SelectionTest : public WingTest {
 protected:
  SelectionTest() {
    mapP1(false);
    child = model().addBone(model().createRoot(0, 0, 0), 2, 2, 0);
  }
  // Selected vertices, p1's UV points, polygons, newest first, and the bone: "ba/10/3/child".
  std::string selection() {
    std::string text;
    for (Vertex* v : editor.doc.selectedVertices)
      text += char('a' + (std::find(vertices.begin(), vertices.end(), v) - vertices.begin()));
    text += "/";
    for (UvPoint* uv : editor.doc.selectedUvs) text += std::to_string(uv - m.p1->uvs);
    text += "/";
    for (Polygon* p : editor.doc.selectedPolygons)
      text += char('1' + (std::find(polygons.begin(), polygons.end(), p) - polygons.begin()));
    return text + (editor.doc.selectedBone == child ? "/child" : "/");
  }
  Bone* child;
};

// Picks in turn in a view 8 units wide, where a click reaches 0.08 units; the selection after each.
TEST_F(SelectionTest, PicksReplaceAddOrRemoveByTheirModifiers) {
  const struct {
    int tool, view, modifiers;
    double h0, v0, h1, v1;
    const char* selection;
    double markerScale = 1;
  } cases[] = {
      {kSelectVertex, kSideView, 0, 0.07, -0.07, 0.07, -0.07, "a/0//"},
      {kSelectVertex, kSideView, kShift | 8, 1, 0, 1, 0, "ba/10//"},  // 8: a lock key, ignored
      {kSelectVertex, kSideView, kShift, 1, 0, 1, 0, "ba/10//"},      // already selected
      {kSelectVertex, kSideView, kCtrl | 8, 0, 0, 0, 0, "b/1//"},
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
      {kSelectVertex, kSideView, 0, 0.15, 0, 0.15, 0, "a/0/12/", 2},  // bigger markers reach far
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "pick " << &c - cases);
    editor.toolState.tool = c.tool;
    editor.viewSet.activeView = c.view;
    editor.setModifiers(c.modifiers);
    editor.viewSet.vertexMarkerScale = c.markerScale;
    printedBy([&] { selectInRect(editor, c.h0, c.v0, c.h1, c.v1); });
    EXPECT_EQ(selection(), c.selection);
    for (Vertex* v : model().vertices)
      EXPECT_EQ(v->selected, editor.doc.selectedVertices.contains(v));
    for (Polygon* p : {m.p1, m.p2, m.p3})
      EXPECT_EQ(p->selected, editor.doc.selectedPolygons.contains(p));
  }
}

// The box of the selected vertices or polygons; none selected keeps the last box.
TEST_F(SelectionTest, SelectionBoxFollowsTheSelection) {
  auto box = [&](int kind) {  // 0 vertices, 1 polygons, 3 no such kind
    computeSelectionBox(editor, static_cast<SelectionBoxOf>(kind));
    return vec(editor.toolState.selectionMin) + " " + vec(editor.toolState.selectionMax) + " " +
           vec(editor.toolState.selectionCentre);
  };
  select("cd", "3");
  EXPECT_EQ(box(1), "1,0,0 2,1,2 1.5,0.5,1");
  EXPECT_EQ(box(0), "0,1,0 1,1,0 0.5,1,0");
  editor.doc.selectedVertices.clear();
  editor.toolState.selectionCentre = Vec3{7, 7, 7};
  EXPECT_EQ(box(3), "0,1,0 1,1,0 7,7,7");    // no such kind: nothing at all
  EXPECT_EQ(box(0), "0,1,0 1,1,0 0.5,1,0");  // none selected: the last box, its middle again
}

}  // namespace
