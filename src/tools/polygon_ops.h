#pragma once
// Operations on the selected polygons and vertices: normals and shading,
// flattening, UV mapping, facing, weld, delete, clamp, extrude and duplicate.
// Unless said otherwise each takes an undo snapshot first, even when it ends
// up changing nothing.

template <typename T>
class List;
struct Polygon;
class Viewport;
struct ToolContext;

enum Axis { kAxisX, kAxisY, kAxisZ, kAxisU, kAxisV };

// The face and corner normals of the current group, rebuilt after every edit:
// smooth polygons get averaged vertex normals (smoothPolygons), the others
// their face normal at every corner. No snapshot.
void rebuildNormals(ToolContext& e);

// Each vertex used by `list` gets one normal: the sum of the face normals of
// the polygons of `list` that use it, normalised. A polygon counts once per
// vertex, however many of its corners are that vertex; a polygon listed twice
// counts twice. A vertex whose sum cancels out keeps, in each polygon, that
// polygon's own face normal, so no normal is ever NaN. No snapshot.
void smoothPolygons(List<Polygon>& list);

// The selected polygons are shaded flat from now on. No snapshot.
void flattenPolygons(ToolContext& e);

// Moves the selected vertices (X, Y, Z) or the selected UV points (U, V) onto
// the plane, or line, through the middle of their box. With fewer than two
// items selected nothing moves.
void flattenSelection(ToolContext& e, Axis axis);

// A planar projection of the selected polygons onto the texture square, along
// the view's horizontal and vertical axes, so that the selection's box spans
// [0, 1] x [0, 1]. The Full and UV views keep the coordinates but still mark
// the corners as mapped. A box of zero extent along a mapped axis maps that
// axis to 0.
void uvMapSelected(ToolContext& e, Viewport& view);

// Turns the selected polygons to face away from the middle of their box (a
// per-axis test that suits box-like shapes) and prints that centre. No
// snapshot, but an unsaved change that the recovery file keeps.
void orientPolygonsOutward(ToolContext& e);
// Reverses the selected polygons. No snapshot, but an unsaved change.
void flipSelectedPolygons(ToolContext& e);

// Merges the selected vertices into the most recently selected one, which
// keeps its position; every triangle, in any group, that used a merged vertex
// uses the kept one instead, even with two equal corners. The merged vertices
// leave the model and the selection ends holding the kept vertex alone. Fewer
// than two vertices weld nothing. Selected vertices no longer in the model
// (a selection may outlive the model it was made in) take no part; with none
// left the selection stays as it is. With mirror editing on, the partners of
// the merged vertices go into the kept one's partner too, each vertex into the
// kept vertex on its side; when the kept vertex is its own partner, or a
// merged vertex lies on the plane or is the kept one's partner, the kept
// vertex goes onto the plane and all of them, its partner too, into it.
void weldSelectedVertices(ToolContext& e);

// Each selected triangle becomes four at its edges' midpoints; a triangle
// beside it that shares a split edge is cut there too (in two or three), so
// no gap opens. The pieces keep the winding, group, bone, shading and facing
// of their triangle, and texture coordinates halfway along its edges; a
// midpoint's hand-set weights are its ends' mean. The pieces of the selected
// triangles and the new vertices join the selection; the console says how
// many triangles were cut.
void subdivideSelection(ToolContext& e);

// Welds the selected vertices that lie within `distance` of each other, oldest
// selected first: each goes into the first kept vertex within the distance.
// Triangles that close up by it (two corners on one vertex) leave the model. Says
// and returns how many vertices went. Found by a grid of cells a few
// distances wide, not pair by pair.
int mergeSelectedVertices(ToolContext& e, double distance);

// Marks as seams the edges of triangles (in any group) whose two ends are
// selected vertices or, when every such edge is a seam already, clears them;
// the console says how many. One undo step, none when there is no such edge.
void markSeamsOfSelection(ToolContext& e);

// Removes the selected polygons from the current group, then the selected
// vertices from the model with every triangle, in any group, that uses one.
// Both selections end empty; the UV selection stays. With mirror editing on,
// the images of the selected triangles and the partners of the selected
// vertices go too.
void deleteSelection(ToolContext& e);

// Pulls every vertex of the model into the user's bounding box, axis by axis.
// With the bounding box switched off only the snapshot is taken.
void clampAllVertices(ToolContext& e);

// Extrude, step one: the selected polygons' corners become the vertex
// selection. With no polygon selected nothing changes. No snapshot.
void prepareExtrude(ToolContext& e);
// Extrude, step two: detaches the selected polygons onto new vertices just off
// the selected ones and closes the gap with two wall triangles per boundary
// edge; the new vertices become the vertex selection, to be moved by the rest
// of the drag. Corners that are not selected stay, and a boundary edge touching
// one gets no wall ("wtf" is printed for it). With mirror editing on, the
// images of the selected triangles and the partners of the selected vertices
// are extruded too, the nudge mirrored, walls on the plane kept on it, and an
// edge joining a vertex to its own partner walled by four triangles about a
// new centre on the plane, so that the drag's Move keeps both sides mirrored.
void extrudeSelection(ToolContext& e);

// Copies the selected polygons, and every selected vertex, onto new vertices
// one unit further on every axis. Corners of the selected polygons join the
// vertex selection; the selections keep the originals.
void duplicateSelection(ToolContext& e);
