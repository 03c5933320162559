#include <gtest/gtest.h>

#include <cmath>

#include "support/editor_fixture.h"
#include "support/mesh_builders.h"

namespace {

using ClampTest = EditorTest;

Vec3 at(const Vertex* v) {
  return Vec3{v->x, v->y, v->z};
}

TEST_F(ClampTest, VerticesArePulledIntoTheBoundingBoxAxisByAxis) {
  Vertex* out = addVertex(*editor.model, 2, -1, 0.5);
  Vertex* in = addVertex(*editor.model, 0.25, 0.5, 0.75);
  editor.clampAllVertices();  // selection plays no part
  EXPECT_TRUE(sameVec(at(out), 1, 0, 0.5));
  EXPECT_TRUE(sameVec(at(in), 0.25, 0.5, 0.75));

  editor.setBoundingBox(-4, -3, 0, 0.5, 1, 2);
  editor.clampAllVertices();
  EXPECT_TRUE(sameVec(at(in), -3, 0.5, 1));
  EXPECT_EQ(editor.undoStack.size(), 2u);
}

TEST_F(ClampTest, SwitchedOffBoxOnlyTakesASnapshot) {
  Vertex* out = addVertex(*editor.model, 2, -1, 0.5);
  editor.boundingBoxActive = 0;
  editor.clampAllVertices();
  EXPECT_TRUE(sameVec(at(out), 2, -1, 0.5));
  EXPECT_EQ(editor.undoStack.size(), 1u);
}

TEST_F(ClampTest, NormalsFollowTheClampedShape) {
  Model& m = *editor.model;
  Polygon* p = addTriangle(m, addVertex(m, 0, 0, 0), addVertex(m, 1, 0, 3), addVertex(m, 0, 1, 3));
  editor.clampAllVertices();  // z = 3 comes down to 1
  const double n = 1 / std::sqrt(3.0);
  EXPECT_DOUBLE_EQ(p->normal.x, -n);
  EXPECT_DOUBLE_EQ(p->normal.y, -n);
  EXPECT_DOUBLE_EQ(p->normal.z, n);
}

}  // namespace
