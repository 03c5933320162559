// Recovery file names: no two model paths share one in the state folder, every one fits the file
// system, the second editor's names are told from other files, and a file found is the model's
// only when the path it keeps (or, in files of version 1, the name) is.

#include "recovery/recovery_names.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(RecoveryNamesTest, EveryPathHasANameOfItsOwn) {
  const std::string deep = "/" + std::string(300, 'd');
  const std::string paths[] = {"/x/a%b/m.txt",  "/x/a/b/m.txt",  "/x/a^b/m.txt", "/x/a^%b/m.txt",
                               "/x/a%/b/m.txt", "/x/a/%b/m.txt", deep + "/m",    deep + "/n"};
  std::set<std::string> names;
  for (const std::string& path : paths) {
    const std::string name = recoveryPathIn("/s", path);
    EXPECT_LE(numberedRecoveryPath(name, 99).size() - 3, 255u + 1) << path;
    names.insert(name);
  }
  EXPECT_EQ(names.size(), std::size(paths));
  // Paths without "%" or "^" keep the names earlier versions gave them.
  EXPECT_EQ(recoveryPathIn("/s", "/x/a/b/m.txt"), "/s/%x%a%b%m.txt.recover");
  EXPECT_EQ(recoveryPathBeside("/x/m.txt"), "/x/.m.txt.recover");
}

TEST(RecoveryNamesTest, TheNamesOfAModelAndTheModelAFileBelongsTo) {
  const std::pair<const char*, bool> kNames[] = {
      {".m.recover", true},       {".m.recover.2", true},   {".m.recover.17", true},
      {".m.recover.found", true}, {".m.recover.02", false}, {".m.recover.", false},
      {".m.recover.2x", false},   {".m.recovered", false},  {"..m.recover.abcdef", false}};
  for (const auto& [name, ours] : kNames)
    EXPECT_EQ(isRecoveryName(name, ".m.recover"), ours) << name;
  const std::string here = absoluteModelPath("m.txt");
  const std::pair<RecoveryContents, bool> kFiles[] = {
      {{0, here, {"m.txt", nullptr}, {}}, true},
      {{0, "/elsewhere/m.txt", {"m.txt", nullptr}, {}}, false},
      {{0, "", {"m.txt", nullptr}, {}}, true},  // version 1, a relative name
      {{0, "", {"./sub/../m.txt", nullptr}, {}}, true},
      {{0, "", {"n.txt", nullptr}, {}}, false},
      {{0, "", {here, nullptr}, {}}, true},  // version 1, an absolute name
      {{0, "", {"/elsewhere/m.txt", nullptr}, {}}, false},
  };
  for (const auto& [contents, belongs] : kFiles)
    EXPECT_EQ(recoveryBelongsTo(contents, "m.txt"), belongs)
        << contents.modelPath << " " << contents.model.name;
}

}  // namespace
