#include <sstream>

#include "files/file_paths.h"
#include "support/bmp_file.h"
#include "support/format_fixtures.h"
#include "tools/tool_fixture.h"

namespace {

constexpr const char* kWrongCount = "Error! Not right # of parameters!";

// A scratch directory holding a 2 x 2 BMP; one triangle selected with two of its vertices.
class ConsoleTest : public ToolTest {
 protected:
  ConsoleTest() {
    Vertex *a = selectedVertex(1, 2, 3), *b = selectedVertex(4, 5, 6);
    editor.doc.selectedPolygons.pushFront(addTriangle(model(), a, b, addVertex(model(), 7, 8, 9)));
    writeFile("tiny.bmp", tinyBmp());
    writeFile("plain.mdl", "3\n0 0 0\n1 0 0\n0 1 0\n1\n1\n0 1 2 0 0 0 0 0 0\n0\n1 1 1 1\n0\n");
  }
  // Everything a command may change but the messages, one field per line.
  std::string state() {
    const Box3& b = editor.toolState.boundingBox;
    const Material& m = model().currentGroup->material;
    std::ostringstream s;
    s << "box " << b.minX << " " << b.maxX << " " << b.minY << " " << b.maxY << " " << b.minZ << " "
      << b.maxZ << "\ncylinder " << editor.toolState.cylinderSides << "x"
      << editor.toolState.cylinderLevels << "\ncolour " << m.red << " " << m.green << " " << m.blue
      << " " << m.alpha << "\ntexture " << m.textured << editor.viewSet.showUvTexture
      << editor.viewSet.uvTexture << "\nsmooth "
      << model().currentGroup->polygons.headItem()->smooth << "\nundo " << snapshots() << "\n"
      << mesh() << "\n";
    return s.str();
  }
  // The lines of state() that differ from `before`, joined by "; ".
  static std::string changes(const std::string& before, const std::string& after) {
    std::istringstream was(before), is(after);
    std::string old, now, text;
    while (std::getline(was, old) && std::getline(is, now))
      if (old != now) text += (text.empty() ? "" : "; ") + now;
    return text;
  }
  ScratchCwd dir;
};

// Commands in turn: code (-1: no echo), trace after the echo, messages (null: none), changes.
TEST_F(ConsoleTest, CommandsPrintTheirTraceAnswerAndActExactly) {
  struct Case {
    const char* line;
    int code;
    const char *trace, *message, *changes;
  };
  // clang-format off
  const Case cases[] = {
      {"open x", -1, "", nullptr, ""},
      {"/open", 0, "", kWrongCount, ""}, {"/save", 1, "", kWrongCount, ""},
      {"/loadtex  ", 2, "", kWrongCount, ""}, {"/setx", 6, "", kWrongCount, ""},
      {"/sety", 7, "", kWrongCount, ""}, {"/setz", 8, "", kWrongCount, ""},
      {"/setbb 1 2 3 4 5 6 7", 3, "", kWrongCount, ""}, {"/polycount", 14, "", "1", ""},
      {"/SAVE x", -1, "", "Unknown command: /SAVE (type /help)", ""},  // names are case-sensitive
      {"/setbb 1 2 3 4 5", 3, "", kWrongCount, ""},
      {"/setbb 0.5 2.9 -1 1 -2 2", 3, "", "Bounding Box Set!", "box 0 2 -1 1 -2 2"},
      {"/setbb -3000000000 9999999999 0 1 0 1", 3, "", "Bounding Box Set!",
       "box -2.14748e+09 2.14748e+09 0 1 0 1"},
      {"/setcylinder 2 2000000", 10, "", nullptr, "cylinder 3x1000"},
      {"/setcylinder 99999999 0", 10, "", nullptr, "cylinder 1000x1"},
      {"/setcylinder 5000000000 4", 10, "", nullptr, "cylinder 1000x4"},  // beyond int: clamped
      {"/setcylinder 5", 10, "", kWrongCount, ""}, {"/setcolor 1 0 0", 13, "", nullptr, ""},
      {"/setcolor 0.25 0.5 0.75 0.125", 13, "", nullptr, "colour 0.25 0.5 0.75 0.125"},
      {"/setx 2", 6, "", nullptr, "undo 1; 2,2,3* 2,5,6* 7,8,9 | 0,1,2*"},
      {"/sety word", 7, "", nullptr, "undo 2; 2,0,3* 2,0,6* 7,8,9 | 0,1,2*"},
      {"/setz -1.5", 8, "", nullptr, "undo 3; 2,0,-1.5* 2,0,-1.5* 7,8,9 | 0,1,2*"},
      {"/getpos", 9, "Vertex: [2.000000, 0.000000, -1.500000]\nVertex: [2.000000, 0.000000, "
       "-1.500000]\n", nullptr, ""},
      {"/smoothpolys", 11, "", nullptr, "smooth 1"}, {"/flattenpolys", 12, "", nullptr, "smooth 0"},
      {"/showtex", 4, "", nullptr, ""},  // no texture yet
      {"/loadtex none.bmp", 2, "", "Error! Texture failed to load!\nNo such file or directory", ""},
      {"/loadtex tab\tname.bmp", 2, "", "Error! Texture file names cannot hold control characters!",
       ""},
      {"/loadtex bell\x07.bmp", 2, "", "Error! Texture file names cannot hold control characters!",
       ""},
      {"/loadtex tiny.bmp", 2, "Texture loaded! (ID: 2)\n", "Texture Loaded!", "texture 112"},
      {"/save tri.mdl", 1, "Saving model to file: tri.mdl\n", "Model saved!", ""},
      {"/showtex", 4, "", "Showing UV Texture.", ""},
      {"/hidetex now", 5, "", "Hiding UV Texture.", "texture 102"},
      {"/open none.mdl", 0, "", "Error! Model failed to load!\nNo such file or directory", ""},
      // Read back in reverse order, nothing selected, the texture shown again.
      {"/open tri.mdl", 0, "Reading model from file: tri.mdl\nRead texture name: tiny.bmp\n",
       "Model successfully loaded!", "texture 112; 7,8,9 2,0,-1.5 2,0,-1.5 | 2,1,0"},
      // A model without texture: the UV view no longer shows the last one's.
      {"/open plain.mdl", 0, "Reading model from file: plain.mdl\n", "Model successfully loaded!",
       "colour 1 1 1 1; texture 000; 0,0,0 1,0,0 0,1,0 | 0,1,2"},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::istringstream in(c.line);
    std::vector<std::string> w;  // the words, split at blanks only
    for (std::string word; std::getline(in, word, ' ');)
      if (!word.empty()) w.push_back(word);
    std::string trace = c.line[0] == '/' ? "numparams: " + std::to_string(w.size() - 1) + "\n" : "";
    if (c.code >= 0)
      trace += w[0] + " " + w[0] + " " + (w.size() > 1 ? shownName(w[1]) : "(null)") + " " +
               std::to_string(c.code) + "\n";
    const int messages = messageCount();
    const std::string before = state();
    EXPECT_EQ(printedBy([&] { runConsoleCommand(editor, c.line); }), trace + c.trace);
    EXPECT_EQ(messagesSince(messages, "\n"), c.message ? c.message + std::string("\n") : "");
    EXPECT_EQ(changes(before, state()), c.changes);
  }
  printedBy([&] { runConsoleCommand(editor, "/save " + dir.path()); });
  EXPECT_EQ(lastConsoleMessage(), "Error! Model failed to save!");
  // /open tries again a texture that failed before.
  model().currentGroup->material.textured = 1;
  model().currentGroup->material.textureName = "late.bmp";
  printedBy([&] {
    runConsoleCommand(editor, "/save late.mdl"), runConsoleCommand(editor, "/open late.mdl");
  });
  writeFile("late.bmp", tinyBmp());
  const std::string trace = printedBy([&] { runConsoleCommand(editor, "/open late.mdl"); });
  EXPECT_EQ(trace.substr(trace.find("Read texture")),
            "Read texture name: late.bmp\nTexture loaded! (ID: 4)\n");
}

}  // namespace
