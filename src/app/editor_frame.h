#pragma once
// One frame of the editor: what drawing is handed, and the steps around it
// that change the editor (animation mode's pose, the UV view's place, the
// console's word when memory left part of a view out).

#include "render/frame_input.h"

class Editor;

// What the frame shows now.
FrameInput frameInput(Editor& e);

// Poses the model for animation mode (a pose that cannot be made ends the
// mode, and the views show the rest model), draws the frame, and says once,
// until a frame is drawn whole again, that memory left part of it out. Needs
// a current GL context.
void drawFrame(Editor& e);
