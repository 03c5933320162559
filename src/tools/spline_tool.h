#pragma once
// Create Spline and the surface of revolution made from it. Neither the
// control points nor the spline belong to the model, so adding points takes no
// snapshot.

struct ToolContext;

// A control point at the pointer on the active view's plane; from the second
// point on the spline is refitted through all of them. In the Full and UV
// views nothing is added.
void addSplinePoint(ToolContext& e);

// Forgets the control points and the spline.
void clearSpline(ToolContext& e);

// The 'w' key: a closed surface of revolution about an axis parallel to X
// whose ring radii follow the current spline. It works only in the Side view
// and only with a spline whose fit is finite (no two control points with the
// same x), so no NaN or infinity reaches the model; a refusal takes no
// snapshot.
void revolveSpline(ToolContext& e);
