#include "tools/tool_fixture.h"

namespace {

class ExtrudeTest : public ToolTest {
 protected:
  Polygon* selectedTriangle(Vertex* a, Vertex* b, Vertex* c) {
    Polygon* p = triangle(a, b, c);
    p->selected = 1;
    editor.selectedPolygons.pushFront(p);
    return p;
  }
  void expectCornersKeepTheirUvPoints() {
    for (Polygon* p : editor.model->currentGroup->polygons)
      for (int k = 0; k < 3; ++k) EXPECT_EQ(p->uvs[k].vertex, p->vertices[k]);
  }
};

// Dragged one unit right and half a unit up in the Side view.
TEST_F(ExtrudeTest, ALoneTriangleGetsThreeNewVerticesAndSixWalls) {
  Vertex* a = vertex(0, 0, 0);
  Polygon* cap = selectedTriangle(a, vertex(1, 0, 0), vertex(0, 1, 0));
  editor.tool = kExtrude;
  dragIn(kSideView, 0, 0, 1, 0.5);
  EXPECT_EQ(vertexCount(), 3 + 3);
  EXPECT_EQ(polygonCount(), 1 + 6);
  EXPECT_EQ(editor.tool, kMove);
  EXPECT_EQ(snapshots(), 2);  // the extrusion and the move
  EXPECT_TRUE(editor.selectedPolygons.empty());
  EXPECT_EQ(cap->selected, 0);
  ASSERT_EQ(editor.selectedVertices.count(), 3);
  EXPECT_FALSE(editor.selectedVertices.contains(a));
  expectAt(a, 0, 0, 0);
  expectAt(cap->vertices[0], 1.001, 0.501, 0.001);  // the cap followed the drag
  expectCornersKeepTheirUvPoints();
}

TEST_F(ExtrudeTest, ASharedEdgeGetsNoWall) {
  Vertex* b = vertex(1, 0, 0);
  Vertex* c = vertex(0, 1, 0);
  selectedTriangle(vertex(0, 0, 0), b, c);
  selectedTriangle(c, b, vertex(1, 1, 0));  // walks the shared edge the other way
  editor.tool = kExtrude;
  dragIn(kSideView, 0, 0, 0, 0);
  EXPECT_EQ(vertexCount(), 4 + 4);
  EXPECT_EQ(polygonCount(), 2 + 8);
  expectCornersKeepTheirUvPoints();
}

TEST_F(ExtrudeTest, TwoUndoStepsRevertTheWholeDrag) {
  selectedTriangle(vertex(0, 0, 0), vertex(1, 0, 0), vertex(0, 1, 0));
  editor.tool = kExtrude;
  dragIn(kSideView, 0, 0, 1, 1);
  key('z');
  EXPECT_EQ(vertexCount(), 6);  // extruded, not yet moved
  key('z');
  EXPECT_EQ(vertexCount(), 3);
  EXPECT_EQ(polygonCount(), 1);
  for (Vertex* v : editor.model->vertices) EXPECT_TRUE(v->x + v->y <= 1 && v->z == 0);
}

TEST_F(ExtrudeTest, WithoutSelectedPolygonsADragDoesNothing) {
  Vertex* v = selectedVertex(0, 0, 0);
  editor.tool = kExtrude;
  dragIn(kSideView, 0, 0, 1, 1);
  EXPECT_EQ(editor.tool, kExtrude);
  EXPECT_EQ(snapshots(), 0);
  EXPECT_EQ(vertexCount(), 1);
  expectAt(v, 0, 0, 0);
}

// Corners left out of the vertex selection stay, and their edges get no walls.
TEST_F(ExtrudeTest, EdgesToUnselectedCornersAreReportedAndSkipped) {
  Vertex* a = selectedVertex(0, 0, 0);
  Vertex* b = selectedVertex(1, 0, 0);
  Vertex* c = vertex(0, 1, 0);
  Polygon* p = selectedTriangle(a, b, c);
  std::string out = printed([&] { editor.extrudeSelection(); });
  EXPECT_EQ(out.find("wtfwtf"), 0u) << out;
  EXPECT_EQ(polygonCount(), 1 + 2);
  EXPECT_EQ(p->vertices[2], c);
  EXPECT_NE(p->vertices[0], a);
  expectCornersKeepTheirUvPoints();
}

}  // namespace
