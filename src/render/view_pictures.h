#pragma once
// Kept view pictures in OpenGL: a texture per view holding the view's pixels
// as last drawn, copied back with every pixel where it was (needs a GL context).

#include "render/view_freshness.h"
#include "view/viewport.h"

// Copies the back buffer's pixels inside the view's rectangle into the picture.
void keepViewPicture(KeptPicture& picture, const Viewport& view);
// Draws the kept pixels back into the view's rectangle unchanged and clears
// the depth there, as a freshly cleared and drawn view would leave it for the
// overlay. Leaves blending and the depth test on, texturing off.
void showViewPicture(const KeptPicture& picture, const Viewport& view);
// Draws the kept pixels into the window rectangle `view` occupies as part of
// the overlay: at depth 0 behind whatever the overlay drew there before, as
// the view's own drawing would lie. Expects the overlay's projection.
void showViewPictureInOverlay(const KeptPicture& picture, const Viewport& view);
