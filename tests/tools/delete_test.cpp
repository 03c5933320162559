#include <gtest/gtest.h>

#include "support/editor_fixture.h"
#include "support/mesh_builders.h"

namespace {

//  d-----c
//  | p2 /|
//  |  /p1|  p3
//  a-----b-----e      p1 = a b c, p2 = a c d, p3 = b e c
class DeleteTest : public EditorTest {
 protected:
  DeleteTest() {
    Model& m = *editor.model;
    a = addVertex(m, 0, 0, 0);
    b = addVertex(m, 1, 0, 0);
    c = addVertex(m, 1, 1, 0);
    d = addVertex(m, 0, 1, 0);
    e = addVertex(m, 2, 0, 0);
    p1 = addTriangle(m, a, b, c);
    p2 = addTriangle(m, a, c, d);
    p3 = addTriangle(m, b, e, c);
  }
  List<Polygon>& polygons() { return editor.model->currentGroup->polygons; }
  Vertex *a, *b, *c, *d, *e;
  Polygon *p1, *p2, *p3;
};

TEST_F(DeleteTest, DeletingVerticesTakesTheirTrianglesAlong) {
  editor.selectedVertices.pushFront(d);
  editor.selectedUvs.pushFront(&p1->uvs[0]);
  editor.deleteSelection();
  EXPECT_EQ(editor.model->vertices.count(), 4);
  EXPECT_FALSE(editor.model->vertices.contains(d));
  EXPECT_EQ(polygons().count(), 2);
  EXPECT_FALSE(polygons().contains(p2));
  EXPECT_EQ(editor.selectedVertices.count(), 0);
  EXPECT_EQ(editor.selectedPolygons.count(), 0);
  EXPECT_EQ(editor.selectedUvs.count(), 1);  // the UV selection is left alone
  EXPECT_EQ(editor.undoStack.size(), 1u);
}

TEST_F(DeleteTest, TrianglesWithSeveralSelectedCornersGoOnce) {
  editor.selectedVertices.pushFront(a);
  editor.selectedVertices.pushFront(c);
  editor.deleteSelection();
  EXPECT_EQ(polygons().count(), 0);
  EXPECT_EQ(editor.model->vertices.count(), 3);
  EXPECT_TRUE(editor.model->vertices.contains(b));
}

TEST_F(DeleteTest, DeletingPolygonsKeepsTheirVertices) {
  editor.selectedPolygons.pushFront(p1);
  editor.deleteSelection();
  EXPECT_EQ(polygons().count(), 2);
  EXPECT_EQ(polygons().headItem(), p3);  // the rest keep their order
  EXPECT_EQ(polygons().tailItem(), p2);
  EXPECT_EQ(editor.model->vertices.count(), 5);
}

TEST_F(DeleteTest, PolygonsAndVerticesTogether) {
  editor.selectedPolygons.pushFront(p1);
  editor.selectedVertices.pushFront(e);
  editor.deleteSelection();
  ASSERT_EQ(polygons().count(), 1);
  EXPECT_EQ(polygons().headItem(), p2);
  EXPECT_FALSE(editor.model->vertices.contains(e));
}

TEST_F(DeleteTest, NothingSelectedOnlyTakesASnapshot) {
  editor.deleteSelection();
  EXPECT_EQ(polygons().count(), 3);
  EXPECT_EQ(editor.model->vertices.count(), 5);
  EXPECT_EQ(editor.undoStack.size(), 1u);
}

}  // namespace
