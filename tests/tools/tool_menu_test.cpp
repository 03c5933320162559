#include <gtest/gtest.h>

#include "support/editor_fixture.h"

namespace {

using ToolMenuTest = EditorTest;

TEST_F(ToolMenuTest, ToolCodesSelectToolsWithoutTouchingDragOrSelection) {
  const std::pair<int, int> codes[] = {{17, kSelectVertex}, {18, kSelectPolygon},
                                       {19, kSelectBone},   {20, kMove},
                                       {21, kRotate},       {22, kScale2D},
                                       {23, kScale3D},      {24, kCreateBox},
                                       {25, kCreateCylinder}, {26, kAddVertex},
                                       {27, kAddBone},      {28, kCreateSpline},
                                       {29, kExtrude}};
  Vertex* v = editor.model->newVertex(0, 0, 0);
  editor.selectedVertices.pushFront(v);
  editor.dragMode = kRubberBand;
  for (auto [code, tool] : codes) {
    editor.toolMenuCommand(code);
    EXPECT_EQ(editor.tool, tool) << code;
  }
  EXPECT_EQ(editor.dragMode, kRubberBand);
  EXPECT_EQ(editor.selectedVertices.count(), 1);
}

TEST_F(ToolMenuTest, RenderCodesActOnTheActiveView) {
  editor.activeView = kTopView;
  for (int code = 4; code <= 7; ++code) {
    editor.toolMenuCommand(code);
    EXPECT_EQ(editor.views[kTopView].renderMode, code - 4);
  }
  EXPECT_EQ(editor.views[kSideView].renderMode, kWireframe);
}

TEST_F(ToolMenuTest, PanelCodesAndUnknownCodesDoNothing) {
  for (int code : {0, 1, 2, 3, 30, 99, -1}) editor.toolMenuCommand(code);
  EXPECT_EQ(editor.tool, kSelectVertex);
  EXPECT_EQ(editor.undoStack.size(), 0u);
  for (const Viewport& v : editor.views) EXPECT_EQ(v.renderMode, kWireframe);
}

TEST_F(ToolMenuTest, AssignWithoutABoneClearsTheBoneOfSelectedPolygons) {
  Vertex* a = editor.model->newVertex(0, 0, 0);
  Vertex* b = editor.model->newVertex(1, 0, 0);
  Vertex* c = editor.model->newVertex(0, 1, 0);
  Polygon* p = editor.model->newPolygon(a, b, c);
  Bone* root = editor.model->createRoot(0, 0, 0);
  p->bone = root;
  editor.selectedPolygons.pushFront(p);
  editor.toolMenuCommand(16);
  EXPECT_EQ(p->bone, nullptr);
  editor.selectedBone = root;
  editor.toolMenuCommand(16);
  EXPECT_EQ(p->bone, root);
}

TEST_F(ToolMenuTest, ArrangeLaysPanelsInRowsFromTheTopLeft) {
  editor.arrangeWidgets();
  // Front to back: four menu pages (180 wide), the UV Mapper (300), the console (400).
  double x = 5, rowOffset = 5;
  for (Panel* panel : editor.widgets) {
    if (800 < x + panel->width()) {
      x = 5;
      rowOffset += panel->height() + 5;
    }
    EXPECT_EQ(panel->x(), x) << panel->name();
    EXPECT_EQ(panel->y(), 600 - panel->height() - rowOffset) << panel->name();
    x += panel->width();
  }
  EXPECT_TRUE(editor.consoleWidget->isMinimised());
  EXPECT_TRUE(editor.uvMapperWidget->isMinimised());
  EXPECT_EQ(editor.consoleWidget->height(), 25);
  EXPECT_FALSE(editor.menuPages[1]->isMinimised());  // menu pages cannot be minimised
  EXPECT_EQ(editor.menuPages[3]->x(), 5);
  EXPECT_EQ(editor.menuPages[2]->x(), 185);
}

}  // namespace
