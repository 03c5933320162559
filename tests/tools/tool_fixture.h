#pragma once
// An editor to try the tools on, and the model as one line of text that pins every coordinate,
// corner and flag of a result.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "support/editor_fixture.h"
#include "support/fixtures.h"

// A number to six decimals, without a negative zero: "0.5", "-2", "0.866025".
inline std::string num(double c) {
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", std::round(c * 1e6) / 1e6 + 0.0);
  return text;
}
inline std::string vec(const Vec3& v) {
  return num(v.x) + "," + num(v.y) + "," + num(v.z);
}

template <class T>
std::vector<T*> oldestFirst(const List<T>& list) {
  std::vector<T*> items;
  for (T* item : list) items.insert(items.begin(), item);
  return items;
}

// Vertices oldest first, then per group "|" and its triangles' corner numbers ("?": not in the
// model); "*" selected, "~" flipped: "0,0,0* 1,0,0 0,1,0 | 0,1,2~".
inline std::string meshText(const Editor& e) {
  const std::vector<Vertex*> vertices = oldestFirst(e.doc.model->vertices);
  std::string text;
  for (const Vertex* v : vertices)
    text += " " + vec(positionOf(v)) + (e.doc.selectedVertices.contains(v) ? "*" : "");
  for (const PolygonGroup* group : e.doc.model->groups) {
    text += " |";
    for (const Polygon* p : oldestFirst(group->polygons)) {
      for (int i = 0; i < 3; ++i) {
        auto at = std::find(vertices.begin(), vertices.end(), p->vertices[i]);
        text +=
            (i ? "," : " ") + (at == vertices.end() ? "?" : std::to_string(at - vertices.begin()));
      }
      text += std::string(p->flipped ? "~" : "") + (e.doc.selectedPolygons.contains(p) ? "*" : "");
    }
  }
  return text.substr(1);
}

class ToolTest : public EditorTest {
 protected:
  Model& model() { return *editor.doc.model; }
  std::string mesh() { return meshText(editor); }
  int snapshots() { return static_cast<int>(editor.doc.undoHistory.undoCount()); }
  Vertex* selectedVertex(double x, double y, double z) {
    Vertex* v = addVertex(model(), x, y, z);
    editor.doc.selectedVertices.pushFront(v);
    return v;
  }
  void dragIn(int view, double h0, double v0, double h1, double v1) {
    editor.placeUvView();  // as a frame would, before its pixels are known
    drag(kLeftButton, glutX(view, h0), glutY(view, v0), glutX(view, h1), glutY(view, v1));
  }
  void clickIn(int view, double h, double v) { dragIn(view, h, v, h, v); }
};

// The square and wing with e at (2, 0, 2), so no axis is flat, and a second group holding d e a:
// vertices 0-4 = a-e; group 1: p1 = 0,1,2 p2 = 0,2,3 p3 = 1,4,2; group 2: p4 = 3,4,0
class WingTest : public ToolTest {
 protected:
  WingTest() { startOver(); }
  void startOver() {
    editor.doc.replaceModel(std::make_unique<Model>("wing", nullptr));
    editor.doc.undoHistory.clear();
    editor.toolState.tool = kSelectVertex;
    m = SquareWithWing(model());
    m.e->z = 2;
    rebuildNormals(editor);
    model().groups.pushBack(model().newGroup());
    p4 = addTriangle(model(), m.d, m.e, m.a, model().groups.at(1));
    vertices = {m.a, m.b, m.c, m.d, m.e, nullptr, ghost};
    polygons = {m.p1, m.p2, m.p3, p4};
    editor.doc.markSaved();  // as if just opened
  }
  // Vertices by letter ("g": another model's), polygons by number, oldest first.
  void select(const std::string& letters, const std::string& numbers) {
    for (char v : letters) editor.doc.selectedVertices.pushFront(vertices[v - 'a']);
    for (char p : numbers) editor.doc.selectedPolygons.pushFront(polygons[p - '1']);
  }
  // p1 mapped to (0.2, 0.2) (0.8, 0.2) (0.2, 0.8); `select`: its 2nd and 3rd points selected.
  void mapP1(bool select) {
    const double u[3] = {0.2, 0.8, 0.2}, v[3] = {0.2, 0.2, 0.8};
    m.p1->uvMapped = 1;
    for (int i = 0; i < 3; ++i) m.p1->uvs[i] = {u[i], v[i], m.p1->vertices[i], select && i, 1};
    for (int i = 1; select && i < 3; ++i) editor.doc.selectedUvs.pushFront(&m.p1->uvs[i]);
  }
  SquareWithWing m{model()};
  Polygon* p4 = nullptr;
  Model elsewhere{"elsewhere", nullptr};
  Vertex* ghost = addVertex(elsewhere, 1, 0, 0);
  std::vector<Vertex*> vertices;
  std::vector<Polygon*> polygons;
};
