#pragma once
// Making new geometry at the pointer: loose vertices, a triangle from the
// selection, boxes, cylinders and bones. Positions lie on the active view's
// plane (0 on its depth axis); the Full and UV views show no such plane.
// With mirror editing on, new geometry gets its mirror image in the same undo
// step (mirror_image.h): vertices on the plane are shared, and what is its own
// image already (a vertex on the plane, a box across it) gets none.

struct ToolContext;

// A new loose vertex under the pointer. In the Full and UV views nothing is
// added, though the snapshot is still taken. The selection is not changed.
void addVertexAtCursor(ToolContext& e);

// The 'p' key: one triangle over exactly three selected vertices, most
// recently selected first. Any other count is printed and changes nothing.
// Mirroring, the triangle's image over the corners' partners too, unless it is
// its own image or in the current group already.
void createPolygonFromSelection(ToolContext& e);

// Create Box: twelve triangles spanning the drag from the press to the
// pointer, one unit deep (0 to 1) along the view's depth axis, facing outward
// whatever the drag direction. Its eight vertices (with its mirror image's)
// become the vertex selection and no polygon stays selected. In the UV view nothing changes and no
// snapshot is taken.
void createBox(ToolContext& e);

// Create Cylinder: a closed cylinder of cylinderLevels rings of cylinderSides
// vertices whose cross-section fits the vertical extent of the drag, resting on
// the plane where the view's depth coordinate is 0. Its vertices join the
// vertex selection; its triangles are not selected. In the UV view nothing
// changes and no snapshot is taken.
void createCylinder(ToolContext& e);

// Add Bone: at the pointer, the skeleton's root when the model has none, else
// a child of the selected bone; the new bone becomes selected. With a skeleton
// but no bone selected nothing happens; in the Full and UV views no bone is
// added. The skeleton is printed after every use. No snapshot is taken.
void addBoneAtCursor(ToolContext& e);
