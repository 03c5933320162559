#include <gtest/gtest.h>

#include <string>

#include "support/editor_fixture.h"
#include "support/mesh_builders.h"

namespace {

class OrientTest : public EditorTest {
 protected:
  std::string orient() {
    testing::internal::CaptureStdout();
    editor.orientPolygonsOutward();
    return testing::internal::GetCapturedStdout();
  }
};

// True when the face normal points from the cube's middle towards the face.
bool facesOut(const Polygon* p) {
  double dot = 0;
  for (const Vertex* v : p->vertices) {
    dot += (v->x - 0.5) * p->normal.x + (v->y - 0.5) * p->normal.y + (v->z - 0.5) * p->normal.z;
  }
  return dot > 0;
}

TEST_F(OrientTest, InwardBoxTurnsEveryFaceOutward) {
  auto box = addUnitBox(*editor.model, /*outward=*/false);
  editor.selectAllPolygons();
  EXPECT_EQ(orient(), "Center: [0.500000 0.500000 0.500000]\n\n");
  for (Polygon* p : box) {
    EXPECT_EQ(p->flipped, 1);
    EXPECT_TRUE(facesOut(p));
    for (const Vec3& n : p->cornerNormals)
      EXPECT_TRUE(sameVec(n, p->normal.x, p->normal.y, p->normal.z));
  }
  editor.rebuildNormals();  // the flip outlasts a recomputation
  for (Polygon* p : box) EXPECT_TRUE(facesOut(p));
  EXPECT_EQ(editor.undoStack.size(), 0u);
}

TEST_F(OrientTest, OutwardBoxStaysAsItIs) {
  auto box = addUnitBox(*editor.model, /*outward=*/true);
  editor.selectAllPolygons();
  orient();
  for (Polygon* p : box) {
    EXPECT_EQ(p->flipped, 0);
    EXPECT_TRUE(facesOut(p));
  }
}

TEST_F(OrientTest, OnlySelectedPolygonsAreTurned) {
  auto box = addUnitBox(*editor.model, /*outward=*/false);
  for (Polygon* p : box) editor.selectedPolygons.pushFront(p);
  editor.selectedPolygons.remove(box[0]);
  orient();
  EXPECT_EQ(box[0]->flipped, 0);
  EXPECT_EQ(box[1]->flipped, 1);
}

TEST_F(OrientTest, FlipReversesEachSelectedPolygonOnce) {
  auto box = addUnitBox(*editor.model, /*outward=*/true);
  Polygon* p = box[0];  // faces -z
  editor.selectedPolygons.pushFront(p);
  editor.selectedPolygons.pushFront(p);  // listed twice, flipped once
  editor.flipSelectedPolygons();
  EXPECT_EQ(p->flipped, 1);
  EXPECT_TRUE(sameVec(p->normal, 0, 0, 1));
  EXPECT_TRUE(sameVec(p->cornerNormals[0], 0, 0, -1));  // until the next rebuild
  EXPECT_EQ(box[1]->flipped, 0);
  EXPECT_EQ(editor.undoStack.size(), 0u);
}

}  // namespace
