// What a user can type at the console prompt: any byte, lines longer than the
// prompt, commands without their words and numbers too large for any type.
// None of it may crash the editor or put a non-finite number into the model.

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "model/model_fixtures.h"
#include "support/editor_fixture.h"
#include "support/model_invariants.h"
#include "support/silenced_stdout.h"

namespace {

class ConsoleInputTest : public EditorTest {
 protected:
  ConsoleInputTest() {
    editor.model->name = dir.file("current.mdl");
    buildOneTriangle(*editor.model);
    editor.selectAllVertices();
    editor.selectAllPolygons();
  }

  // Types into the focused prompt key by key, then lets a frame run the line.
  void typeAtPrompt(const std::string& keys) {
    editor.uiContext()->setFocusedEntry(editor.consolePrompt);
    for (char c : keys) editor.keyPressed(static_cast<unsigned char>(c), 0, 0);
    editor.framePump();
  }

  ScratchDir dir;
};

TEST_F(ConsoleInputTest, AnyByteTypedReachesTheCommandUnchanged) {
  SilencedStdout quiet;
  for (int byte = 1; byte < 256; ++byte) {
    // Backspace and Enter edit the line; the blank separates words; a slash
    // would name a directory.
    if (byte == 8 || byte == 13 || byte == ' ' || byte == '/') continue;
    std::string name = "t";
    name += static_cast<char>(byte);
    name += ".mdl";
    typeAtPrompt("/save " + dir.file(name) + "\r");
    EXPECT_EQ(lastConsoleMessage(), "Model saved!") << "byte " << byte;
    EXPECT_EQ(editor.model->name, dir.file(name)) << "byte " << byte;
    EXPECT_EQ(readFile(dir.file(name)), formatModelFile(captureImage(*editor.model)));
  }
  // A zero byte cannot be part of a file name: the save is refused rather
  // than written under the name cut short.
  typeAtPrompt("/save " + dir.file("z") + std::string(1, '\0') + ".mdl\r");
  EXPECT_EQ(lastConsoleMessage(), "Error! Model failed to save!");
  EXPECT_EQ(dir.entryCount(), 255 - 4);
  EXPECT_EQ(findModelFault(*editor.model), "");
}

TEST_F(ConsoleInputTest, OverlongLinesKeepTheFirst128Characters) {
  SilencedStdout quiet;
  // 128 characters of command and blanks, then more that the prompt drops.
  const std::string kept = "/hidetex" + std::string(120, ' ');
  typeAtPrompt(kept + "/open " + dir.file("x.mdl") + std::string(500, 'y'));
  EXPECT_EQ(editor.consolePrompt->length(), 128);
  typeAtPrompt("\r");
  EXPECT_EQ(editor.consolePrompt->length(), 0);
  EXPECT_EQ(lastConsoleMessage(), "Hiding UV Texture.");
}

TEST_F(ConsoleInputTest, CommandsNeedingWordsSayWhenTheyAreMissing) {
  SilencedStdout quiet;
  const ModelImage before = captureImage(*editor.model);
  for (const char* line : {"/open", "/save", "/loadtex", "/setx", "/sety", "/setz", "/setcylinder",
                           "/setcylinder 5", "/setbb", "/setbb 1 2 3 4 5"}) {
    const int messages = editor.consoleMessages->currentList()->count();
    typeAtPrompt(std::string(line) + "   \r");
    EXPECT_EQ(editor.consoleMessages->currentList()->count(), messages + 1) << line;
    EXPECT_EQ(lastConsoleMessage(), "Error! Not right # of parameters!") << line;
  }
  EXPECT_EQ(editor.cylinderSides, 8);
  EXPECT_TRUE(editor.undoStack.empty());
  EXPECT_EQ(captureImage(*editor.model), before);
}

TEST_F(ConsoleInputTest, NumbersTooLargeLeaveNothingNonFinite) {
  SilencedStdout quiet;
  for (const char* line :
       {"/setx 1e999", "/sety -1e400", "/setz 1.8e308", "/setcolor 1e999 -1e999 2e308 nan",
        "/setbb 99999999999 -99999999999 1e999 0 0 1", "/setcylinder 99999999999 -99999999999"}) {
    typeAtPrompt(std::string(line) + "\r");
    EXPECT_EQ(findModelFault(*editor.model), "") << line;
  }
  for (const Vertex* v : editor.model->vertices) EXPECT_EQ(v->x, 0);
  EXPECT_GE(editor.cylinderSides, 3);
  EXPECT_GE(editor.cylinderLevels, 1);
  EXPECT_TRUE(std::isfinite(editor.boundingBox.minX));
}

}  // namespace
