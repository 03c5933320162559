// Unsaved work on an Editor without a window: the recovery file follows the changes at most once a
// gap, goes with a save, is offered on opening, gives back the model and its undo steps, and a
// damaged file or a failing disk never stops the editor.

#include <sys/stat.h>

#include <ctime>

#include "formats/model_file.h"
#include "formats/recovery_writer.h"
#include "support/child_process.h"
#include "support/editor_fixture.h"
#include "support/fixtures.h"
#include "support/model_invariants.h"
#include "tools/recovery.h"

namespace {

constexpr const char* kModel = "3\n0 0 0\n1 0 0\n0 1 0\n1\n1\n0 1 2 0 0 0 0 0 0\n0\n1 1 1 1\n0\n";

class RecoveryTest : public EditorTest {
 protected:
  RecoveryTest() {
    setenv("XDG_STATE_HOME", dir.file("state").c_str(), 1);
    writeFile(model, kModel);
    runConsoleCommand(editor, "/open " + model);
  }
  void edit(int x) {
    special(kKeyF1, kShift);
    runConsoleCommand(editor, "/setx " + std::to_string(x));
  }
  void tickAt(double seconds) {
    recoveryTick(editor, start + std::chrono::milliseconds(static_cast<int>(seconds * 1000)));
    if (editor.recoveryWriter) editor.recoveryWriter->wait();
  }
  RecoveryContents onDisk() {
    RecoveryContents contents;
    EXPECT_TRUE(parseRecoveryFile(readFile(beside), contents, nullptr));
    return contents;
  }

  SilencedStdout quiet;
  ScratchDir dir;
  const std::string model = dir.file("m.vantorel"), beside = dir.file(".m.vantorel.recover");
  const RecoveryClock::time_point start = RecoveryClock::now();
};

TEST_F(RecoveryTest, TheFileFollowsChangesOnceAGapAndGoesWithASave) {
  edit(1);
  tickAt(0);
  EXPECT_EQ(*onDisk().model.image, captureImage(*editor.model));
  EXPECT_EQ(onDisk().model.name, model);
  edit(2);
  tickAt(0.9);
  ASSERT_EQ(onDisk().undoSteps.size(), 1u);
  tickAt(1.0);
  const RecoveryContents kept = onDisk();
  ASSERT_EQ(kept.undoSteps.size(), 2u);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(*kept.undoSteps[i].image, *editor.undoStack[i].image);
  special(kKeyF5);
  editor.recoveryWriter->wait();
  EXPECT_FALSE(std::filesystem::exists(beside));
  edit(3);
  EXPECT_EQ(leaveEditor(editor), beside);
  EXPECT_EQ(*onDisk().model.image, captureImage(*editor.model));
  runConsoleCommand(editor, "/save " + model);
  EXPECT_EQ(leaveEditor(editor), "");
  EXPECT_FALSE(std::filesystem::exists(beside));
}

TEST_F(RecoveryTest, FoundChangesAreOfferedAndComeBackWithTheirUndoSteps) {
  std::vector<ModelImage> models{captureImage(*editor.model)};
  for (int x = 1; x <= 3; ++x) edit(x), models.push_back(captureImage(*editor.model));
  ASSERT_EQ(leaveEditor(editor), beside);
  const std::time_t changed = onDisk().changedAt;
  char clock[16];
  std::strftime(clock, sizeof clock, "%H:%M:%S", std::localtime(&changed));
  const std::string found =
      "Unsaved changes found from " + std::string(clock) + ". Type /recover to restore them.";
  runConsoleCommand(editor, "/open " + model);
  EXPECT_EQ(lastConsoleMessage(), found);
  const std::string file = readFile(beside);
  edit(9);  // recorded too: the found file moves aside and /recover follows it
  tickAt(5);
  EXPECT_EQ(readFile(beside + ".found"), file);
  EXPECT_EQ(*onDisk().model.image, captureImage(*editor.model));
  runConsoleCommand(editor, "/recover");
  for (int i = 3; i >= 0; --i, key('z'))
    EXPECT_EQ(captureImage(*editor.model), rebuiltImage(models[i])) << i;
  EXPECT_EQ(readFile(model), kModel);
  runConsoleCommand(editor, "/open " + model);
  EXPECT_EQ(lastConsoleMessage(), found);
  runConsoleCommand(editor, "/discard");
  editor.recoveryWriter->wait();
  EXPECT_FALSE(std::filesystem::exists(beside));
  runConsoleCommand(editor, "/recover");
  EXPECT_EQ(lastConsoleMessage(), "No unsaved changes to recover.");
  // A model file saved after the recovery file was written wins.
  edit(4);
  leaveEditor(editor);
  const struct timespec later[2] = {{0, UTIME_OMIT}, {std::time(nullptr) + 60, 0}};
  utimensat(AT_FDCWD, model.c_str(), later, 0);
  runConsoleCommand(editor, "/open " + model);
  EXPECT_EQ(lastConsoleMessage(), "Model successfully loaded!");
}

TEST_F(RecoveryTest, DamagedOrForeignFilesAreRefusedAndTheModelFileIsKept) {
  edit(1);
  leaveEditor(editor);
  const std::string text = readFile(beside);
  const RecoveryContents other{0, {dir.file("other"), editor.undoStack[0].image}, {}};
  const std::pair<std::string, std::string> kCases[] = {
      {text.substr(0, text.size() / 2), "the file is cut short or too long"},
      {formatRecoveryFile(other), "it belongs to " + dir.file("other")},
  };
  for (const auto& [bytes, reason] : kCases) {
    writeFile(beside, bytes);
    runConsoleCommand(editor, "/open " + model);
    EXPECT_EQ(lastConsoleMessage(),
              "The recovery file " + beside + " was refused: " + reason + ".");
    runConsoleCommand(editor, "/recover");
    EXPECT_EQ(lastConsoleMessage(), "No unsaved changes to recover.");
    EXPECT_EQ(readFile(model), kModel);
  }
}

TEST_F(RecoveryTest, AFailingDiskIsToldOnceAndEditingGoesOn) {
  editor.recoveryWriter = std::make_unique<RecoveryWriter>(
      [](const std::string&, std::string_view, std::string* reason) {
        *reason = "No space left on device";
        return false;
      });
  for (int x = 1; x <= 3; ++x) edit(x), tickAt(1.5 * x), tickAt(1.5 * x + 0.1);
  EXPECT_EQ(consoleLinesStartingWith("Recovery is off: No space left on device."), 1);
  EXPECT_EQ(editor.model->vertices.at(0)->x, 3);
  EXPECT_EQ(editor.undoStack.size(), 3u);
}

// A folder that takes no new file sends the file to the state folder; with that one refused too,
// recovery is off. Root writes anywhere, so the child gives up root first.
TEST_F(RecoveryTest, AReadOnlyFolderSendsTheFileToTheStateFolder) {
  const std::string folder = dir.file("ro"), shut = folder + "/m.vantorel";
  std::filesystem::create_directory(folder);
  writeFile(shut, kModel);
  chmod(dir.path().c_str(), 0777);
  chmod(folder.c_str(), 0555);
  std::string stateName = shut + ".recover";
  std::replace(stateName.begin(), stateName.end(), '/', '%');
  auto recorded = [&](const std::string& stateHome) {
    return runInChild([&] {
             if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 99;
             setenv("XDG_STATE_HOME", stateHome.c_str(), 1);
             runConsoleCommand(editor, "/open " + shut);
             edit(5);
             tickAt(0), tickAt(0.1);
             return std::filesystem::exists(stateHome + "/vantorel/" + stateName) +
                    2 * std::filesystem::exists(folder + "/.m.vantorel.recover") +
                    4 * consoleLinesStartingWith("Recovery is off: ");
           })
        .code;
  };
  EXPECT_EQ(recorded(dir.file("state")), 1);
  EXPECT_EQ(recorded(folder + "/state"), 4);
}

}  // namespace
