#pragma once
// The live values of a Move or Scale drag, recomputed from the press point on
// every motion and drawn as a preview; the geometry changes only at release.

class Editor;

// moveOffset := the drag mapped onto the active view's model axes (move.cpp).
// The Full view leaves it as it was.
void updateMoveOffset(Editor& e);

// scaleFactor := 1 + twice the drag per view axis; Scale 3D uses the vertical
// drag on all three axes (scale.cpp).
void updateScaleFactor(Editor& e);
