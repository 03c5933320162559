// Saving respects the user's file: every way a save can go writes the whole
// text and keeps what the file was (permissions, owner, links); what may not
// be replaced is left alone; a save cut short never costs the old content.

#include "model/file_replace.h"

#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool replace(const std::string& path, const std::string& text) {
  return replaceFileContents(path, text);
}

// Runs `body` as the unprivileged user nobody (the test itself may be root,
// who passes every permission check); its exit code, or 77 when it cannot.
int asNobody(const std::function<int()>& body) {
  return runInChild([&] {
           if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) return 77;
           return body();
         })
      .code;
}

// Each way a save can go: the text is there whole, the file keeps its mode
// and its links, no temporary is left.
TEST(FileReplaceTest, EveryWayOfSavingWritesTheTextAndKeepsTheFile) {
  const struct Case {
    const char* name;   // the path saved to
    const char* setUp;  // "", "old" (a file with mode 0640), "link" (a second hard link), "symlink"
  } cases[] = {{"new.mdl", ""},
               {"m.mdl", "old"},
               {"m.mdl", "link"},
               {"m.mdl", "symlink"},
               {"", ""}};  // "" stands for a name of 250 characters
  for (const Case& c : cases) {
    ScratchDir dir;
    const std::string path = dir.file(*c.name ? c.name : std::string(250, 'n'));
    const std::string setUp = c.setUp, real = setUp == "symlink" ? dir.file("real") : path;
    if (!setUp.empty()) writeFile(real, "old text, longer than the new one");
    if (!setUp.empty()) chmod(real.c_str(), 0640);
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
    EXPECT_EQ(statOf(real).st_mode & 07777, setUp.empty() ? 0644u : 0640u) << setUp;
    EXPECT_EQ(statOf(real).st_nlink, setUp == "link" ? 2u : 1u) << setUp;
    EXPECT_EQ(dir.entryCount(), setUp == "link" || setUp == "symlink" ? 2 : 1) << setUp;
  }
}

TEST(FileReplaceTest, WhatTheUserMayNotWriteIsNotReplaced) {
  ScratchDir dir;
  chmod(dir.path().c_str(), 0777);
  writeFile(dir.file("locked.mdl"), "old");
  chmod(dir.file("locked.mdl").c_str(), 0444);
  int announced = 0;
  const int code = asNobody([&] {
    return replaceFileContents(dir.file("locked.mdl"), "new", [&] { ++announced; }) ? 1 : 0;
  });
  if (code == 77) GTEST_SKIP() << "cannot drop root privileges here";
  EXPECT_EQ(code, 0) << "a read-only file in a writable folder was replaced";
  EXPECT_EQ(readFile(dir.file("locked.mdl")), "old");
  EXPECT_EQ(dir.entryCount(), 1);
  std::string reason;
  EXPECT_FALSE(replaceFileContents(dir.path(), "new", {}, &reason));
  EXPECT_EQ(reason, "not a regular file");
}

TEST(FileReplaceTest, AWritableFileInAClosedFolderIsWrittenInPlace) {
  ScratchDir dir;
  writeFile(dir.file("m.mdl"), "old");
  chown(dir.file("m.mdl").c_str(), kNobody, kNobody);
  chmod(dir.path().c_str(), 0555);
  const int code = asNobody([&] { return replace(dir.file("m.mdl"), "new text") ? 0 : 1; });
  if (code == 77) GTEST_SKIP() << "cannot drop root privileges here";
  EXPECT_EQ(code, 0);
  EXPECT_EQ(readFile(dir.file("m.mdl")), "new text");
}

TEST(FileReplaceTest, OwnerAndGroupStayWhenRootSavesAnotherUsersFile) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can save a file another user owns";
  ScratchDir dir;
  writeFile(dir.file("m.mdl"), "old");
  ASSERT_EQ(chown(dir.file("m.mdl").c_str(), kNobody, kNobody), 0);
  ASSERT_TRUE(replace(dir.file("m.mdl"), "new"));
  EXPECT_EQ(statOf(dir.file("m.mdl")).st_uid, kNobody);
  EXPECT_EQ(statOf(dir.file("m.mdl")).st_gid, kNobody);
}

TEST(FileReplaceTest, AFailedWriteInPlacePutsTheOldContentBack) {
  ScratchDir dir;
  writeFile(dir.file("m.mdl"), "old");
  link(dir.file("m.mdl").c_str(), dir.file("other.mdl").c_str());
  // A file-size limit makes the write of the longer text fail halfway.
  const ChildResult child = runInChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string reason;
    return !replaceFileContents(dir.file("m.mdl"), std::string(1000, 'x'), {}, &reason) &&
                   reason.rfind("cannot write the file", 0) == 0
               ? 0
               : 1;
  });
  EXPECT_EQ(child.code, 0);
  EXPECT_EQ(readFile(dir.file("m.mdl")), "old");
  EXPECT_EQ(dir.entryCount(), 2) << "no backup is left behind";
}

TEST(FileReplaceTest, ASuccessfulSaveRemovesWhatKilledSavesLeft) {
  ScratchDir dir;
  writeFile(dir.file("m.mdl"), "old");
  writeFile(dir.file(".m.mdl.abc123"), "left by a killed save");
  writeFile(dir.file(".m.mdl.held01"), "held by a save that is running");
  writeFile(dir.file(".m.mdl.x"), "not one of ours");
  const int held = open(dir.file(".m.mdl.held01").c_str(), O_RDONLY);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  ASSERT_TRUE(replace(dir.file("m.mdl"), "new"));
  EXPECT_FALSE(std::filesystem::exists(dir.file(".m.mdl.abc123")));
  EXPECT_TRUE(std::filesystem::exists(dir.file(".m.mdl.held01")));
  EXPECT_TRUE(std::filesystem::exists(dir.file(".m.mdl.x")));
  close(held);
}

// A child saves two texts in turn until it is killed at a random moment; each
// time the target holds one of them whole, or (writing in place) a backup
// beside it holds the text it had before.
TEST(FileReplaceTest, SavesKilledAtRandomMomentsNeverCostTheOldText) {
  const std::string texts[2] = {std::string(300000, 'a'), std::string(200000, 'b')};
  std::mt19937 random(20261207);
  for (const bool inPlace : {false, true}) {
    ScratchDir dir;
    const std::string path = dir.file("m.mdl");
    writeFile(path, texts[0]);
    if (inPlace) link(path.c_str(), dir.file("link.mdl").c_str());
    for (int kill = 0; kill < 25; ++kill) {
      std::fflush(nullptr);
      const pid_t pid = fork();
      if (pid == 0) {
        for (int i = 1;; ++i) replace(path, texts[i % 2]);
      }
      usleep(std::uniform_int_distribution<int>(0, 20000)(random));
      ::kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      const std::string now = readFile(path);
      bool backedUp = false;
      for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename();
        if (name.rfind(".m.mdl.", 0) == 0)
          backedUp |= readFile(entry.path()) == texts[0] || readFile(entry.path()) == texts[1];
      }
      ASSERT_TRUE(now == texts[0] || now == texts[1] || (inPlace && backedUp))
          << (inPlace ? "in place" : "by rename") << ", kill " << kill;
      ASSERT_TRUE(replace(path, texts[0]));
    }
    EXPECT_EQ(dir.entryCount(), inPlace ? 2 : 1) << "leftovers are removed by the next save";
  }
}

}  // namespace
