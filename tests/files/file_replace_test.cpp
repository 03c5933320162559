// Saving writes the whole text, keeps the file's mode, owner and links, and a save
// cut short never costs the old content.

#include "files/file_replace.h"

#include <sys/stat.h>

#include <random>
#include <string>

#include "files/temporary_files.h"
#include "support/child_process.h"
#include "support/fixtures.h"

namespace {

constexpr uid_t kNobody = 65534;

struct stat statOf(const std::string& path) {
  struct stat info {};
  lstat(path.c_str(), &info);
  return info;
}

TEST(FileReplaceTest, EveryWayOfSavingWritesTheTextAndKeepsTheFile) {
  // "old": nobody's file of mode 0640, linked by "link" and "symlink"; "long": 250 chars.
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

// A read-only file in a writable folder is left; a file in a closed folder is written in place.
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

// Whether written in place (a hard link) or by rename, a failed write keeps the old content.
TEST(FileReplaceTest, AFailedWritePutsTheOldContentBack) {
  ScratchDir dir;
  writeFile(dir.file("m.mdl"), "old");
  writeFile(dir.file("n.mdl"), "old");
  link(dir.file("m.mdl").c_str(), dir.file("other.mdl").c_str());
  struct rlimit previous, small;  // files of at most 100 bytes, even for root
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  small = {100, previous.rlim_max};
  const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string reason;
  const bool savedInPlace =
      replaceFileContents(dir.file("m.mdl"), std::string(1000, 'x'), {}, &reason);
  const bool savedByRename = replaceFileContents(dir.file("n.mdl"), std::string(1000, 'x'));
  setrlimit(RLIMIT_FSIZE, &previous);
  signal(SIGXFSZ, previousHandler);
  EXPECT_FALSE(savedInPlace || savedByRename);
  EXPECT_EQ(reason.rfind("cannot write the file", 0), 0u) << reason;
  EXPECT_TRUE(readFile(dir.file("m.mdl")) == "old" && readFile(dir.file("n.mdl")) == "old");
  EXPECT_EQ(dir.entryCount(), 3) << "no backup or temporary is left behind";
}

// A child saving two texts in turn is killed at random: the target, or an in-place
// save's backup, holds one whole; the next save removes the leftovers, and only them.
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
    // Not to be taken for leftovers: a temporary a running save holds or the user linked, and
    // every file of another name, however alike.
    std::string left, held, linked;
    close(createTemporary(path, left));
    const int holding = createTemporary(path, held);
    close(createTemporary(path, linked));
    link(linked.c_str(), dir.file("linked").c_str());
    std::string forged = held.substr(held.rfind('/') + 1);
    forged.back() = forged.back() == '0' ? '1' : '0';
    const std::string others[] = {
        ".m.mdl.backup", ".m.mdl.notes1", ".m.mdl.XXXXXX", ".m.mdl.", ".m.mdl.abcdef~0123456789ab",
        forged,          ".m.mdl.abcdef"};
    for (const std::string& name : others) writeFile(dir.file(name), name);
    ASSERT_TRUE(replaceFileContents(path, texts[0]));
    close(holding);
    EXPECT_EQ(dir.entryCount(), (inPlace ? 5 : 4) + 7) << "leftovers are removed by the next save";
    for (const std::string& name : others) EXPECT_EQ(readFile(dir.file(name)), name);
  }
}

}  // namespace
