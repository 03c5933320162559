// What a user can type at the console prompt (any byte, lines longer than the
// prompt, commands without their words, numbers too large for any type) and
// vertices at the ends of the number range: nothing may crash the editor or
// put an infinite or NaN number into the model.

#include <cfloat>
#include <cmath>
#include <vector>

#include "support/editor_fixture.h"
#include "support/fixtures.h"
#include "support/model_invariants.h"
#include "tools/polygon_ops.h"
#include "tools/selection.h"
#include "tools/tool_menu.h"

namespace {

class ConsoleInputTest : public EditorTest {
 protected:
  ConsoleInputTest() {
    editor.model->name = dir.file("current.mdl");
    SquareWithWing square(*editor.model);
    selectAllVertices(editor);
    selectAllPolygons(editor);
  }
  // Types into the focused prompt key by key, then lets a frame run the line.
  void typeAtPrompt(const std::string& keys) {
    SilencedStdout quiet;
    editor.uiContext()->setFocusedEntry(editor.consolePrompt);
    for (char c : keys) editor.keyPressed(static_cast<unsigned char>(c), 0, 0);
    editor.framePump();
  }
  ScratchDir dir;
};

TEST_F(ConsoleInputTest, AnyByteTypedReachesTheCommandUpTo128Characters) {
  const std::string text = formatModelFile(captureImage(*editor.model));
  for (int byte = 1; byte < 256; ++byte) {
    // Backspace and Enter edit the line, a blank ends a word, a slash names a directory.
    if (byte == 8 || byte == 13 || byte == ' ' || byte == '/') continue;
    const std::string name = dir.file(std::string("t") + static_cast<char>(byte) + ".mdl");
    typeAtPrompt("/save " + name + "\r");
    ASSERT_EQ(lastConsoleMessage() + editor.model->name, "Model saved!" + name) << byte;
    ASSERT_EQ(readFile(name), text) << byte;
  }
  // A zero byte cannot be part of a file name: the save is refused rather than
  // written under the name cut short.
  typeAtPrompt("/save " + dir.file("z") + std::string(1, '\0') + ".mdl\r");
  EXPECT_EQ(lastConsoleMessage(), "Error! Model failed to save!");
  EXPECT_EQ(dir.entryCount(), 255 - 4);
  // The prompt keeps 128 characters of a longer line.
  typeAtPrompt("/hidetex" + std::string(120, ' ') + "/open " + dir.file("x") +
               std::string(500, 'y'));
  EXPECT_EQ(editor.consolePrompt->length(), 128);
  typeAtPrompt("\r");
  EXPECT_EQ(editor.consolePrompt->length(), 0);
  EXPECT_EQ(lastConsoleMessage(), "Hiding UV Texture.");
}

// Commands missing words are refused with one message (those needing none are
// not); a number too large for its type counts as 0, an integer ends where it
// cannot go on, and cylinder counts are clamped.
TEST_F(ConsoleInputTest, MissingWordsAreRefusedAndNumbersTooLargeCountAsZero) {
  for (const char* line :
       {"/open", "/save", "/loadtex", "/setx", "/sety", "/setz", "/setcylinder", "/setcylinder 5",
        "/setbb", "/setbb 1 2 3 4 5", "/setbb 1 2 3 4 5 6 7"}) {
    const int messages = editor.consoleMessages->currentList()->count();
    typeAtPrompt(std::string(line) + "   \r");
    EXPECT_EQ(editor.consoleMessages->currentList()->count(), messages + 1) << line;
    EXPECT_EQ(lastConsoleMessage(), "Error! Not right # of parameters!") << line;
  }
  typeAtPrompt("/polycount\r");
  EXPECT_EQ(lastConsoleMessage(), "3");
  EXPECT_TRUE(editor.undoStack.empty());
  EXPECT_EQ(editor.cylinderSides + editor.boundingBox.maxZ, 8 + 1);
  for (const char* line :
       {"/setx 1e999", "/sety -0.5e1", "/setz 1.8e308", "/setcolor 1e999 -1e999 2e308 nan",
        "/setbb 99999999999 -99999999999 1e999 4 -5 6", "/setcylinder 4000 7"})
    typeAtPrompt(std::string(line) + "\r");
  for (const Vertex* v : editor.model->vertices) EXPECT_TRUE(sameVec(positionOf(v), 0, -5, 0));
  const Material& m = editor.model->currentGroup->material;
  const Box3& b = editor.boundingBox;
  EXPECT_EQ(
      std::vector<double>({m.red, m.green, m.blue, m.alpha, b.minX, b.maxX, b.minY, b.maxY, b.minZ,
                           b.maxZ, 1.0 * editor.cylinderSides, 1.0 * editor.cylinderLevels}),
      std::vector<double>({0, 0, 0, 0, 0, 0, 1, 4, -5, 6, 1000, 7}));
  EXPECT_EQ(findModelFault(*editor.model), "");
}

TEST_F(ConsoleInputTest, NoEditOfVerticesAtTheEndsOfTheRangeMakesANonFiniteNumber) {
  struct Edit {
    const char* keys;
    int menu, drag;  // a menu code, and a drag from the Side view's middle to ends[drag]; or -1
  };
  // Scale 2D and 3D, shrinking through zero, rotate, move, extrude, quarter turn, face outward,
  // duplicate, clamp, weld; UV map, flatten on X, Y and Z, smooth; scale 3D straight up.
  const Edit edits[] = {{"s", -1, 0},  {"ss", -1, 0}, {"s", -1, 1},  {"r", -1, 2},  {"m", -1, 0},
                        {"e", -1, 0},  {"R", -1, -1}, {"o", -1, -1}, {"d", -1, -1}, {"`", -1, -1},
                        {"n", -1, -1}, {"", 8, -1},   {"", 9, -1},   {"", 10, -1},  {"", 11, -1},
                        {"", 15, -1},  {"ss", -1, 2}};
  const int ends[][2] = {{380, 300}, {20, 590}, {200, 300}};
  std::string faults;
  for (const Edit& edit : edits) {
    // A box spanning the whole range on every axis, all selected.
    editor.replaceModel(std::make_unique<Model>("huge", editor.model->textures));
    addUnitBox(*editor.model, true);
    for (Vertex* v : editor.model->vertices)
      for (double* c : {&v->x, &v->y, &v->z}) *c = *c ? DBL_MAX : -DBL_MAX;
    rebuildNormals(editor);
    selectAllVertices(editor);
    selectAllPolygons(editor);
    moveTo(200, 450);
    printedBy([&] {
      for (const char* k = edit.keys; *k; ++k) key(*k);
      if (edit.menu >= 0) toolMenuCommand(editor, edit.menu);
      if (edit.drag >= 0) drag(kLeftButton, 200, 450, ends[edit.drag][0], ends[edit.drag][1]);
    });
    const std::string fault = findModelFault(*editor.model);
    if (!fault.empty()) faults += edit.keys + std::to_string(edit.menu) + ": " + fault + "\n";
  }
  EXPECT_EQ(faults, "");
  // The last, scaling everything up, leaves each axis that would overflow as it was.
  for (const Vertex* v : editor.model->vertices)
    EXPECT_TRUE(sameVec(Vec3{std::fabs(v->x), std::fabs(v->y), std::fabs(v->z)}, DBL_MAX, DBL_MAX,
                        DBL_MAX));
}

}  // namespace
