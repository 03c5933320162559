// Unsaved work on an Editor without a window: the recovery file follows the changes at most once a
// gap, goes with a save, is offered on opening, gives back the model and its undo steps; nothing
// planted at its path is read through or written through; found work stays until the user
// decides, whatever fails on the way.

#include <sys/stat.h>

#include <cstring>
#include <ctime>
#include <fstream>
#include <set>

#include "formats/model_file.h"
#include "model/skeleton.h"
#include "recovery/recovery_names.h"
#include "recovery/recovery_session.h"
#include "support/child_process.h"
#include "support/editor_fixture.h"
#include "support/fixtures.h"
#include "support/model_invariants.h"
#include "support/undo_steps.h"

namespace {

constexpr const char* kModel = "3\n0 0 0\n1 0 0\n0 1 0\n1\n1\n0 1 2 0 0 0 0 0 0\n0\n1 1 1 1\n0\n";

// Bytes this process has read with read() and its kin.
long long bytesRead() {
  std::ifstream io("/proc/self/io");
  std::string key;
  long long value = 0;
  while (io >> key >> value)
    if (key == "rchar:") return value;
  return 0;
}

std::string clockOf(std::time_t t) {
  char clock[16];
  std::strftime(clock, sizeof clock, "%H:%M:%S", std::localtime(&t));
  return clock;
}

class RecoveryTest : public EditorTest {
 protected:
  RecoveryTest() {
    setenv("XDG_STATE_HOME", dir.file("state").c_str(), 1);
    writeFile(model, kModel);
    runConsoleCommand(editor, "/open " + model);
  }
  static void editIn(Editor& e, int x) {
    selectAllVertices(e);
    runConsoleCommand(e, "/setx " + std::to_string(x));
  }
  void edit(int x) { editIn(editor, x); }
  void tickAt(double seconds, Editor* e = nullptr) {
    Editor& in = e ? *e : editor;
    recoveryTick(in.recovery, start + std::chrono::milliseconds(static_cast<int>(seconds * 1000)));
    if (in.recovery.writer) in.recovery.writer->wait();
  }
  RecoveryContents onDisk(const std::string& path) {
    RecoveryContents contents;
    EXPECT_TRUE(parseRecoveryFile(readFile(path), contents, nullptr)) << path;
    if (!contents.model.image) contents.model.image = std::make_shared<ModelImage>();
    return contents;
  }
  RecoveryContents onDisk() { return onDisk(beside); }
  // The offer of the file at `path`, with the time it holds.
  std::string offerOf(const std::string& path) {
    return "Unsaved changes found from " + clockOf(onDisk(path).changedAt) +
           ". Type /recover to restore them.";
  }
  static std::string lastLine(Editor& e, int back = 0) {
    return e.consoleMessages->currentList()->messageAt(back);
  }
  static std::multiset<std::string> lastTwoLines(Editor& e) {
    return {lastLine(e), lastLine(e, 1)};
  }
  // The offers of the files under the first and the second name, in either order.
  std::multiset<std::string> bothOffers() { return {offerOf(beside), offerOf(beside + ".2")}; }
  std::unique_ptr<Editor> opened() {
    auto e = std::make_unique<Editor>();
    runConsoleCommand(*e, "/open " + model);
    return e;
  }
  // Leaving, as far as files go: what was held is let go, as when the process ends.
  static void quit(Editor& e) {
    leaveEditor(e.recovery);
    e.recovery.writer.reset();
    e.recovery.found.clear();
  }

  ScratchDir dir;
  const std::string model = dir.file("m.vantorel"), beside = dir.file(".m.vantorel.recover");
  const RecoveryClock::time_point start = RecoveryClock::now();
};

TEST_F(RecoveryTest, TheFileFollowsChangesOnceAGapAndGoesWithASave) {
  edit(1);
  tickAt(0);
  EXPECT_EQ(*onDisk().model.image, captureImage(*editor.doc.model));
  EXPECT_EQ(onDisk().model.name, model);
  EXPECT_EQ(onDisk().modelPath, model);
  edit(2);
  tickAt(0.9);
  ASSERT_EQ(onDisk().undoSteps.size(), 1u);
  tickAt(1.0);
  const RecoveryContents kept = onDisk();
  ASSERT_EQ(kept.undoSteps.size(), 2u);
  const std::vector<Snapshot> held = undoSteps(editor.doc.undoHistory);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(*kept.undoSteps[i].image, *held[i].image);
  special(kKeyF5);
  editor.recovery.writer->wait();
  EXPECT_FALSE(std::filesystem::exists(beside));
  edit(3);
  EXPECT_EQ(leaveEditor(editor.recovery), beside);
  EXPECT_EQ(*onDisk().model.image, captureImage(*editor.doc.model));
  runConsoleCommand(editor, "/save " + model);
  EXPECT_EQ(leaveEditor(editor.recovery), "");
  EXPECT_FALSE(std::filesystem::exists(beside));
}

// A large model is copied a slice per tick; a change between slices starts the copy again.
TEST_F(RecoveryTest, TheModelIsCopiedInSlicesAndAChangeStartsTheCopyAgain) {
  editor.recovery.recordsPerSlice = 1;  // three vertices and a triangle: four slices
  edit(1);
  for (int tick = 0; tick < 3; ++tick) tickAt(0);
  EXPECT_FALSE(std::filesystem::exists(beside));
  edit(2);
  for (int tick = 0; tick < 3; ++tick) tickAt(0);
  EXPECT_FALSE(std::filesystem::exists(beside));
  tickAt(0);
  EXPECT_EQ(*onDisk().model.image, captureImage(*editor.doc.model));
  EXPECT_EQ(onDisk().undoSteps.size(), 2u);
}

TEST_F(RecoveryTest, FoundChangesAreOfferedAndComeBackWithTheirUndoSteps) {
  std::vector<ModelImage> models{captureImage(*editor.doc.model)};
  for (int x = 1; x <= 3; ++x) edit(x), models.push_back(captureImage(*editor.doc.model));
  ASSERT_EQ(leaveEditor(editor.recovery), beside);
  runConsoleCommand(editor, "/open " + model);
  EXPECT_EQ(lastConsoleMessage(), offerOf(beside));
  const std::string file = readFile(beside);
  edit(9);  // recorded too, under the second name: the found file is never written over
  tickAt(5);
  EXPECT_EQ(readFile(beside), file);
  EXPECT_EQ(*onDisk(beside + ".2").model.image, captureImage(*editor.doc.model));
  runConsoleCommand(editor, "/recover");
  // The changes made before /recover are offered in their stead.
  EXPECT_EQ(lastConsoleMessage(), offerOf(beside + ".2"));
  for (int i = 3; i >= 0; --i, key('z'))
    EXPECT_EQ(captureImage(*editor.doc.model), rebuiltImage(models[i])) << i;
  EXPECT_EQ(readFile(model), kModel);
  // Opening the model again offers both: the recovered one as undone, and the one before.
  runConsoleCommand(editor, "/open " + model);
  EXPECT_EQ(lastTwoLines(editor), bothOffers());
  runConsoleCommand(editor, "/discard");
  runConsoleCommand(editor, "/discard");
  EXPECT_EQ(lastConsoleMessage(), "Unsaved changes discarded.");
  EXPECT_FALSE(std::filesystem::exists(beside) || std::filesystem::exists(beside + ".2"));
  runConsoleCommand(editor, "/recover");
  EXPECT_EQ(lastConsoleMessage(), "No unsaved changes to recover.");
}

// After "/open m", z gives back a step of a and with it a's name; m's found changes still come back
// as m's, are saved over m alone, and the files of a's changes stay, each offered as a's.
TEST_F(RecoveryTest, RecoveredChangesKeepTheNameOfTheirModelWhateverTheModelShownIsCalled) {
  auto left = opened();
  editIn(*left, 7), quit(*left);
  const std::string other = dir.file("a.vantorel"), otherBeside = dir.file(".a.vantorel.recover");
  writeFile(other, kModel);
  runConsoleCommand(editor, "/open " + other);
  edit(1);
  runConsoleCommand(editor, "/open " + model);
  key('z'), tickAt(5);  // a's step, kept as a's changes
  runConsoleCommand(editor, "/recover");
  EXPECT_EQ(editor.doc.model->name, model);
  special(kKeyF5);
  EXPECT_EQ(readFile(other), kModel);
  EXPECT_TRUE(readFile(model).starts_with("3\n7.000000 "));
  EXPECT_TRUE(std::filesystem::exists(otherBeside) && std::filesystem::exists(otherBeside + ".2"));
  runConsoleCommand(editor, "/recover");
  EXPECT_EQ(editor.doc.model->name, other);
}

// Planted at the recovery path: each is refused on opening with its reason, without reading its
// body or waiting on it, and left as it was by the writes that follow, which take the second name.
TEST_F(RecoveryTest, ThingsPlantedAtTheRecoveryPathAreRefusedAndNeverWrittenThrough) {
  const std::string target = dir.file("target"), nowhere = dir.file("nowhere");
  writeFile(target, "another file of the user's");
  edit(1);
  leaveEditor(editor.recovery);
  const std::string real = readFile(beside);
  RecoveryContents other = onDisk();
  other.modelPath = "/elsewhere/m.vantorel";
  const bool root = geteuid() == 0;
  struct Case {
    const char* name;
    std::function<void()> plant;
    std::string reason;
  };
  const Case kCases[] = {
      {"link", [&] { symlink(target.c_str(), beside.c_str()); }, "a symbolic link"},
      {"dangling link", [&] { symlink(nowhere.c_str(), beside.c_str()); }, "a symbolic link"},
      {"fifo", [&] { mkfifo(beside.c_str(), 0600); }, "not a regular file"},
      {"sparse", [&] { writeFile(beside, real), truncate(beside.c_str(), 3ll << 30); },
       "the file is cut short or too long"},
      {"cut short", [&] { writeFile(beside, real.substr(0, real.size() / 2)); },
       "the file is cut short or too long"},
      {"another owner's",
       [&] { writeFile(beside, real), static_cast<void>(chown(beside.c_str(), 65534, 65534)); },
       root ? "owned by another user, nobody" : ""},
      {"another model's", [&] { writeFile(beside, formatRecoveryFile(other)); },
       "it belongs to /elsewhere/m.vantorel"},
  };
  double time = 0;
  for (const Case& c : kCases) {
    if (c.reason.empty()) continue;
    std::filesystem::remove(beside);
    c.plant();
    struct stat planted;
    lstat(beside.c_str(), &planted);
    const long long before = bytesRead();
    runConsoleCommand(editor, "/open " + model);
    EXPECT_LT(bytesRead() - before, 1 << 16) << c.name;
    EXPECT_EQ(lastConsoleMessage(),
              "The recovery file " + beside + " was refused: " + c.reason + ".")
        << c.name;
    edit(2);
    tickAt(time += 2);
    struct stat after;
    lstat(beside.c_str(), &after);
    EXPECT_TRUE(after.st_ino == planted.st_ino && after.st_size == planted.st_size) << c.name;
    EXPECT_EQ(readFile(target), "another file of the user's") << c.name;
    EXPECT_FALSE(std::filesystem::exists(nowhere)) << c.name;
    EXPECT_EQ(*onDisk(beside + ".2").model.image, captureImage(*editor.doc.model)) << c.name;
    modelSaved(editor.recovery);
  }
  // A header that gives the file's size, before a body of nothing: offered from its first bytes,
  // refused by "/recover" from the model's counts, without reading the rest.
  std::filesystem::remove(beside);
  std::string fields(8 + 4, '\0');
  const uint32_t length = model.size();
  std::memcpy(fields.data() + 8, &length, 4);
  fields += model + fields.substr(8) + model;
  const long long body = fields.size() + (3ll << 30);
  const std::string head = "vantorel-recovery 2\n" + std::to_string(body) + " 0\n";
  writeFile(beside, head + fields);
  ASSERT_EQ(truncate(beside.c_str(), head.size() + body), 0);
  runConsoleCommand(editor, "/open " + model);
  EXPECT_EQ(lastConsoleMessage(),
            "Unsaved changes found from " + clockOf(0) + ". Type /recover to restore them.");
  const long long before = bytesRead();
  runConsoleCommand(editor, "/recover");
  EXPECT_LT(bytesRead() - before, 16 << 20);
  EXPECT_EQ(lastConsoleMessage(),
            "The recovery file " + beside + " was refused: the file holds a model without groups.");
}

// A folder that takes no new file sends the file to the state folder, made private (its names
// spell the models' paths); with that one refused too, recovery is off. Root writes anywhere, so
// the child gives up root first.
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
  for (const std::string& made : {dir.file("state"), dir.file("state/vantorel")})
    EXPECT_EQ(std::filesystem::status(made).permissions(), std::filesystem::perms::owner_all);
  EXPECT_EQ(recorded(folder + "/state"), 4);
}

// The recovery life cycle, where something fails or another editor comes in between.

// A failing disk is told once and editing goes on; the close tries the write again.
TEST_F(RecoveryTest, LifeCycleAWriteThatFailedIsToldOnceAndTriedAgainAtClose) {
  bool full = true;
  editor.recovery.writer = std::make_unique<RecoveryWriter>(
      [&](const std::string& path, std::string_view text, HeldFile& held, std::string* reason) {
        if (!full) return placeNewFile(path, text, held, reason);
        *reason = "No space left on device";
        return Placement::kFailed;
      });
  for (int x = 1; x <= 3; ++x) edit(x), tickAt(1.5 * x), tickAt(1.5 * x + 0.1);
  EXPECT_EQ(consoleLinesStartingWith("Recovery is off: No space left on device."), 1);
  EXPECT_EQ(editor.doc.model->vertices.at(0)->x, 3);
  EXPECT_EQ(editor.doc.undoHistory.undoCount(), 3u);
  testing::internal::CaptureStderr();
  leaveEditorAndTell(editor.recovery);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "vantorel: the unsaved changes could not be kept: No space left on device\n");
  EXPECT_FALSE(std::filesystem::exists(beside));
  full = false;  // room again: the close writes the changes
  EXPECT_EQ(leaveEditor(editor.recovery), beside);
  EXPECT_EQ(*onDisk().model.image, captureImage(*editor.doc.model));
}

TEST_F(RecoveryTest, LifeCycleAFailedSaveKeepsTheNameAndTheRecoveryFile) {
  edit(1);
  tickAt(0);
  runConsoleCommand(editor, "/save " + dir.file("no/such/folder/m.vantorel"));
  EXPECT_EQ(lastConsoleMessage(), "Error! Model failed to save!");
  EXPECT_EQ(editor.doc.model->name, model);
  edit(2);
  tickAt(2);
  quit(editor);
  auto next = opened();
  EXPECT_EQ(lastLine(*next), offerOf(beside));
  runConsoleCommand(*next, "/recover");
  EXPECT_EQ(captureImage(*next->doc.model), rebuiltImage(captureImage(*editor.doc.model)));
}

// The offer is where the user looks first: the console, shown above the other panels. Found changes
// stay on disk through saves, opens and closes until "/recover" or "/discard".
TEST_F(RecoveryTest, LifeCycleAModelFileTouchedAfterTheChangesStillOffersThemUntilTheUserDecides) {
  edit(1);
  quit(editor);
  const std::string found = readFile(beside);
  const struct timespec later[2] = {{0, UTIME_OMIT}, {std::time(nullptr) + 60, 0}};
  utimensat(AT_FDCWD, model.c_str(), later, 0);
  auto next = opened();
  EXPECT_EQ(lastLine(*next, 1), "The model file changed after the unsaved changes of " +
                                    clockOf(onDisk().changedAt) + " were kept.");
  EXPECT_EQ(lastLine(*next), offerOf(beside));
  EXPECT_EQ(next->panelsShown, 1);
  EXPECT_EQ(next->widgets.headItem(), next->consoleWidget);
  editIn(*next, 2);
  tickAt(0, next.get());
  writeFile(dir.file("other.vantorel"), kModel);
  for (const std::string step : {"another's edit", "F5", "/open other", "/open model", "close"}) {
    if (step == "F5") special(kKeyF5);
    if (step == "/open other") runConsoleCommand(editor, "/open " + dir.file("other.vantorel"));
    if (step == "/open model") runConsoleCommand(editor, "/open " + model);
    if (step == "close") quit(editor);
    if (editor.recovery.writer) editor.recovery.writer->wait();
    EXPECT_EQ(readFile(beside), found) << step;
  }
  runConsoleCommand(*next, "/recover");
  EXPECT_EQ(next->doc.model->vertices.at(0)->x, 1);
}

TEST_F(RecoveryTest, LifeCycleTwoEditorsOnOneModelKeepAFileEach) {
  auto other = opened();
  for (int x = 1; x <= 4; x += 2) {
    edit(x), editIn(*other, x + 1);
    tickAt(x), tickAt(x, other.get());
    EXPECT_EQ(*onDisk(beside).model.image, captureImage(*editor.doc.model)) << x;
    EXPECT_EQ(*onDisk(beside + ".2").model.image, captureImage(*other->doc.model)) << x;
  }
  // A third one, while both run, finds nothing to offer; once they are gone, it offers both.
  EXPECT_EQ(lastLine(*opened()), "Model successfully loaded!");
  quit(editor), quit(*other);
  auto third = opened();
  EXPECT_EQ(lastTwoLines(*third), bothOffers());
  runConsoleCommand(*third, "/recover");
  runConsoleCommand(*third, "/discard");
  const double x = third->doc.model->vertices.at(0)->x;
  EXPECT_TRUE(x == 3 || x == 4) << x;
  EXPECT_EQ(std::filesystem::exists(beside) + std::filesystem::exists(beside + ".2"), 1);
}

TEST_F(RecoveryTest, LifeCycleACopyWithoutMemoryPausesRecoveryOnce) {
  editor.recovery.beforeCopySlice = [] { throw std::bad_alloc(); };
  edit(1), tickAt(0), edit(2), tickAt(2);
  EXPECT_EQ(consoleLinesStartingWith("Recovery is off: not enough memory to copy the model."), 1);
  EXPECT_EQ(editor.doc.model->vertices.at(0)->x, 2);
  EXPECT_FALSE(std::filesystem::exists(beside));
  editor.recovery.beforeCopySlice = nullptr;
  edit(3), tickAt(4);
  EXPECT_EQ(*onDisk().model.image, captureImage(*editor.doc.model));
}

}  // namespace
