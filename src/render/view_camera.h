#pragma once
// The projection and model-view matrices of one view (needs a GL context).

#include "view/viewport.h"

// Orthographic projection of the visible rectangle, shifted by the view's
// pan while a Scroll View drag runs in it (`scrolling`), turned to the view's
// axes (the Full view about its pivot), as deep as the view reaches; clears
// the colour and depth buffers.
void setUpViewCamera(const Viewport& view, bool scrolling);
