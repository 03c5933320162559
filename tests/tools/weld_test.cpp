#include <gtest/gtest.h>

#include "support/editor_fixture.h"
#include "support/mesh_builders.h"

namespace {

class WeldTest : public EditorTest {
 protected:
  void select(std::initializer_list<Vertex*> oldestFirst) {
    for (Vertex* v : oldestFirst) editor.selectedVertices.pushFront(v);
  }
  static void expectCorners(const Polygon* p, const Vertex* x, const Vertex* y, const Vertex* z) {
    EXPECT_EQ(p->vertices[0], x);
    EXPECT_EQ(p->vertices[1], y);
    EXPECT_EQ(p->vertices[2], z);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(p->uvs[i].vertex, p->vertices[i]) << i;
  }
  SquareWithWing m{*editor.model};
};

TEST_F(WeldTest, ThreeVerticesBecomeTheLastSelectedOne) {
  select({m.b, m.d, m.c});
  editor.weldSelectedVertices();
  EXPECT_EQ(editor.model->vertices.count(), 3);
  EXPECT_FALSE(editor.model->vertices.contains(m.b));
  EXPECT_FALSE(editor.model->vertices.contains(m.d));
  EXPECT_TRUE(sameVec(positionOf(m.c), 1, 1, 0));  // nothing is averaged
  expectCorners(m.p1, m.a, m.c, m.c);              // triangles with two equal corners stay
  expectCorners(m.p2, m.a, m.c, m.c);
  expectCorners(m.p3, m.c, m.e, m.c);
  ASSERT_EQ(editor.selectedVertices.count(), 1);
  EXPECT_EQ(editor.selectedVertices.headItem(), m.c);
  EXPECT_EQ(editor.undoStack.size(), 1u);
}

TEST_F(WeldTest, VerticesNoLongerInTheModelAreSkipped) {
  Model earlier("earlier", editor.model->textures);
  Vertex* ghost = addVertex(earlier, 1, 0, 0);
  select({m.b, m.b, m.e, ghost});  // b listed twice; the newest is not in this model
  editor.weldSelectedVertices();
  EXPECT_EQ(editor.model->vertices.count(), 4);
  expectCorners(m.p1, m.a, m.e, m.c);
  expectCorners(m.p3, m.e, m.e, m.c);
  EXPECT_EQ(editor.selectedVertices.headItem(), m.e);

  editor.selectedVertices.clear();
  select({ghost, ghost});  // nothing of this model to weld into
  editor.weldSelectedVertices();
  EXPECT_EQ(editor.model->vertices.count(), 4);
  EXPECT_EQ(editor.selectedVertices.count(), 2);
}

// A triangle of another group left on a merged vertex would keep a corner
// that is no longer in the model.
TEST_F(WeldTest, TrianglesOfOtherGroupsFollowTheWeld) {
  PolygonGroup* other = editor.model->newGroup();
  editor.model->groups.pushFront(other);
  Polygon* elsewhere = editor.model->newPolygon(m.d, m.e, m.a);
  other->polygons.pushFront(elsewhere);
  select({m.e, m.b});
  editor.weldSelectedVertices();
  expectCorners(elsewhere, m.d, m.b, m.a);
  expectCorners(m.p3, m.b, m.b, m.c);
}

}  // namespace
