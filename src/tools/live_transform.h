#pragma once
// The live values of a Move or Scale drag, recomputed from the press point on
// every motion and drawn as a preview; the geometry changes only at release.

struct ToolContext;

// moveOffset := the drag mapped onto the active view's model axes (move.cpp).
// The Full view leaves it as it was.
void updateMoveOffset(ToolContext& e);

// scaleFactor := 1 + twice the drag per view axis; Scale 3D uses the vertical
// drag on all three axes (scale.cpp).
void updateScaleFactor(ToolContext& e);
