#include <filesystem>
#include <sstream>

#include "console/console_commands.h"
#include "tools/tool_fixture.h"

namespace {

constexpr const char* kWrongCount = "Error! Not right # of parameters!";

// Commands run in a scratch directory holding a 2 x 2 BMP, on one triangle,
// selected, with two of its vertices.
class ConsoleTest : public ToolTest {
 protected:
  ConsoleTest() {
    Vertex* a = selectedVertex(1, 2, 3);
    Vertex* b = selectedVertex(4, 5, 6);
    editor.selectedPolygons.pushFront(addTriangle(model(), a, b, addVertex(model(), 7, 8, 9)));
    writeFile(dir.file("tiny.bmp"), tinyBmp());
    std::filesystem::current_path(dir.path());
  }
  ~ConsoleTest() override { std::filesystem::current_path(home); }
  // Everything a command may change but the messages, one field per line.
  std::string state() {
    const Box3& b = editor.boundingBox;
    const Material& m = model().currentGroup->material;
    std::ostringstream s;
    s << "box " << b.minX << " " << b.maxX << " " << b.minY << " " << b.maxY << " " << b.minZ << " "
      << b.maxZ << "\ncylinder " << editor.cylinderSides << "x" << editor.cylinderLevels
      << "\ncolour " << m.red << " " << m.green << " " << m.blue << " " << m.alpha << "\ntexture "
      << m.textured << editor.showUvTexture << "\nsmooth "
      << model().currentGroup->polygons.headItem()->smooth << "\nundo " << snapshots() << "\n"
      << mesh() << "\n";
    return s.str();
  }
  // The lines of state() that differ from `before`, joined by "; ".
  static std::string changes(const std::string& before, const std::string& after) {
    std::istringstream was(before), is(after);
    std::string old, now, text;
    while (std::getline(was, old) && std::getline(is, now)) {
      if (old != now) text += (text.empty() ? "" : "; ") + now;
    }
    return text;
  }
  ScratchDir dir;
  const std::filesystem::path home = std::filesystem::current_path();
};

// Commands one after another: what each prints, the message it leaves (null
// for none) and what it changes.
TEST_F(ConsoleTest, CommandsPrintTheirTraceAnswerAndActExactly) {
  struct Case {
    const char *line, *trace, *message, *changes;
  };
  // clang-format off
  const Case cases[] = {
      {"open x", "", nullptr, ""},
      {"/polycount", "numparams: 0\n/polycount /polycount (null) 14\n", "1", ""},
      {"/SAVE x", "numparams: 1\n", nullptr, ""},  // names are case-sensitive
      {"/setbb 1 2 3 4 5", "numparams: 5\n/setbb /setbb 1 3\n", kWrongCount, ""},
      {"/setbb 0.5 2.9 -1 1 -2 2", "numparams: 6\n/setbb /setbb 0.5 3\n", "Bounding Box Set!",
       "box 0 2 -1 1 -2 2"},  // whole numbers only
      {"/setcylinder 2 2000000", "numparams: 2\n/setcylinder /setcylinder 2 10\n", nullptr,
       "cylinder 3x1000"},
      {"/setcylinder 99999999 0", "numparams: 2\n/setcylinder /setcylinder 99999999 10\n", nullptr,
       "cylinder 1000x1"},
      {"/setcylinder 5", "numparams: 1\n/setcylinder /setcylinder 5 10\n", kWrongCount, ""},
      {"/setcolor 1 0 0", "numparams: 3\n/setcolor /setcolor 1 13\n", nullptr, ""},
      {"/setcolor 0.25 0.5 0.75 0.125", "numparams: 4\n/setcolor /setcolor 0.25 13\n", nullptr,
       "colour 0.25 0.5 0.75 0.125"},
      {"/setx 2", "numparams: 1\n/setx /setx 2 6\n", nullptr,
       "undo 1; 2,2,3* 2,5,6* 7,8,9 | 0,1,2*"},
      {"/sety word", "numparams: 1\n/sety /sety word 7\n", nullptr,
       "undo 2; 2,0,3* 2,0,6* 7,8,9 | 0,1,2*"},
      {"/setz -1.5", "numparams: 1\n/setz /setz -1.5 8\n", nullptr,
       "undo 3; 2,0,-1.5* 2,0,-1.5* 7,8,9 | 0,1,2*"},
      {"/getpos", "numparams: 0\n/getpos /getpos (null) 9\n"
       "Vertex: [2.000000, 0.000000, -1.500000]\nVertex: [2.000000, 0.000000, -1.500000]\n",
       nullptr, ""},
      {"/smoothpolys", "numparams: 0\n/smoothpolys /smoothpolys (null) 11\n", nullptr, "smooth 1"},
      {"/flattenpolys", "numparams: 0\n/flattenpolys /flattenpolys (null) 12\n", nullptr,
       "smooth 0"},
      {"/showtex", "numparams: 0\n/showtex /showtex (null) 4\n", nullptr, ""},  // no texture yet
      {"/loadtex none.bmp", "numparams: 1\n/loadtex /loadtex none.bmp 2\n",
       "Error! Texture failed to load!", ""},
      {"/loadtex tab\tname.bmp", "numparams: 1\n/loadtex /loadtex tab\tname.bmp 2\n",
       "Error! Texture file names cannot hold tabs or line breaks!", ""},
      {"/loadtex tiny.bmp", "numparams: 1\n/loadtex /loadtex tiny.bmp 2\nTexture loaded! (ID: 2)\n",
       "Texture Loaded!", "texture 11"},
      {"/save tri.mdl", "numparams: 1\n/save /save tri.mdl 1\nSaving model to file: tri.mdl\n",
       "Model saved!", ""},
      {"/hidetex now", "numparams: 1\n/hidetex /hidetex now 5\n", "Hiding UV Texture.",
       "texture 10"},
      {"/open none.mdl", "numparams: 1\n/open /open none.mdl 0\n", "Error! Model failed to load!",
       ""},
      // Read back in reverse order, nothing selected, the texture shown again.
      {"/open tri.mdl", "numparams: 1\n/open /open tri.mdl 0\nReading model from file: tri.mdl\n"
       "Read texture name: tiny.bmp\n", "Model successfully loaded!",
       "texture 11; 7,8,9 2,0,-1.5 2,0,-1.5 | 2,1,0"},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const int messages = editor.consoleMessages->currentList()->count();
    const std::string before = state();
    EXPECT_EQ(printedBy([&] { runConsoleCommand(editor, c.line); }), c.trace);
    EXPECT_EQ(editor.consoleMessages->currentList()->count(), messages + (c.message ? 1 : 0));
    if (c.message) {
      EXPECT_EQ(lastConsoleMessage(), c.message);
    }
    EXPECT_EQ(changes(before, state()), c.changes);
  }
  // The target's name is so long that no temporary file can be made beside it.
  const std::string target(250, 'k');
  writeFile(target, "previous");
  printedBy([&] { runConsoleCommand(editor, "/save " + target); });
  EXPECT_EQ(lastConsoleMessage(), "Error! Model failed to save!");
  EXPECT_EQ(readFile(target), "previous");
}

}  // namespace
