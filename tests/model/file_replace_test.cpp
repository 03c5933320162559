// Saving respects the user's file: every way a save can go writes the whole
// text and keeps what the file was (mode, owner, links); what may not be
// replaced is left alone; a save cut short never costs the old content.

#include "model/file_replace.h"

#include <sys/file.h>
#include <sys/stat.h>

#include <random>
#include <string>

#include "support/child_process.h"
#include "support/fixtures.h"

namespace {

constexpr uid_t kNobody = 65534;

struct stat statOf(const std::string& path) {
  struct stat info {};
  lstat(path.c_str(), &info);
  return info;
}

// Each way a save can go: the text is there whole, the file keeps its mode,
// owner and links, no temporary is left.
TEST(FileReplaceTest, EveryWayOfSavingWritesTheTextAndKeepsTheFile) {
  // setUp: "" none, "old" a file of nobody's with mode 0640, "link" the same
  // with a second hard link, "symlink" a link to it, "long" a new file whose
  // name has 250 characters.
  const mode_t mask = umask(0);
  umask(mask);
  for (const std::string setUp : {"", "old", "link", "symlink", "long"}) {
    ScratchDir dir;
    const std::string path = dir.file(setUp == "long" ? std::string(250, 'n') : "m.mdl");
    const std::string real = setUp == "symlink" ? dir.file("real") : path;
    if (setUp != "" && setUp != "long") {
      writeFile(real, "old text, longer than the new one");
      chmod(real.c_str(), 0640);
      ASSERT_EQ(chown(real.c_str(), kNobody, kNobody), geteuid() == 0 ? 0 : -1);
    }
    if (setUp == "link") link(path.c_str(), dir.file("other").c_str());
    if (setUp == "symlink") symlink("real", path.c_str());
    int announced = 0;
    std::string reason;
    ASSERT_TRUE(replaceFileContents(
        path, "new text", [&] { ++announced; }, &reason))
        << setUp << ": " << reason;
    EXPECT_EQ(announced, 1) << setUp;
    EXPECT_EQ(readFile(path), "new text") << setUp;
    EXPECT_EQ(setUp != "link" || readFile(dir.file("other")) == "new text", true);
    EXPECT_EQ(S_ISLNK(statOf(path).st_mode), setUp == "symlink") << setUp;
    const struct stat info = statOf(real);
    const bool old = setUp == "old" || setUp == "link" || setUp == "symlink";
    EXPECT_EQ(info.st_mode & 07777, old ? 0640u : 0666u & ~mask) << setUp;
    EXPECT_TRUE(!old || geteuid() != 0 || info.st_uid + info.st_gid == 2 * kNobody) << setUp;
    EXPECT_EQ(info.st_nlink, setUp == "link" ? 2u : 1u) << setUp;
    EXPECT_EQ(dir.entryCount(), setUp == "link" || setUp == "symlink" ? 2 : 1) << setUp;
  }
}

// As an ordinary user: a read-only file in a writable folder is not replaced;
// a writable file in a read-only folder is written in place.
TEST(FileReplaceTest, PermissionsOfTheFileCountNotOnlyThoseOfTheFolder) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  ScratchDir open, closed;
  chmod(open.path().c_str(), 0777);
  writeFile(open.file("locked.mdl"), "old");
  chmod(open.file("locked.mdl").c_str(), 0444);
  writeFile(closed.file("m.mdl"), "old");
  ASSERT_EQ(chown(closed.file("m.mdl").c_str(), kNobody, kNobody), 0);
  chmod(closed.path().c_str(), 0555);
  const ChildResult child = runInChild([&] {
    if (setgid(kNobody) != 0 || setuid(kNobody) != 0) return 9;
    return (replaceFileContents(open.file("locked.mdl"), "new") ? 1 : 0) +
           (replaceFileContents(closed.file("m.mdl"), "new text") ? 0 : 2);
  });
  EXPECT_EQ(child.code, 0);
  EXPECT_EQ(readFile(open.file("locked.mdl")), "old");
  EXPECT_EQ(readFile(closed.file("m.mdl")), "new text");
  EXPECT_EQ(open.entryCount() + closed.entryCount(), 2);
  std::string reason;
  EXPECT_FALSE(replaceFileContents(open.path(), "new", {}, &reason));
  EXPECT_EQ(reason, "not a regular file");
}

TEST(FileReplaceTest, AFailedWriteInPlacePutsTheOldContentBack) {
  ScratchDir dir;
  writeFile(dir.file("m.mdl"), "old");
  link(dir.file("m.mdl").c_str(), dir.file("other.mdl").c_str());
  // A file-size limit makes the write of the longer text fail halfway.
  const ChildResult child = runInChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    const struct rlimit limit = {100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string reason;
    const bool saved = replaceFileContents(dir.file("m.mdl"), std::string(1000, 'x'), {}, &reason);
    return !saved && reason.rfind("cannot write the file", 0) == 0 ? 0 : 1;
  });
  EXPECT_EQ(child.code, 0);
  EXPECT_EQ(readFile(dir.file("m.mdl")), "old");
  EXPECT_EQ(dir.entryCount(), 2) << "no backup is left behind";
}

// A child saves two texts in turn until it is killed at a random moment; each
// time the target holds one of them whole, or (writing in place) a backup
// beside it does. The next save removes what the killed one left, but not a
// file some running save holds, nor a name that is not one of ours.
TEST(FileReplaceTest, SavesKilledAtRandomMomentsNeverCostTheOldText) {
  const std::string texts[2] = {std::string(300000, 'a'), std::string(200000, 'b')};
  std::mt19937 random(20261207);
  for (const bool inPlace : {false, true}) {
    ScratchDir dir;
    const std::string path = dir.file("m.mdl");
    writeFile(path, texts[0]);
    if (inPlace) link(path.c_str(), dir.file("link.mdl").c_str());
    for (int kill = 0; kill < 25; ++kill) {
      runInChild(
          [&] {
            for (int i = 1;; ++i) replaceFileContents(path, texts[i % 2]);
            return 0;
          },
          30, std::uniform_int_distribution<useconds_t>(0, 20000)(random));
      bool whole = readFile(path) == texts[0] || readFile(path) == texts[1];
      for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        if (inPlace && entry.path().filename().string().rfind(".m.mdl.", 0) == 0)
          whole |= readFile(entry.path()) == texts[0] || readFile(entry.path()) == texts[1];
      ASSERT_TRUE(whole) << (inPlace ? "in place" : "by rename") << ", kill " << kill;
    }
    writeFile(dir.file(".m.mdl.held01"), "held by a save that is running");
    writeFile(dir.file(".m.mdl.x"), "not one of ours");
    const int held = open(dir.file(".m.mdl.held01").c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    ASSERT_TRUE(replaceFileContents(path, texts[0]));
    close(held);
    EXPECT_EQ(dir.entryCount(), inPlace ? 4 : 3) << "leftovers are removed by the next save";
  }
}

}  // namespace
