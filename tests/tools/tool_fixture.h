#pragma once
// An editor to try the tools on, drags given in a view's own coordinates, and
// the model written out as one line of text, so that a test pins every
// coordinate, triangle corner and flag of a result at once.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "support/editor_fixture.h"
#include "support/fixtures.h"
#include "tools/polygon_ops.h"

// A number to six decimals, without a negative zero: "0.5", "-2", "0.866025".
inline std::string num(double c) {
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", std::round(c * 1e6) / 1e6 + 0.0);
  return text;
}

template <class T>
std::vector<T*> oldestFirst(const List<T>& list) {
  std::vector<T*> items;
  for (T* item : list) items.insert(items.begin(), item);
  return items;
}

// The vertices oldest first as "x,y,z", then for each group "|" and its
// triangles oldest first as the numbers of their corners ("?" for a corner
// not in the model); "*" marks what is selected and "~" a flipped triangle:
// "0,0,0* 1,0,0 0,1,0 | 0,1,2~".
inline std::string meshText(const Editor& e) {
  const std::vector<Vertex*> vertices = oldestFirst(e.model->vertices);
  std::string text;
  for (const Vertex* v : vertices) {
    text += " " + num(v->x) + "," + num(v->y) + "," + num(v->z);
    if (e.selectedVertices.contains(v)) text += "*";
  }
  for (const PolygonGroup* group : e.model->groups) {
    text += " |";
    for (const Polygon* p : oldestFirst(group->polygons)) {
      for (int i = 0; i < 3; ++i) {
        auto at = std::find(vertices.begin(), vertices.end(), p->vertices[i]);
        text += i ? "," : " ";
        text += at == vertices.end() ? "?" : std::to_string(at - vertices.begin());
      }
      if (p->flipped) text += "~";
      if (e.selectedPolygons.contains(p)) text += "*";
    }
  }
  return text.substr(1);
}

class ToolTest : public EditorTest {
 protected:
  Model& model() { return *editor.model; }
  std::string mesh() { return meshText(editor); }
  int snapshots() { return static_cast<int>(editor.undoStack.size()); }
  Vertex* selectedVertex(double x, double y, double z) {
    Vertex* v = addVertex(model(), x, y, z);
    editor.selectedVertices.pushFront(v);
    return v;
  }
  // A left drag in `view` from (h0, v0) to (h1, v1), in its own coordinates.
  void dragIn(int view, double h0, double v0, double h1, double v1) {
    editor.placeUvView();  // as a frame would, before its pixels are known
    drag(kLeftButton, glutX(view, h0), glutY(view, v0), glutX(view, h1), glutY(view, v1));
  }
  void clickIn(int view, double h, double v) { dragIn(view, h, v, h, v); }
};

// The square and its wing (support/fixtures.h) with e lifted to (2, 0, 2), so
// that no axis is flat, and a second group holding the triangle d e a:
//   vertices 0-4 = a-e;  group 1: p1 = 0,1,2  p2 = 0,2,3  p3 = 1,4,2;  group 2: p4 = 3,4,0
class WingTest : public ToolTest {
 protected:
  WingTest() { lift(); }
  // A fresh wing in a fresh model: nothing selected, no snapshot, the first tool.
  void startOver() {
    editor.replaceModel(std::make_unique<Model>("wing", nullptr));
    editor.undoStack.clear();
    editor.tool = kSelectVertex;
    m = SquareWithWing(model());
    lift();
  }
  // Selects vertices by letter ("g" is a vertex of another model) and
  // polygons by number, each oldest first.
  void select(const std::string& vertices, const std::string& polygons) {
    Vertex* byLetter[] = {m.a, m.b, m.c, m.d, m.e, nullptr, ghost};
    for (char v : vertices) editor.selectedVertices.pushFront(byLetter[v - 'a']);
    Polygon* byNumber[] = {m.p1, m.p2, m.p3, p4};
    for (char p : polygons) editor.selectedPolygons.pushFront(byNumber[p - '1']);
  }
  char letterOf(const Vertex* v) {
    const Vertex* all[] = {m.a, m.b, m.c, m.d, m.e};
    return static_cast<char>('a' + (std::find(all, all + 5, v) - all));
  }
  char numberOf(const Polygon* p) {
    const Polygon* all[] = {m.p1, m.p2, m.p3, p4};
    return static_cast<char>('1' + (std::find(all, all + 4, p) - all));
  }
  SquareWithWing m{model()};
  Polygon* p4 = nullptr;
  Model elsewhere{"elsewhere", nullptr};
  Vertex* ghost = addVertex(elsewhere, 1, 0, 0);

 private:
  void lift() {
    m.e->z = 2;
    rebuildNormals(editor);
    PolygonGroup* second = model().newGroup();
    model().groups.pushBack(second);
    p4 = addTriangle(model(), m.d, m.e, m.a, second);
  }
};
