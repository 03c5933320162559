#include "tools/tool_fixture.h"

namespace {

using BoxToolTest = ToolTest;

// The unit cube faces outward however it is dragged in the Side view.
TEST_F(BoxToolTest, UnitBoxFacesOutwardInEveryDragDirection) {
  const double drags[][4] = {{0, 0, 1, 1}, {1, 1, 0, 0}, {0, 1, 1, 0}, {1, 0, 0, 1}};
  for (const auto& d : drags) {
    SCOPED_TRACE(testing::Message() << d[0] << "," << d[1] << " -> " << d[2] << "," << d[3]);
    editor.replaceModel(std::make_unique<Model>("testmodel", editor.ui->textures()));
    editor.tool = kCreateBox;
    dragIn(kSideView, d[0], d[1], d[2], d[3]);
    EXPECT_EQ(editor.tool, kSelectVertex);
    ASSERT_EQ(vertexCount(), 8);
    ASSERT_EQ(polygonCount(), 12);
    EXPECT_EQ(editor.selectedVertices.count(), 8);
    EXPECT_TRUE(editor.selectedPolygons.empty());
    for (Vertex* v : editor.model->vertices) {
      EXPECT_TRUE((v->x == 0 || v->x == 1) && (v->y == 0 || v->y == 1) && (v->z == 0 || v->z == 1));
    }
    // Outward before and after a rebuild, so flipped agrees with the normal.
    for (int pass = 0; pass < 2; ++pass) {
      for (Polygon* p : editor.model->currentGroup->polygons) {
        double out = 0;
        for (Vertex* v : p->vertices) {
          out +=
              (v->x - 0.5) * p->normal.x + (v->y - 0.5) * p->normal.y + (v->z - 0.5) * p->normal.z;
        }
        EXPECT_GT(out, 0);
      }
      editor.rebuildNormals();
    }
  }
}

TEST_F(BoxToolTest, FrontAndTopBoxesAreOneUnitDeepFromZero) {
  editor.tool = kCreateBox;
  dragIn(kFrontView, 1, 0.5, 2, 1.5);  // z 1..2, y 0.5..1.5, x 0..1
  EXPECT_EQ(editor.boxCorner.x0, 0);
  EXPECT_EQ(editor.boxCorner.x1, 1);
  EXPECT_NEAR(editor.boxCorner.z1, 2, 1e-9);
  EXPECT_NEAR(editor.boxCorner.y0, 0.5, 1e-9);
  editor.tool = kCreateBox;
  dragIn(kTopView, 2, 2, 1, 1);  // z 2..1, x 2..1, y 0..1
  EXPECT_EQ(editor.boxCorner.y0, 0);
  EXPECT_EQ(editor.boxCorner.y1, 1);
  EXPECT_NEAR(editor.boxCorner.x0, 2, 1e-9);
  EXPECT_NEAR(editor.boxCorner.z1, 1, 1e-9);
  EXPECT_EQ(polygonCount(), 24);
}

TEST_F(BoxToolTest, ReleasedInTheUvViewItChangesNothing) {
  editor.panelsShown = 1;
  editor.tool = kCreateBox;
  dragIn(kUvView, 0.25, 0.25, 0.75, 0.75);
  EXPECT_EQ(editor.tool, kSelectVertex);
  EXPECT_EQ(vertexCount(), 0);
  EXPECT_EQ(snapshots(), 0);
}

}  // namespace
