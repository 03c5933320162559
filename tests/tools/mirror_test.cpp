// Mirror editing: random transforms, extrusions, deletions, welds and new geometry of random
// selections, by tool and typed, on a model made symmetric by /symmetrize; after each the model is
// still its own mirror image and undo gives back the model from before it.

#include "tools/tool_fixture.h"

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "console/console_commands.h"
#include "formats/model_file.h"
#include "support/model_invariants.h"
#include "tools/creation.h"
#include "tools/mirror.h"

namespace {

// Each vertex has its partner across x = 0 (itself when on the plane), and each triangle of a
// group off the plane its image there as often as itself: at its corners' reflections (to six
// decimals, where vertices may coincide) in reverse order, as shown.
std::string asymmetry(const Model& m) {
  const MirrorIndex index(m, 0);
  for (const Vertex* v : m.vertices)
    if (!index.partnerOf(*v)) return "no partner for " + vec(positionOf(v));
  using Key = std::vector<std::string>;
  auto key = [](const Key& c) {
    return std::min({c, Key{c[1], c[2], c[0]}, Key{c[2], c[0], c[1]}});
  };
  auto reflected = [](const Vertex* v) { return vec({-v->x, v->y, v->z}); };
  for (const PolygonGroup* group : m.groups) {
    std::map<Key, int> count;
    std::vector<std::pair<Key, Key>> images;
    for (const Polygon* p : group->polygons) {
      const Vertex* c[3];
      for (int k = 0; k < 3; ++k) c[k] = p->vertices[p->storedCorner(k)];
      ++count[key({vec(positionOf(c[0])), vec(positionOf(c[1])), vec(positionOf(c[2]))})];
      images.push_back({key({vec(positionOf(c[0])), vec(positionOf(c[2])), vec(positionOf(c[1]))}),
                        key({reflected(c[0]), reflected(c[2]), reflected(c[1])})});
    }
    for (const auto& [reversed, image] : images)
      if (reversed != image && count[image] != count[key({reversed[0], reversed[2], reversed[1]})])
        return "no image of the triangle at " + reversed[0];
  }
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
    for (int op = 0; op < 28; ++op) {
      // Only vertices alone at their place are picked: of two that coincide (Flatten makes them)
      // either may be taken as the partner.
      std::map<std::string, int> at;
      auto place = [](const Vertex* v) {
        return num(std::round(v->x * 2000)) + "," + num(std::round(v->y * 2000)) + "," +
               num(std::round(v->z * 2000));
      };
      for (const Vertex* v : model().vertices) ++at[place(v)];
      auto single = [&](const Vertex* v) { return at[place(v)] == 1; };
      std::vector<Vertex*> alone;
      for (Vertex* v : model().vertices)
        if (single(v)) alone.push_back(v);
      editor.doc.selectedVertices.clear();
      editor.doc.selectedPolygons.clear();
      for (Vertex* v : alone)
        if (rng() % 3 == 0) editor.doc.selectedVertices.pushFront(v);
      for (Polygon* p : model().currentGroup->polygons)
        if (rng() % 4 == 0 && single(p->vertices[0]) && single(p->vertices[1]) &&
            single(p->vertices[2]))
          editor.doc.selectedPolygons.pushFront(p);
      const std::vector<Vertex*> old = oldestFirst(model().vertices);
      const ModelImage before = captureImage(model());
      const size_t steps = editor.doc.undoHistory.undoCount();
      const int view = rng() % 3, kind = rng() % 14;
      editor.viewSet.activeView = view;
      const Vec3 by{any(rng), any(rng), any(rng)};
      size_t undos = 1;
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
        case 7:  // Extrude, as typed steps or as the tool's drag (an extrusion, then its Move)
          if (by.z < 0) {
            prepareExtrude(editor);
            extrudeSelection(editor);
            break;
          }
          undos = editor.doc.selectedPolygons.empty() ? 0 : 2;
          editor.toolState.tool = kExtrude;
          dragIn(view, 0.1, 0.2, 0.1 + by.x, 0.2 + by.y);
          break;
        case 8:
          if (by.z < 0) editor.doc.selectedVertices.clear();
          deleteSelection(editor);
          break;
        case 9:
        case 13:  // weld, or the 'p' triangle, of two or three of the vertices
          editor.doc.selectedVertices.clear();
          for (int k = kind == 9 ? 2 + rng() % 2 : 3; k > 0 && !alone.empty(); --k)
            editor.doc.selectedVertices.pushFront(alone[rng() % alone.size()]);
          kind == 9 ? weldSelectedVertices(editor) : createPolygonFromSelection(editor);
          break;
        default:  // Move, Rotate, Scale 2D dragged in a flat view; a box, cylinder or vertex made
          editor.toolState.tool =
              std::map<int, int>{{4, kMove},       {5, kRotate},          {6, kScale2D},
                                 {10, kCreateBox}, {11, kCreateCylinder}, {12, kAddVertex}}[kind];
          dragIn(view, 0.1, 0.2, 0.1 + by.x + std::copysign(0.1, by.x),
                 0.2 + by.y + std::copysign(0.1, by.y));  // no box of zero width
      }
      const std::set<const Vertex*> kept(old.begin(), old.end());
      std::set<std::string> made;  // nothing made twice at one place
      for (const Vertex* v : model().vertices)
        if (kind >= 10 && !kept.contains(v)) {
          ASSERT_TRUE(made.insert(vec(positionOf(v))).second) << seed << " op " << op;
        }
      ASSERT_EQ(asymmetry(model()), "") << seed << " op " << op << " kind " << kind;
      ASSERT_EQ(editor.doc.undoHistory.undoCount(), steps + undos) << seed << " op " << op;
      for (size_t k = 0; k < undos; ++k) undo(editor.doc);
      ASSERT_TRUE(captureImage(model()) == rebuiltImage(before)) << seed << " op " << op;
      for (size_t k = 0; k < undos; ++k) redo(editor.doc);
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
