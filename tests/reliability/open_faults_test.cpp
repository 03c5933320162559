// Opening what is not a whole model file leaves the editor's model, its name
// and its selection exactly as they were, and answers at once whatever the
// name refers to.

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "model/model_fixtures.h"
#include "support/child_process.h"
#include "support/editor_fixture.h"
#include "support/silenced_stdout.h"

namespace {

class OpenFaultTest : public EditorTest {
 protected:
  OpenFaultTest() {
    Model& model = *editor.model;
    RichModel rich(model);
    model.name = dir.file("current.mdl");
    editor.selectAllVertices();
    editor.selectAllPolygons();
    editor.selectedBone = rich.hub;
    text = formatModelFile(captureImage(model));
    before = captureImage(model);
  }

  // Opens `path` through the console; true when the editor refused it and
  // kept everything.
  ::testing::AssertionResult refusedAndKept(const std::string& path) {
    Model* model = editor.model.get();
    const int vertices = editor.selectedVertices.count();
    const int polygons = editor.selectedPolygons.count();
    Bone* bone = editor.selectedBone;
    editor.runConsoleCommand("/open " + path);
    if (lastConsoleMessage() != "Error! Model failed to load!")
      return ::testing::AssertionFailure() << "answered " << lastConsoleMessage();
    if (editor.model.get() != model || editor.model->name != dir.file("current.mdl") ||
        !(captureImage(*editor.model) == before))
      return ::testing::AssertionFailure() << "the model changed";
    if (editor.selectedVertices.count() != vertices ||
        editor.selectedPolygons.count() != polygons || editor.selectedBone != bone)
      return ::testing::AssertionFailure() << "the selection changed";
    return ::testing::AssertionSuccess();
  }

  ScratchDir dir;
  std::string text;
  ModelImage before;
};

TEST_F(OpenFaultTest, EveryTruncationOfAFileIsRefused) {
  SilencedStdout quiet;
  const std::string path = dir.file("cut.mdl");
  // Without its final line feed the file is still whole; any shorter is not.
  for (size_t length = 0; length + 1 < text.size(); ++length) {
    writeFile(path, text.substr(0, length));
    ASSERT_TRUE(refusedAndKept(path)) << "first " << length << " bytes";
  }
}

TEST_F(OpenFaultTest, DamagedFilesAreRefused) {
  const std::string damaged[] = {
      text + "1\n",                              // trailing number
      text.substr(0, text.size() - 3) + "-2\n",  // bone line ends wrongly
      "1e400" + text.substr(text.find('\n')),    // vertex count out of range
      "\x7f"
      "ELF binary",                                                 // not text at all
      std::string(4096, '\0'),                                      // zeros
      "2\n0 0 0\n1 1 1\n1\n1\n0 1 2 0 0 0 0 0 0\n0\n1 1 1 1\n0\n",  // corner past the end
  };
  SilencedStdout quiet;
  int index = 0;
  for (const std::string& content : damaged) {
    const std::string path = dir.file("damaged" + std::to_string(index++) + ".mdl");
    writeFile(path, content);
    EXPECT_TRUE(refusedAndKept(path)) << path;
  }
}

// A pipe without a writer would block the reader for ever, and /dev/zero
// never ends; neither may hang the editor or eat its memory.
TEST_F(OpenFaultTest, NamesOfThingsThatAreNoFilesAnswerAtOnce) {
  ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0644), 0);
  ASSERT_EQ(mkdir(dir.file("folder").c_str(), 0755), 0);
  const ChildResult child = runInChild(
      [&] {
        SilencedStdout quiet;
        for (const std::string& path :
             {dir.file("pipe"), std::string("/dev/zero"), std::string("/dev/null"),
              dir.file("folder"), dir.file("")}) {
          if (!refusedAndKept(path)) return 1;
        }
        return 0;
      },
      20);
  EXPECT_TRUE(child.exited) << "ended by signal " << child.signal;
  EXPECT_EQ(child.code, 0);
}

}  // namespace
