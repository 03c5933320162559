// "/export" and "/open" of other formats, and the command line around them.
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/command_line.h"
#include "console/open_request.h"
#include "formats/model_export.h"
#include "formats/model_file.h"
#include "support/editor_fixture.h"
#include "support/fixtures.h"
#include "support/format_fixtures.h"

class ModelCommandsTest : public EditorTest {
 protected:
  ModelCommandsTest() {
    editor.commandState.importSettings.program = VANTOREL_PROGRAM;
    SquareWithWing square(*editor.doc.model);
  }
  ScratchCwd scratch;
};

TEST_F(ModelCommandsTest, ExportSaysWhetherItWroteAndLeavesTheModelAlone) {
  takeSnapshot(editor.doc);
  const std::string saved = formatModelFile(captureImage(*editor.doc.model));
  EXPECT_EQ(said("/export out.glb") + said("/export out.obj"), "Model exported!|Model exported!|");
  EXPECT_EQ(readFile("out.glb").substr(0, 4), "glTF");
  EXPECT_EQ(readFile("out.mtl"), "newmtl material0\nKd 1.000000 1.000000 1.000000\nd 1.000000\n");
  EXPECT_EQ(
      said("/export missing/out.gltf"),
      "Error! Model failed to export!|cannot create a file in missing: No such file or directory|");
  EXPECT_EQ(said("/export out.stl"),
            "Error! Model failed to export!|Export writes .glb, .gltf and .obj files.|");
  editor.doc.model->currentGroup->material.textured = 1;
  editor.doc.model->currentGroup->material.textureName = "gone.bmp";
  EXPECT_EQ(said("/export out.glb"),
            "Model exported!|The texture gone.bmp cannot be read (No such "
            "file or directory): the export leaves it out.|");
  EXPECT_EQ(readFile("out.glb").find("\"textures\""), std::string::npos);
  editor.doc.model->currentGroup->material.textured = 0;
  EXPECT_EQ(formatModelFile(captureImage(*editor.doc.model)) + editor.doc.model->name,
            saved + "testmodel");
  EXPECT_EQ(editor.doc.undoHistory.undoCount(), 1u);
  EXPECT_FALSE(std::filesystem::exists("missing"));
}

// Named in the working directory, never beside the file it came from, which the console says.
TEST_F(ModelCommandsTest, OpenImportsOtherFormatsUnderTheEditorsOwnExtension) {
  std::filesystem::create_directories("their");
  writeFile("their/quad.obj", "v 0 0 0\nv 2 0 0\nv 2 1 0\nv 0 1 0\nf 1 2 3 4\n");
  EXPECT_EQ(said("/open their/quad.obj"),
            "Model successfully loaded!|F5 saves the model as " +
                (std::filesystem::current_path() / "quad.vantorel").string() +
                ".|Import: quads split into triangles|");
  EXPECT_EQ(editor.doc.model->name + std::to_string(editor.doc.model->polygonCount()),
            "quad.vantorel2");
  special(kKeyF5);
  EXPECT_EQ(readFile("their/quad.obj"), "v 0 0 0\nv 2 0 0\nv 2 1 0\nv 0 1 0\nf 1 2 3 4\n");
  EXPECT_EQ(readFile("quad.vantorel").substr(0, 2), "4\n");
  EXPECT_FALSE(std::filesystem::exists("their/quad.vantorel"));
  // A file that no reader takes leaves the model as it was.
  EXPECT_EQ(said("/open nothing.obj") + editor.doc.model->name,
            "Error! Model failed to load!|No such file or directory|quad.vantorel");
}

TEST(CommandLine, ArgumentsPickTheAction) {
  using C = CommandLine;
  const struct {
    std::vector<std::string> args;
    C::Action action;
    std::string input, output, mistake;
  } cases[] = {
      {{"v"}, C::kOpenEditor, "", "", ""},
      {{"v", "ship.glb"}, C::kOpenEditor, "ship.glb", "", ""},
      {{"v", "-display", ":1", "a"}, C::kOpenEditor, "a", "", ""},
      {{"v", "--convert", "a.obj", "b.glb"}, C::kConvert, "a.obj", "b.glb", ""},
      {{"v", "--convert", "a.obj"}, C::kMistake, "", "", "--convert needs IN and OUT"},
      {{"v", "a", "--help"}, C::kHelp, "a", "", ""},
      {{"v", "--version"}, C::kVersion, "", "", ""},
      {{"v", "--import-child", "a.fbx", "1024", "m"}, C::kImportChild, "a.fbx", "m", ""},
      {{"v", "a", "b"}, C::kMistake, "", "", "more than one FILE"},
      {{"v", "--fast"}, C::kMistake, "", "", "unknown option --fast"},
      {{"v", "--", "-f.obj"}, C::kOpenEditor, "-f.obj", "", ""},
      {{"v", "--", "--", "-h"}, C::kMistake, "", "", "more than one FILE"},
      {{"v", "-geometry"}, C::kMistake, "", "", "-geometry needs a value"},
  };
  for (const auto& c : cases) {
    const CommandLine command = parseCommandLine(c.args);
    EXPECT_EQ(command.action, c.action) << c.args.back();
    EXPECT_EQ(command.input + "|" + command.output + "|" + command.mistake,
              c.input + "|" + c.output + "|" + c.mistake);
  }
  EXPECT_EQ(parseCommandLine({"v", "-display", ":1", "-sync"}).glutArguments,
            (std::vector<std::string>{"v", "-display", ":1", "-sync"}));
  EXPECT_EQ(parseCommandLine({"v", "--import-child", "a", "1024", "b"}).memoryBytes, 1024u);
}

// Names from files reach the trace with their control characters written out; a model file's
// texture name holding them is dropped, with a line that says so, and no save writes it back.
TEST_F(ModelCommandsTest, ControlCharactersFromFilesNeverReachTheTerminal) {
  const std::string name = "m\x1B]0;title\x07.vantorel", shown = "m\\x1B]0;title\\x07.vantorel";
  writeFile(name, "0\n1\n0\n1\nsk\x1B[2J\xC2\x9Bin.bmp\n1 1 1 1\n0\n");
  std::string answers;
  EXPECT_EQ(printedBy([&] { answers = said("/open " + name), answers += said("/save " + name); }),
            "numparams: 1\n/open /open " + shown + " 0\nReading model from file: " + shown +
                "\nnumparams: 1\n/save /save " + shown + " 1\nSaving model to file: " + shown +
                "\n");
  EXPECT_EQ(answers,
            "Model successfully loaded!|line 5: texture name sk\\x1B[2J\\xC2\\x9Bin.bmp dropped "
            "(it holds control characters)|Model saved!|");
  EXPECT_EQ(readFile(name), "0\n1\n0\n0\n1.000000 1.000000 1.000000 1.000000\n0\n");
}

// As in the window: /open returns at once; past its time the console says how far the open has
// got, another /open meanwhile waits for it, and the poll after the read finishes it.
TEST_F(ModelCommandsTest, BackgroundOpensSayHowFarTheyHaveGotAndFinishAtAPoll) {
  ASSERT_TRUE(exportModel(*editor.doc.model, "good.glb", nullptr));
  editor.commandState.opensInBackground = true;
  editor.commandState.openProgressAfter = std::chrono::seconds(0);
  editor.commandState.importSettings.seconds = 2;
  const auto polled = [&] {
    const int before = messageCount();
    for (int i = 0; i < 1000 && editor.commandState.backgroundOpen; ++i)
      printedBy([&] { pollOpen(editor); }), usleep(20000);
    return messagesSince(before);
  };
  setenv("VANTOREL_IMPORT_FAULT", "hang", 1);
  EXPECT_EQ(said("/open good.glb"), "");
  EXPECT_EQ(said("/open other.glb"), "other.glb will be opened after good.glb.|");
  EXPECT_EQ(said("/open good.glb"), "good.glb will be opened after good.glb.|");
  const std::string hung = polled();  // both opens, the newest request second
  unsetenv("VANTOREL_IMPORT_FAULT");
  EXPECT_NE(hung.find("took longer", hung.find("took longer") + 1), std::string::npos) << hung;
  EXPECT_TRUE(hung.starts_with("Opening good.glb: 0 s|Opening good.glb: 1 s|")) << hung;
  EXPECT_TRUE(
      hung.ends_with("|Error! Model failed to load!|The importer took longer than 2 "
                     "seconds.|"))
      << hung;
  EXPECT_EQ(editor.doc.model->name, "testmodel");
  EXPECT_EQ(said("/open good.glb"), "");
  EXPECT_TRUE(polled().ends_with("/good.vantorel.|"));
  EXPECT_EQ(editor.doc.model->name, "good.vantorel");
}
