// Mirror editing: random transforms of random selections, by tool and typed, on a model made
// symmetric by /symmetrize; after each the model is still its own mirror image and one undo gives
// back the model from before it.

#include "tools/tool_fixture.h"

#include <random>

#include "console/console_commands.h"
#include "formats/model_file.h"
#include "support/model_invariants.h"
#include "tools/mirror.h"

namespace {

// Each vertex has its partner across x = 0 (itself when on the plane).
std::string asymmetry(const Model& m) {
  const MirrorIndex index(m, 0);
  for (const Vertex* v : m.vertices)
    if (!index.partnerOf(*v)) return "no partner for " + vec(positionOf(v));
  return "";
}

TEST_F(ToolTest, MirroredEditsKeepASymmetricModelSymmetricInOneUndoStep) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> any(-1, 1);
    editor.doc.replaceModel(std::make_unique<Model>("m", nullptr));
    editor.doc.undoHistory.clear();
    editor.toolState.tool = kCreateBox;
    dragIn(kFrontView, -0.8, 0, 0.9, 1.2);  // a box from x = 0 to 1
    std::vector<Vertex*> loose{addVertex(model(), 0, 0.5, 2)};
    for (int i = 0; i < 6; ++i)
      loose.push_back(addVertex(model(), any(rng) + 1.2, any(rng), any(rng)));
    for (int i = 0; i < 4; ++i)
      addTriangle(model(), loose[rng() % 7], loose[rng() % 7], loose[rng() % 7]);
    runConsoleCommand(editor, "/symmetrize x");
    ASSERT_EQ(asymmetry(model()), "") << seed;
    runConsoleCommand(editor, "/mirror x");
    for (int op = 0; op < 14; ++op) {
      editor.doc.selectedVertices.clear();
      for (Vertex* v : model().vertices)
        if (rng() % 3 == 0) editor.doc.selectedVertices.pushFront(v);
      const ModelImage before = captureImage(model());
      const size_t steps = editor.doc.undoHistory.undoCount();
      const int view = rng() % 3, kind = rng() % 7;
      editor.viewSet.activeView = view;
      const Vec3 by{any(rng), any(rng), any(rng)};
      switch (kind) {
        case 0:
          runConsoleCommand(editor, "/move " + num(by.x) + " " + num(by.y) + " " + num(by.z));
          break;
        case 1:
          runConsoleCommand(editor,
                            std::string("/rotate ") + "xyz"[rng() % 3] + " " + num(90 * by.x));
          break;
        case 2:
          runConsoleCommand(editor, "/scale " + num(1 + by.x) + " " + num(1 + by.y) + " 0.5");
          break;
        case 3:
          flattenSelection(editor, static_cast<Axis>(rng() % 3));
          break;
        default:  // Move, Rotate and Scale 2D dragged in a flat view
          editor.toolState.tool = kind == 4 ? kMove : kind == 5 ? kRotate : kScale2D;
          dragIn(view, 0.1, 0.2, 0.1 + by.x, 0.2 + by.y);
      }
      ASSERT_EQ(asymmetry(model()), "") << seed << " op " << op << " kind " << kind;
      ASSERT_EQ(editor.doc.undoHistory.undoCount(), steps + 1) << seed << " op " << op;
      undo(editor.doc);
      ASSERT_TRUE(captureImage(model()) == rebuiltImage(before)) << seed << " op " << op;
      redo(editor.doc);
    }
  }
}

// The symmetrized side is the mirror of the kept one, facing out as it does; the plane's
// vertices are shared, and the captions say the mirror is on until the key turns it off.
TEST_F(ToolTest, SymmetrizeMirrorsOneSideAndTheCaptionsTellTheMirror) {
  SquareWithWing m(model());  // x from 0 to 2, facing +z
  m.d->x = 0.00005;           // near enough to the plane to go onto it
  runConsoleCommand(editor, "/symmetrize x");
  EXPECT_EQ(lastConsoleMessage(),
            "Symmetrize: 3 triangles mirrored from the positive side, 0 vertices replaced.");
  EXPECT_EQ(model().vertices.count(), 5 + 3);  // a and d on the plane, c put on it
  EXPECT_EQ(asymmetry(model()), "");
  for (const Polygon* p : model().currentGroup->polygons) EXPECT_GT(p->normal.z, 0.99);
  runConsoleCommand(editor, "/symmetrize -x");  // the new side is kept: nothing changes
  EXPECT_EQ(model().polygonCount(), 6);
  for (const char* word : {"w", "xy", "-"}) {
    runConsoleCommand(editor, std::string("/mirror ") + word);
    EXPECT_EQ(lastConsoleMessage(), "Error! /mirror takes x, y, z or off!");
  }
  runConsoleCommand(editor, "/mirror z");
  EXPECT_EQ(editor.viewCaption(3).substr(editor.viewCaption(3).find(']')), "]  mirror z");
  key('M');
  EXPECT_EQ(editor.viewCaption(3).substr(editor.viewCaption(3).find(']')), "]");
  key('M');
  EXPECT_EQ(editor.toolState.mirrorAxis, 2);
}

}  // namespace
