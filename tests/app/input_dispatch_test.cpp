#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/editor_fixture.h"

namespace {

using InputTest = EditorTest;

// GLUT coordinates of the view centres in the four-view layout.
constexpr int kSideX = 200, kSideY = 450;
constexpr int kFullX = 600, kFullY = 150;

TEST_F(InputTest, MiddleDragScrollsAFlatViewAndFoldsTheOffsetOnRelease) {
  press(kMiddleButton, kSideX, kSideY);
  EXPECT_EQ(editor.dragMode, kScrollView);
  EXPECT_EQ(editor.activeView, kSideView);
  moveTo(kSideX + 40, kSideY - 30);  // right and up by 40 and 30 pixels
  const Viewport& side = editor.views[kSideView];
  EXPECT_DOUBLE_EQ(side.panX, 0.8);
  EXPECT_DOUBLE_EQ(side.panY, 0.6);
  EXPECT_DOUBLE_EQ(side.left, -4);  // the rectangle moves only at the release
  release(kMiddleButton, kSideX + 40, kSideY - 30);
  EXPECT_EQ(editor.dragMode, kNoDrag);
  EXPECT_DOUBLE_EQ(side.left, -4.8);
  EXPECT_DOUBLE_EQ(side.bottom, -3.6);
  EXPECT_EQ(side.panX, 0);
}

TEST_F(InputTest, MiddleDragInTheFullViewDoesNothingButCtrlZoomsAnyView) {
  press(kMiddleButton, kFullX, kFullY);
  EXPECT_EQ(editor.dragMode, kNoDrag);
  EXPECT_EQ(editor.activeView, kFullView);
  release(kMiddleButton, kFullX, kFullY);

  press(kMiddleButton, kFullX, kFullY, kCtrl | 8);  // NumLock adds bit 8
  EXPECT_EQ(editor.dragMode, kZoomView);
  moveTo(kFullX, kFullY - 20);  // up 20 pixels: zoom out by 2
  EXPECT_DOUBLE_EQ(editor.views[kFullView].zoom, 6);
  moveTo(kFullX, kFullY + 200);
  EXPECT_DOUBLE_EQ(editor.views[kFullView].zoom, 1);
  release(kMiddleButton, kFullX, kFullY + 200, kCtrl);
  EXPECT_EQ(editor.dragMode, kNoDrag);
}

TEST_F(InputTest, LeftDragInTheFullViewRotatesIt) {
  testing::internal::CaptureStdout();
  press(kLeftButton, kFullX, kFullY);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Rotating on 3.\n");
  moveTo(kFullX + 10, kFullY - 20);
  EXPECT_DOUBLE_EQ(editor.views[kFullView].rotY, 3);
  EXPECT_DOUBLE_EQ(editor.views[kFullView].rotX, -6);
  release(kLeftButton, kFullX + 10, kFullY - 20);
  EXPECT_EQ(editor.dragMode, kNoDrag);
}

TEST_F(InputTest, LeftDragWithASelectToolPrintsTheSelectionRectangle) {
  testing::internal::CaptureStdout();
  press(kLeftButton, kSideX, kSideY);
  EXPECT_EQ(editor.dragMode, kRubberBand);
  release(kLeftButton, kSideX + 50, kSideY - 75);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, "make selection on 0 from [0.000000 0.000000] -> [1.000000 1.500000]\n");
  EXPECT_EQ(editor.dragMode, kNoDrag);
}

TEST_F(InputTest, PressesDuringADragAreIgnoredByTheViews) {
  press(kMiddleButton, kSideX, kSideY);
  press(kLeftButton, kFullX, kFullY);
  EXPECT_EQ(editor.dragMode, kScrollView);
  EXPECT_EQ(editor.activeView, kSideView);
  release(kLeftButton, kFullX, kFullY);  // another button's release leaves the drag running
  EXPECT_EQ(editor.dragMode, kScrollView);
}

TEST_F(InputTest, RightPressPopsUpTheMenuPageAtThePointer) {
  press(kRightButton, 300, 200);
  EXPECT_EQ(editor.dragMode, kPopupMenu);
  Panel* menu = editor.activeMenu;
  EXPECT_EQ(menu, editor.menuPages[1]);
  EXPECT_EQ(menu->x(), 305);
  EXPECT_EQ(menu->y(), 400 - menu->height());
  EXPECT_EQ(editor.widgets.headItem(), menu);
  release(kRightButton, 300, 200);
  EXPECT_EQ(editor.dragMode, kPopupMenu);  // stays open across frames

  press(kLeftButton, 50, 50);  // outside: closes, and is handled as a fresh press
  EXPECT_EQ(editor.dragMode, kRubberBand);
}

TEST_F(InputTest, AMenuButtonPostsItsCodeAndClosesThePopup) {
  click(kRightButton, 300, 200);
  Panel* menu = editor.activeMenu;
  // The bottom row is "Render: Wireframe": y from menu.y to menu.y + 18.
  int x = static_cast<int>(menu->x() + 20);
  int yUp = static_cast<int>(menu->y() + 9);
  testing::internal::CaptureStdout();
  press(kLeftButton, x, 600 - yUp);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Clicked in Menu :J\n");
  EXPECT_EQ(editor.dragMode, kNoDrag);
  EXPECT_EQ(editor.ui->popCommand(), 4);
}

TEST_F(InputTest, RightClickOverAPanelOpensThePopupInsteadOfReachingThePanel) {
  editor.panelsShown = 1;
  testing::internal::CaptureStdout();
  press(kRightButton, 450, 390);  // over the console only
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(editor.dragMode, kPopupMenu);
}

TEST_F(InputTest, CtrlClickSwitchesToTheToolPageEvenWithNumLock) {
  press(kRightButton, 300, 200, kCtrl | 8);
  EXPECT_EQ(editor.menuPage, 3);
  EXPECT_EQ(editor.activeMenu, editor.menuPages[3]);
  EXPECT_FALSE(editor.menuPages[3]->isHidden());
  EXPECT_TRUE(editor.menuPages[1]->isHidden());
  release(kRightButton, 300, 200, 0);
  press(kLeftButton, 50, 50);  // a plain click elsewhere returns to page 1
  EXPECT_EQ(editor.menuPage, 1);
}

TEST_F(InputTest, ClickOnThePromptFocusesItAndTypedKeysGoOnlyThere) {
  special(kKeyHome);
  EXPECT_EQ(editor.panelsShown, 1);
  // The console is at (100, 100)-(500, 300); its prompt is at (5, 5) 390 x 25.
  click(kLeftButton, 450, 600 - 115);
  EXPECT_EQ(editor.ui->focusedEntry(), editor.consolePrompt);
  key('m');
  key('z');
  EXPECT_EQ(editor.tool, kSelectVertex);
  EXPECT_EQ(editor.consolePrompt->length(), 2);
  special(kKeyF2);  // function keys still act
  EXPECT_EQ(editor.tool, kSelectPolygon);
  click(kLeftButton, 50, 50);  // a press that no panel takes clears the focus
  EXPECT_EQ(editor.ui->focusedEntry(), nullptr);
}

TEST_F(InputTest, ToolKeysFollowTheKeyTable) {
  key(' ');
  EXPECT_EQ(editor.tool, kSelectPolygon);
  key(' ');
  EXPECT_EQ(editor.tool, kSelectBone);
  key(' ');
  EXPECT_EQ(editor.tool, kSelectVertex);
  key('m');
  key(' ');
  EXPECT_EQ(editor.tool, kSelectVertex);  // any other tool goes to Select Vertex
  key('s');
  EXPECT_EQ(editor.tool, kScale2D);
  key('s');
  EXPECT_EQ(editor.tool, kScale3D);
  key('s');
  EXPECT_EQ(editor.tool, kScale2D);
  const std::pair<unsigned char, int> table[] = {
      {'b', kCreateBox},    {'c', kCreateCylinder}, {'e', kExtrude},   {'m', kMove},
      {'q', kCreateSpline}, {'r', kRotate},         {'v', kAddVertex}, {'x', kAddBone}};
  for (auto [k, tool] : table) {
    key(k);
    EXPECT_EQ(editor.tool, tool) << k;
  }
}

TEST_F(InputTest, FunctionKeysSwitchLayoutGridPanelsAndView) {
  special(kKeyF4);
  EXPECT_EQ(editor.singleView, 0);
  EXPECT_EQ(editor.layoutMode, 1);  // only chooses what the one-view layout will show
  special(kKeyF8);
  EXPECT_EQ(editor.layoutMode, 0);
  special(kKeyF9);
  EXPECT_EQ(editor.showGrid, 0);
  special(kKeyHome);
  special(kKeyHome);
  EXPECT_EQ(editor.panelsShown, 0);
}

TEST_F(InputTest, ArrowAndPageKeysActOnTheViewUnderThePointer) {
  moveTo(kSideX, kSideY);
  special(kKeyRight);
  EXPECT_DOUBLE_EQ(editor.views[kSideView].left, -4 + 4.0 / 400 * 8);
  special(kKeyPageUp);
  EXPECT_DOUBLE_EQ(editor.views[kSideView].zoom, 4.4);
  EXPECT_DOUBLE_EQ(editor.views[kFrontView].zoom, 4.0);
}

TEST_F(InputTest, CtrlChordsArriveAsControlCodesAndStillWork) {
  auto dir = std::filesystem::temp_directory_path() / "vantorel-ctrl-s";
  std::filesystem::create_directories(dir);
  auto path = dir / "chord.txt";
  std::filesystem::remove(path);
  editor.model->name = path.string();
  testing::internal::CaptureStdout();
  key(19, kCtrl | 8);  // Ctrl+S with NumLock on
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, "Saving model to file: " + path.string() + "\n");
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(editor.tool, kSelectVertex);  // not the Scale key

  key(31, kCtrl);  // Ctrl+/ arranges the panels in rows from the top left
  for (Panel* panel : editor.widgets) {
    if (panel->isMinimisable()) {
      EXPECT_TRUE(panel->isMinimised()) << panel->name();
    }
  }
  EXPECT_EQ(editor.widgets.headItem()->x(), 5);
  std::filesystem::remove_all(dir);
}

TEST_F(InputTest, F5SavesAndSaysSoInTheConsole) {
  auto dir = std::filesystem::temp_directory_path() / "vantorel-f5";
  std::filesystem::create_directories(dir);
  editor.model->name = (dir / "m.txt").string();
  testing::internal::CaptureStdout();
  special(kKeyF5);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(lastConsoleMessage(), "Model saved!");
  editor.model->name = dir.string();  // a directory cannot be written over
  testing::internal::CaptureStdout();
  special(kKeyF5);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(lastConsoleMessage(), "Error! Model failed to save!");
  std::filesystem::remove_all(dir);
}

}  // namespace
