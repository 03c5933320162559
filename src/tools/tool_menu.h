#pragma once
// The menu buttons' command codes, and the tidy-up of the panels.

class Editor;

// Runs the command of a menu button: 4-7 the active view's render mode, 8 UV
// Map Selected in the active view, 9-13 Flatten on X/Y/Z/U/V, 14 flat and 15
// smooth shading of the selected polygons, 16 the selected polygons to the
// selected bone, 17-29 choose a tool, 30 fits the views (fit_views.h). Other
// codes do nothing.
void toolMenuCommand(Editor& e, int code);

// Minimises every panel and lines them up from the top left of the window,
// front-most first, starting a new row where one would not fit.
void arrangeWidgets(Editor& e);
