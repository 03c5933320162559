#pragma once
// Move, Rotate and Scale of the selection. Each takes an undo snapshot, even
// when nothing changes, and rebuilds the normals. A coordinate whose new value
// would leave the range of a double keeps its value. The live values of the
// drags are in live_transform.h.

#include "tools/polygon_ops.h"

struct Vec3;
struct ToolContext;

// Translates the selected vertices by (dx, dy, dz), or in the UV view the
// selected UV points by (dx, dy), stopping at the edges of the texture. With no
// vertex selected the selected bone moves instead (its end joint and every
// descendant's); with neither, nothing moves.
void moveSelection(ToolContext& e, double dx, double dy, double dz);

// Turns the selected vertices by `angle` radians about the centre of their
// box, about the active view's depth axis. In the Full and UV views, or with
// no vertex selected, nothing turns. Bones and UV points never turn.
void rotateSelection(ToolContext& e, double angle);

// `point` turned about `centre` by ay about Y, then ax about X, then az about
// Z (radians).
void rotatePoint(const Vec3& centre, Vec3& point, double ax, double ay, double az);

// Scale 2D and Scale 3D: scales the selected vertices (the selected UV points
// in the UV view) about the centre of their box by scaleFactor, then resets
// scaleFactor to 1. An axis whose box has no extent, or whose factor is exactly
// 0, is left alone; an empty selection changes nothing.
void scaleSelection(ToolContext& e);

// The typed transforms, for the console: they act in model space on the
// selected vertices whichever view was used last, each as one undo step.
// Moves them by `by`, or with none selected the selected bone, as Move does.
void moveSelectionBy(ToolContext& e, const Vec3& by);
// Turns them about the centre of their box by `degrees` about the model axis
// `axis` (X, Y or Z), counter-clockwise seen from the axis' positive end.
void rotateSelectionAbout(ToolContext& e, Axis axis, double degrees);
// Scales them about the centre of their box by `factors`, with the Scale
// tools' rules for an axis without extent and for a zero factor.
void scaleSelectionBy(ToolContext& e, const Vec3& factors);
