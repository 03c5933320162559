// The typed transforms against the tools they match.

#include <functional>
#include <numbers>

#include "formats/model_file.h"
#include "model/skeleton.h"
#include "support/model_invariants.h"
#include "tools/tool_fixture.h"

namespace {

using TypedTransformTest = WingTest;

// Each line, typed after a click in the UV view, leaves the model its tool leaves in the view
// whose plane it acts in (rotations about X, Y and Z: the Front, Top and Side views, the last
// turning the other way), as one undo step that undo takes back. With no vertex selected a move
// moves the selected bone, as the Move tool does.
TEST_F(TypedTransformTest, EachMatchesItsToolAsOneUndoStep) {
  constexpr double kDegree = std::numbers::pi / 180;
  struct Case {
    const char* line;
    const char* selected;
    int view;
    std::function<void()> tool;
  };
  const Case cases[] = {
      {"/move 1 -2 0.5", "ace", kSideView, [&] { moveSelection(editor, 1, -2, 0.5); }},
      {"/move 0 0 3", "", kTopView, [&] { moveSelection(editor, 0, 0, 3); }},
      {"/rotate x 30", "abe", kFrontView, [&] { rotateSelection(editor, 30 * kDegree); }},
      {"/rotate Y -45", "bcde", kTopView, [&] { rotateSelection(editor, -45 * kDegree); }},
      {"/rotate z 90", "ae", kSideView, [&] { rotateSelection(editor, -90 * kDegree); }},
      {"/scale 2 0.5 -1", "abce", kSideView,
       [&] {
         editor.toolState.scaleFactor = {2, 0.5, -1}, scaleSelection(editor);
       }},
      {"/scale 3 0 3", "cde", kFrontView,  // a zero factor leaves its axis
       [&] {
         editor.toolState.scaleFactor = {3, 0, 3}, scaleSelection(editor);
       }},
  };
  SilencedStdout quiet;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::string results[2];
    for (int typed = 0; typed < 2; ++typed) {
      startOver();
      Bone* bone = model().addBone(model().createRoot(0, 0, 0), 1, 1, 1);
      editor.doc.selectedBone = bone;
      select(c.selected, "");
      editor.viewSet.activeView = typed ? kUvView : c.view;
      const ModelImage before = captureImage(model());
      auto state = [&] {
        return mesh() + " bone " + vec({bone->end->x, bone->end->y, bone->end->z});
      };
      const std::string untouched = state();
      typed ? runConsoleCommand(editor, c.line) : c.tool();
      results[typed] = state();
      EXPECT_NE(results[typed], untouched);
      EXPECT_EQ(snapshots(), 1);
      undo(editor.doc);
      EXPECT_EQ(captureImage(model()), rebuiltImage(before));
    }
    EXPECT_EQ(results[1], results[0]);
  }
}

TEST_F(TypedTransformTest, WrongAxisOrTooFewNumbersChangeNothing) {
  select("abc", "");
  SilencedStdout quiet;
  const std::string before = mesh();
  for (const char* line : {"/rotate w 10", "/rotate xy 10", "/move 1 2", "/scale 2 2"}) {
    runConsoleCommand(editor, line);
    EXPECT_EQ(lastConsoleMessage(), line[1] == 'r' ? "Error! The axis must be x, y or z!"
                                                   : "Error! Not right # of parameters!");
  }
  EXPECT_EQ(mesh() + std::to_string(snapshots()), before + "0");
}

}  // namespace
