#pragma once
// Where the views sit in the window, and scrolling and zooming one view. All
// sizes are window pixels with y up; a view's visible rectangle is in view
// units.

#include "view/viewport.h"

// The visible rectangle := `zoom` either side of its centre across, and the
// pixel rectangle's aspect times that up and down.
void applyZoom(Viewport& view);

// One-view layout: the view covers the whole window.
void fillWindow(Viewport& view, double windowWidth, double windowHeight);

// Four-view layout: the window split at fractions splitX across and splitY up
// into views[0] bottom left, [1] bottom right, [2] top left, [3] top right.
void splitWindow(Viewport (&views)[5], double splitX, double splitY, double windowWidth,
                 double windowHeight);

// Which of the four views of splitWindow holds the window point (x, y); a
// point on a split line belongs to the right or upper view.
int quadrantAt(int x, int y, double splitX, double splitY, double windowWidth, double windowHeight);

// Shifts the visible rectangle by (dx, dy) pixels' worth of view units.
void scrollViewBy(int dx, int dy, Viewport& view);

// Widens the visible rectangle by a tenth of a unit per step (never below a
// half width of 1), keeping its centre.
void zoomViewBy(int steps, Viewport& view);

// The UV view: its pixel square centred in the panel at (x, y) of the given
// size below the panel's 25-pixel title band, showing texture space 0..1.
void centreUvView(Viewport& uv, double x, double y, double width, double height);
