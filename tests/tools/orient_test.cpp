#include <gtest/gtest.h>

#include <string>

#include "support/editor_fixture.h"
#include "support/mesh_builders.h"

namespace {

using OrientTest = EditorTest;

// True when the face normal points from the cube's middle towards the face.
bool facesOut(const Polygon* p) {
  double dot = 0;
  for (const Vertex* v : p->vertices) {
    dot += (v->x - 0.5) * p->normal.x + (v->y - 0.5) * p->normal.y + (v->z - 0.5) * p->normal.z;
  }
  return dot > 0;
}

TEST_F(OrientTest, BoxesEndFacingOutward) {
  for (bool outward : {false, true}) {
    editor.replaceModel(std::make_unique<Model>("box", editor.model->textures));
    auto box = addUnitBox(*editor.model, outward);
    editor.selectAllPolygons();
    testing::internal::CaptureStdout();
    editor.orientPolygonsOutward();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Center: [0.500000 0.500000 0.500000]\n\n");
    for (Polygon* p : box) {
      EXPECT_EQ(p->flipped, outward ? 0 : 1);
      EXPECT_TRUE(facesOut(p));
      EXPECT_TRUE(sameVec(p->cornerNormals[0], p->normal.x, p->normal.y, p->normal.z));
    }
    editor.rebuildNormals();  // the turn outlasts a recomputation
    for (Polygon* p : box) EXPECT_TRUE(facesOut(p));
  }
  EXPECT_EQ(editor.undoStack.size(), 0u);
}

TEST_F(OrientTest, FlipReversesEachSelectedPolygonOnce) {
  auto box = addUnitBox(*editor.model, /*outward=*/true);
  Polygon* p = box[0];  // faces -z
  editor.selectedPolygons.pushFront(p);
  editor.selectedPolygons.pushFront(p);
  editor.flipSelectedPolygons();
  EXPECT_EQ(p->flipped, 1);
  EXPECT_TRUE(sameVec(p->normal, 0, 0, 1));
  EXPECT_TRUE(sameVec(p->cornerNormals[0], 0, 0, -1));  // until the next rebuild
  EXPECT_EQ(box[1]->flipped, 0);
}

}  // namespace
