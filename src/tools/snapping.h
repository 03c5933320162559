#pragma once
// Snapping in the flat views: to a grid of `step` units in the view's plane,
// or to the nearest vertex within a few pixels of the pointer. While it is on,
// Move drags by whole steps (vertex to vertex), the creation tools put their
// corners on the grid, Rotate turns by 15 degrees and Scale by tenths. The
// Full and UV views are never snapped.

#include <string>

struct ToolContext;

enum class SnapMode { kOff, kGrid, kVertex };

struct Snapping {
  SnapMode mode = SnapMode::kOff;
  SnapMode lastOn = SnapMode::kGrid;  // what the toggle key turns on again
  double step = 1;
};

// A point in a view's own coordinates (h across, v up).
struct ViewPoint {
  double h, v;
};

// The view coordinates of window pixel (px, py) in the active view, snapped.
ViewPoint snappedViewPoint(const ToolContext& e, double px, double py);
// The drag from the press to the pointer, snapped at both ends.
ViewPoint snappedDrag(const ToolContext& e);
// A drag's turn in radians, to whole 15-degree steps while snapping.
double snappedAngle(const ToolContext& e, double radians);
// A scale factor, to tenths while snapping.
double snappedFactor(const ToolContext& e, double factor);

// Off to the last choice and back (a key).
void toggleSnapping(Snapping& s);
// "snap 0.5", "snap vertex", or "" when off: shown in the views' captions.
std::string snappingLabel(const Snapping& s);
