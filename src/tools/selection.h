#pragma once
// Selecting vertices, polygons, UV points and bones, and the box around a
// selection.

#include "model/vec3.h"

struct ToolContext;

// A rubber band or click from (ha, va) to (hb, vb) in the active view's units.
// The current tool decides what is picked: vertices (and the UV points mapped
// to them), polygons with a corner inside, or the bone nearest; in the UV view
// always UV points; in the Full view nothing. Shift adds, Ctrl removes, no
// modifier (lock keys aside) replaces; a replace that finds nothing empties the
// selection, an add or remove that finds nothing changes nothing. A click
// reaches as far as the vertex marker drawn around a point.
void selectInRect(ToolContext& e, double ha, double va, double hb, double vb);

// Every polygon of the current group becomes selected.
void selectAllPolygons(ToolContext& e);
// No polygon stays selected.
void deselectPolygons(ToolContext& e);
// Every vertex of the model joins the vertex list; vertex flags stay as they
// are, since the list alone decides what the vertex tools work on.
void selectAllVertices(ToolContext& e);
// Polygons, vertices and the bone are deselected; UV points and vertex flags
// stay as they are.
void deselectAll(ToolContext& e);

// What computeSelectionBox spans.
enum class SelectionBoxOf { kVertices, kPolygons, kUvs };

// A box with its centre; for UV points u is carried in x and v in y.
struct SelectionBox {
  Vec3 min, max, centre;
};

// The box around the selected vertices, the corners of the selected polygons
// or the selected UV points, returned and kept as the editor's selection box
// (selectionMin/Max/Centre, or uvSelectionMin/Max/Centre), which the Scale
// preview draws. An empty selection keeps the previous box and recomputes its
// centre, so tools working on nothing still get a centre.
SelectionBox computeSelectionBox(ToolContext& e, SelectionBoxOf of);
