#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/editor_fixture.h"

namespace fs = std::filesystem;

namespace {

class ConsoleTest : public EditorTest {
 protected:
  ConsoleTest() : dir(fs::temp_directory_path() / ("vantorel-console-" + std::to_string(::getpid()))) {
    fs::create_directories(dir);
  }
  ~ConsoleTest() override { fs::remove_all(dir); }

  // Runs a line and returns what it printed.
  std::string run(const std::string& line) {
    testing::internal::CaptureStdout();
    editor.runConsoleCommand(line);
    return testing::internal::GetCapturedStdout();
  }
  int messageCount() { return editor.consoleMessages->currentList()->count(); }

  Vertex* addVertex(double x, double y, double z) {
    Vertex* v = editor.model->newVertex(x, y, z);
    editor.model->vertices.pushFront(v);
    return v;
  }
  void addTriangle() {
    Vertex* a = addVertex(0, 0, 0);
    Vertex* b = addVertex(1, 0, 0);
    Vertex* c = addVertex(0, 1, 0);
    editor.model->currentGroup->polygons.pushFront(editor.model->newPolygon(a, b, c));
  }

  fs::path dir;
};

TEST_F(ConsoleTest, LinesWithoutTheSlashDoNothing) {
  EXPECT_EQ(run("open x"), "");
  EXPECT_EQ(messageCount(), 1);
}

TEST_F(ConsoleTest, EveryLinePrintsItsTwoTraceLines) {
  EXPECT_EQ(run("/polycount"), "numparams: 0\n/polycount /polycount (null) 14\n");
  EXPECT_EQ(lastConsoleMessage(), "0");
  EXPECT_EQ(run("/hidetex  now "), "numparams: 1\n/hidetex /hidetex now 5\n");
  EXPECT_EQ(lastConsoleMessage(), "Hiding UV Texture.");
  EXPECT_EQ(run("/SAVE x"), "numparams: 1\n");  // commands are case-sensitive
}

TEST_F(ConsoleTest, SetBoundingBoxNeedsSixIntegers) {
  run("/setbb 1 2 3 4 5");
  EXPECT_EQ(lastConsoleMessage(), "Error! Not right # of parameters!");
  run("/setbb -1 1 -1 1 -1 1");
  EXPECT_EQ(lastConsoleMessage(), "Bounding Box Set!");
  EXPECT_EQ(editor.boundingBox.minX, -1);
  EXPECT_EQ(editor.boundingBox.maxZ, 1);
  run("/setbb 0.5 2.5 0 1 0 1");
  EXPECT_EQ(editor.boundingBox.minX, 0);
  EXPECT_EQ(editor.boundingBox.maxX, 2);
}

TEST_F(ConsoleTest, SetCylinderIsClampedToSensibleCounts) {
  run("/setcylinder 2 0");
  EXPECT_EQ(editor.cylinderSides, 3);
  EXPECT_EQ(editor.cylinderLevels, 1);
  run("/setcylinder 12 4");
  EXPECT_EQ(editor.cylinderSides, 12);
  EXPECT_EQ(editor.cylinderLevels, 4);
  run("/setcylinder 99999999 2000000");
  EXPECT_EQ(editor.cylinderSides, 1000);
  EXPECT_EQ(editor.cylinderLevels, 1000);
  run("/setcylinder 5");
  EXPECT_EQ(lastConsoleMessage(), "Error! Not right # of parameters!");
  EXPECT_EQ(editor.cylinderSides, 1000);
}

TEST_F(ConsoleTest, CommandsMissingTheirWordReportItAndDoNothing) {
  for (const char* line : {"/open", "/save", "/loadtex", "/setx", "/sety", "/setz"}) {
    int before = messageCount();
    run(line);
    EXPECT_EQ(messageCount(), before + 1) << line;
    EXPECT_EQ(lastConsoleMessage(), "Error! Not right # of parameters!") << line;
  }
  EXPECT_EQ(editor.undoStack.size(), 0u);
}

TEST_F(ConsoleTest, SetColourNeedsExactlyFourNumbers) {
  const Material& m = editor.model->currentGroup->material;
  int before = messageCount();
  run("/setcolor 1 0 0");
  EXPECT_EQ(m.green, 1);
  EXPECT_EQ(messageCount(), before);
  run("/setcolor 1 0 0 1");
  EXPECT_EQ(m.red, 1);
  EXPECT_EQ(m.green, 0);
  EXPECT_EQ(m.blue, 0);
  EXPECT_EQ(m.alpha, 1);
}

TEST_F(ConsoleTest, SetCoordinateTakesOneSnapshotAndSetsEverySelectedVertex) {
  Vertex* a = addVertex(1, 2, 3);
  Vertex* b = addVertex(4, 5, 6);
  addVertex(7, 8, 9);
  editor.selectedVertices.pushFront(a);
  editor.selectedVertices.pushFront(b);
  run("/setx 2");
  EXPECT_EQ(a->x, 2);
  EXPECT_EQ(b->x, 2);
  EXPECT_EQ(editor.undoStack.size(), 1u);
  run("/sety word");
  EXPECT_EQ(a->y, 0);
  run("/setz inf");
  EXPECT_EQ(b->z, 0);
  EXPECT_EQ(run("/getpos"),
            "numparams: 0\n/getpos /getpos (null) 9\nVertex: [2.000000, 0.000000, 0.000000]\n"
            "Vertex: [2.000000, 0.000000, 0.000000]\n");
}

TEST_F(ConsoleTest, SaveThenOpenBringsTheModelBackAndClearsTheSelection) {
  addTriangle();
  std::string path = (dir / "tri.txt").string();
  run("/save " + path);
  EXPECT_EQ(lastConsoleMessage(), "Model saved!");
  EXPECT_EQ(editor.model->name, path);

  editor.selectedVertices.pushFront(editor.model->vertices.headItem());
  editor.selectedPolygons.pushFront(editor.model->currentGroup->polygons.headItem());
  editor.selectedBone = editor.model->createRoot(0, 0, 0);
  run("/open " + path);
  EXPECT_EQ(lastConsoleMessage(), "Model successfully loaded!");
  EXPECT_EQ(editor.model->vertices.count(), 3);
  EXPECT_EQ(editor.model->currentGroup->polygons.count(), 1);
  EXPECT_EQ(editor.selectedVertices.count(), 0);
  EXPECT_EQ(editor.selectedPolygons.count(), 0);
  EXPECT_EQ(editor.selectedBone, nullptr);
  run("/polycount");
  EXPECT_EQ(lastConsoleMessage(), "1");
}

TEST_F(ConsoleTest, FailedOpenKeepsTheModelAndSelection) {
  addTriangle();
  Model* before = editor.model.get();
  editor.selectedVertices.pushFront(editor.model->vertices.headItem());
  run("/open " + (dir / "missing.txt").string());
  EXPECT_EQ(lastConsoleMessage(), "Error! Model failed to load!");
  EXPECT_EQ(editor.model.get(), before);
  EXPECT_EQ(editor.model->vertices.count(), 3);
  EXPECT_EQ(editor.selectedVertices.count(), 1);
}

TEST_F(ConsoleTest, FailedSaveSaysSoAndLeavesThePreviousFile) {
  std::string path = (dir / "keep.txt").string();
  {
    std::ofstream(path) << "previous";
  }
  fs::create_directories(dir / "adir");
  run("/save " + (dir / "adir").string());
  EXPECT_EQ(lastConsoleMessage(), "Error! Model failed to save!");
  std::ifstream in(path);
  std::string text;
  std::getline(in, text);
  EXPECT_EQ(text, "previous");
}

TEST_F(ConsoleTest, TextureCommandsReportFailureAndLeaveTheMaterial) {
  run("/showtex");  // the group has no texture: nothing happens, nothing is said
  EXPECT_EQ(editor.showUvTexture, 0);
  EXPECT_EQ(messageCount(), 1);

  run("/loadtex " + (dir / "none.bmp").string());
  EXPECT_EQ(lastConsoleMessage(), "Error! Texture failed to load!");
  const Material& m = editor.model->currentGroup->material;
  EXPECT_EQ(m.textured, 0);
  EXPECT_EQ(editor.showUvTexture, 0);

  // A 1 x 1 24-bit BMP.
  std::string bmp = (dir / "one.bmp").string();
  unsigned char bytes[58] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                             1,   0,   0,  0, 1, 0, 0, 0, 1, 0, 24, 0};
  bytes[54] = 10, bytes[55] = 20, bytes[56] = 30;
  std::ofstream(bmp, std::ios::binary).write(reinterpret_cast<char*>(bytes), sizeof bytes);
  testing::internal::CaptureStdout();
  editor.runConsoleCommand("/loadtex " + bmp);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Texture loaded! (ID: 2)"), std::string::npos);
  EXPECT_EQ(lastConsoleMessage(), "Texture Loaded!");
  EXPECT_EQ(m.textured, 1);
  EXPECT_EQ(m.textureName, bmp);
  EXPECT_EQ(m.textureId, 2);
  EXPECT_EQ(editor.uvTexture, 2);
  run("/hidetex");
  run("/showtex");
  EXPECT_EQ(lastConsoleMessage(), "Showing UV Texture.");
  EXPECT_EQ(editor.showUvTexture, 1);
}

// The model file holds a texture name as one word, so a name with a tab or a
// line break in it would make the saved model unreadable.
TEST_F(ConsoleTest, TextureNamesThatTheModelFileCannotHoldAreRefused) {
  unsigned char bytes[58] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                             1,   0,   0,  0, 1, 0, 0, 0, 1, 0, 24, 0};
  for (const char* name : {"tab\tname.bmp", "line\nbreak.bmp", "return\r.bmp"}) {
    const std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<char*>(bytes), sizeof bytes);
    run("/loadtex " + path);
    EXPECT_EQ(lastConsoleMessage(), "Error! Texture file names cannot hold tabs or line breaks!");
    EXPECT_EQ(editor.model->currentGroup->material.textured, 0);
  }
  const std::string saved = (dir / "saved.mdl").string();
  run("/save " + saved);
  Model reread("reread", nullptr);
  testing::internal::CaptureStdout();
  EXPECT_EQ(reread.load(saved), 1);
  testing::internal::GetCapturedStdout();
}

}  // namespace
