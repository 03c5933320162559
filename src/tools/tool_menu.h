#pragma once
// The menu buttons' command codes.

struct ToolContext;

// Runs the command of a menu button: 4-7 the active view's render mode, 8 UV
// Map Selected in the active view, 9-13 Flatten on X/Y/Z/U/V, 14 flat and 15
// smooth shading of the selected polygons, 16 the selected polygons to the
// selected bone, 17-29 choose a tool, 30 fits the views (fit_views.h), 31 and
// up animation mode and its panel (tools/animation_mode.h). Other codes do
// nothing; in animation mode 8-16 are refused.
void toolMenuCommand(ToolContext& e, int code);
