// Edits of vertices at the ends of the number range put no infinite or NaN number in the model.

#include <cfloat>
#include <cmath>

#include "support/editor_fixture.h"
#include "support/fixtures.h"
#include "support/model_invariants.h"

namespace {

using RangeEndsTest = EditorTest;

TEST_F(RangeEndsTest, NoEditOfVerticesAtTheEndsOfTheRangeMakesANonFiniteNumber) {
  // Keys, a menu code and a drag from the Side view's middle to ends[drag] (-1 for none).
  const struct {
    const char* keys;
    int menu, drag;
  } edits[] = {{"s", -1, 0},  {"ss", -1, 0}, {"s", -1, 1},  {"r", -1, 2},  {"m", -1, 0},
               {"e", -1, 0},  {"R", -1, -1}, {"o", -1, -1}, {"d", -1, -1}, {"`", -1, -1},
               {"n", -1, -1}, {"", 8, -1},   {"", 9, -1},   {"", 10, -1},  {"", 11, -1},
               {"", 15, -1},  {"ss", -1, 2}};
  const int ends[][2] = {{380, 300}, {20, 590}, {200, 300}};
  std::string faults;
  for (const auto& edit : edits) {
    editor.doc.replaceModel(std::make_unique<Model>("huge", editor.doc.model->textures));
    addUnitBox(*editor.doc.model, true);
    for (Vertex* v : editor.doc.model->vertices)
      for (double* c : {&v->x, &v->y, &v->z}) *c = *c ? DBL_MAX : -DBL_MAX;
    rebuildNormals(editor);
    selectAllVertices(editor);
    selectAllPolygons(editor);
    moveTo(200, 450);
    printedBy([&] {
      for (const char* k = edit.keys; *k; ++k) key(*k);
      if (edit.menu >= 0) toolMenuCommand(editor, edit.menu);
      if (edit.drag >= 0) drag(kLeftButton, 200, 450, ends[edit.drag][0], ends[edit.drag][1]);
    });
    const std::string fault = findModelFault(*editor.doc.model);
    if (!fault.empty()) faults += edit.keys + std::to_string(edit.menu) + ": " + fault + "\n";
  }
  EXPECT_EQ(faults, "");
  // The last scales up: each axis that would overflow stays.
  for (const Vertex* v : editor.doc.model->vertices)
    EXPECT_TRUE(sameVec(Vec3{std::fabs(v->x), std::fabs(v->y), std::fabs(v->z)}, DBL_MAX, DBL_MAX,
                        DBL_MAX));
}

}  // namespace
