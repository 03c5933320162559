// Saves that fail, or are cut short, never cost the previous file: a
// read-only directory (also for root), a device as target, and a save killed
// at a random moment, many times over.

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "model/model.h"
#include "model/model_fixtures.h"
#include "model/model_image.h"
#include "support/child_process.h"
#include "support/silenced_stdout.h"

namespace {

constexpr uid_t kNobody = 65534;
constexpr int kCannotDropPrivileges = 77;

// A strip of `count` triangles, shifted by `offset` so two strips differ.
void buildStrip(Model& model, int count, double offset) {
  Vertex* previous[2] = {addVertex(model, offset, 0, 0), addVertex(model, offset, 1, 0)};
  for (int i = 0; i < count; ++i) {
    Vertex* next = addVertex(model, offset + i + 1, i % 2, 0.5 * i);
    addPolygon(model, model.currentGroup, previous[0], previous[1], next);
    previous[0] = previous[1];
    previous[1] = next;
  }
}

std::string fileTextOf(Model& model) {
  return formatModelFile(captureImage(model));
}

TEST(SaveFaultTest, ReadOnlyDirectoryKeepsTheOldFileEvenForRoot) {
  ScratchDir dir;
  Model model(dir.file("model.mdl"), nullptr);
  buildOneTriangle(model);
  SilencedStdout quiet;
  ASSERT_EQ(model.save(), 1);
  const std::string old = readFile(dir.file("model.mdl"));
  // Root passes every permission check, so the save runs as an ordinary user.
  ASSERT_EQ(chmod(dir.file("").c_str(), 0555), 0);
  buildStrip(model, 10, 3);
  const ChildResult child = runInChild([&] {
    if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0))
      return kCannotDropPrivileges;
    return model.save() == 0 ? 0 : 1;
  });
  if (child.code == kCannotDropPrivileges) GTEST_SKIP() << "cannot drop root privileges here";
  EXPECT_TRUE(child.exited && child.code == 0) << "the save into the read-only directory succeeded";
  EXPECT_EQ(readFile(dir.file("model.mdl")), old);
  EXPECT_EQ(dir.entryCount(), 1);
}

TEST(SaveFaultTest, DevicesAreRefusedAlsoThroughLinks) {
  ScratchDir dir;
  ASSERT_EQ(symlink("/dev/full", dir.file("full.mdl").c_str()), 0);
  SilencedStdout quiet;
  for (const std::string& target : {std::string("/dev/full"), dir.file("full.mdl")}) {
    Model model(target, nullptr);
    buildOneTriangle(model);
    EXPECT_EQ(model.save(), 0) << target;
  }
  EXPECT_EQ(dir.entryCount(), 1);
}

// Every kill lands at another point of a save: creating the temporary file,
// writing, syncing or renaming. Whatever the moment, the target holds one
// whole model file, the old or the new.
TEST(SaveFaultTest, SaveKilledAtAnyMomentLeavesTheOldOrTheNewFileWhole) {
  ScratchDir dir;
  const std::string target = dir.file("model.mdl");
  Model a(target, nullptr), b(target, nullptr);
  buildStrip(a, 10000, 0);
  buildStrip(b, 10000, 1);
  const std::string textA = fileTextOf(a), textB = fileTextOf(b);
  SilencedStdout quiet;
  ASSERT_EQ(a.save(), 1);

  // Kill moments are spread over about three saves' time.
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(b.save(), 1);
  ASSERT_EQ(a.save(), 1);
  const auto saveMicros = std::chrono::duration_cast<std::chrono::microseconds>(
                              std::chrono::steady_clock::now() - start)
                              .count() /
                          2;
  std::mt19937 rng(20240601);
  int leftovers = 0;
  for (int kill = 0; kill < 40; ++kill) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      alarm(60);
      for (;;) {
        a.save();
        b.save();
      }
    }
    usleep(std::uniform_int_distribution<long>(0, 3 * saveMicros + 1000)(rng));
    ::kill(pid, SIGKILL);
    int status;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);

    const std::string text = readFile(target);
    ASSERT_TRUE(text == textA || text == textB)
        << "kill " << kill << " left " << text.size() << " bytes of another text";
    ModelImage image;
    ASSERT_TRUE(parseModelFile(text, image));
    // A killed save cannot clean up its temporary file; it is all that remains.
    DIR* entries = opendir(dir.file("").c_str());
    while (dirent* entry = readdir(entries)) {
      const std::string name = entry->d_name;
      if (name.rfind(".model.mdl.", 0) == 0) {
        ++leftovers;
        std::remove(dir.file(name).c_str());
      }
    }
    closedir(entries);
  }
  std::fprintf(stderr, "40 saves killed, %d temporary files left behind\n", leftovers);
}

}  // namespace
