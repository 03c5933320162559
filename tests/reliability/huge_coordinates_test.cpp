// Vertices at the ends of the number range (a user may type /setx 1e308 or
// open a file holding such numbers): no edit may turn them, or anything
// computed from them, into infinity or NaN.

#include <cfloat>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "support/editor_fixture.h"
#include "support/mesh_builders.h"
#include "support/model_invariants.h"
#include "support/silenced_stdout.h"

namespace {

class HugeCoordinateTest : public EditorTest {
 protected:
  // Two triangles spanning the whole range on every axis, all selected.
  void buildHugeMesh() {
    editor.replaceModel(std::make_unique<Model>("huge", editor.model->textures));
    Model& m = *editor.model;
    Vertex* a = addVertex(m, -DBL_MAX, -DBL_MAX, -DBL_MAX);
    Vertex* b = addVertex(m, DBL_MAX, -DBL_MAX, DBL_MAX);
    Vertex* c = addVertex(m, DBL_MAX, DBL_MAX, -DBL_MAX);
    Vertex* d = addVertex(m, -DBL_MAX, DBL_MAX, DBL_MAX);
    addTriangle(m, a, b, c);
    addTriangle(m, a, c, d);
    editor.rebuildNormals();
    editor.selectAllVertices();
    editor.selectAllPolygons();
  }
};

TEST_F(HugeCoordinateTest, NoEditMakesANonFiniteNumber) {
  struct Edit {
    const char* name;
    std::function<void()> run;
  };
  // Drags from the middle of the Side view (200, 450) to a point further out.
  const Edit edits[] = {
      {"scale 2D",
       [&] {
         key('s');
         drag(0, 200, 450, 380, 300);
       }},
      {"scale 3D",
       [&] {
         key('s');
         key('s');
         drag(0, 200, 450, 380, 300);
       }},
      {"scale 2D shrinking through zero",
       [&] {
         key('s');
         drag(0, 200, 450, 20, 590);
       }},
      {"rotate",
       [&] {
         key('r');
         drag(0, 200, 450, 200, 300);
       }},
      {"quarter turn",
       [&] {
         moveTo(200, 450);
         key('R');
       }},
      {"move",
       [&] {
         key('m');
         drag(0, 200, 450, 380, 300);
       }},
      {"flatten on X", [&] { editor.toolMenuCommand(9); }},
      {"flatten on Y", [&] { editor.toolMenuCommand(10); }},
      {"flatten on Z", [&] { editor.toolMenuCommand(11); }},
      {"UV map in the Side view", [&] { editor.uvMapSelected(editor.views[kSideView]); }},
      {"UV map in the Top view", [&] { editor.uvMapSelected(editor.views[kTopView]); }},
      {"smooth", [&] { editor.toolMenuCommand(15); }},
      {"face outward", [&] { key('o'); }},
      {"duplicate", [&] { key('d'); }},
      {"extrude",
       [&] {
         key('e');
         drag(0, 200, 450, 380, 300);
       }},
      {"clamp", [&] { key('`'); }},
      {"weld", [&] { key('n'); }},
  };
  SilencedStdout quiet;
  for (const Edit& edit : edits) {
    buildHugeMesh();
    edit.run();
    EXPECT_EQ(findModelFault(*editor.model), "") << edit.name;
  }
}

TEST_F(HugeCoordinateTest, AnAxisThatWouldOverflowIsLeftAsItWas) {
  SilencedStdout quiet;
  buildHugeMesh();
  key('s');
  key('s');  // Scale 3D
  drag(0, 200, 450, 200, 300);
  for (const Vertex* v : editor.model->vertices) {
    EXPECT_EQ(std::fabs(v->x), DBL_MAX);
    EXPECT_EQ(std::fabs(v->y), DBL_MAX);
    EXPECT_EQ(std::fabs(v->z), DBL_MAX);
  }
}

}  // namespace
