#pragma once
// The menu buttons' command codes.

struct ToolContext;

// Runs the command of a menu button (tools/menu_command.h): a render mode
// for the active view, UV Map Selected in the active view, Flatten on an axis,
// flat or smooth shading of the selected polygons, the selected polygons to the
// selected bone, a tool, fitting the views (fit_views.h), and animation mode
// and its panel (tools/animation_mode.h). Other codes do nothing; in animation
// mode the mesh edits among them are refused.
void toolMenuCommand(ToolContext& e, int code);
