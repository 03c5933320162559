// No change escapes: every key, menu row, tool drag and console command, played on a saved,
// rigged, textured and animated model, with no selection, everything selected or the bone only.
// Whenever the model file written after it differs from the one written before, the model has
// unsaved changes and a close keeps exactly that model; when it took undo steps, undoing them gives
// back the model as that file reads, and redoing them the changed one.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "formats/model_file.h"
#include "recovery/recovery_file.h"
#include "recovery/recovery_session.h"
#include "support/arm_fixture.h"
#include "support/bmp_file.h"
#include "support/model_invariants.h"
#include "tools/tool_fixture.h"

class NoChangeEscapesTest;

struct Row {
  std::string what;
  std::function<void(NoChangeEscapesTest&)> act;
};

class NoChangeEscapesTest : public ToolTest,
                            public ::testing::WithParamInterface<std::tuple<Row, int>> {
 protected:
  NoChangeEscapesTest() {
    setenv("XDG_STATE_HOME", dir.file("state").c_str(), 1);
    writeFile(dir.file("tex.bmp"), tinyBmp());
    writeFile(dir.file("other.bmp"), tinyBmp());
    Arm arm(model());
    command("/loadtex " + dir.file("tex.bmp"));
    editor.doc.selectedBone = arm.upper;
    for (const char* line : {"/anim", "/clip walk", "/frame 2", "/rotate z 30", "/key", "/anim"})
      command(line);
    selectAllVertices(editor);  // a weight set by hand, for "/weight auto" to take back
    command("/weight 0.5");
    editor.doc.selectedVertices.clear();
    command("/save " + dir.file("arm.vantorel"));
    // Read back, the lists are in the order undo gives them, so files compare exactly.
    command("/open " + dir.file("arm.vantorel"));
    editor.doc.selectedBone = model().rootBone()->children.front();
    const int selection = std::get<1>(GetParam());  // none, everything, or the bone only
    if (selection == 1) {
      selectAllVertices(editor);
      for (PolygonGroup* group : model().groups)
        for (Polygon* p : group->polygons) editor.doc.selectedPolygons.pushFront(p);
    } else if (selection == 0) {
      editor.doc.selectedBone = nullptr;
    }
  }

 public:
  void command(const std::string& line) { runConsoleCommand(editor, line); }
  void menu(int code) {
    editor.uiContext()->pushCommand(code);
    editor.framePump();
  }
  void dragInSide() { dragIn(0, 0.3, 0.1, 1.4, 0.6); }
  std::string file() { return formatModelFile(captureImage(model())); }
  using ToolTest::dragIn;
  using ToolTest::key;
  using ToolTest::special;
  ScratchDir dir;
};

namespace {

// Every command but those that bring another model (/open, /recover) or end the editor; a row of
// several runs them in turn.
// clang-format off
const char* const kCommandRows[] = {
    "/loadtex tex.bmp", "/loadtex other.bmp", "/setcolor 1 0 0 1", "/setbb 0 1 0 1 0 1",
    "/showtex", "/hidetex", "/setx 0.5", "/sety 0.5", "/setz 0.5", "/getpos",
    "/setcylinder 5 3", "/smoothpolys", "/flattenpolys", "/polycount", "/export out.glb",
    "/discard", "/fit", "/move 1 0 0", "/rotate x 30", "/scale 2 1 1", "/info", "/help",
    "/weight 0.5", "/weight auto", "/brush 20 0.7", "/weights normalize", "/weights smooth 2",
    "/weights auto", "/snap 0.5", "/subdivide", "/merge 0.5", "/project box",
    "/project sphere", "/unwrap", "/pack", "/mirror x, /move 1 0 0", "/symmetrize x",
    "/seam", "/refimage side tex.bmp", "/bonename hip", "/mirrorbones x", "/mirrorweights x",
    "/anim, /mirrorbones x",    "/save again.vantorel", "/anim", "/anim, /clip run",
    "/anim, /frame 5, /key", "/anim, /frame 2, /unkey", "/anim, /fps 12", "/anim, /length 9",
    "/anim, /frame 4, /rotate y 20", "/anim, /move 0 1 0", "/anim, /play",
    "/anim, /frame 3, /key, /anim", "/anim, /frame 4, /interp smooth",

    "/ik 3", "/anim, /ik, /ik off"};
// clang-format on

std::vector<Row> rows() {
  std::vector<Row> all;
  for (int k = 32; k < 127; ++k)
    all.push_back({"key " + std::string(1, static_cast<char>(k)),
                   [k](NoChangeEscapesTest& t) { t.key(static_cast<unsigned char>(k)); }});
  for (int k : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 100, 101, 102, 103, 104, 105, 106, 107})
    all.push_back({"special " + std::to_string(k), [k](NoChangeEscapesTest& t) { t.special(k); }});
  for (int code = 0; code < 48; ++code) {
    all.push_back(
        {"menu " + std::to_string(code), [code](NoChangeEscapesTest& t) { t.menu(code); }});
    all.push_back({"menu " + std::to_string(code) + " and a drag", [code](NoChangeEscapesTest& t) {
                     t.menu(code);
                     t.dragInSide();
                   }});
  }
  // The tools' drags in the Full view and the UV view, besides those in a flat view above.
  for (char tool : std::string("mrsevbcxqW"))
    for (int view : {kFullView, kUvView})
      all.push_back({"key " + std::string(1, tool) + " and a drag in view " + std::to_string(view),
                     [tool, view](NoChangeEscapesTest& t) {
                       t.key(tool);
                       t.dragIn(view, 0.3, 0.1, 0.6, 0.4);
                     }});
  for (const std::string what : kCommandRows) {
    all.push_back(
        {what, [what](NoChangeEscapesTest& t) {
           for (size_t at = 0; at < what.size();) {
             const size_t end = std::min(what.find(", ", at), what.size());
             const std::string line = what.substr(at, end - at);
             const bool named = line.starts_with("/loadtex ") || line.starts_with("/export ") ||
                                line.starts_with("/save ") || line.starts_with("/refimage ");
             const size_t file = line.rfind(' ') + 1;
             t.command(named ? line.substr(0, file) + t.dir.file(line.substr(file)) : line);
             at = end + 2;
           }
         }});
  }
  return all;
}

TEST_P(NoChangeEscapesTest, AChangeIsUnsavedKeptOnCloseAndUndoneExactly) {
  const Row& row = std::get<0>(GetParam());
  ASSERT_FALSE(editor.doc.unsavedChanges());
  const ModelImage before = captureImage(model());
  const size_t steps = editor.doc.undoHistory.undoCount();
  row.act(*this);
  const ModelImage after = captureImage(model());
  if (formatModelFile(after) == formatModelFile(before)) return;
  EXPECT_TRUE(editor.doc.unsavedChanges()) << row.what;
  if (editor.doc.undoHistory.undoCount() > steps) {
    const size_t taken = editor.doc.undoHistory.undoCount() - steps;
    for (size_t i = 0; i < taken; ++i) undo(editor.doc);
    EXPECT_TRUE(captureImage(model()) == rebuiltImage(before)) << row.what;
    for (size_t i = 0; i < taken; ++i) redo(editor.doc);
    EXPECT_TRUE(captureImage(model()) == rebuiltImage(after)) << row.what;
  }
  const ModelImage closed = captureImage(model());
  const std::string kept = leaveEditor(editor.recovery);
  ASSERT_FALSE(kept.empty()) << row.what;
  RecoveryContents contents;
  ASSERT_TRUE(parseRecoveryFile(readFile(kept), contents, nullptr)) << row.what;
  EXPECT_TRUE(*contents.model.image == closed) << row.what;
}

INSTANTIATE_TEST_SUITE_P(EveryInput, NoChangeEscapesTest,
                         ::testing::Combine(::testing::ValuesIn(rows()),
                                            ::testing::Values(0, 1, 2)),
                         [](const auto& info) {
                           std::string name =
                               std::get<0>(info.param).what +
                               std::string(std::array{"", " selected",
                                                      " bone only"}[std::get<1>(info.param)]);
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name + "_" + std::to_string(info.index);
                         });

}  // namespace
