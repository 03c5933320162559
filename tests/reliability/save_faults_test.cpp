// Saves that fail or are cut short never cost the previous file.

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <chrono>
#include <filesystem>
#include <random>

#include "model/model_image.h"
#include "support/child_process.h"
#include "support/fixtures.h"

namespace {

int quietSave(Model& model) {
  SilencedStdout quiet;
  return model.save();
}

TEST(SaveFaultTest, TargetsThatAreNoRegularFilesAreRefusedAlsoThroughLinks) {
  ScratchDir dir;
  // Our own device node where we may: a save as root must not replace /dev/full itself.
  const bool node = mknod(dir.file("full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;
  const std::string device = node ? dir.file("full") : "/dev/full";
  ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0644) + mkdir(dir.file("folder").c_str(), 0755), 0);
  // Links absolute and relative; "loop" names itself, "file" is yet to be made.
  for (const auto& [link, to] : {std::pair{"device-link", device},
                                 {"fifo-link", "fifo"},
                                 {"folder-link", "folder"},
                                 {"loop", "loop"},
                                 {"file-link", "file"}})
    ASSERT_EQ(symlink(to.c_str(), dir.file(link).c_str()), 0) << link;
  for (const std::string& target :
       {device, dir.file("fifo"), dir.file("folder"), dir.file("device-link"),
        dir.file("fifo-link"), dir.file("folder-link"), dir.file("loop"),
        dir.file("missing/model.mdl"), std::string()}) {
    Model model(target, nullptr);
    EXPECT_EQ(printedBy([&] { EXPECT_EQ(model.save(), 0) << target; }), "") << target;
  }
  Model linked(dir.file("file-link"), nullptr);
  EXPECT_EQ(quietSave(linked), 1);
  EXPECT_EQ(readFile(dir.file("file")), formatModelFile(captureImage(linked)));
  EXPECT_EQ(dir.entryCount(), 8 + node);
}

// Kills land at any moment of a save; the target holds one whole file, the old or the new.
TEST(SaveFaultTest, SaveKilledAtAnyMomentLeavesTheOldOrTheNewFileWhole) {
  ScratchDir dir;
  const std::string target = dir.file("model.mdl");
  Model a(target, nullptr), b(target, nullptr);
  for (int i = 0; i < 1000; ++i) addUnitBox(a, true);
  for (int i = 0; i < 1000; ++i) addUnitBox(b, false);
  const std::string texts[] = {formatModelFile(captureImage(a)), formatModelFile(captureImage(b))};
  // Kill moments span about three saves' time.
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(quietSave(b) + quietSave(a), 2);
  const auto twoSaves = std::chrono::steady_clock::now() - start;
  std::uniform_int_distribution<useconds_t> moment(
      1, std::chrono::duration_cast<std::chrono::microseconds>(twoSaves).count() * 3 / 2 + 1000);
  std::mt19937 rng(20240601);
  for (int kill = 0; kill < 40; ++kill) {
    runInChild(
        [&]() -> int {
          for (SilencedStdout quiet;;) a.save(), b.save();
        },
        60, moment(rng));
    const std::string text = readFile(target);
    ASSERT_TRUE(text == texts[0] || text == texts[1]) << "kill " << kill << ": " << text.size();
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      if (entry.path() != target) std::filesystem::remove(entry.path());
  }
}

}  // namespace
