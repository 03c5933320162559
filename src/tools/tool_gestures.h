#pragma once
// What a left press, the drag motion and the release do for the current tool
// in a flat view or the UV view (the table is in tool_gestures.cpp). Input
// dispatch sets pressX/pressY before the press, runs the motion once more at
// the release position, and sets dragMode to kNoDrag before the release.

struct ToolContext;

// Sets dragMode for the tool (rubber band, tool drag or none) and runs its
// press reaction.
void toolPress(ToolContext& e);
void toolMotion(ToolContext& e);
// Follows the tool current at that moment, so switching tools mid-drag ends
// the drag as the new tool.
void toolRelease(ToolContext& e);
