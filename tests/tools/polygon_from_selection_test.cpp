#include "tools/tool_fixture.h"

namespace {

using PolygonFromSelectionTest = ToolTest;

TEST_F(PolygonFromSelectionTest, OnlyExactlyThreeVerticesMakeATriangle) {
  selectedVertex(0, 0, 0);
  selectedVertex(1, 0, 0);
  EXPECT_EQ(printed([&] { key('p'); }), "Num verts: 2\n");
  selectedVertex(0, 1, 0);
  selectedVertex(1, 1, 0);
  EXPECT_EQ(printed([&] { key('p'); }), "Num verts: 4\n");
  EXPECT_EQ(polygonCount(), 0);
  EXPECT_EQ(snapshots(), 0);
  EXPECT_EQ(editor.selectedVertices.count(), 4);
}

TEST_F(PolygonFromSelectionTest, ThreeVerticesGiveATriangleNewestFirst) {
  Vertex* a = selectedVertex(0, 0, 0);
  Vertex* b = selectedVertex(1, 0, 0);
  Vertex* c = selectedVertex(0, 1, 0);
  std::string out = printed([&] { key('p'); });
  EXPECT_NE(out.find("Num verts: 3\nPolygon Created!\n"), std::string::npos) << out;
  ASSERT_EQ(polygonCount(), 1);
  Polygon* p = editor.model->currentGroup->polygons.headItem();
  EXPECT_EQ(p->vertices[0], c);
  EXPECT_EQ(p->vertices[1], b);
  EXPECT_EQ(p->vertices[2], a);
  EXPECT_TRUE(editor.selectedVertices.empty());
  EXPECT_EQ(snapshots(), 1);
}

}  // namespace
