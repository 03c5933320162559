// Input as the window callbacks deliver it, and what the Editor does with it.

#include <gtest/gtest.h>

#include "formats/model_file.h"
#include "model/model_image.h"
#include "support/editor_fixture.h"
#include "support/fixtures.h"

namespace {

// GLUT coordinates (y down) of the centres of the Side and Full views.
constexpr int kSideX = 200, kSideY = 450, kFullX = 600, kFullY = 150;

class InputTest : public EditorTest {
 protected:
  // Drag mode, tool, menu pages ("x" shown), prompt focused: "0 0 -x-- 0".
  std::string state() {
    std::string text = std::to_string(editor.toolState.dragMode) + " " +
                       std::to_string(editor.toolState.tool) + " ";
    for (Panel* page : editor.menuPages) text += page->isHidden() ? '-' : 'x';
    return text + " " + std::to_string(editor.ui->focusedEntry() == editor.consolePrompt);
  }
  template <class F>
  std::string after(F&& action) {  // what the action prints, then the state
    const std::string printed = printedBy(action);
    return printed + state();
  }
};

// Four views split the window, the split lines going to the right and upper
// views; F8 gives one view the whole window.
TEST_F(InputTest, FourViewsSplitTheWindowAndOneViewFillsIt) {
  std::string four;
  for (int i = 0; i < 4; ++i)
    four += viewState(editor.viewSet.views[i]) + " " +
            std::to_string(editor.viewAt(399 + i % 2, 299 + i / 2)) + "|";
  EXPECT_EQ(four,
            "0,0-400,300 400x300 [-4:4 x -3:3] 0|400,0-800,300 400x300 [-4:4 x -3:3] 1|"
            "0,300-400,600 400x300 [-4:4 x -3:3] 2|400,300-800,600 400x300 [-4:4 x -3:3] 3|");
  special(kKeyF8);
  special(kKeyF4);  // from the Full view on to the Side view
  EXPECT_EQ(viewState(editor.viewSet.views[kSideView]) + std::to_string(editor.viewAt(799, 599)),
            "0,0-800,600 800x600 [-4:4 x -3:3]0");
}

// Dragging up and right turns the Full view; the next drag goes on from there.
TEST_F(InputTest, LeftDragTurnsTheFullView) {
  EXPECT_EQ(printedBy([&] { drag(kLeftButton, kFullX, kFullY, kFullX + 10, kFullY - 20); }),
            "Rotating on 3.\n");
  drag(kLeftButton, kFullX, kFullY, kFullX + 10, kFullY);
  EXPECT_EQ(std::to_string(editor.viewSet.views[kFullView].rotX) + " " +
                std::to_string(editor.viewSet.views[kFullView].rotY),
            "-6.000000 6.000000");
}

TEST_F(InputTest, MiddleDragScrollsAFlatViewOnReleaseAndCtrlMiddleDragZoomsAnyView) {
  press(kMiddleButton, kSideX, kSideY);
  click(kLeftButton, kFullX, kFullY);  // other buttons leave the drag alone
  moveTo(kSideX + 40, kSideY - 30);    // right 40 and up 30 pixels
  const Viewport& side = editor.viewSet.views[kSideView];
  EXPECT_EQ(state() + viewState(side), "1 0 -x-- 00,0-400,300 400x300 [-4:4 x -3:3]");  // not yet
  release(kMiddleButton, kSideX + 40, kSideY - 30);
  EXPECT_EQ(viewState(side) + state(), "0,0-400,300 400x300 [-4.8:3.2 x -3.6:2.4]0 0 -x-- 0");
  EXPECT_EQ(side.panX, 0);
  click(kMiddleButton, kFullX, kFullY);             // a plain one does not scroll the Full view
  press(kMiddleButton, kFullX, kFullY, kCtrl | 8);  // NumLock adds bit 8
  moveTo(kFullX, kFullY - 20);                      // up 20 pixels: out by 2
  EXPECT_EQ(viewState(editor.viewSet.views[kFullView]),
            "400,300-800,600 400x300 [-6:6 x -4.5:4.5]");
  moveTo(kFullX, kFullY + 200);
  release(kMiddleButton, kFullX, kFullY + 200, kCtrl);
  EXPECT_EQ(viewState(editor.viewSet.views[kFullView]) + state(),
            "400,300-800,600 400x300 [-1:1 x -0.75:0.75]0 0 ---x 0");
}

TEST_F(InputTest, RightPressPopsUpTheMenuPageOfThePlaceThatARowOrAPressOutsideCloses) {
  std::string places;  // near the window's right and bottom edges it opens leftward and upward
  for (auto [x, y] : {std::pair{790, 590}, {100, 590}, {790, 100}, {800, 0}})
    click(kRightButton, x, y), places += rectOf(*editor.activeMenu) + "|";
  EXPECT_EQ(places, "605,10 180x254|105,10 180x254|605,246 180x254|615,346 180x254|");
  click(kRightButton, 300, 200);
  EXPECT_EQ(rectOf(*editor.activeMenu) + " " + state(), "305,146 180x254 7 0 -x-- 0");
  EXPECT_EQ(editor.widgets.headItem(), editor.menuPages[1]);
  printedBy([&] { click(kLeftButton, 310, 205); });  // the title band is no row
  EXPECT_EQ(state(), "7 0 -x-- 0");
  EXPECT_EQ(after([&] { press(kLeftButton, 320, 600 - 182 - 9); }),
            "Clicked in Menu :J\n0 0 -x-- 0");
  EXPECT_EQ(editor.ui->popCommand(), 4);
  click(kRightButton, 300, 200);
  printedBy([&] { click(kLeftButton, 320, 600 - 146 - 9); });  // the bottom row
  EXPECT_EQ(editor.ui->popCommand(), 30);
  click(kRightButton, 300, 200, kCtrl | 8);  // with Ctrl the tool page
  EXPECT_EQ(state(), "7 0 ---x 0");
  EXPECT_EQ(editor.activeMenu, editor.menuPages[3]);
  press(kLeftButton, 50, 50);  // outside: closes, and is handled as a fresh press
  EXPECT_EQ(state(), "4 0 -x-- 0");
  printedBy([&] { release(kLeftButton, 50, 50); });
  editor.panelsShown = true;
  click(kLeftButton, 250, 350);  // inside the UV view: the UV page
  EXPECT_EQ(state(), "0 0 x--- 0");
  EXPECT_EQ(editor.activeMenu, editor.menuPages[0]);
  EXPECT_EQ(after([&] { press(kRightButton, 450, 390); }), "7 0 x--- 0");  // over the console
}

// The console shrunk far past its least size keeps its prompt under two lines, so the next drag
// there reaches it again, not the Front view under it; grown past the window it fills it.
TEST_F(InputTest, MiddleDragResizesAPanelWithinItsLeastSizeAndTheWindowAndNeverAView) {
  special(kKeyHome);
  std::string sizes;
  printedBy([&] {
    click(kLeftButton, 450, 310);             // the title band: the console comes to the front
    drag(kMiddleButton, 450, 420, 490, 300);  // 80 narrower, 240 lower
    for (Widget* w : editor.consoleWidget->children()) sizes += rectOf(*w) + " ";
    drag(kMiddleButton, 450, 420, 390, 420);
    sizes += rectOf(*editor.consoleWidget) + " ";
    drag(kMiddleButton, 450, 420, -2000, 3000);
  });
  EXPECT_EQ(sizes + rectOf(*editor.consoleWidget),
            "5,5 310x25 5,35 310x45 80,145 440x110 0,0 800x600");
  EXPECT_EQ(viewState(editor.viewSet.views[kFrontView]), "400,0-800,300 400x300 [-4:4 x -3:3]");
}

TEST_F(InputTest, ClickOnThePromptFocusesItAndCharacterKeysGoOnlyThere) {
  special(kKeyHome);
  SilencedStdout quiet;
  click(kMiddleButton, 450, 485);  // the prompt spans (105, 105)-(495, 130), y up
  EXPECT_EQ(state(), "0 0 -x-- 0");
  click(kLeftButton, 450, 485);
  for (unsigned char k : {'m', '\b', 'z', 's'}) key(k);
  EXPECT_EQ(editor.consolePrompt->typed().substr(0, 3) + state(), "zs 0 0 -x-- 1");
  special(kKeyF2);  // function keys still act
  EXPECT_EQ(state(), "0 1 -x-- 1");
  click(kWheelUp, 450, 400), click(kWheelUp, 450, 400);  // the messages go 6 rows back
  click(kWheelDown, 600, 150);  // over a view the wheel does nothing, and keeps the focus
  EXPECT_EQ(editor.consoleMessages->scrolledRows(), 6);
  editor.consoleMessage("answer");  // brings the newest back
  EXPECT_EQ(std::to_string(editor.consoleMessages->scrolledRows()) + state(), "00 1 -x-- 1");
  click(kLeftButton, 50, 50);  // a press that no panel takes clears the focus
  EXPECT_EQ(state(), "0 1 -x-- 0");
  click(kLeftButton, 450, 485);
  key(27);  // Escape gives the keys back to the views, the typed text staying
  key('m');
  EXPECT_EQ(editor.consolePrompt->typed().substr(0, 3) + state(), "zs 0 3 -x-- 0");
  click(kLeftButton, 450, 485);
  special(kKeyHome);  // hiding the panels takes the focus from the hidden prompt
  key('d');
  EXPECT_EQ(editor.consolePrompt->typed().substr(0, 3) + state(), "zs 0 3 -x-- 0");
}

TEST_F(InputTest, FunctionKeysPickToolsOrWithShiftSelectAllAndWithCtrlNone) {
  SquareWithWing square(*editor.doc.model);
  Bone* root = editor.doc.model->createRoot(0, 0, 0);
  auto selection = [&] {
    return std::to_string(editor.doc.selectedVertices.count()) + " " +
           std::to_string(editor.doc.selectedPolygons.count()) + " " +
           std::to_string(editor.doc.selectedBone == root) + " " + state();
  };
  for (int k : {kKeyF1, kKeyF2, kKeyF3}) special(k, kShift | 8);
  EXPECT_EQ(selection(), "5 3 1 0 0 -x-- 0");
  key(8);  // BackSpace
  EXPECT_EQ(selection(), "0 0 0 0 0 -x-- 0");
  for (int k : {kKeyF1, kKeyF2, kKeyF3}) special(k, kShift);
  for (int k : {kKeyF1, kKeyF2, kKeyF3}) special(k, kCtrl);
  EXPECT_EQ(selection(), "0 0 0 0 0 -x-- 0");
  for (int k : {kKeyF1, kKeyF3, kKeyF2, kKeyF9, kKeyHome}) special(k);
  EXPECT_EQ(
      selection() + std::to_string(editor.viewSet.showGrid) + std::to_string(editor.panelsShown),
      "0 0 0 0 1 -x-- 001");
}

TEST_F(InputTest, CtrlChordsArriveAsControlCodesAndStillWork) {
  ScratchDir dir;
  editor.doc.model->name = dir.file("m.txt");
  SquareWithWing square(*editor.doc.model);
  selectAllVertices(editor);
  const std::string model = formatModelFile(captureImage(*editor.doc.model));
  // Other control codes (Ctrl+D, Ctrl+Z, Ctrl+Shift+B...) do nothing.
  EXPECT_EQ(after([&] {
              for (int c = 1; c <= 26; ++c)
                if (c != 8 && c != 19) key(c, kCtrl), key(c, kCtrl | kShift);
            }),
            "0 0 -x-- 0");
  EXPECT_EQ(formatModelFile(captureImage(*editor.doc.model)), model);
  EXPECT_EQ(editor.doc.selectedVertices.count(), 5);
  const std::string greeting = lastConsoleMessage();
  EXPECT_EQ(after([&] { key(19, kCtrl | 8); }),  // Ctrl+S with NumLock on, not the Scale key
            "Saving model to file: " + dir.file("m.txt") + "\n0 0 -x-- 0");
  EXPECT_EQ(readFile(dir.file("m.txt")) + lastConsoleMessage(), model + greeting);  // quiet
  SilencedStdout quiet;
  editor.doc.model->name = dir.path();  // a directory cannot be written over
  key(19, kCtrl);
  EXPECT_EQ(lastConsoleMessage(), "Error! Model failed to save!");
  key(31, kCtrl);      // Ctrl+/ minimises the panels and sets them in rows
  std::string places;  // wrapped where the next panel would cross the window's right edge
  for (Panel* p : editor.widgets)
    places += std::to_string(int(p->x())) + "," + std::to_string(int(p->y())) + " ";
  EXPECT_EQ(std::to_string(editor.consoleWidget->isMinimised()) + " " + places,
            "1 5,341 185,575 365,341 545,539 5,540 305,540 ");
}

TEST_F(InputTest, FramePumpRunsQueuedCodesInClickOrderBeforeTheConsoleLine) {
  editor.ui->pushCommand(20);  // Move, then Scale 2D
  editor.ui->pushCommand(22);
  editor.ui->setFocusedEntry(editor.consolePrompt);
  for (char c : std::string("/getpos\r/polycount\r")) key(c);  // both wait their turn
  EXPECT_EQ(
      printedBy([&] { editor.framePump(); }),
      "numparams: 0\n/getpos /getpos (null) 9\nnumparams: 0\n/polycount /polycount (null) 14\n");
  EXPECT_EQ(state() + lastConsoleMessage(), "0 5 -x-- 10");
  EXPECT_EQ(editor.ui->popCommand() + editor.ui->isLinePending(), -1);
}

TEST_F(InputTest, CursorLabelNamesTheDragOrElseTheTool) {
  const struct {
    int dragMode, tool;
    const char* label;
  } cases[] = {
      {kNoDrag, kSelectVertex, "Select Vertex"},     {kToolDrag, kCreateSpline, "Create Spline"},
      {kNoDrag, kAddBone, "Create Skeleton (Root)"}, {kRubberBand, kMove, "Select"},
      {kRotateView, kMove, "Rotate View"},           {kZoomView, kMove, "Zoom View"},
      {kScrollView, kMove, "Scroll View"},           {kPopupMenu, kMove, ""}};
  for (const auto& c : cases) {
    editor.toolState.dragMode = c.dragMode, editor.toolState.tool = c.tool;
    EXPECT_EQ(editor.cursorLabelName(), c.label) << c.dragMode << " " << c.tool;
  }
  editor.doc.model->createRoot(0, 0, 0);  // with a root, the bone tool adds bones
  editor.toolState.dragMode = kNoDrag, editor.toolState.tool = kAddBone;
  EXPECT_EQ(editor.cursorLabelName(), "Add Bone");
}

}  // namespace
