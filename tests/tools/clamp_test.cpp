#include <gtest/gtest.h>

#include "support/editor_fixture.h"
#include "support/mesh_builders.h"

namespace {

using ClampTest = EditorTest;

TEST_F(ClampTest, VerticesArePulledIntoTheBoundingBoxAxisByAxis) {
  Vertex* out = addVertex(*editor.model, 2, -1, 0.5);
  Vertex* in = addVertex(*editor.model, 0.25, 0.5, 0.75);
  editor.clampAllVertices();  // selection plays no part
  EXPECT_TRUE(sameVec(positionOf(out), 1, 0, 0.5));
  EXPECT_TRUE(sameVec(positionOf(in), 0.25, 0.5, 0.75));

  editor.setBoundingBox(-4, -3, 0, 0.5, 1, 2);
  editor.boundingBoxActive = 0;
  editor.clampAllVertices();
  EXPECT_TRUE(sameVec(positionOf(in), 0.25, 0.5, 0.75));
  editor.boundingBoxActive = 1;
  editor.clampAllVertices();
  EXPECT_TRUE(sameVec(positionOf(in), -3, 0.5, 1));
  EXPECT_EQ(editor.undoStack.size(), 3u);
}

}  // namespace
