// "/help" and "/info".

#include "model/skeleton.h"
#include "support/fixtures.h"
#include "tools/tool_fixture.h"

namespace {

using HelpAndInfoTest = WingTest;

// Every command of the interpreter, in its order, one line each: its name, then what it takes
// and does.
TEST_F(HelpAndInfoTest, HelpListsEveryCommandOnItsOwnLine) {
  std::string expected;
  for (const std::string& name : consoleCommandNames()) expected += name + " ";
  std::string names;
  const std::string help = said("/help", "\n");
  for (size_t at = 0; at < help.size(); at = help.find('\n', at) + 1) {
    const std::string line = help.substr(at, help.find('\n', at) - at);
    names += line.substr(0, line.find(' ') + 1);
    EXPECT_NE(line.find(" - "), std::string::npos) << line << ": no summary";
  }
  EXPECT_EQ(names, expected);
}

TEST_F(HelpAndInfoTest, InfoGivesTheFileUnsavedChangesAndCounts) {
  EXPECT_EQ(said("/info", "\n"),
            "File: wing (no unsaved changes)\nVertices: 5 (0 selected)\nTriangles: 4 (0 "
            "selected)\nGroups: 2, bones: 0\n");
  select("abc", "12");
  model().addBone(model().createRoot(0, 0, 0), 1, 0, 0);
  runConsoleCommand(editor, "/move 1 0 0");
  EXPECT_EQ(said("/info", "\n"),
            "File: wing (unsaved changes)\nVertices: 5 (3 selected)\nTriangles: 4 (2 "
            "selected)\nGroups: 2, bones: 2\n");
}

}  // namespace
