#include <gtest/gtest.h>

#include "support/editor_fixture.h"
#include "support/mesh_builders.h"

namespace {

class DeleteTest : public EditorTest {
 protected:
  List<Polygon>& polygons() { return editor.model->currentGroup->polygons; }
  SquareWithWing m{*editor.model};
};

TEST_F(DeleteTest, DeletingVerticesTakesEveryTriangleUsingThemAlong) {
  editor.selectedVertices.pushFront(m.a);
  editor.selectedVertices.pushFront(m.c);  // p1 and p2 use both
  editor.selectedUvs.pushFront(&m.p1->uvs[0]);
  editor.deleteSelection();
  EXPECT_EQ(polygons().count(), 0);
  EXPECT_EQ(editor.model->vertices.count(), 3);
  EXPECT_FALSE(editor.model->vertices.contains(m.a));
  EXPECT_EQ(editor.selectedVertices.count(), 0);
  EXPECT_EQ(editor.selectedUvs.count(), 1);  // the UV selection is left alone
  EXPECT_EQ(editor.undoStack.size(), 1u);
}

TEST_F(DeleteTest, DeletingPolygonsKeepsTheirVerticesAndTheOrderOfTheRest) {
  editor.selectedPolygons.pushFront(m.p2);
  editor.deleteSelection();
  EXPECT_EQ(polygons().headItem(), m.p3);
  EXPECT_EQ(polygons().tailItem(), m.p1);
  EXPECT_EQ(editor.model->vertices.count(), 5);

  editor.selectedPolygons.pushFront(m.p1);
  editor.selectedVertices.pushFront(m.e);
  editor.deleteSelection();
  EXPECT_EQ(polygons().count(), 0);
  EXPECT_EQ(editor.model->vertices.count(), 4);
  EXPECT_EQ(editor.selectedPolygons.count(), 0);
}

// A triangle of another group on a deleted vertex would keep a corner that is
// no longer in the model.
TEST_F(DeleteTest, TrianglesOfOtherGroupsGoWithTheirVertices) {
  PolygonGroup* other = editor.model->newGroup();
  editor.model->groups.pushFront(other);
  Polygon* elsewhere = editor.model->newPolygon(m.b, m.e, m.d);
  other->polygons.pushFront(elsewhere);
  editor.selectedVertices.pushFront(m.e);
  editor.deleteSelection();
  EXPECT_EQ(other->polygons.count(), 0);
  EXPECT_EQ(polygons().count(), 2);  // p3 used e as well
  EXPECT_FALSE(polygons().contains(m.p3));
}

}  // namespace
