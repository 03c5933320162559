#include "tools/tool_fixture.h"

#include <cmath>

namespace {

using CylinderToolTest = ToolTest;

// Dragged from (0, 0) to (2, 1) in the Side view: axis along X at y = z = 0.5.
TEST_F(CylinderToolTest, DefaultCylinderHasTenLevelsOfEightSides) {
  Vertex* before = selectedVertex(9, 9, 9);
  editor.tool = kCreateCylinder;
  std::string out = printed([&] { dragIn(kSideView, 0, 0, 2, 1); });
  EXPECT_NE(out.find("radius: 0.500000 cx: 0.500000 cy: 0.500000 "
                     "[0.000000 2.000000 0.000000 1.000000 0.000000 1.000000]\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(editor.tool, kSelectVertex);
  EXPECT_EQ(vertexCount(), 1 + 90);
  EXPECT_EQ(polygonCount(), 8 + 8 + 160);
  EXPECT_EQ(editor.selectedVertices.count(), 1 + 90);  // added to the selection
  EXPECT_TRUE(editor.selectedVertices.contains(before));
  EXPECT_EQ(snapshots(), 1);

  int onRing = 0;
  for (Vertex* v : editor.model->vertices) {
    if (v == before) continue;
    double distance = std::hypot(v->y - 0.5, v->z - 0.5);
    if (std::fabs(distance - 0.5) < 1e-9) ++onRing;
  }
  EXPECT_EQ(onRing, 88);  // all but the two cap centres
}

TEST_F(CylinderToolTest, FrontAndTopCylindersRunAlongZ) {
  for (int view : {kFrontView, kTopView}) {
    SCOPED_TRACE(view);
    editor.replaceModel(std::make_unique<Model>("testmodel", editor.ui->textures()));
    editor.tool = kCreateCylinder;
    dragIn(view, 1, 0, 2, 1);
    for (Vertex* v : editor.model->vertices) {
      EXPECT_GE(v->z, 1 - 1e-9);
      EXPECT_LE(v->z, 2 + 1e-9);
    }
    EXPECT_EQ(polygonCount(), 176);
  }
}

TEST_F(CylinderToolTest, ReleasedInTheUvViewItChangesNothing) {
  editor.panelsShown = 1;
  editor.tool = kCreateCylinder;
  dragIn(kUvView, 0.25, 0.25, 0.75, 0.75);
  EXPECT_EQ(editor.tool, kSelectVertex);
  EXPECT_EQ(vertexCount(), 0);
  EXPECT_EQ(snapshots(), 0);
}

}  // namespace
