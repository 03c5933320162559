#pragma once
// An editor to try the tools on: small meshes built straight into the model,
// and left drags given in a view's own coordinates.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/editor_fixture.h"
#include "support/fixtures.h"

class ToolTest : public EditorTest {
 protected:
  Vertex* vertex(double x, double y, double z) {
    Vertex* v = editor.model->newVertex(x, y, z);
    editor.model->vertices.pushFront(v);
    return v;
  }
  Polygon* triangle(Vertex* a, Vertex* b, Vertex* c) {
    Polygon* p = editor.model->newPolygon(a, b, c);
    editor.model->currentGroup->polygons.pushFront(p);
    return p;
  }
  Vertex* selectedVertex(double x, double y, double z) {
    Vertex* v = vertex(x, y, z);
    editor.selectedVertices.pushFront(v);
    return v;
  }
  int vertexCount() { return editor.model->vertices.count(); }
  int polygonCount() { return editor.model->currentGroup->polygons.count(); }
  int snapshots() { return static_cast<int>(editor.undoStack.size()); }

  // A left drag in `view` from (h0, v0) to (h1, v1), in its own coordinates.
  void dragIn(int view, double h0, double v0, double h1, double v1) {
    editor.placeUvView();  // as a frame would, before its pixels are known
    drag(kLeftButton, glutX(view, h0), glutY(view, v0), glutX(view, h1), glutY(view, v1));
  }
  void clickIn(int view, double h, double v) { dragIn(view, h, v, h, v); }

  // Standard output of `action`.
  template <class F>
  std::string printed(F action) {
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
  }
};
